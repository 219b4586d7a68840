{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvCrypt - scrambling of values that should not be readable at a glance      }
{                                                                              }
{******************************************************************************}

unit qvCrypt;

{$I qvTessel.inc}

{ Values such as a stored database password are scrambled with a key so that
  they are not readable in the ini file or the registry. This keeps honest
  people honest; it is not a protection against an attacker who has the
  program. Store real secrets with the system's credential functions. }

interface

uses
  SysUtils;

{ Scrambles Value; the result starts with qvCryptPrefix and holds only the
  characters 0-9 and A-F, so every storage can keep it. }
function qvEncryptValue(const Value, Key: string): string;
{ Reverses qvEncryptValue. Values without the prefix are returned as they
  are, so settings written before encryption was switched on still load. }
function qvDecryptValue(const Value, Key: string): string;
function qvIsEncrypted(const Value: string): Boolean;

implementation

uses
  qvConsts, qvResStr;

type
  { 32 bits without sign; Delphi 3 has no LongWord, and with overflow
    checks off an Integer wraps around the same way. }
  TqvHash = {$IFDEF QV_D4_UP}LongWord{$ELSE}Integer{$ENDIF};

  TqvKeyStream = record
    State: TqvHash;
  end;

procedure InitStream(var Stream: TqvKeyStream; const Key: string);
var
  I: Integer;
begin
  { FNV-1a hash of the key seeds the generator. }
  Stream.State := TqvHash($811C9DC5);
  for I := 1 to Length(Key) do
    Stream.State := (Stream.State xor TqvHash(Ord(Key[I]))) * TqvHash($01000193);
  if Stream.State = 0 then
    Stream.State := 1;
end;

function NextByte(var Stream: TqvKeyStream): Byte;
begin
  { xorshift32 }
  Stream.State := Stream.State xor (Stream.State shl 13);
  Stream.State := Stream.State xor (Stream.State shr 17);
  Stream.State := Stream.State xor (Stream.State shl 5);
  Result := Byte(Stream.State shr 8);
end;

function qvIsEncrypted(const Value: string): Boolean;
begin
  Result := Copy(Value, 1, Length(qvCryptPrefix)) = qvCryptPrefix;
end;

function qvEncryptValue(const Value, Key: string): string;
var
  Stream: TqvKeyStream;
  I: Integer;
  C: Word;
  Prev: Byte;
begin
  InitStream(Stream, Key);
  Result := qvCryptPrefix;
  Prev := NextByte(Stream);
  for I := 1 to Length(Value) do
  begin
    C := Ord(Value[I]);
    { Each character is chained to the previous output byte, so equal
      characters do not give equal output. }
    if C > $FF then
      Result := Result + '!' + IntToHex(C xor (NextByte(Stream) shl 8 or Prev), 4)
    else
    begin
      Prev := Byte(C) xor NextByte(Stream) xor Prev;
      Result := Result + IntToHex(Prev, 2);
    end;
  end;
end;

function HexValue(const S: string; Index, Len: Integer; var Value: Integer): Boolean;
var
  Code: Integer;
begin
  Val('$' + Copy(S, Index, Len), Value, Code);
  Result := (Code = 0) and (Index + Len - 1 <= Length(S));
end;

function qvDecryptValue(const Value, Key: string): string;
var
  Stream: TqvKeyStream;
  I, B: Integer;
  Prev: Byte;
begin
  if not qvIsEncrypted(Value) then
  begin
    Result := Value;
    Exit;
  end;
  InitStream(Stream, Key);
  Result := '';
  Prev := NextByte(Stream);
  I := Length(qvCryptPrefix) + 1;
  while I <= Length(Value) do
  begin
    if Value[I] = '!' then
    begin
      if not HexValue(Value, I + 1, 4, B) then
        raise EConvertError.Create(SqvBadCryptData);
      Result := Result + Char(B xor (NextByte(Stream) shl 8 or Prev));
      Inc(I, 5);
    end
    else
    begin
      if not HexValue(Value, I, 2, B) then
        raise EConvertError.Create(SqvBadCryptData);
      Result := Result + Char(Byte(B) xor NextByte(Stream) xor Prev);
      Prev := Byte(B);
      Inc(I, 2);
    end;
  end;
end;

end.
