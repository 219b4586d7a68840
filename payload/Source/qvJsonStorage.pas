{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvJsonStorage - settings in a JSON file                                     }
{                                                                              }
{******************************************************************************}

unit qvJsonStorage;

{$I qvTessel.inc}

(* Sections are objects, values are strings:

    {
      "MainForm": {
        "Left": "120",
        "Grid": { "Columns": "4" }
      }
    }

  Numbers, true/false and null in a hand-edited file are read as their text
  ("12", "true", ""). Arrays are not used by the library and are rejected. *)

interface

uses
  SysUtils, Classes, qvUtils, qvStreams, qvStorage;

type
  TqvJsonStorage = class(TqvMemoryStorage)
  private
    FFileName: string;
    FLocation: TqvFileLocation;
    FEncoding: TqvTextEncoding;
    FIndent: Integer;
    procedure SetFileName(const Value: string);
    procedure ParseText(const Text: string);
    function BuildText: string;
  protected
    procedure DoOpen; override;
    procedure DoFlush; override;
  public
    constructor Create(AOwner: TComponent); override;
    function FullFileName: string;
    property AsJson: string read BuildText write ParseText;
  published
    property FileName: string read FFileName write SetFileName;
    property Location: TqvFileLocation read FLocation write FLocation default flUserAppData;
    property Indent: Integer read FIndent write FIndent default 2;
    property CryptKey;
  end;

  EqvJsonError = class(EqvStorageError);

function qvJsonQuote(const S: string): string;

implementation

uses
  qvConsts, qvResStr;

function qvJsonQuote(const S: string): string;
var
  I: Integer;
begin
  Result := '"';
  for I := 1 to Length(S) do
    case S[I] of
      '"': Result := Result + '\"';
      '\': Result := Result + '\\';
      #8: Result := Result + '\b';
      #9: Result := Result + '\t';
      #10: Result := Result + '\n';
      #12: Result := Result + '\f';
      #13: Result := Result + '\r';
      #0..#7, #11, #14..#31:
        Result := Result + '\u' + IntToHex(Ord(S[I]), 4);
    else
      Result := Result + S[I];
    end;
  Result := Result + '"';
end;

constructor TqvJsonStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FLocation := flUserAppData;
  FEncoding := teUtf8;
  FIndent := 2;
end;

procedure TqvJsonStorage.SetFileName(const Value: string);
begin
  if Value <> FFileName then
  begin
    Close;
    FFileName := Value;
  end;
end;

function TqvJsonStorage.FullFileName: string;
begin
  Result := qvResolveFileName(FFileName, qvDefaultJsonExt, FLocation);
end;

procedure TqvJsonStorage.DoOpen;
begin
  ParseText(qvLoadTextFile(FullFileName, FEncoding));
end;

procedure TqvJsonStorage.DoFlush;
begin
  qvSaveTextFile(FullFileName, BuildText, FEncoding);
end;

procedure TqvJsonStorage.ParseText(const Text: string);
var
  P: Integer;

  procedure Fail;
  begin
    raise EqvJsonError.CreateFmt(SqvInvalidJson, [FullFileName, P]);
  end;

  procedure SkipBlanks;
  begin
    while (P <= Length(Text)) and (Text[P] <= ' ') do
      Inc(P);
  end;

  procedure Expect(C: Char);
  begin
    SkipBlanks;
    if (P > Length(Text)) or (Text[P] <> C) then
      Fail;
    Inc(P);
  end;

  function ReadQuoted: string;
  var
    Code: Integer;
  begin
    Expect('"');
    Result := '';
    while (P <= Length(Text)) and (Text[P] <> '"') do
    begin
      if Text[P] = '\' then
      begin
        Inc(P);
        if P > Length(Text) then
          Fail;
        case Text[P] of
          'b': Result := Result + #8;
          't': Result := Result + #9;
          'n': Result := Result + #10;
          'f': Result := Result + #12;
          'r': Result := Result + #13;
          'u':
            begin
              Code := StrToIntDef('$' + Copy(Text, P + 1, 4), -1);
              if Code < 0 then
                Fail;
              Result := Result + Char(Code);
              Inc(P, 4);
            end;
        else
          Result := Result + Text[P];
        end;
      end
      else
        Result := Result + Text[P];
      Inc(P);
    end;
    Expect('"');
  end;

  function ReadLiteral: string;
  var
    Start: Integer;
  begin
    Start := P;
    while (P <= Length(Text)) and (Text[P] in ['0'..'9', '-', '+', '.', 'E',
      'a'..'z']) do
      Inc(P);
    Result := Copy(Text, Start, P - Start);
    if Result = 'null' then
      Result := ''
    else if (Result = '') or ((Result[1] in ['a'..'z']) and
      (Result <> 'true') and (Result <> 'false')) then
      Fail;
  end;

  procedure ReadObject(const Section: string);
  var
    Name: string;
  begin
    Expect('{');
    SkipBlanks;
    if (P <= Length(Text)) and (Text[P] = '}') then
    begin
      Inc(P);
      Exit;
    end;
    repeat
      Name := ReadQuoted;
      Expect(':');
      SkipBlanks;
      if P > Length(Text) then
        Fail;
      case Text[P] of
        '{': ReadObject(qvJoinPath(Section, Name));
        '"': DoWriteString(Section, Name, ReadQuoted);
        '[': Fail;
      else
        DoWriteString(Section, Name, ReadLiteral);
      end;
      SkipBlanks;
      if (P <= Length(Text)) and (Text[P] = ',') then
        Inc(P)
      else
        Break;
    until False;
    Expect('}');
  end;

begin
  Clear;
  P := 1;
  SkipBlanks;
  if P > Length(Text) then
    Exit;   { an empty or missing file has no settings yet }
  ReadObject('');
  SkipBlanks;
  if P <= Length(Text) then
    Fail;
end;

function TqvJsonStorage.BuildText: string;
var
  Lines: TStringList;

  procedure WriteObject(const Section: string; Level: Integer);
  var
    Values, Subs: TStringList;
    I: Integer;
    Pad, Comma: string;
  begin
    Values := TStringList.Create;
    Subs := TStringList.Create;
    try
      DoReadValueNames(Section, Values);
      DoReadSubSections(Section, Subs);
      Pad := StringOfChar(' ', FIndent * Level);
      for I := 0 to Values.Count - 1 do
      begin
        if (I < Values.Count - 1) or (Subs.Count > 0) then Comma := ',' else Comma := '';
        Lines.Add(Pad + qvJsonQuote(Values[I]) + ': ' +
          qvJsonQuote(DoReadString(Section, Values[I], '')) + Comma);
      end;
      for I := 0 to Subs.Count - 1 do
      begin
        if I < Subs.Count - 1 then Comma := ',' else Comma := '';
        Lines.Add(Pad + qvJsonQuote(Subs[I]) + ': {');
        WriteObject(qvJoinPath(Section, Subs[I]), Level + 1);
        Lines.Add(Pad + '}' + Comma);
      end;
    finally
      Subs.Free;
      Values.Free;
    end;
  end;

begin
  Lines := TStringList.Create;
  try
    Lines.Add('{');
    WriteObject('', 1);
    Lines.Add('}');
    Result := Lines.Text;
  finally
    Lines.Free;
  end;
end;

end.
