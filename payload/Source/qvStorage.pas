{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvStorage - the storage base class, the in-memory storage and the base      }
{  class of the components that keep their state in a storage                  }
{                                                                              }
{******************************************************************************}

unit qvStorage;

{$I qvTessel.inc}

{ Every setting has a path "Section\Sub\Name". A storage (ini file, registry,
  XML, JSON, environment, data set) keeps the values; client components
  (form placement, property storage, string holder, ...) are linked to one
  storage and save or restore their part when the storage asks them to. }

interface

uses
  SysUtils, Classes, Forms, qvUtils;

type
  TqvCustomStorage = class;

  TqvStorageOption = (soAutoRestore, soAutoSave, soUseCommandLine, soFlushOnWrite);
  TqvStorageOptions = set of TqvStorageOption;

  TqvValueEvent = procedure(Sender: TObject; const Path: string;
    var Value: string) of object;

  { Base class of the components that keep their state in a storage. }
  TqvStorageClient = class(TComponent)
  private
    FStorage: TqvCustomStorage;
    FSection: string;
    FEnabled: Boolean;
    FOnSave: TNotifyEvent;
    FOnRestore: TNotifyEvent;
    procedure SetStorage(Value: TqvCustomStorage);
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
    procedure DoSave; virtual; abstract;
    procedure DoRestore; virtual; abstract;
    function DefaultSection: string; virtual;
    function SectionPath: string;
    property Enabled: Boolean read FEnabled write FEnabled default True;
    property Section: string read FSection write FSection;
    property Storage: TqvCustomStorage read FStorage write SetStorage;
    property OnSave: TNotifyEvent read FOnSave write FOnSave;
    property OnRestore: TNotifyEvent read FOnRestore write FOnRestore;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    procedure Save;
    procedure Restore;
  end;

  TqvCustomStorage = class(TComponent)
  private
    FClients: TList;
    FOptions: TqvStorageOptions;
    FReadOnly: Boolean;
    FRootSection: string;
    FCryptKey: string;
    FOpen: Boolean;
    FModified: Boolean;
    FUpdateCount: Integer;
    FOnBeforeSave: TNotifyEvent;
    FOnAfterSave: TNotifyEvent;
    FOnBeforeRestore: TNotifyEvent;
    FOnAfterRestore: TNotifyEvent;
    FOnReadValue: TqvValueEvent;
    FOnWriteValue: TqvValueEvent;
    FSavedOwnerDestroy: TNotifyEvent;
    FOwnerHooked: Boolean;
    procedure OwnerDestroy(Sender: TObject);
    function FullSection(const Section: string): string;
    procedure SplitFull(const Path: string; var Section, Ident: string);
  protected
    { What a storage implements. Sections arrive as full paths below the
      root section, without delimiters at either end. }
    function DoReadString(const Section, Ident, Default: string): string; virtual; abstract;
    procedure DoWriteString(const Section, Ident, Value: string); virtual; abstract;
    procedure DoReadValueNames(const Section: string; Names: TStrings); virtual; abstract;
    procedure DoReadSubSections(const Section: string; Names: TStrings); virtual; abstract;
    procedure DoEraseSection(const Section: string); virtual; abstract;
    procedure DoDeleteValue(const Section, Ident: string); virtual; abstract;
    function DoValueExists(const Section, Ident: string): Boolean; virtual;
    { Opening loads a file, flushing writes it back; both are optional. }
    procedure DoOpen; virtual;
    procedure DoFlush; virtual;
    procedure CheckWritable;
    procedure Changed;
    procedure Loaded; override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
    property Options: TqvStorageOptions read FOptions write FOptions
      default [soAutoRestore, soAutoSave];
    property ReadOnly: Boolean read FReadOnly write FReadOnly default False;
    property RootSection: string read FRootSection write FRootSection;
    property CryptKey: string read FCryptKey write FCryptKey;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;

    procedure Open;
    procedure Close;
    procedure Flush;
    procedure BeginUpdate;
    procedure EndUpdate;

    function ReadString(const Path, Default: string): string;
    procedure WriteString(const Path, Value: string);
    function ReadInteger(const Path: string; Default: Longint): Longint;
    procedure WriteInteger(const Path: string; Value: Longint);
    function ReadBool(const Path: string; Default: Boolean): Boolean;
    procedure WriteBool(const Path: string; Value: Boolean);
    function ReadFloat(const Path: string; Default: Extended): Extended;
    procedure WriteFloat(const Path: string; Value: Extended);
    function ReadDateTime(const Path: string; Default: TDateTime): TDateTime;
    procedure WriteDateTime(const Path: string; Value: TDateTime);
    function ReadEncrypted(const Path, Default: string): string;
    procedure WriteEncrypted(const Path, Value: string);
    procedure ReadStrings(const Section: string; Strings: TStrings);
    procedure WriteStrings(const Section: string; Strings: TStrings);

    procedure ReadValueNames(const Section: string; Names: TStrings);
    procedure ReadSubSections(const Section: string; Names: TStrings);
    function ValueExists(const Path: string): Boolean;
    procedure DeleteValue(const Path: string);
    procedure EraseSection(const Section: string);

    { Asks every linked client to save or restore its state. }
    procedure Save;
    procedure Restore;

    property IsOpen: Boolean read FOpen;
    property Modified: Boolean read FModified;
    property OnBeforeSave: TNotifyEvent read FOnBeforeSave write FOnBeforeSave;
    property OnAfterSave: TNotifyEvent read FOnAfterSave write FOnAfterSave;
    property OnBeforeRestore: TNotifyEvent read FOnBeforeRestore write FOnBeforeRestore;
    property OnAfterRestore: TNotifyEvent read FOnAfterRestore write FOnAfterRestore;
    property OnReadValue: TqvValueEvent read FOnReadValue write FOnReadValue;
    property OnWriteValue: TqvValueEvent read FOnWriteValue write FOnWriteValue;
  end;

  { Keeps all sections in memory. Used on its own for defaults and tests,
    and as the model of the file storages that read and write a whole file
    (XML, JSON). }
  TqvMemoryStorage = class(TqvCustomStorage)
  private
    FSections: TStringList;
    function FindSection(const Section: string; Create: Boolean): TStringList;
  protected
    function DoReadString(const Section, Ident, Default: string): string; override;
    procedure DoWriteString(const Section, Ident, Value: string); override;
    procedure DoReadValueNames(const Section: string; Names: TStrings); override;
    procedure DoReadSubSections(const Section: string; Names: TStrings); override;
    procedure DoEraseSection(const Section: string); override;
    procedure DoDeleteValue(const Section, Ident: string); override;
    function DoValueExists(const Section, Ident: string): Boolean; override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    procedure Clear;
    { Sections in the order they were first written; Objects hold the
      "Name=Value" lists. }
    property Sections: TStringList read FSections;
  published
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

  EqvStorageError = class(Exception);

implementation

uses
  qvConsts, qvResStr, qvCrypt, qvCmdLine;

{ TqvStorageClient }

constructor TqvStorageClient.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FEnabled := True;
end;

destructor TqvStorageClient.Destroy;
begin
  Storage := nil;
  inherited Destroy;
end;

procedure TqvStorageClient.SetStorage(Value: TqvCustomStorage);
begin
  if Value = FStorage then
    Exit;
  if FStorage <> nil then
  begin
    FStorage.FClients.Remove(Self);
    FStorage.RemoveFreeNotification(Self);
  end;
  FStorage := Value;
  if FStorage <> nil then
  begin
    FStorage.FClients.Add(Self);
    FStorage.FreeNotification(Self);
  end;
end;

procedure TqvStorageClient.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation = opRemove) and (AComponent = FStorage) then
    FStorage := nil;
end;

function TqvStorageClient.DefaultSection: string;
begin
  if Owner <> nil then
    Result := qvJoinPath(Owner.Name, Name)
  else
    Result := Name;
end;

function TqvStorageClient.SectionPath: string;
begin
  if FSection <> '' then
    Result := qvNormalizePath(FSection)
  else
    Result := DefaultSection;
end;

procedure TqvStorageClient.Save;
begin
  if not FEnabled or (FStorage = nil) or (csDesigning in ComponentState) then
    Exit;
  FStorage.BeginUpdate;
  try
    DoSave;
  finally
    FStorage.EndUpdate;
  end;
  if Assigned(FOnSave) then
    FOnSave(Self);
end;

procedure TqvStorageClient.Restore;
begin
  if not FEnabled or (FStorage = nil) or (csDesigning in ComponentState) then
    Exit;
  DoRestore;
  if Assigned(FOnRestore) then
    FOnRestore(Self);
end;

{ TqvCustomStorage }

constructor TqvCustomStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FClients := TList.Create;
  FOptions := [soAutoRestore, soAutoSave];
end;

destructor TqvCustomStorage.Destroy;
begin
  if FOwnerHooked and (TMethod(TForm(Owner).OnDestroy).Data = Self) then
    TForm(Owner).OnDestroy := FSavedOwnerDestroy;
  while FClients.Count > 0 do
    TqvStorageClient(FClients.Last).Storage := nil;
  if FOpen and FModified and not (csDesigning in ComponentState) then
  try
    DoFlush;
  except
    { A destructor must not raise; the values written since the last
      flush are lost, as they would be after a crash. }
  end;
  FClients.Free;
  inherited Destroy;
end;

procedure TqvCustomStorage.Loaded;
begin
  inherited Loaded;
  if csDesigning in ComponentState then
    Exit;
  { The form's OnDestroy runs before any of its components is freed, so
    every client still finds the controls whose state it keeps. }
  if (soAutoSave in FOptions) and (Owner is TForm) then
  begin
    FSavedOwnerDestroy := TForm(Owner).OnDestroy;
    TForm(Owner).OnDestroy := OwnerDestroy;
    FOwnerHooked := True;
  end;
  if soAutoRestore in FOptions then
    Restore;
end;

procedure TqvCustomStorage.OwnerDestroy(Sender: TObject);
begin
  try
    Save;
  except
    { A settings file that cannot be written must not keep the form from
      closing; the program's own exception handler reports it. }
    Application.HandleException(Self);
  end;
  if Assigned(FSavedOwnerDestroy) then
    FSavedOwnerDestroy(Sender);
end;

procedure TqvCustomStorage.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation = opRemove) and (AComponent is TqvStorageClient) then
    FClients.Remove(AComponent);
end;

procedure TqvCustomStorage.DoOpen;
begin
end;

procedure TqvCustomStorage.DoFlush;
begin
end;

function TqvCustomStorage.DoValueExists(const Section, Ident: string): Boolean;
const
  Missing = #1'missing'#1;
begin
  Result := DoReadString(Section, Ident, Missing) <> Missing;
end;

procedure TqvCustomStorage.Open;
begin
  if not FOpen then
  begin
    DoOpen;
    FOpen := True;
    FModified := False;
  end;
end;

procedure TqvCustomStorage.Close;
begin
  if FOpen then
  begin
    Flush;
    FOpen := False;
  end;
end;

procedure TqvCustomStorage.Flush;
begin
  if FOpen and FModified then
  begin
    DoFlush;
    FModified := False;
  end;
end;

procedure TqvCustomStorage.BeginUpdate;
begin
  Inc(FUpdateCount);
end;

procedure TqvCustomStorage.EndUpdate;
begin
  if FUpdateCount > 0 then
    Dec(FUpdateCount);
  if (FUpdateCount = 0) and (soFlushOnWrite in FOptions) then
    Flush;
end;

procedure TqvCustomStorage.CheckWritable;
begin
  if FReadOnly then
    raise EqvStorageError.CreateFmt(SqvReadOnlyStorage, [Name]);
end;

procedure TqvCustomStorage.Changed;
begin
  FModified := True;
  if (FUpdateCount = 0) and (soFlushOnWrite in FOptions) then
    Flush;
end;

function TqvCustomStorage.FullSection(const Section: string): string;
begin
  Result := qvNormalizePath(qvJoinPath(FRootSection, qvNormalizePath(Section)));
end;

procedure TqvCustomStorage.SplitFull(const Path: string; var Section, Ident: string);
begin
  qvSplitPath(qvNormalizePath(Path), Section, Ident);
  if Ident = '' then
    raise EqvStorageError.CreateFmt(SqvInvalidPath, [Path]);
  { A value without a section belongs to the default section: an ini file
    cannot hold values outside a section. }
  if Section = '' then
    Section := qvDefaultSection;
  Section := FullSection(Section);
end;

function TqvCustomStorage.ReadString(const Path, Default: string): string;
var
  Section, Ident: string;
begin
  Open;
  if (soUseCommandLine in FOptions) and qvCommandLine.HasSwitch(Path) then
    Result := qvCommandLine.SwitchValue(Path, Default)
  else
  begin
    SplitFull(Path, Section, Ident);
    Result := DoReadString(Section, Ident, Default);
  end;
  if Assigned(FOnReadValue) then
    FOnReadValue(Self, Path, Result);
end;

procedure TqvCustomStorage.WriteString(const Path, Value: string);
var
  Section, Ident, V: string;
begin
  CheckWritable;
  Open;
  V := Value;
  if Assigned(FOnWriteValue) then
    FOnWriteValue(Self, Path, V);
  SplitFull(Path, Section, Ident);
  DoWriteString(Section, Ident, V);
  Changed;
end;

function TqvCustomStorage.ReadInteger(const Path: string; Default: Longint): Longint;
begin
  Result := StrToIntDef(Trim(ReadString(Path, '')), Default);
end;

procedure TqvCustomStorage.WriteInteger(const Path: string; Value: Longint);
begin
  WriteString(Path, IntToStr(Value));
end;

function TqvCustomStorage.ReadBool(const Path: string; Default: Boolean): Boolean;
begin
  Result := qvStrToBool(ReadString(Path, ''), Default);
end;

procedure TqvCustomStorage.WriteBool(const Path: string; Value: Boolean);
begin
  WriteString(Path, qvBoolToStr(Value));
end;

function TqvCustomStorage.ReadFloat(const Path: string; Default: Extended): Extended;
begin
  Result := qvStrToFloat(ReadString(Path, ''), Default);
end;

procedure TqvCustomStorage.WriteFloat(const Path: string; Value: Extended);
begin
  WriteString(Path, qvFloatToStr(Value));
end;

function TqvCustomStorage.ReadDateTime(const Path: string; Default: TDateTime): TDateTime;
begin
  Result := qvStrToDateTime(ReadString(Path, ''), Default);
end;

procedure TqvCustomStorage.WriteDateTime(const Path: string; Value: TDateTime);
begin
  WriteString(Path, qvDateTimeToStr(Value));
end;

function TqvCustomStorage.ReadEncrypted(const Path, Default: string): string;
var
  S: string;
begin
  S := ReadString(Path, #0);
  if S = #0 then
    Result := Default
  else
  try
    Result := qvDecryptValue(S, FCryptKey);
  except
    on EConvertError do
      Result := Default;
  end;
end;

procedure TqvCustomStorage.WriteEncrypted(const Path, Value: string);
begin
  WriteString(Path, qvEncryptValue(Value, FCryptKey));
end;

procedure TqvCustomStorage.ReadStrings(const Section: string; Strings: TStrings);
var
  I, Count: Integer;
begin
  Strings.BeginUpdate;
  try
    Strings.Clear;
    Count := ReadInteger(qvJoinPath(Section, 'Count'), 0);
    for I := 0 to Count - 1 do
      Strings.Add(qvUnescapeText(ReadString(qvJoinPath(Section, 'Item' + IntToStr(I)), '')));
  finally
    Strings.EndUpdate;
  end;
end;

procedure TqvCustomStorage.WriteStrings(const Section: string; Strings: TStrings);
var
  I: Integer;
begin
  BeginUpdate;
  try
    EraseSection(Section);
    WriteInteger(qvJoinPath(Section, 'Count'), Strings.Count);
    for I := 0 to Strings.Count - 1 do
      WriteString(qvJoinPath(Section, 'Item' + IntToStr(I)), qvEscapeText(Strings[I]));
  finally
    EndUpdate;
  end;
end;

procedure TqvCustomStorage.ReadValueNames(const Section: string; Names: TStrings);
begin
  Open;
  Names.Clear;
  DoReadValueNames(FullSection(Section), Names);
end;

procedure TqvCustomStorage.ReadSubSections(const Section: string; Names: TStrings);
begin
  Open;
  Names.Clear;
  DoReadSubSections(FullSection(Section), Names);
end;

function TqvCustomStorage.ValueExists(const Path: string): Boolean;
var
  Section, Ident: string;
begin
  Open;
  SplitFull(Path, Section, Ident);
  Result := DoValueExists(Section, Ident);
end;

procedure TqvCustomStorage.DeleteValue(const Path: string);
var
  Section, Ident: string;
begin
  CheckWritable;
  Open;
  SplitFull(Path, Section, Ident);
  DoDeleteValue(Section, Ident);
  Changed;
end;

procedure TqvCustomStorage.EraseSection(const Section: string);
begin
  CheckWritable;
  Open;
  DoEraseSection(FullSection(Section));
  Changed;
end;

procedure TqvCustomStorage.Save;
var
  I: Integer;
begin
  if Assigned(FOnBeforeSave) then
    FOnBeforeSave(Self);
  BeginUpdate;
  try
    WriteInteger(qvFormatValue, qvStorageFormat);
    for I := 0 to FClients.Count - 1 do
      TqvStorageClient(FClients[I]).Save;
  finally
    EndUpdate;
  end;
  Flush;
  if Assigned(FOnAfterSave) then
    FOnAfterSave(Self);
end;

procedure TqvCustomStorage.Restore;
var
  I: Integer;
begin
  if Assigned(FOnBeforeRestore) then
    FOnBeforeRestore(Self);
  for I := 0 to FClients.Count - 1 do
    TqvStorageClient(FClients[I]).Restore;
  if Assigned(FOnAfterRestore) then
    FOnAfterRestore(Self);
end;

{ TqvMemoryStorage }

constructor TqvMemoryStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FSections := TStringList.Create;
end;

destructor TqvMemoryStorage.Destroy;
begin
  inherited Destroy;
  Clear;
  FSections.Free;
end;

procedure TqvMemoryStorage.Clear;
var
  I: Integer;
begin
  for I := 0 to FSections.Count - 1 do
    FSections.Objects[I].Free;
  FSections.Clear;
end;

function TqvMemoryStorage.FindSection(const Section: string; Create: Boolean): TStringList;
var
  I: Integer;
begin
  I := FSections.IndexOf(Section);
  if I >= 0 then
    Result := TStringList(FSections.Objects[I])
  else if Create then
  begin
    Result := TStringList.Create;
    FSections.AddObject(Section, Result);
  end
  else
    Result := nil;
end;

function TqvMemoryStorage.DoReadString(const Section, Ident, Default: string): string;
var
  List: TStringList;
  I: Integer;
begin
  Result := Default;
  List := FindSection(Section, False);
  if List <> nil then
  begin
    I := List.IndexOfName(Ident);
    if I >= 0 then
      Result := Copy(List[I], Length(Ident) + 2, MaxInt);
  end;
end;

procedure TqvMemoryStorage.DoWriteString(const Section, Ident, Value: string);
var
  List: TStringList;
  I: Integer;
begin
  List := FindSection(Section, True);
  I := List.IndexOfName(Ident);
  if I >= 0 then
    List[I] := Ident + '=' + Value
  else
    List.Add(Ident + '=' + Value);
end;

function TqvMemoryStorage.DoValueExists(const Section, Ident: string): Boolean;
var
  List: TStringList;
begin
  List := FindSection(Section, False);
  Result := (List <> nil) and (List.IndexOfName(Ident) >= 0);
end;

procedure TqvMemoryStorage.DoReadValueNames(const Section: string; Names: TStrings);
var
  List: TStringList;
  I: Integer;
begin
  List := FindSection(Section, False);
  if List <> nil then
    for I := 0 to List.Count - 1 do
      Names.Add(Copy(List[I], 1, Pos('=', List[I]) - 1));
end;

procedure TqvMemoryStorage.DoReadSubSections(const Section: string; Names: TStrings);
var
  I: Integer;
begin
  for I := 0 to FSections.Count - 1 do
    qvAddSubSection(FSections[I], Section, Names);
end;

procedure TqvMemoryStorage.DoEraseSection(const Section: string);
var
  I: Integer;
begin
  { The section and everything below it. }
  for I := FSections.Count - 1 downto 0 do
    if qvIsInSection(FSections[I], Section) then
    begin
      FSections.Objects[I].Free;
      FSections.Delete(I);
    end;
end;

procedure TqvMemoryStorage.DoDeleteValue(const Section, Ident: string);
var
  List: TStringList;
  I: Integer;
begin
  List := FindSection(Section, False);
  if List <> nil then
  begin
    I := List.IndexOfName(Ident);
    if I >= 0 then
      List.Delete(I);
  end;
end;

end.
