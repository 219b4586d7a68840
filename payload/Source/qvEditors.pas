{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvEditors - property and component editors of the design-time package      }
{                                                                              }
{******************************************************************************}

unit qvEditors;

{$I qvTessel.inc}

interface

uses
  Windows, SysUtils, Classes, Forms, Dialogs,
  {$IFDEF QV_DESIGNINTF} DesignIntf, DesignEditors, {$ELSE} DsgnIntf, {$ENDIF}
  qvStorage;

type
  { FileName of the file storages: "..." opens a file dialog. }
  TqvFileNameProperty = class(TStringProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
    procedure Edit; override;
  end;

  { StoredProps of TqvPropStorage: "..." opens the stored properties editor. }
  TqvStoredPropsProperty = class(TClassProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
    procedure Edit; override;
  end;

  { Context menu of the storages: save and restore at design time (to try a
    file or key), the settings dialog and the about box. }
  TqvStorageEditor = class(TComponentEditor)
  public
    function GetVerbCount: Integer; override;
    function GetVerb(Index: Integer): string; override;
    procedure ExecuteVerb(Index: Integer); override;
  end;

  { Double-clicking a TqvPropStorage opens the stored properties editor. }
  TqvPropStorageEditor = class(TComponentEditor)
  public
    function GetVerbCount: Integer; override;
    function GetVerb(Index: Integer): string; override;
    procedure ExecuteVerb(Index: Integer); override;
    procedure Edit; override;
  end;

implementation

uses
  qvResStr, qvPropStorage, qvStorageEditor, qvSettingsDlg, qvAbout;

{ TqvFileNameProperty }

function TqvFileNameProperty.GetAttributes: TPropertyAttributes;
begin
  Result := [paDialog, paRevertable];
end;

procedure TqvFileNameProperty.Edit;
var
  Dialog: TOpenDialog;
begin
  Dialog := TOpenDialog.Create(Application);
  try
    Dialog.FileName := GetValue;
    Dialog.Filter := SqvSettingsFileFilter;
    Dialog.Options := [ofHideReadOnly, ofPathMustExist];
    if Dialog.Execute then
      SetValue(Dialog.FileName);
  finally
    Dialog.Free;
  end;
end;

{ TqvStoredPropsProperty }

function TqvStoredPropsProperty.GetAttributes: TPropertyAttributes;
begin
  Result := [paDialog, paReadOnly];
end;

procedure TqvStoredPropsProperty.Edit;
var
  Storage: TqvPropStorage;
begin
  Storage := GetComponent(0) as TqvPropStorage;
  if (Storage.Owner <> nil) and
    qvEditStoredProps(Storage.Owner, Storage.StoredProps, Storage.Name) then
    Modified;
end;

{ TqvStorageEditor }

function TqvStorageEditor.GetVerbCount: Integer;
begin
  Result := 4;
end;

function TqvStorageEditor.GetVerb(Index: Integer): string;
begin
  case Index of
    0: Result := SqvEditValues;
    1: Result := SqvTestSave;
    2: Result := SqvTestRestore;
  else
    Result := SqvAboutVerb;
  end;
end;

procedure TqvStorageEditor.ExecuteVerb(Index: Integer);
var
  Dialog: TqvSettingsDialog;
  Storage: TqvCustomStorage;
begin
  Storage := Component as TqvCustomStorage;
  case Index of
    0:
      begin
        Dialog := TqvSettingsDialog.Create(nil);
        try
          Dialog.Storage := Storage;
          Dialog.Execute;
        finally
          Dialog.Free;
        end;
      end;
    1: Storage.Flush;
    2:
      begin
        Storage.Close;
        Storage.Open;
      end;
  else
    qvShowAbout;
  end;
end;

{ TqvPropStorageEditor }

function TqvPropStorageEditor.GetVerbCount: Integer;
begin
  Result := 2;
end;

function TqvPropStorageEditor.GetVerb(Index: Integer): string;
begin
  if Index = 0 then
    Result := SqvEditStoredProps
  else
    Result := SqvAboutVerb;
end;

procedure TqvPropStorageEditor.ExecuteVerb(Index: Integer);
begin
  if Index = 0 then
    Edit
  else
    qvShowAbout;
end;

procedure TqvPropStorageEditor.Edit;
var
  Storage: TqvPropStorage;
begin
  Storage := Component as TqvPropStorage;
  if (Storage.Owner <> nil) and
    qvEditStoredProps(Storage.Owner, Storage.StoredProps, Storage.Name) then
    Designer.Modified;
end;

end.
