{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvUtils - text conversions and folder helpers used by all storages          }
{                                                                              }
{******************************************************************************}

unit qvUtils;

{$I qvTessel.inc}

interface

uses
  Windows, SysUtils, Classes;

type
  { Where a settings file is kept when its name has no folder. }
  TqvFileLocation = (flProgramFolder, flUserAppData, flCommonAppData,
    flWindowsFolder, flCurrentFolder);

{ Storage paths }
function qvAddDelimiter(const Path: string): string;
function qvJoinPath(const Section, Ident: string): string;
procedure qvSplitPath(const Path: string; var Section, Ident: string);
function qvNormalizePath(const Path: string): string;
{ True when the section path Name is Section itself or lies below it; every
  section lies below the root section ''. }
function qvIsInSection(const Name, Section: string): Boolean;
{ Adds the first level of Name below Section to Names, once ("A\B\C" below
  "A" adds "B"); nothing when Name does not lie below Section. }
procedure qvAddSubSection(const Name, Section: string; Names: TStrings);

{ Values as text. Numbers and dates are written in one fixed, locale
  independent format, so that settings survive a change of the user's
  regional options. }
function qvBoolToStr(Value: Boolean): string;
function qvStrToBool(const S: string; Default: Boolean): Boolean;
function qvFloatToStr(Value: Extended): string;
function qvStrToFloat(const S: string; Default: Extended): Extended;
function qvDateTimeToStr(Value: TDateTime): string;
function qvStrToDateTime(const S: string; Default: TDateTime): TDateTime;
function qvEscapeText(const S: string): string;
function qvUnescapeText(const S: string): string;

{ Folders and names }
function qvAppName: string;
function qvSpecialFolder(Location: TqvFileLocation): string;
function qvResolveFileName(const FileName, DefaultExt: string;
  Location: TqvFileLocation): string;
function qvForceFolder(const Folder: string): Boolean;
function qvComponentPath(Component: TComponent): string;

implementation

uses
  {$IFNDEF QV_D6_UP} FileCtrl, {$ENDIF}
  ActiveX, ShlObj, qvConsts;

const
  { Not declared by the older ShlObj units. }
  CSIDL_COMMON_APPDATA_ = $0023;

function qvAddDelimiter(const Path: string): string;
begin
  Result := Path;
  if (Result <> '') and (Result[Length(Result)] <> qvPathDelimiter) then
    Result := Result + qvPathDelimiter;
end;

function qvJoinPath(const Section, Ident: string): string;
begin
  if Section = '' then
    Result := Ident
  else if Ident = '' then
    Result := Section
  else
    Result := qvAddDelimiter(Section) + Ident;
end;

procedure qvSplitPath(const Path: string; var Section, Ident: string);
var
  I: Integer;
begin
  I := Length(Path);
  while (I > 0) and (Path[I] <> qvPathDelimiter) do
    Dec(I);
  Section := Copy(Path, 1, I - 1);
  Ident := Copy(Path, I + 1, MaxInt);
end;

function qvNormalizePath(const Path: string): string;
var
  I: Integer;
begin
  Result := Path;
  for I := 1 to Length(Result) do
    if Result[I] = '/' then
      Result[I] := qvPathDelimiter;
  { No empty levels: "A\\B" is "A\B", and no delimiter at either end. }
  I := Pos(qvPathDelimiter + qvPathDelimiter, Result);
  while I > 0 do
  begin
    Delete(Result, I, 1);
    I := Pos(qvPathDelimiter + qvPathDelimiter, Result);
  end;
  while (Result <> '') and (Result[1] = qvPathDelimiter) do
    Delete(Result, 1, 1);
  while (Result <> '') and (Result[Length(Result)] = qvPathDelimiter) do
    Delete(Result, Length(Result), 1);
end;

function qvIsInSection(const Name, Section: string): Boolean;
var
  Prefix: string;
begin
  Prefix := qvAddDelimiter(Section);
  Result := (Section = '') or (AnsiCompareText(Name, Section) = 0) or
    (AnsiCompareText(Copy(Name, 1, Length(Prefix)), Prefix) = 0);
end;

procedure qvAddSubSection(const Name, Section: string; Names: TStrings);
var
  Prefix, Rest: string;
  P: Integer;
begin
  Prefix := qvAddDelimiter(Section);
  if AnsiCompareText(Copy(Name, 1, Length(Prefix)), Prefix) <> 0 then
    Exit;
  Rest := Copy(Name, Length(Prefix) + 1, MaxInt);
  P := Pos(qvPathDelimiter, Rest);
  if P > 0 then
    Rest := Copy(Rest, 1, P - 1);
  if (Rest <> '') and (Names.IndexOf(Rest) < 0) then
    Names.Add(Rest);
end;

function qvBoolToStr(Value: Boolean): string;
begin
  if Value then Result := qvTrueText else Result := qvFalseText;
end;

function qvStrToBool(const S: string; Default: Boolean): Boolean;
var
  T: string;
begin
  T := UpperCase(Trim(S));
  if (T = '1') or (T = 'TRUE') or (T = 'YES') or (T = 'ON') then
    Result := True
  else if (T = '0') or (T = 'FALSE') or (T = 'NO') or (T = 'OFF') then
    Result := False
  else
    Result := Default;
end;

function qvFloatToStr(Value: Extended): string;
var
  I: Integer;
begin
  Result := FloatToStrF(Value, ffGeneral, 18, 0);
  { Whatever the user's decimal separator is, store a point. }
  for I := 1 to Length(Result) do
    if Result[I] = ',' then
      Result[I] := '.';
end;

function qvStrToFloat(const S: string; Default: Extended): Extended;
var
  T: string;
  I, Code: Integer;
begin
  T := Trim(S);
  for I := 1 to Length(T) do
    if T[I] = ',' then
      T[I] := '.';
  Val(T, Result, Code);
  if (T = '') or (Code <> 0) then
    Result := Default;
end;

function qvDateTimeToStr(Value: TDateTime): string;
begin
  Result := FormatDateTime('yyyy"-"mm"-"dd" "hh":"nn":"ss', Value);
end;

function qvStrToDateTime(const S: string; Default: TDateTime): TDateTime;
var
  Y, M, D, H, N, Sec: Integer;
begin
  Result := Default;
  { yyyy-mm-dd[ hh:nn:ss] }
  if (Length(S) < 10) or (S[5] <> '-') or (S[8] <> '-') then
    Exit;
  Y := StrToIntDef(Copy(S, 1, 4), -1);
  M := StrToIntDef(Copy(S, 6, 2), -1);
  D := StrToIntDef(Copy(S, 9, 2), -1);
  H := 0; N := 0; Sec := 0;
  if Length(S) >= 19 then
  begin
    H := StrToIntDef(Copy(S, 12, 2), -1);
    N := StrToIntDef(Copy(S, 15, 2), -1);
    Sec := StrToIntDef(Copy(S, 18, 2), -1);
  end;
  if (Y < 1) or (M < 1) or (M > 12) or (D < 1) or (D > 31) or
    (H < 0) or (H > 23) or (N < 0) or (N > 59) or (Sec < 0) or (Sec > 59) then
    Exit;
  try
    Result := EncodeDate(Y, M, D) + EncodeTime(H, N, Sec, 0);
  except
    on EConvertError do
      Result := Default;
  end;
end;

function qvEscapeText(const S: string): string;
var
  I: Integer;
begin
  Result := '';
  for I := 1 to Length(S) do
    case S[I] of
      '\': Result := Result + '\\';
      #13: Result := Result + '\r';
      #10: Result := Result + '\n';
      #9:  Result := Result + '\t';
    else
      Result := Result + S[I];
    end;
end;

function qvUnescapeText(const S: string): string;
var
  I: Integer;
begin
  Result := '';
  I := 1;
  while I <= Length(S) do
  begin
    if (S[I] = '\') and (I < Length(S)) then
    begin
      Inc(I);
      case S[I] of
        'r': Result := Result + #13;
        'n': Result := Result + #10;
        't': Result := Result + #9;
      else
        Result := Result + S[I];
      end;
    end
    else
      Result := Result + S[I];
    Inc(I);
  end;
end;

function qvAppName: string;
begin
  Result := ChangeFileExt(ExtractFileName(ParamStr(0)), '');
end;

function ShellFolder(Csidl: Integer): string;
var
  IdList: PItemIDList;
  Buffer: array[0..MAX_PATH] of Char;
begin
  Result := '';
  if Succeeded(SHGetSpecialFolderLocation(0, Csidl, IdList)) then
  begin
    if SHGetPathFromIDList(IdList, Buffer) then
      Result := Buffer;
    CoTaskMemFree(IdList);
  end;
end;

function qvSpecialFolder(Location: TqvFileLocation): string;
var
  Buffer: array[0..MAX_PATH] of Char;
begin
  case Location of
    flProgramFolder:
      Result := ExtractFilePath(ParamStr(0));
    flUserAppData:
      Result := ShellFolder(CSIDL_APPDATA);
    flCommonAppData:
      Result := ShellFolder(CSIDL_COMMON_APPDATA_);
    flWindowsFolder:
      begin
        GetWindowsDirectory(Buffer, MAX_PATH);
        Result := Buffer;
      end;
  else
    Result := GetCurrentDir;
  end;
  { Roaming data of older systems without the shell folder: the program's
    own folder is the only writable place we know. }
  if Result = '' then
    Result := ExtractFilePath(ParamStr(0));
  if Result[Length(Result)] <> '\' then
    Result := Result + '\';
  if Location in [flUserAppData, flCommonAppData] then
    Result := Result + qvCompanyName + '\' + qvAppName + '\';
end;

function qvResolveFileName(const FileName, DefaultExt: string;
  Location: TqvFileLocation): string;
begin
  Result := FileName;
  if Result = '' then
    Result := qvAppName + DefaultExt
  else if ExtractFileExt(Result) = '' then
    Result := Result + DefaultExt;
  if ExtractFilePath(Result) = '' then
    Result := qvSpecialFolder(Location) + Result;
end;

function qvForceFolder(const Folder: string): Boolean;
var
  Dir: string;
begin
  Dir := Folder;
  if (Dir <> '') and (Dir[Length(Dir)] = '\') then
    Delete(Dir, Length(Dir), 1);
  Result := (Dir = '') or DirectoryExists(Dir) or
    ((Length(Dir) > 3) and (ExtractFilePath(Dir) <> Dir) and
     qvForceFolder(ExtractFilePath(Dir)) and CreateDir(Dir));
end;

function qvComponentPath(Component: TComponent): string;
begin
  Result := '';
  while (Component <> nil) and (Component.Name <> '') do
  begin
    if Result = '' then
      Result := Component.Name
    else
      Result := Component.Name + '.' + Result;
    Component := Component.Owner;
  end;
end;

end.
