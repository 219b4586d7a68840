{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvConsts - constants shared by the units of the library                     }
{                                                                              }
{******************************************************************************}

unit qvConsts;

{$I qvTessel.inc}

interface

const
  { Product identity, also shown by the about box. }
  qvProductName    = 'Tessel library';
  qvCompanyName    = 'Veltrane';
  qvVersionMajor   = 4;
  qvVersionMinor   = 9;
  qvVersionText    = '4.09';
  qvCopyright      = 'Copyright (c) 1998-2024 Veltrane';
  qvHomePage       = 'http://www.veltrane.com/tessel/';

  { Palette page of the components. }
  qvPalettePage    = 'Tessel';

  { Separators of storage paths: "Section\Sub\Key". }
  qvPathDelimiter  = '\';
  qvListDelimiter  = ',';

  { Default names the components use when a property is left empty. }
  qvDefaultSection = 'Settings';
  qvPlacementSection = 'Placement';
  qvDefaultIniExt  = '.ini';
  qvDefaultXmlExt  = '.xml';
  qvDefaultJsonExt = '.json';
  qvDefaultRegKey  = 'Software\%s\%s';   { company, application }
  qvXmlRootElement = 'settings';
  qvXmlSectionElement = 'section';
  qvXmlValueElement = 'value';
  qvXmlNameAttr    = 'name';

  { Value names written by TqvFormPlacement. }
  qvPlcLeft        = 'Left';
  qvPlcTop         = 'Top';
  qvPlcWidth       = 'Width';
  qvPlcHeight      = 'Height';
  qvPlcState       = 'WindowState';
  qvPlcPixels      = 'PixelsPerInch';

  { How Boolean values are written; both forms and "1"/"0" are read. }
  qvTrueText       = 'True';
  qvFalseText      = 'False';

  { Storage version written by every component; a later library may read
    older data and convert it. }
  qvStorageFormat  = 2;
  qvFormatValue    = '.Format';

  { Prefix that marks an encrypted value (qvCrypt). }
  qvCryptPrefix    = '~qv1~';

  { Environment storage: prefix of the variables it owns. }
  qvEnvPrefix      = 'QV_';

  { Resource names of the library. }
  qvResAboutLogo   = 'QVABOUTLOGO';
  qvResRestoreGlyph = 'QVRESTORE';
  qvResSaveGlyph   = 'QVSAVE';

implementation

end.
