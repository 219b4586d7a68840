{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvEnvStorage - settings from environment variables                          }
{                                                                              }
{******************************************************************************}

unit qvEnvStorage;

{$I qvTessel.inc}

{ The value "MainForm\Grid\Columns" is the variable QV_MAINFORM_GRID_COLUMNS
  (with the default Prefix "QV_"). Written values change the environment of
  the running process and of the programs it starts; they are never stored
  permanently. Useful to let a service or a test run be configured by its
  environment without touching its settings file. }

interface

uses
  Windows, SysUtils, Classes, qvStorage;

type
  TqvEnvStorage = class(TqvCustomStorage)
  private
    FPrefix: string;
    function VariableName(const Section, Ident: string): string;
    procedure ReadNames(const Section: string; Names: TStrings; SubSections: Boolean);
  protected
    function DoReadString(const Section, Ident, Default: string): string; override;
    procedure DoWriteString(const Section, Ident, Value: string); override;
    procedure DoReadValueNames(const Section: string; Names: TStrings); override;
    procedure DoReadSubSections(const Section: string; Names: TStrings); override;
    procedure DoEraseSection(const Section: string); override;
    procedure DoDeleteValue(const Section, Ident: string); override;
  public
    constructor Create(AOwner: TComponent); override;
  published
    property Prefix: string read FPrefix write FPrefix;
    property Options;
    property ReadOnly;
    property RootSection;
    property OnReadValue;
    property OnWriteValue;
  end;

implementation

uses
  qvConsts, qvUtils;

constructor TqvEnvStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FPrefix := qvEnvPrefix;
  Options := [];
end;

function TqvEnvStorage.VariableName(const Section, Ident: string): string;
var
  I: Integer;
begin
  Result := UpperCase(FPrefix + qvJoinPath(Section, Ident));
  for I := 1 to Length(Result) do
    if not (Result[I] in ['A'..'Z', '0'..'9', '_']) then
      Result[I] := '_';
end;

function TqvEnvStorage.DoReadString(const Section, Ident, Default: string): string;
var
  Size: DWORD;
  Name: string;
begin
  Name := VariableName(Section, Ident);
  { Qualified: later SysUtils units declare a one-parameter function of the
    same name that would hide the system call. }
  Size := Windows.GetEnvironmentVariable(PChar(Name), nil, 0);
  if Size = 0 then
    Result := Default
  else
  begin
    SetLength(Result, Size);
    Size := Windows.GetEnvironmentVariable(PChar(Name), PChar(Result), Size);
    SetLength(Result, Size);
  end;
end;

procedure TqvEnvStorage.DoWriteString(const Section, Ident, Value: string);
begin
  SetEnvironmentVariable(PChar(VariableName(Section, Ident)), PChar(Value));
end;

procedure TqvEnvStorage.DoDeleteValue(const Section, Ident: string);
begin
  SetEnvironmentVariable(PChar(VariableName(Section, Ident)), nil);
end;

procedure TqvEnvStorage.ReadNames(const Section: string; Names: TStrings;
  SubSections: Boolean);
var
  Block, P: PChar;
  Entry, Head, Rest: string;
  Eq, Sep: Integer;
begin
  Head := VariableName(Section, '');
  if Section <> '' then
    Head := Head + '_';
  Block := GetEnvironmentStrings;
  try
    P := Block;
    while P^ <> #0 do
    begin
      Entry := P;
      Inc(P, StrLen(P) + 1);
      Eq := Pos('=', Entry);
      if Eq <= 1 then
        Continue;   { the hidden "=C:=C:\..." entries }
      Entry := UpperCase(Copy(Entry, 1, Eq - 1));
      if Copy(Entry, 1, Length(Head)) <> Head then
        Continue;
      Rest := Copy(Entry, Length(Head) + 1, MaxInt);
      Sep := Pos('_', Rest);
      if SubSections and (Sep > 1) then
        Rest := Copy(Rest, 1, Sep - 1)
      else if SubSections or (Sep > 0) then
        Continue;
      if (Rest <> '') and (Names.IndexOf(Rest) < 0) then
        Names.Add(Rest);
    end;
  finally
    FreeEnvironmentStrings(Block);
  end;
end;

procedure TqvEnvStorage.DoReadValueNames(const Section: string; Names: TStrings);
begin
  ReadNames(Section, Names, False);
end;

procedure TqvEnvStorage.DoReadSubSections(const Section: string; Names: TStrings);
begin
  ReadNames(Section, Names, True);
end;

procedure TqvEnvStorage.DoEraseSection(const Section: string);
var
  Names: TStringList;
  I: Integer;
begin
  Names := TStringList.Create;
  try
    ReadNames(Section, Names, False);
    for I := 0 to Names.Count - 1 do
      DoDeleteValue(Section, Names[I]);
  finally
    Names.Free;
  end;
end;

end.
