{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvPropStorage - keeps chosen published properties of a form's components    }
{                                                                              }
{******************************************************************************}

unit qvPropStorage;

{$I qvTessel.inc}

{ StoredProps lists "Component.Property" lines, for example
      SearchEdit.Text
      CaseCheck.Checked
      Splitter1.Left
      MainForm.Color      (the owning form itself, by its name)
  Ordinal, enumerated, set, float, string and string-list properties are
  supported. The list is edited at design time with the stored properties
  editor (double-click the component). }

interface

uses
  SysUtils, Classes, TypInfo, qvStorage;

type
  TqvPropStorage = class(TqvStorageClient)
  private
    FStoredProps: TStringList;
    FOnPropError: TNotifyEvent;
    procedure SetStoredProps(Value: TStringList);
    function FindTarget(const Line: string; var Instance: TPersistent;
      var Info: PPropInfo): Boolean;
  protected
    procedure DoSave; override;
    procedure DoRestore; override;
    function DefaultSection: string; override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { "Text" of a property as this component stores it. }
    function PropertyText(Instance: TPersistent; Info: PPropInfo): string;
    procedure SetPropertyText(Instance: TPersistent; Info: PPropInfo; const Value: string);
  published
    property StoredProps: TStringList read FStoredProps write SetStoredProps;
    property Enabled;
    property Section;
    property Storage;
    property OnSave;
    property OnRestore;
    { Called when a line names a component or property that does not exist
      (any more); the line is skipped. }
    property OnPropError: TNotifyEvent read FOnPropError write FOnPropError;
  end;

{ Splits "Edit1.Font.Size" into "Edit1" and "Font.Size". }
procedure qvSplitPropLine(const Line: string; var ComponentName, PropPath: string);

implementation

uses
  qvUtils;

const
  StringKinds = [tkString, tkLString, tkWString {$IFDEF QV_UNICODE}, tkUString{$ENDIF}];

{ Delphi 4 made PropType a pointer to the type information pointer. }
function PropTypeOf(Info: PPropInfo): PTypeInfo;
begin
{$IFDEF QV_D4_UP}
  Result := Info^.PropType^;
{$ELSE}
  Result := Info^.PropType;
{$ENDIF}
end;

procedure qvSplitPropLine(const Line: string; var ComponentName, PropPath: string);
var
  P: Integer;
begin
  P := Pos('.', Line);
  if P = 0 then
  begin
    ComponentName := '';
    PropPath := Trim(Line);
  end
  else
  begin
    ComponentName := Trim(Copy(Line, 1, P - 1));
    PropPath := Trim(Copy(Line, P + 1, MaxInt));
  end;
end;

constructor TqvPropStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FStoredProps := TStringList.Create;
end;

destructor TqvPropStorage.Destroy;
begin
  FStoredProps.Free;
  inherited Destroy;
end;

procedure TqvPropStorage.SetStoredProps(Value: TStringList);
begin
  FStoredProps.Assign(Value);
end;

function TqvPropStorage.DefaultSection: string;
begin
  if Owner <> nil then
    Result := Owner.Name
  else
    Result := Name;
end;

function TqvPropStorage.FindTarget(const Line: string; var Instance: TPersistent;
  var Info: PPropInfo): Boolean;
var
  CompName, PropPath, Head: string;
  P: Integer;
  Obj: TObject;
begin
  Result := False;
  Info := nil;
  if Owner = nil then
    Exit;
  qvSplitPropLine(Line, CompName, PropPath);
  if (CompName = '') or (CompareText(CompName, Owner.Name) = 0) then
    Instance := Owner
  else
    Instance := Owner.FindComponent(CompName);
  { Follow nested object properties: "Font.Size". }
  P := Pos('.', PropPath);
  while (Instance <> nil) and (P > 0) do
  begin
    Head := Copy(PropPath, 1, P - 1);
    Delete(PropPath, 1, P);
    Info := GetPropInfo(Instance.ClassInfo, Head);
    if (Info = nil) or (PropTypeOf(Info)^.Kind <> tkClass) then
      Exit;
    Obj := TObject(GetOrdProp(Instance, Info));
    if not (Obj is TPersistent) then
      Exit;
    Instance := TPersistent(Obj);
    P := Pos('.', PropPath);
  end;
  if Instance = nil then
    Exit;
  Info := GetPropInfo(Instance.ClassInfo, PropPath);
  Result := (Info <> nil) and (Info^.SetProc <> nil);
end;

function TqvPropStorage.PropertyText(Instance: TPersistent; Info: PPropInfo): string;
var
  Kind: TTypeKind;
  Obj: TObject;
begin
  Kind := PropTypeOf(Info)^.Kind;
  case Kind of
    tkInteger, tkChar, tkSet, tkWChar:
      Result := IntToStr(GetOrdProp(Instance, Info));
    tkEnumeration:
      Result := GetEnumName(PropTypeOf(Info), GetOrdProp(Instance, Info));
    tkFloat:
      Result := qvFloatToStr(GetFloatProp(Instance, Info));
    tkClass:
      begin
        Obj := TObject(GetOrdProp(Instance, Info));
        if Obj is TStrings then
          Result := qvEscapeText(TStrings(Obj).Text)
        else
          Result := '';
      end;
  else
    if Kind in StringKinds then
      Result := GetStrProp(Instance, Info)
    else
      Result := '';
  end;
end;

procedure TqvPropStorage.SetPropertyText(Instance: TPersistent; Info: PPropInfo;
  const Value: string);
var
  Kind: TTypeKind;
  Obj: TObject;
  N: Integer;
begin
  Kind := PropTypeOf(Info)^.Kind;
  case Kind of
    tkInteger, tkChar, tkSet, tkWChar:
      SetOrdProp(Instance, Info, StrToIntDef(Value, GetOrdProp(Instance, Info)));
    tkEnumeration:
      begin
        N := GetEnumValue(PropTypeOf(Info), Value);
        if N >= 0 then
          SetOrdProp(Instance, Info, N);
      end;
    tkFloat:
      SetFloatProp(Instance, Info, qvStrToFloat(Value, GetFloatProp(Instance, Info)));
    tkClass:
      begin
        Obj := TObject(GetOrdProp(Instance, Info));
        if Obj is TStrings then
          TStrings(Obj).Text := qvUnescapeText(Value);
      end;
  else
    if Kind in StringKinds then
      SetStrProp(Instance, Info, Value);
  end;
end;

procedure TqvPropStorage.DoSave;
var
  I: Integer;
  Instance: TPersistent;
  Info: PPropInfo;
begin
  for I := 0 to FStoredProps.Count - 1 do
    if Trim(FStoredProps[I]) <> '' then
    begin
      if FindTarget(FStoredProps[I], Instance, Info) then
        Storage.WriteString(qvJoinPath(SectionPath, Trim(FStoredProps[I])),
          PropertyText(Instance, Info))
      else if Assigned(FOnPropError) then
        FOnPropError(Self);
    end;
end;

procedure TqvPropStorage.DoRestore;
var
  I: Integer;
  Instance: TPersistent;
  Info: PPropInfo;
  Path: string;
begin
  for I := 0 to FStoredProps.Count - 1 do
    if Trim(FStoredProps[I]) <> '' then
    begin
      Path := qvJoinPath(SectionPath, Trim(FStoredProps[I]));
      if not Storage.ValueExists(Path) then
        Continue;
      if FindTarget(FStoredProps[I], Instance, Info) then
        SetPropertyText(Instance, Info, Storage.ReadString(Path, ''))
      else if Assigned(FOnPropError) then
        FOnPropError(Self);
    end;
end;

end.
