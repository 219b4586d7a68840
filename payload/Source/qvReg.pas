{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvReg - registers the components and their editors with the IDE             }
{                                                                              }
{******************************************************************************}

unit qvReg;

{$I qvTessel.inc}

interface

procedure Register;

implementation

uses
  Classes,
  {$IFDEF QV_DESIGNINTF} DesignIntf, DesignEditors, {$ELSE} DsgnIntf, {$ENDIF}
  qvConsts, qvStorage, qvIniStorage, qvRegStorage, qvXmlStorage, qvEnvStorage,
  qvFormPlacement, qvPropStorage, qvStrHolder, qvSettingsDlg, qvEditors
  {$IFDEF QV_D4_UP}, qvJsonStorage, qvCollStorage, qvDbStorage, qvAppEvents{$ENDIF}
  {$IFDEF QV_D6_UP}, qvActionStorage{$ENDIF};

{ The palette bitmaps are in qvReg.dcr, one per component class, named
  after the class in capitals. }

procedure Register;
begin
  RegisterComponents(qvPalettePage, [TqvIniStorage, TqvRegStorage,
    TqvXmlStorage, TqvEnvStorage, TqvMemoryStorage, TqvFormPlacement,
    TqvPropStorage, TqvStrHolder, TqvSettingsDialog]);
{$IFDEF QV_D4_UP}
  RegisterComponents(qvPalettePage, [TqvJsonStorage, TqvDbStorage,
    TqvCollectionStorage, TqvAppEvents]);
{$ENDIF}
{$IFDEF QV_D6_UP}
  RegisterComponents(qvPalettePage, [TqvActionStorage]);
{$ENDIF}

  RegisterPropertyEditor(TypeInfo(string), TqvIniStorage, 'FileName', TqvFileNameProperty);
  RegisterPropertyEditor(TypeInfo(string), TqvXmlStorage, 'FileName', TqvFileNameProperty);
  RegisterPropertyEditor(TypeInfo(TStringList), TqvPropStorage, 'StoredProps',
    TqvStoredPropsProperty);
{$IFDEF QV_D4_UP}
  RegisterPropertyEditor(TypeInfo(string), TqvJsonStorage, 'FileName', TqvFileNameProperty);
{$ENDIF}

  RegisterComponentEditor(TqvCustomStorage, TqvStorageEditor);
  RegisterComponentEditor(TqvPropStorage, TqvPropStorageEditor);
end;

end.
