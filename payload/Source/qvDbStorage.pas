{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvDbStorage - settings in a database table                                  }
{                                                                              }
{******************************************************************************}

unit qvDbStorage;

{$I qvTessel.inc}

{ Any TDataSet with three string fields works as a storage: one row per
  value, with the section path, the value name and the value. A shared
  table can keep the settings of all users when a filter on a user column
  is set on the data set before it is opened. }

interface

uses
  SysUtils, Classes, DB, qvStorage;

type
  TqvDbStorage = class(TqvCustomStorage)
  private
    FDataSet: TDataSet;
    FSectionField: string;
    FNameField: string;
    FValueField: string;
    procedure SetDataSet(Value: TDataSet);
    function Field(const FieldName: string): TField;
    function Locate(const Section, Ident: string): Boolean;
  protected
    function DoReadString(const Section, Ident, Default: string): string; override;
    procedure DoWriteString(const Section, Ident, Value: string); override;
    procedure DoReadValueNames(const Section: string; Names: TStrings); override;
    procedure DoReadSubSections(const Section: string; Names: TStrings); override;
    procedure DoEraseSection(const Section: string); override;
    procedure DoDeleteValue(const Section, Ident: string); override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    constructor Create(AOwner: TComponent); override;
  published
    property DataSet: TDataSet read FDataSet write SetDataSet;
    property SectionField: string read FSectionField write FSectionField;
    property NameField: string read FNameField write FNameField;
    property ValueField: string read FValueField write FValueField;
    property Options;
    property ReadOnly;
    property RootSection;
    property CryptKey;
    property OnBeforeSave;
    property OnAfterSave;
    property OnBeforeRestore;
    property OnAfterRestore;
    property OnReadValue;
    property OnWriteValue;
  end;

implementation

uses
  {$IFDEF QV_VARIANTS} Variants, {$ENDIF}
  qvResStr, qvUtils;

constructor TqvDbStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FSectionField := 'SECTION';
  FNameField := 'NAME';
  FValueField := 'VALUE';
end;

procedure TqvDbStorage.SetDataSet(Value: TDataSet);
begin
  FDataSet := Value;
  if Value <> nil then
    Value.FreeNotification(Self);
end;

procedure TqvDbStorage.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation = opRemove) and (AComponent = FDataSet) then
    FDataSet := nil;
end;

function TqvDbStorage.Field(const FieldName: string): TField;
begin
  if (FDataSet = nil) or not FDataSet.Active then
    raise EqvStorageError.CreateFmt(SqvDataSetNotActive, [Name]);
  Result := FDataSet.FindField(FieldName);
  if Result = nil then
    raise EqvStorageError.CreateFmt(SqvFieldNotFound, [FDataSet.Name, FieldName]);
end;

function TqvDbStorage.Locate(const Section, Ident: string): Boolean;
begin
  Result := FDataSet.Locate(FSectionField + ';' + FNameField,
    VarArrayOf([Section, Ident]), [loCaseInsensitive]);
end;

function TqvDbStorage.DoReadString(const Section, Ident, Default: string): string;
begin
  Field(FValueField);
  if Locate(Section, Ident) then
    Result := Field(FValueField).AsString
  else
    Result := Default;
end;

procedure TqvDbStorage.DoWriteString(const Section, Ident, Value: string);
begin
  Field(FValueField);
  if Locate(Section, Ident) then
    FDataSet.Edit
  else
  begin
    FDataSet.Append;
    Field(FSectionField).AsString := Section;
    Field(FNameField).AsString := Ident;
  end;
  Field(FValueField).AsString := Value;
  FDataSet.Post;
end;

procedure TqvDbStorage.DoReadValueNames(const Section: string; Names: TStrings);
var
  Bookmark: TBookmark;
begin
  Field(FValueField);
  FDataSet.DisableControls;
  Bookmark := FDataSet.GetBookmark;
  try
    FDataSet.First;
    while not FDataSet.Eof do
    begin
      if AnsiCompareText(Field(FSectionField).AsString, Section) = 0 then
        Names.Add(Field(FNameField).AsString);
      FDataSet.Next;
    end;
  finally
    FDataSet.GotoBookmark(Bookmark);
    FDataSet.FreeBookmark(Bookmark);
    FDataSet.EnableControls;
  end;
end;

procedure TqvDbStorage.DoReadSubSections(const Section: string; Names: TStrings);
begin
  Field(FValueField);
  FDataSet.DisableControls;
  try
    FDataSet.First;
    while not FDataSet.Eof do
    begin
      qvAddSubSection(Field(FSectionField).AsString, Section, Names);
      FDataSet.Next;
    end;
  finally
    FDataSet.EnableControls;
  end;
end;

procedure TqvDbStorage.DoEraseSection(const Section: string);
begin
  Field(FValueField);
  FDataSet.DisableControls;
  try
    FDataSet.First;
    while not FDataSet.Eof do
      if qvIsInSection(Field(FSectionField).AsString, Section) then
        FDataSet.Delete   { moves to the next row }
      else
        FDataSet.Next;
  finally
    FDataSet.EnableControls;
  end;
end;

procedure TqvDbStorage.DoDeleteValue(const Section, Ident: string);
begin
  Field(FValueField);
  if Locate(Section, Ident) then
    FDataSet.Delete;
end;

end.
