{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvStorageEditor - design-time editor of TqvPropStorage.StoredProps          }
{                                                                              }
{******************************************************************************}

unit qvStorageEditor;

{$I qvTessel.inc}

{ Lists the components of the form on the left and the storable properties
  of the selected component in the middle; the chosen "Component.Property"
  lines are collected on the right. }

interface

uses
  Windows, SysUtils, Classes, Graphics, Controls, Forms, StdCtrls, ExtCtrls,
  TypInfo;

type
  TqvStorageEditorForm = class(TForm)
    ComponentLabel: TLabel;
    ComponentList: TListBox;
    PropertyLabel: TLabel;
    PropertyList: TListBox;
    StoredLabel: TLabel;
    StoredList: TListBox;
    AddButton: TButton;
    RemoveButton: TButton;
    ClearButton: TButton;
    Bevel: TBevel;
    OKButton: TButton;
    CancelButton: TButton;
    procedure ComponentListClick(Sender: TObject);
    procedure AddButtonClick(Sender: TObject);
    procedure RemoveButtonClick(Sender: TObject);
    procedure ClearButtonClick(Sender: TObject);
    procedure ListChanged(Sender: TObject);
  private
    FRoot: TComponent;
    procedure UpdateButtons;
  public
    procedure Load(Root: TComponent; Stored: TStrings);
    procedure Apply(Stored: TStrings);
  end;

{ Opens the editor; true when the user pressed OK and Stored was changed. }
function qvEditStoredProps(Root: TComponent; Stored: TStrings;
  const ComponentName: string): Boolean;

{ Whether a property kind can be kept by TqvPropStorage. }
function qvIsStorableKind(Kind: TTypeKind): Boolean;

implementation

uses
  qvResStr;

{$R *.DFM}

function qvIsStorableKind(Kind: TTypeKind): Boolean;
begin
  Result := Kind in [tkInteger, tkChar, tkEnumeration, tkFloat, tkString,
    tkSet, tkWChar, tkLString, tkWString, tkClass
    {$IFDEF QV_UNICODE}, tkUString{$ENDIF}];
end;

function qvEditStoredProps(Root: TComponent; Stored: TStrings;
  const ComponentName: string): Boolean;
var
  Form: TqvStorageEditorForm;
begin
  Form := TqvStorageEditorForm.Create(Application);
  try
    Form.Caption := Format(SqvEditorCaption, [ComponentName]);
    Form.Load(Root, Stored);
    Result := Form.ShowModal = mrOk;
    if Result then
      Form.Apply(Stored);
  finally
    Form.Free;
  end;
end;

procedure TqvStorageEditorForm.Load(Root: TComponent; Stored: TStrings);
var
  I: Integer;
begin
  FRoot := Root;
  ComponentList.Items.Clear;
  ComponentList.Items.AddObject(Root.Name, Root);
  for I := 0 to Root.ComponentCount - 1 do
    if Root.Components[I].Name <> '' then
      ComponentList.Items.AddObject(Root.Components[I].Name, Root.Components[I]);
  StoredList.Items.Assign(Stored);
  if ComponentList.Items.Count > 0 then
  begin
    ComponentList.ItemIndex := 0;
    ComponentListClick(nil);
  end;
  UpdateButtons;
end;

procedure TqvStorageEditorForm.Apply(Stored: TStrings);
begin
  Stored.Assign(StoredList.Items);
end;

procedure TqvStorageEditorForm.ComponentListClick(Sender: TObject);
var
  Comp: TComponent;
  Count, Size, I: Integer;
  List: PPropList;
begin
  PropertyList.Items.Clear;
  if ComponentList.ItemIndex < 0 then
    Exit;
  Comp := TComponent(ComponentList.Items.Objects[ComponentList.ItemIndex]);
  Size := GetTypeData(Comp.ClassInfo)^.PropCount * SizeOf(Pointer);
  GetMem(List, Size);
  try
    Count := GetPropList(Comp.ClassInfo, tkProperties, List);
    for I := 0 to Count - 1 do
      if (List^[I]^.SetProc <> nil) and
        qvIsStorableKind({$IFDEF QV_D4_UP}List^[I]^.PropType^^.Kind{$ELSE}List^[I]^.PropType^.Kind{$ENDIF}) and
        (CompareText(List^[I]^.Name, 'Name') <> 0) then
        PropertyList.Items.Add(List^[I]^.Name);
  finally
    FreeMem(List, Size);
  end;
  UpdateButtons;
end;

procedure TqvStorageEditorForm.AddButtonClick(Sender: TObject);
var
  I: Integer;
  Line: string;
begin
  for I := 0 to PropertyList.Items.Count - 1 do
    if PropertyList.Selected[I] then
    begin
      Line := ComponentList.Items[ComponentList.ItemIndex] + '.' + PropertyList.Items[I];
      if StoredList.Items.IndexOf(Line) < 0 then
        StoredList.Items.Add(Line);
    end;
  UpdateButtons;
end;

procedure TqvStorageEditorForm.RemoveButtonClick(Sender: TObject);
var
  I: Integer;
begin
  for I := StoredList.Items.Count - 1 downto 0 do
    if StoredList.Selected[I] then
      StoredList.Items.Delete(I);
  UpdateButtons;
end;

procedure TqvStorageEditorForm.ClearButtonClick(Sender: TObject);
begin
  StoredList.Items.Clear;
  UpdateButtons;
end;

procedure TqvStorageEditorForm.ListChanged(Sender: TObject);
begin
  UpdateButtons;
end;

procedure TqvStorageEditorForm.UpdateButtons;
begin
  AddButton.Enabled := PropertyList.SelCount > 0;
  RemoveButton.Enabled := StoredList.SelCount > 0;
  ClearButton.Enabled := StoredList.Items.Count > 0;
end;

end.
