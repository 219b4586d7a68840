{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvStreams - reading and writing whole settings files                        }
{                                                                              }
{******************************************************************************}

unit qvStreams;

{$I qvTessel.inc}

interface

uses
  Windows, SysUtils, Classes;

type
  TqvTextEncoding = (teAnsi, teUtf8);

{ Reads a whole text file. A UTF-8 byte-order mark is recognised and removed;
  Encoding tells which form the file had, so that it is written back the
  same way. }
function qvLoadTextFile(const FileName: string;
  var Encoding: TqvTextEncoding): string;

{ Writes Text to FileName through a temporary file that replaces the old one
  only when it is complete, so a full disk or a crash while saving never
  leaves a truncated settings file behind. }
procedure qvSaveTextFile(const FileName, Text: string; Encoding: TqvTextEncoding);

{ Strings in streams, with a length in front (TqvStrHolder, TqvDbStorage). }
procedure qvWriteStreamString(Stream: TStream; const S: string);
function qvReadStreamString(Stream: TStream): string;

implementation

uses
  qvResStr, qvUtils;

const
  Utf8Bom: array[0..2] of Byte = ($EF, $BB, $BF);

function qvLoadTextFile(const FileName: string;
  var Encoding: TqvTextEncoding): string;
var
  Stream: TFileStream;
  Bytes: AnsiString;
  Size: Integer;
begin
  Encoding := teAnsi;
  Result := '';
  if not FileExists(FileName) then
    Exit;
  Stream := TFileStream.Create(FileName, fmOpenRead or fmShareDenyWrite);
  try
    Size := Stream.Size;
    SetLength(Bytes, Size);
    if Size > 0 then
      Stream.ReadBuffer(Bytes[1], Size);
  finally
    Stream.Free;
  end;
  if (Size >= 3) and (Byte(Bytes[1]) = Utf8Bom[0]) and
    (Byte(Bytes[2]) = Utf8Bom[1]) and (Byte(Bytes[3]) = Utf8Bom[2]) then
  begin
    Encoding := teUtf8;
    Delete(Bytes, 1, 3);
{$IFDEF QV_D6_UP}
    Result := {$IFDEF QV_UNICODE}UTF8ToString{$ELSE}Utf8ToAnsi{$ENDIF}(Bytes);
    Exit;
{$ENDIF}
  end;
  Result := string(Bytes);
end;

procedure qvSaveTextFile(const FileName, Text: string; Encoding: TqvTextEncoding);
var
  TempName: string;
  Stream: TFileStream;
  Bytes: AnsiString;
begin
  qvForceFolder(ExtractFilePath(FileName));
{$IFDEF QV_D6_UP}
  if Encoding = teUtf8 then
    Bytes := UTF8Encode(Text)
  else
{$ENDIF}
    Bytes := AnsiString(Text);
  TempName := FileName + '.tmp';
  try
    Stream := TFileStream.Create(TempName, fmCreate);
  except
    raise EFCreateError.CreateFmt(SqvCannotCreateFile, [FileName]);
  end;
  try
{$IFDEF QV_D6_UP}
    if Encoding = teUtf8 then
      Stream.WriteBuffer(Utf8Bom, SizeOf(Utf8Bom));
{$ENDIF}
    if Bytes <> '' then
      Stream.WriteBuffer(Bytes[1], Length(Bytes));
  finally
    Stream.Free;
  end;
  if FileExists(FileName) and not DeleteFile(FileName) then
  begin
    DeleteFile(TempName);
    raise EFCreateError.CreateFmt(SqvCannotCreateFile, [FileName]);
  end;
  if not RenameFile(TempName, FileName) then
    raise EFCreateError.CreateFmt(SqvCannotCreateFile, [FileName]);
end;

procedure qvWriteStreamString(Stream: TStream; const S: string);
var
  Len: Integer;
begin
  Len := Length(S);
  Stream.WriteBuffer(Len, SizeOf(Len));
  if Len > 0 then
    Stream.WriteBuffer(Pointer(S)^, Len * SizeOf(Char));
end;

function qvReadStreamString(Stream: TStream): string;
var
  Len: Integer;
begin
  Stream.ReadBuffer(Len, SizeOf(Len));
  if (Len < 0) or (Len * SizeOf(Char) > Stream.Size - Stream.Position) then
    raise EReadError.Create('Invalid string length in settings stream');
  SetLength(Result, Len);
  if Len > 0 then
    Stream.ReadBuffer(Pointer(Result)^, Len * SizeOf(Char));
end;

end.
