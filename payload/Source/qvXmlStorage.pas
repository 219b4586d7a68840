{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvXmlStorage - settings in an XML file                                      }
{                                                                              }
{******************************************************************************}

unit qvXmlStorage;

{$I qvTessel.inc}

{ The file looks like this:

    <?xml version="1.0" encoding="utf-8"?>
    <settings>
      <section name="MainForm">
        <value name="Left">120</value>
        <section name="Grid">
          <value name="Columns">4</value>
        </section>
      </section>
    </settings>

  The unit has its own small reader and writer, so a program needs no XML
  parser installed on the machine. }

interface

uses
  SysUtils, Classes, qvUtils, qvStreams, qvStorage;

type
  TqvXmlStorage = class(TqvMemoryStorage)
  private
    FFileName: string;
    FLocation: TqvFileLocation;
    FEncoding: TqvTextEncoding;
    procedure SetFileName(const Value: string);
    procedure ParseText(const Text: string);
    function BuildText: string;
  protected
    procedure DoOpen; override;
    procedure DoFlush; override;
  public
    constructor Create(AOwner: TComponent); override;
    function FullFileName: string;
    { The document as text, and loading from text (also used by tests). }
    property AsXml: string read BuildText write ParseText;
  published
    property FileName: string read FFileName write SetFileName;
    property Location: TqvFileLocation read FLocation write FLocation
      default flUserAppData;
    property CryptKey;
  end;

  EqvXmlError = class(EqvStorageError);

function qvXmlEscape(const S: string): string;
function qvXmlUnescape(const S: string): string;

implementation

uses
  qvConsts, qvResStr;

function qvXmlEscape(const S: string): string;
var
  I: Integer;
begin
  Result := '';
  for I := 1 to Length(S) do
    case S[I] of
      '&': Result := Result + '&amp;';
      '<': Result := Result + '&lt;';
      '>': Result := Result + '&gt;';
      '"': Result := Result + '&quot;';
      #0..#8, #11, #12, #14..#31:
        Result := Result + '&#' + IntToStr(Ord(S[I])) + ';';
    else
      Result := Result + S[I];
    end;
end;

function qvXmlUnescape(const S: string): string;
var
  I, J, Code: Integer;
  Entity: string;
begin
  Result := '';
  I := 1;
  while I <= Length(S) do
  begin
    if S[I] = '&' then
    begin
      J := I + 1;
      while (J <= Length(S)) and (S[J] <> ';') do
        Inc(J);
      Entity := Copy(S, I + 1, J - I - 1);
      if Entity = 'amp' then Result := Result + '&'
      else if Entity = 'lt' then Result := Result + '<'
      else if Entity = 'gt' then Result := Result + '>'
      else if Entity = 'quot' then Result := Result + '"'
      else if Entity = 'apos' then Result := Result + ''''
      else if (Entity <> '') and (Entity[1] = '#') then
      begin
        if (Length(Entity) > 1) and (Entity[2] = 'x') then
          Val('$' + Copy(Entity, 3, MaxInt), Code, J)
        else
          Val(Copy(Entity, 2, MaxInt), Code, J);
        Result := Result + Char(Code);
        J := I + Length(Entity) + 1;
      end
      else
        Result := Result + '&' + Entity + ';';
      I := J + 1;
    end
    else
    begin
      Result := Result + S[I];
      Inc(I);
    end;
  end;
end;

{ TqvXmlStorage }

constructor TqvXmlStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FLocation := flUserAppData;
  FEncoding := teUtf8;
end;

procedure TqvXmlStorage.SetFileName(const Value: string);
begin
  if Value <> FFileName then
  begin
    Close;
    FFileName := Value;
  end;
end;

function TqvXmlStorage.FullFileName: string;
begin
  Result := qvResolveFileName(FFileName, qvDefaultXmlExt, FLocation);
end;

procedure TqvXmlStorage.DoOpen;
begin
  ParseText(qvLoadTextFile(FullFileName, FEncoding));
end;

procedure TqvXmlStorage.DoFlush;
begin
  qvSaveTextFile(FullFileName, BuildText, FEncoding);
end;

procedure TqvXmlStorage.ParseText(const Text: string);
var
  P, Line: Integer;
  Path: TStringList;

  procedure Fail;
  begin
    raise EqvXmlError.CreateFmt(SqvInvalidXml, [FullFileName, Line]);
  end;

  procedure Skip(const Terminator: string);
  var
    I: Integer;
  begin
    I := P;
    while (I <= Length(Text)) and (Copy(Text, I, Length(Terminator)) <> Terminator) do
    begin
      if Text[I] = #10 then
        Inc(Line);
      Inc(I);
    end;
    if I > Length(Text) then
      Fail;
    P := I + Length(Terminator);
  end;

  function ReadTag(var Name, NameAttr: string; var Closing, Empty: Boolean): Boolean;
  var
    Start, Q: Integer;
    Body: string;
  begin
    Result := False;
    Start := P;
    Skip('>');
    Body := Copy(Text, Start + 1, P - Start - 2);
    Closing := (Body <> '') and (Body[1] = '/');
    if Closing then
      Delete(Body, 1, 1);
    Empty := (Body <> '') and (Body[Length(Body)] = '/');
    if Empty then
      Delete(Body, Length(Body), 1);
    Q := 1;
    while (Q <= Length(Body)) and (Body[Q] > ' ') do
      Inc(Q);
    Name := Copy(Body, 1, Q - 1);
    NameAttr := '';
    Q := Pos(qvXmlNameAttr + '="', Body);
    if Q > 0 then
    begin
      NameAttr := Copy(Body, Q + Length(qvXmlNameAttr) + 2, MaxInt);
      Q := Pos('"', NameAttr);
      if Q = 0 then
        Fail;
      NameAttr := qvXmlUnescape(Copy(NameAttr, 1, Q - 1));
    end;
    Result := Name <> '';
  end;

  function CurrentSection: string;
  var
    I: Integer;
  begin
    Result := '';
    for I := 0 to Path.Count - 1 do
      Result := qvJoinPath(Result, Path[I]);
  end;

var
  Name, NameAttr, Value: string;
  Closing, Empty: Boolean;
  Start: Integer;
begin
  Clear;
  Line := 1;
  P := 1;
  Path := TStringList.Create;
  try
    while P <= Length(Text) do
    begin
      if Text[P] <> '<' then
      begin
        if Text[P] = #10 then
          Inc(Line);
        Inc(P);
      end
      else if Copy(Text, P, 2) = '<?' then
        Skip('?>')
      else if Copy(Text, P, 4) = '<!--' then
        Skip('-->')
      else
      begin
        if not ReadTag(Name, NameAttr, Closing, Empty) then
          Fail;
        if Name = qvXmlSectionElement then
        begin
          if Closing then
          begin
            if Path.Count = 0 then
              Fail;
            Path.Delete(Path.Count - 1);
          end
          else if not Empty then
            Path.Add(NameAttr);
        end
        else if (Name = qvXmlValueElement) and not Closing then
        begin
          Value := '';
          if not Empty then
          begin
            Start := P;
            Skip('</' + qvXmlValueElement + '>');
            Value := qvXmlUnescape(Copy(Text, Start,
              P - Start - Length(qvXmlValueElement) - 3));
          end;
          if NameAttr = '' then
            Fail;
          DoWriteString(CurrentSection, NameAttr, Value);
        end
        else if Name <> qvXmlRootElement then
          Fail;
      end;
    end;
    if Path.Count <> 0 then
      Fail;
  finally
    Path.Free;
  end;
end;

function TqvXmlStorage.BuildText: string;
var
  Lines: TStringList;

  procedure WriteSection(const Section, Indent: string);
  var
    Names: TStringList;
    I: Integer;
  begin
    Names := TStringList.Create;
    try
      DoReadValueNames(Section, Names);
      for I := 0 to Names.Count - 1 do
        Lines.Add(Indent + '<' + qvXmlValueElement + ' ' + qvXmlNameAttr + '="' +
          qvXmlEscape(Names[I]) + '">' +
          qvXmlEscape(DoReadString(Section, Names[I], '')) +
          '</' + qvXmlValueElement + '>');
      Names.Clear;
      DoReadSubSections(Section, Names);
      for I := 0 to Names.Count - 1 do
      begin
        Lines.Add(Indent + '<' + qvXmlSectionElement + ' ' + qvXmlNameAttr + '="' +
          qvXmlEscape(Names[I]) + '">');
        WriteSection(qvJoinPath(Section, Names[I]), Indent + '  ');
        Lines.Add(Indent + '</' + qvXmlSectionElement + '>');
      end;
    finally
      Names.Free;
    end;
  end;

begin
  Lines := TStringList.Create;
  try
    Lines.Add('<?xml version="1.0" encoding="utf-8"?>');
    Lines.Add('<' + qvXmlRootElement + '>');
    WriteSection('', '  ');
    Lines.Add('</' + qvXmlRootElement + '>');
    Result := Lines.Text;
  finally
    Lines.Free;
  end;
end;

end.
