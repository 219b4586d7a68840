{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvCollStorage - keeps the items of a collection (grid columns, header       }
{  sections, status bar panels)                                                }
{                                                                              }
{******************************************************************************}

unit qvCollStorage;

{$I qvTessel.inc}

{ TqvCollectionStorage saves chosen published properties of every item of a
  collection property, for example the Width of each column of a list view
  ("ListView1.Columns", ItemProps "Width"). Items are matched by index; when
  the stored count differs from the current count (a new program version
  added a column) only the common items are restored. }

interface

uses
  SysUtils, Classes, TypInfo, qvStorage;

type
  TqvCollectionStorage = class(TqvStorageClient)
  private
    FCollectionProp: string;
    FItemProps: TStringList;
    procedure SetItemProps(Value: TStringList);
    function FindCollection: TCollection;
  protected
    procedure DoSave; override;
    procedure DoRestore; override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
  published
    { "Component.Property" of the collection, e.g. "ListView1.Columns". }
    property CollectionProp: string read FCollectionProp write FCollectionProp;
    { Properties of each item to keep, e.g. "Width", "Visible". }
    property ItemProps: TStringList read FItemProps write SetItemProps;
    property Enabled;
    property Section;
    property Storage;
    property OnSave;
    property OnRestore;
  end;

implementation

uses
  qvUtils, qvPropStorage;

constructor TqvCollectionStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FItemProps := TStringList.Create;
end;

destructor TqvCollectionStorage.Destroy;
begin
  FItemProps.Free;
  inherited Destroy;
end;

procedure TqvCollectionStorage.SetItemProps(Value: TStringList);
begin
  FItemProps.Assign(Value);
end;

function TqvCollectionStorage.FindCollection: TCollection;
var
  CompName, PropName: string;
  Comp: TComponent;
  Info: PPropInfo;
  Obj: TObject;
begin
  Result := nil;
  if Owner = nil then
    Exit;
  qvSplitPropLine(FCollectionProp, CompName, PropName);
  if (CompName = '') or (CompareText(CompName, Owner.Name) = 0) then
    Comp := Owner
  else
    Comp := Owner.FindComponent(CompName);
  if Comp = nil then
    Exit;
  Info := GetPropInfo(Comp.ClassInfo, PropName);
  if Info = nil then
    Exit;
  Obj := TObject(GetOrdProp(Comp, Info));
  if Obj is TCollection then
    Result := TCollection(Obj);
end;

procedure TqvCollectionStorage.DoSave;
var
  Coll: TCollection;
  Helper: TqvPropStorage;
  I, J: Integer;
  Info: PPropInfo;
  ItemPath: string;
begin
  Coll := FindCollection;
  if Coll = nil then
    Exit;
  Helper := TqvPropStorage.Create(nil);
  try
    Storage.EraseSection(SectionPath);
    Storage.WriteInteger(qvJoinPath(SectionPath, 'Count'), Coll.Count);
    for I := 0 to Coll.Count - 1 do
    begin
      ItemPath := qvJoinPath(SectionPath, 'Item' + IntToStr(I));
      for J := 0 to FItemProps.Count - 1 do
      begin
        Info := GetPropInfo(Coll.Items[I].ClassInfo, Trim(FItemProps[J]));
        if Info <> nil then
          Storage.WriteString(qvJoinPath(ItemPath, Trim(FItemProps[J])),
            Helper.PropertyText(Coll.Items[I], Info));
      end;
    end;
  finally
    Helper.Free;
  end;
end;

procedure TqvCollectionStorage.DoRestore;
var
  Coll: TCollection;
  Helper: TqvPropStorage;
  I, J, Count: Integer;
  Info: PPropInfo;
  Path: string;
begin
  Coll := FindCollection;
  if Coll = nil then
    Exit;
  Count := Storage.ReadInteger(qvJoinPath(SectionPath, 'Count'), 0);
  if Count > Coll.Count then
    Count := Coll.Count;
  Helper := TqvPropStorage.Create(nil);
  Coll.BeginUpdate;
  try
    for I := 0 to Count - 1 do
      for J := 0 to FItemProps.Count - 1 do
      begin
        Path := qvJoinPath(qvJoinPath(SectionPath, 'Item' + IntToStr(I)),
          Trim(FItemProps[J]));
        Info := GetPropInfo(Coll.Items[I].ClassInfo, Trim(FItemProps[J]));
        if (Info <> nil) and Storage.ValueExists(Path) then
          Helper.SetPropertyText(Coll.Items[I], Info, Storage.ReadString(Path, ''));
      end;
  finally
    Coll.EndUpdate;
    Helper.Free;
  end;
end;

end.
