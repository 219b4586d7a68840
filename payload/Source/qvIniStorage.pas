{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvIniStorage - settings in an ini file                                      }
{                                                                              }
{******************************************************************************}

unit qvIniStorage;

{$I qvTessel.inc}

{ Nested sections are written as ini sections with the full path as their
  name ("[MainForm\Grid]"), so the file stays readable and editable in any
  text editor. }

interface

uses
  Windows, SysUtils, Classes, IniFiles, qvUtils, qvStorage;

type
  TqvIniStorage = class(TqvCustomStorage)
  private
    FFileName: string;
    FLocation: TqvFileLocation;
    FIniFile: TIniFile;
    procedure SetFileName(const Value: string);
    procedure SetLocation(Value: TqvFileLocation);
    function IniFile: TIniFile;
    procedure ReleaseIniFile;
  protected
    function DoReadString(const Section, Ident, Default: string): string; override;
    procedure DoWriteString(const Section, Ident, Value: string); override;
    procedure DoReadValueNames(const Section: string; Names: TStrings); override;
    procedure DoReadSubSections(const Section: string; Names: TStrings); override;
    procedure DoEraseSection(const Section: string); override;
    procedure DoDeleteValue(const Section, Ident: string); override;
    procedure DoFlush; override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { The file actually used: FileName completed by Location. }
    function FullFileName: string;
  published
    property FileName: string read FFileName write SetFileName;
    property Location: TqvFileLocation read FLocation write SetLocation
      default flUserAppData;
    property Options;
    property ReadOnly;
    property RootSection;
    property CryptKey;
    property OnBeforeSave;
    property OnAfterSave;
    property OnBeforeRestore;
    property OnAfterRestore;
    property OnReadValue;
    property OnWriteValue;
  end;

implementation

uses
  qvConsts;

constructor TqvIniStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FLocation := flUserAppData;
end;

destructor TqvIniStorage.Destroy;
begin
  inherited Destroy;
  ReleaseIniFile;
end;

procedure TqvIniStorage.ReleaseIniFile;
begin
  FIniFile.Free;
  FIniFile := nil;
end;

procedure TqvIniStorage.SetFileName(const Value: string);
begin
  if Value <> FFileName then
  begin
    Close;
    ReleaseIniFile;
    FFileName := Value;
  end;
end;

procedure TqvIniStorage.SetLocation(Value: TqvFileLocation);
begin
  if Value <> FLocation then
  begin
    Close;
    ReleaseIniFile;
    FLocation := Value;
  end;
end;

function TqvIniStorage.FullFileName: string;
begin
  Result := qvResolveFileName(FFileName, qvDefaultIniExt, FLocation);
end;

function TqvIniStorage.IniFile: TIniFile;
begin
  if FIniFile = nil then
  begin
    if not ReadOnly then
      qvForceFolder(ExtractFilePath(FullFileName));
    FIniFile := TIniFile.Create(FullFileName);
  end;
  Result := FIniFile;
end;

function TqvIniStorage.DoReadString(const Section, Ident, Default: string): string;
begin
  Result := IniFile.ReadString(Section, Ident, Default);
end;

procedure TqvIniStorage.DoWriteString(const Section, Ident, Value: string);
begin
  { Leading and trailing blanks would be lost by the profile functions; the
    quotes keep them and are removed again when the value is read. }
  if (Value <> '') and ((Value[1] = ' ') or (Value[Length(Value)] = ' ')) then
    IniFile.WriteString(Section, Ident, '"' + Value + '"')
  else
    IniFile.WriteString(Section, Ident, Value);
end;

procedure TqvIniStorage.DoReadValueNames(const Section: string; Names: TStrings);
begin
  IniFile.ReadSection(Section, Names);
end;

procedure TqvIniStorage.DoReadSubSections(const Section: string; Names: TStrings);
var
  All: TStringList;
  I: Integer;
begin
  All := TStringList.Create;
  try
    IniFile.ReadSections(All);
    for I := 0 to All.Count - 1 do
      qvAddSubSection(All[I], Section, Names);
  finally
    All.Free;
  end;
end;

procedure TqvIniStorage.DoEraseSection(const Section: string);
var
  All: TStringList;
  I: Integer;
begin
  All := TStringList.Create;
  try
    IniFile.ReadSections(All);
    for I := 0 to All.Count - 1 do
      if qvIsInSection(All[I], Section) then
        IniFile.EraseSection(All[I]);
  finally
    All.Free;
  end;
end;

procedure TqvIniStorage.DoDeleteValue(const Section, Ident: string);
begin
  IniFile.DeleteKey(Section, Ident);
end;

procedure TqvIniStorage.DoFlush;
begin
  { The profile functions cache the file; this writes it to disk now. }
  if FIniFile <> nil then
    WritePrivateProfileString(nil, nil, nil, PChar(FIniFile.FileName));
end;

end.
