{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvVarUtils - variant values in a storage                                    }
{                                                                              }
{******************************************************************************}

unit qvVarUtils;

{$I qvTessel.inc}

{ A variant is stored as its type letter, a colon and its text, for example
  "I:42", "F:2.5", "B:True", "D:2024-03-01 10:00:00", "S:text" or "N:" for
  Null, so that it is read back with the same type. Needs the Variants unit
  of Delphi 6 and later. }

interface

uses
  SysUtils, Classes, Variants, qvStorage;

function qvVariantToStr(const Value: Variant): string;
function qvStrToVariant(const S: string): Variant;

function qvReadVariant(Storage: TqvCustomStorage; const Path: string;
  const Default: Variant): Variant;
procedure qvWriteVariant(Storage: TqvCustomStorage; const Path: string;
  const Value: Variant);

implementation

uses
  qvUtils;

function qvVariantToStr(const Value: Variant): string;
begin
  case VarType(Value) and varTypeMask of
    varEmpty, varNull:
      Result := 'N:';
    varSmallint, varInteger, varShortInt, varByte, varWord, varLongWord:
      Result := 'I:' + IntToStr(Integer(Value));
    varInt64:
      Result := 'L:' + IntToStr(Int64(Value));
    varSingle, varDouble, varCurrency:
      Result := 'F:' + qvFloatToStr(Double(Value));
    varDate:
      Result := 'D:' + qvDateTimeToStr(VarToDateTime(Value));
    varBoolean:
      Result := 'B:' + qvBoolToStr(Boolean(Value));
  else
    Result := 'S:' + VarToStr(Value);
  end;
end;

function qvStrToVariant(const S: string): Variant;
var
  Body: string;
begin
  if (Length(S) < 2) or (S[2] <> ':') then
  begin
    { Not written by qvVariantToStr: a plain string. }
    Result := S;
    Exit;
  end;
  Body := Copy(S, 3, MaxInt);
  case S[1] of
    'N': Result := Null;
    'I': Result := StrToIntDef(Body, 0);
    'L': Result := StrToInt64Def(Body, 0);
    'F': Result := qvStrToFloat(Body, 0);
    'D': Result := VarFromDateTime(qvStrToDateTime(Body, 0));
    'B': Result := qvStrToBool(Body, False);
  else
    Result := Body;
  end;
end;

function qvReadVariant(Storage: TqvCustomStorage; const Path: string;
  const Default: Variant): Variant;
begin
  if Storage.ValueExists(Path) then
    Result := qvStrToVariant(Storage.ReadString(Path, ''))
  else
    Result := Default;
end;

procedure qvWriteVariant(Storage: TqvCustomStorage; const Path: string;
  const Value: Variant);
begin
  Storage.WriteString(Path, qvVariantToStr(Value));
end;

end.
