{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvVersion - version information of executables and of the library itself   }
{                                                                              }
{******************************************************************************}

unit qvVersion;

{$I qvTessel.inc}

interface

uses
  Windows, SysUtils, Classes;

type
  { Reads the version resource of a module file. Settings written by an
    older program version can be converted by comparing FileVersion with the
    version stored beside them. }
  TqvVersionInfo = class(TObject)
  private
    FFileName: string;
    FData: Pointer;
    FSize: Integer;
    FFixed: PVSFixedFileInfo;
    FTranslation: string;
    procedure Load;
    function GetValid: Boolean;
    function GetMajor: Word;
    function GetMinor: Word;
    function GetRelease: Word;
    function GetBuild: Word;
    function GetFileVersion: string;
  public
    constructor Create(const AFileName: string);
    destructor Destroy; override;
    function GetValue(const Name: string): string;
    property FileName: string read FFileName;
    property Valid: Boolean read GetValid;
    property Major: Word read GetMajor;
    property Minor: Word read GetMinor;
    property Release: Word read GetRelease;
    property Build: Word read GetBuild;
    property FileVersion: string read GetFileVersion;
  end;

{ "Major.Minor.Release.Build" of a file, empty when it has no version. }
function qvGetFileVersion(const FileName: string): string;
{ The version of the running program. }
function qvAppVersion: string;
{ The version of the library as a text such as "4.09". }
function qvLibraryVersion: string;
{ Compares two dotted versions numerically: <0, 0 or >0. }
function qvCompareVersions(const A, B: string): Integer;

implementation

uses
  qvConsts;

constructor TqvVersionInfo.Create(const AFileName: string);
begin
  inherited Create;
  FFileName := AFileName;
  Load;
end;

destructor TqvVersionInfo.Destroy;
begin
  if FData <> nil then
    FreeMem(FData, FSize);
  inherited Destroy;
end;

procedure TqvVersionInfo.Load;
var
  Handle, Len: DWORD;
  P: Pointer;
begin
  FSize := GetFileVersionInfoSize(PChar(FFileName), Handle);
  if FSize <= 0 then
    Exit;
  GetMem(FData, FSize);
  if not GetFileVersionInfo(PChar(FFileName), Handle, FSize, FData) then
  begin
    FreeMem(FData, FSize);
    FData := nil;
    Exit;
  end;
  if not VerQueryValue(FData, '\', Pointer(FFixed), Len) then
    FFixed := nil;
  if VerQueryValue(FData, '\VarFileInfo\Translation', P, Len) and (Len >= 4) then
    FTranslation := IntToHex(LoWord(PDWORD(P)^), 4) + IntToHex(HiWord(PDWORD(P)^), 4)
  else
    FTranslation := '040904E4';
end;

function TqvVersionInfo.GetValid: Boolean;
begin
  Result := FFixed <> nil;
end;

function TqvVersionInfo.GetMajor: Word;
begin
  if Valid then Result := HiWord(FFixed^.dwFileVersionMS) else Result := 0;
end;

function TqvVersionInfo.GetMinor: Word;
begin
  if Valid then Result := LoWord(FFixed^.dwFileVersionMS) else Result := 0;
end;

function TqvVersionInfo.GetRelease: Word;
begin
  if Valid then Result := HiWord(FFixed^.dwFileVersionLS) else Result := 0;
end;

function TqvVersionInfo.GetBuild: Word;
begin
  if Valid then Result := LoWord(FFixed^.dwFileVersionLS) else Result := 0;
end;

function TqvVersionInfo.GetFileVersion: string;
begin
  if Valid then
    Result := Format('%d.%d.%d.%d', [Major, Minor, Release, Build])
  else
    Result := '';
end;

function TqvVersionInfo.GetValue(const Name: string): string;
var
  P: Pointer;
  Len: DWORD;
begin
  Result := '';
  if FData = nil then
    Exit;
  if VerQueryValue(FData, PChar('\StringFileInfo\' + FTranslation + '\' + Name), P, Len)
    and (Len > 0) then
    Result := StrPas(PChar(P));
end;

function qvGetFileVersion(const FileName: string): string;
var
  Info: TqvVersionInfo;
begin
  Info := TqvVersionInfo.Create(FileName);
  try
    Result := Info.FileVersion;
  finally
    Info.Free;
  end;
end;

function qvAppVersion: string;
begin
  Result := qvGetFileVersion(ParamStr(0));
end;

function qvLibraryVersion: string;
begin
  Result := qvVersionText;
end;

function qvCompareVersions(const A, B: string): Integer;

  function NextPart(var S: string): Integer;
  var
    P: Integer;
  begin
    P := Pos('.', S);
    if P = 0 then
      P := Length(S) + 1;
    Result := StrToIntDef(Copy(S, 1, P - 1), 0);
    Delete(S, 1, P);
  end;

var
  SA, SB: string;
begin
  SA := A;
  SB := B;
  Result := 0;
  while (Result = 0) and ((SA <> '') or (SB <> '')) do
    Result := NextPart(SA) - NextPart(SB);
end;

end.
