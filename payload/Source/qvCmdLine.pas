{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvCmdLine - settings given on the program's command line                    }
{                                                                              }
{******************************************************************************}

unit qvCmdLine;

{$I qvTessel.inc}

{ A program started as
      MyApp.exe /settings=C:\Test\MyApp.ini -Window.Left:20 report.txt
  has the switches "settings" and "Window.Left" and the plain parameter
  "report.txt". Storages consult the switches first when their
  UseCommandLine property is set, so a value can be tried out without
  editing any file. }

interface

uses
  SysUtils, Classes;

type
  TqvCommandLine = class(TObject)
  private
    FSwitches: TStringList;
    FParams: TStringList;
    function GetSwitchCount: Integer;
  public
    constructor Create;
    destructor Destroy; override;
    { Parses Text as the system does: blanks separate, double quotes group. }
    procedure Parse(const Text: string);
    procedure ParseProgramLine;
    function HasSwitch(const Name: string): Boolean;
    function SwitchValue(const Name, Default: string): string;
    property Switches: TStringList read FSwitches;
    property SwitchCount: Integer read GetSwitchCount;
    property Params: TStringList read FParams;
  end;

{ The switches of the running program, parsed on first use. }
function qvCommandLine: TqvCommandLine;

{ Splits one command-line argument "/name=value", "-name:value" or "/flag"
  into its name and value; false for a plain parameter. }
function qvSplitSwitch(const Arg: string; var Name, Value: string): Boolean;

implementation

uses
  Windows;

var
  GlobalCommandLine: TqvCommandLine = nil;

function qvSplitSwitch(const Arg: string; var Name, Value: string): Boolean;
var
  I: Integer;
begin
  Result := (Length(Arg) > 1) and ((Arg[1] = '/') or (Arg[1] = '-'));
  if not Result then
    Exit;
  I := 2;
  while (I <= Length(Arg)) and (Arg[I] <> '=') and (Arg[I] <> ':') do
    Inc(I);
  Name := Copy(Arg, 2, I - 2);
  Value := Copy(Arg, I + 1, MaxInt);
  Result := Name <> '';
end;

constructor TqvCommandLine.Create;
begin
  inherited Create;
  FSwitches := TStringList.Create;
  FParams := TStringList.Create;
end;

destructor TqvCommandLine.Destroy;
begin
  FParams.Free;
  FSwitches.Free;
  inherited Destroy;
end;

function TqvCommandLine.GetSwitchCount: Integer;
begin
  Result := FSwitches.Count;
end;

procedure TqvCommandLine.Parse(const Text: string);
var
  I: Integer;
  Arg, Name, Value: string;
  Quoted: Boolean;

  procedure Flush;
  begin
    if Arg = '' then
      Exit;
    if qvSplitSwitch(Arg, Name, Value) then
      FSwitches.Add(Name + '=' + Value)
    else
      FParams.Add(Arg);
    Arg := '';
  end;

begin
  FSwitches.Clear;
  FParams.Clear;
  Arg := '';
  Quoted := False;
  for I := 1 to Length(Text) do
    if Text[I] = '"' then
      Quoted := not Quoted
    else if (Text[I] <= ' ') and not Quoted then
      Flush
    else
      Arg := Arg + Text[I];
  Flush;
end;

procedure TqvCommandLine.ParseProgramLine;
var
  Line: string;
  I: Integer;
begin
  { Skip the program name, which may itself be quoted. }
  Line := GetCommandLine;
  I := 1;
  if (Line <> '') and (Line[1] = '"') then
  begin
    I := 2;
    while (I <= Length(Line)) and (Line[I] <> '"') do
      Inc(I);
    Inc(I);
  end
  else
    while (I <= Length(Line)) and (Line[I] > ' ') do
      Inc(I);
  Parse(Copy(Line, I, MaxInt));
end;

function TqvCommandLine.HasSwitch(const Name: string): Boolean;
begin
  Result := FSwitches.IndexOfName(Name) >= 0;
end;

function TqvCommandLine.SwitchValue(const Name, Default: string): string;
var
  I: Integer;
begin
  I := FSwitches.IndexOfName(Name);
  if I >= 0 then
    Result := Copy(FSwitches[I], Length(Name) + 2, MaxInt)
  else
    Result := Default;
end;

function qvCommandLine: TqvCommandLine;
begin
  if GlobalCommandLine = nil then
  begin
    GlobalCommandLine := TqvCommandLine.Create;
    GlobalCommandLine.ParseProgramLine;
  end;
  Result := GlobalCommandLine;
end;

initialization

finalization
  GlobalCommandLine.Free;
  GlobalCommandLine := nil;

end.
