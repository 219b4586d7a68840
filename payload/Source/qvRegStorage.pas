{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvRegStorage - settings in the registry                                     }
{                                                                              }
{******************************************************************************}

unit qvRegStorage;

{$I qvTessel.inc}

{ Sections are registry keys below Key, values are string values. Numbers
  are written as text as well, so that every storage of the library keeps
  the same data and a program can move from the registry to a file by
  replacing one component. }

interface

uses
  Windows, SysUtils, Classes, Registry, qvStorage;

type
  TqvRootKey = (rkCurrentUser, rkLocalMachine);

  TqvRegStorage = class(TqvCustomStorage)
  private
    FKey: string;
    FRootKey: TqvRootKey;
    function RootHandle: HKEY;
    function KeyPath(const Section: string): string;
    function OpenKey(Reg: TRegistry; const Section: string; CanCreate: Boolean): Boolean;
    function NewRegistry(Write: Boolean): TRegistry;
  protected
    function DoReadString(const Section, Ident, Default: string): string; override;
    procedure DoWriteString(const Section, Ident, Value: string); override;
    procedure DoReadValueNames(const Section: string; Names: TStrings); override;
    procedure DoReadSubSections(const Section: string; Names: TStrings); override;
    procedure DoEraseSection(const Section: string); override;
    procedure DoDeleteValue(const Section, Ident: string); override;
  public
    constructor Create(AOwner: TComponent); override;
    { Key when Key is empty: Software\<company>\<program name>. }
    function FullKey: string;
  published
    property Key: string read FKey write FKey;
    property RootKey: TqvRootKey read FRootKey write FRootKey default rkCurrentUser;
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
  qvConsts, qvResStr, qvUtils;

constructor TqvRegStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FRootKey := rkCurrentUser;
end;

function TqvRegStorage.RootHandle: HKEY;
begin
  if FRootKey = rkLocalMachine then
    Result := HKEY_LOCAL_MACHINE
  else
    Result := HKEY_CURRENT_USER;
end;

function TqvRegStorage.FullKey: string;
begin
  if FKey <> '' then
    Result := qvNormalizePath(FKey)
  else
    Result := Format(qvDefaultRegKey, [qvCompanyName, qvAppName]);
end;

function TqvRegStorage.KeyPath(const Section: string): string;
begin
  Result := '\' + qvJoinPath(FullKey, Section);
end;

function TqvRegStorage.NewRegistry(Write: Boolean): TRegistry;
begin
{$IFDEF QV_D5_UP}
  if Write then
    Result := TRegistry.Create
  else
    Result := TRegistry.Create(KEY_READ);
{$ELSE}
  Result := TRegistry.Create;
{$ENDIF}
  Result.RootKey := RootHandle;
end;

function TqvRegStorage.OpenKey(Reg: TRegistry; const Section: string;
  CanCreate: Boolean): Boolean;
begin
{$IFDEF QV_D4_UP}
  if not CanCreate then
    Result := Reg.OpenKeyReadOnly(KeyPath(Section))
  else
{$ENDIF}
    Result := Reg.OpenKey(KeyPath(Section), CanCreate);
end;

function TqvRegStorage.DoReadString(const Section, Ident, Default: string): string;
var
  Reg: TRegistry;
begin
  Result := Default;
  Reg := NewRegistry(False);
  try
    if OpenKey(Reg, Section, False) and Reg.ValueExists(Ident) then
      case Reg.GetDataType(Ident) of
        rdString, rdExpandString:
          Result := Reg.ReadString(Ident);
        rdInteger:
          { Values that an older version or an administrator wrote as
            numbers are read as well. }
          Result := IntToStr(Reg.ReadInteger(Ident));
      end;
  finally
    Reg.Free;
  end;
end;

procedure TqvRegStorage.DoWriteString(const Section, Ident, Value: string);
var
  Reg: TRegistry;
begin
  Reg := NewRegistry(True);
  try
    if not OpenKey(Reg, Section, True) then
      raise EqvStorageError.CreateFmt(SqvCannotOpenKey, [KeyPath(Section)]);
    Reg.WriteString(Ident, Value);
  finally
    Reg.Free;
  end;
end;

procedure TqvRegStorage.DoReadValueNames(const Section: string; Names: TStrings);
var
  Reg: TRegistry;
begin
  Reg := NewRegistry(False);
  try
    if OpenKey(Reg, Section, False) then
      Reg.GetValueNames(Names);
  finally
    Reg.Free;
  end;
end;

procedure TqvRegStorage.DoReadSubSections(const Section: string; Names: TStrings);
var
  Reg: TRegistry;
begin
  Reg := NewRegistry(False);
  try
    if OpenKey(Reg, Section, False) then
      Reg.GetKeyNames(Names);
  finally
    Reg.Free;
  end;
end;

procedure TqvRegStorage.DoEraseSection(const Section: string);
var
  Reg: TRegistry;
  Names: TStringList;
  I: Integer;
begin
  Reg := NewRegistry(True);
  try
    if Section = '' then
    begin
      { The storage's own key stays; only what is inside goes. }
      Names := TStringList.Create;
      try
        if OpenKey(Reg, '', False) then
        begin
          Reg.GetKeyNames(Names);
          Reg.CloseKey;
          for I := 0 to Names.Count - 1 do
            Reg.DeleteKey(KeyPath(Names[I]));
          if OpenKey(Reg, '', True) then
          begin
            Names.Clear;
            Reg.GetValueNames(Names);
            for I := 0 to Names.Count - 1 do
              Reg.DeleteValue(Names[I]);
          end;
        end;
      finally
        Names.Free;
      end;
    end
    else
      Reg.DeleteKey(KeyPath(Section));
  finally
    Reg.Free;
  end;
end;

procedure TqvRegStorage.DoDeleteValue(const Section, Ident: string);
var
  Reg: TRegistry;
begin
  Reg := NewRegistry(True);
  try
    if OpenKey(Reg, Section, True) then
      Reg.DeleteValue(Ident);
  finally
    Reg.Free;
  end;
end;

end.
