{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvResStr - texts shown to the user; translate this unit to localise the     }
{  library                                                                     }
{                                                                              }
{******************************************************************************}

unit qvResStr;

{$I qvTessel.inc}

interface

resourcestring
  SqvStorageNotActive   = 'Storage %s is not active';
  SqvNoStorage          = 'Component %s has no storage assigned';
  SqvCannotCreateFile   = 'Cannot create settings file "%s"';
  SqvCannotOpenKey      = 'Cannot open registry key "%s"';
  SqvInvalidPath        = 'Invalid settings path "%s"';
  SqvInvalidXml         = 'Settings file "%s" is not well-formed XML (line %d)';
  SqvInvalidJson        = 'Settings file "%s" is not valid JSON (position %d)';
  SqvInvalidNumber      = 'Value "%s" of %s is not a number';
  SqvInvalidProperty    = 'Component %s has no property "%s"';
  SqvReadOnlyStorage    = 'Storage %s is read-only';
  SqvCircularLink       = 'A storage cannot be linked to itself';
  SqvDataSetNotActive   = 'Data set %s must be open to store settings';
  SqvFieldNotFound      = 'Data set %s has no field "%s"';
  SqvBadCryptData       = 'Stored value cannot be decrypted';

  { Settings dialog }
  SqvDlgCaption         = 'Settings';
  SqvDlgSections        = '&Sections:';
  SqvDlgValues          = '&Values:';
  SqvDlgName            = 'Name';
  SqvDlgValue           = 'Value';
  SqvDlgRestore         = '&Restore defaults';
  SqvDlgConfirmRestore  = 'Restore the default values of all settings?';
  SqvDlgOK              = 'OK';
  SqvDlgCancel          = 'Cancel';

  { Design time }
  SqvEditStoredProps    = '&Stored properties...';
  SqvEditValues         = '&Edit stored values...';
  SqvTestSave           = 'Save &now';
  SqvTestRestore        = '&Restore now';
  SqvAboutVerb          = '&About Tessel library...';
  SqvEditorCaption      = '%s - stored properties';
  SqvSettingsFileFilter = 'Settings files (*.ini;*.xml;*.json)|*.ini;*.xml;*.json|All files (*.*)|*.*';

implementation

end.
