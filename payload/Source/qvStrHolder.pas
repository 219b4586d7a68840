{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvStrHolder - a list of strings that is kept in a storage                   }
{                                                                              }
{******************************************************************************}

unit qvStrHolder;

{$I qvTessel.inc}

{ TqvStrHolder holds a string list that is designed in the form (recent file
  lists, search histories, SQL texts) and saved to and restored from its
  storage. Macros of the form %NAME% in the strings are replaced by values
  when the text is read through ExpandedText. }

interface

uses
  SysUtils, Classes, qvStorage;

type
  TqvStrHolder = class(TqvStorageClient)
  private
    FStrings: TStringList;
    FMacros: TStringList;
    FMaxCount: Integer;
    FOnChange: TNotifyEvent;
    procedure SetStrings(Value: TStringList);
    procedure SetMacros(Value: TStringList);
    procedure StringsChanged(Sender: TObject);
    function GetExpandedText: string;
  protected
    procedure DoSave; override;
    procedure DoRestore; override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { Adds S at the top, removes an older copy and keeps at most MaxCount
      entries: the usual most-recently-used list. }
    procedure AddRecent(const S: string);
    function ExpandMacros(const S: string): string;
    property ExpandedText: string read GetExpandedText;
  published
    property Strings: TStringList read FStrings write SetStrings;
    property Macros: TStringList read FMacros write SetMacros;
    property MaxCount: Integer read FMaxCount write FMaxCount default 0;
    property Enabled;
    property Section;
    property Storage;
    property OnChange: TNotifyEvent read FOnChange write FOnChange;
    property OnSave;
    property OnRestore;
  end;

implementation

uses
  qvUtils;

constructor TqvStrHolder.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FStrings := TStringList.Create;
  FStrings.OnChange := StringsChanged;
  FMacros := TStringList.Create;
end;

destructor TqvStrHolder.Destroy;
begin
  FStrings.OnChange := nil;
  FMacros.Free;
  FStrings.Free;
  inherited Destroy;
end;

procedure TqvStrHolder.SetStrings(Value: TStringList);
begin
  FStrings.Assign(Value);
end;

procedure TqvStrHolder.SetMacros(Value: TStringList);
begin
  FMacros.Assign(Value);
end;

procedure TqvStrHolder.StringsChanged(Sender: TObject);
begin
  if Assigned(FOnChange) then
    FOnChange(Self);
end;

procedure TqvStrHolder.AddRecent(const S: string);
var
  I: Integer;
begin
  FStrings.BeginUpdate;
  try
    I := FStrings.IndexOf(S);
    if I >= 0 then
      FStrings.Delete(I);
    FStrings.Insert(0, S);
    if FMaxCount > 0 then
      while FStrings.Count > FMaxCount do
        FStrings.Delete(FStrings.Count - 1);
  finally
    FStrings.EndUpdate;
  end;
end;

function TqvStrHolder.ExpandMacros(const S: string): string;
var
  I, P: Integer;
  Name, Value, Rest: string;
begin
  Result := S;
  for I := 0 to FMacros.Count - 1 do
  begin
    Name := FMacros.Names[I];
    if Name = '' then
      Continue;
    Value := FMacros.Values[Name];
    Name := UpperCase('%' + Name + '%');
    { One pass from left to right: a value that contains its own macro is
      inserted once and not expanded again. }
    Rest := Result;
    Result := '';
    P := Pos(Name, UpperCase(Rest));
    while P > 0 do
    begin
      Result := Result + Copy(Rest, 1, P - 1) + Value;
      Delete(Rest, 1, P - 1 + Length(Name));
      P := Pos(Name, UpperCase(Rest));
    end;
    Result := Result + Rest;
  end;
end;

function TqvStrHolder.GetExpandedText: string;
begin
  Result := ExpandMacros(FStrings.Text);
end;

procedure TqvStrHolder.DoSave;
begin
  Storage.WriteStrings(SectionPath, FStrings);
end;

procedure TqvStrHolder.DoRestore;
var
  Stored: TStringList;
begin
  Stored := TStringList.Create;
  try
    Storage.ReadStrings(SectionPath, Stored);
    { Nothing stored yet: keep the strings designed in the form. }
    if Storage.ValueExists(qvJoinPath(SectionPath, 'Count')) then
      FStrings.Assign(Stored);
  finally
    Stored.Free;
  end;
end;

end.
