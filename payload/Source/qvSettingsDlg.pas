{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvSettingsDlg - a ready-made dialog that shows and edits the values of a    }
{  storage                                                                     }
{                                                                              }
{******************************************************************************}

unit qvSettingsDlg;

{$I qvTessel.inc}

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, ExtCtrls, ComCtrls, Grids, qvStorage;

type
  TqvSettingsForm = class(TForm)
    ButtonPanel: TPanel;
    OKButton: TButton;
    CancelButton: TButton;
    RestoreButton: TButton;
    Splitter: TSplitter;
    SectionPanel: TPanel;
    SectionLabel: TLabel;
    SectionTree: TTreeView;
    ValuePanel: TPanel;
    ValueLabel: TLabel;
    ValueGrid: TStringGrid;
    procedure FormCreate(Sender: TObject);
    procedure SectionTreeChange(Sender: TObject; Node: TTreeNode);
    procedure SectionTreeChanging(Sender: TObject; Node: TTreeNode;
      var AllowChange: Boolean);
    procedure RestoreButtonClick(Sender: TObject);
    procedure ValueGridSelectCell(Sender: TObject; ACol, ARow: Integer;
      var CanSelect: Boolean);
  private
    FStorage: TqvCustomStorage;
    FDefaults: TqvCustomStorage;
    FWork: TqvMemoryStorage;
    procedure CopyStorage(Source, Dest: TqvCustomStorage; const Section: string);
    procedure FillTree(Parent: TTreeNode; const Section: string);
    function NodePath(Node: TTreeNode): string;
    procedure ShowValues(const Section: string);
    procedure KeepValues(const Section: string);
  public
    procedure Load(AStorage, ADefaults: TqvCustomStorage);
    procedure Apply;
  end;

  { Shows the values of Storage in a dialog; OK writes the edited values
    back, Cancel leaves the storage untouched. }
  TqvSettingsDialog = class(TComponent)
  private
    FStorage: TqvCustomStorage;
    FDefaults: TqvCustomStorage;
    FCaption: string;
    FOnApply: TNotifyEvent;
    procedure SetStorage(Value: TqvCustomStorage);
    procedure SetDefaults(Value: TqvCustomStorage);
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    function Execute: Boolean;
  published
    property Caption: string read FCaption write FCaption;
    property Storage: TqvCustomStorage read FStorage write SetStorage;
    { Optional storage with the default values; "Restore defaults" copies
      them over the edited values. }
    property Defaults: TqvCustomStorage read FDefaults write SetDefaults;
    property OnApply: TNotifyEvent read FOnApply write FOnApply;
  end;

implementation

uses
  qvConsts, qvResStr, qvUtils;

{$R *.DFM}
{$R qvTessel.res}

{ TqvSettingsForm }

procedure TqvSettingsForm.FormCreate(Sender: TObject);
begin
  FWork := TqvMemoryStorage.Create(Self);
  FWork.Options := [];
  Caption := SqvDlgCaption;
  SectionLabel.Caption := SqvDlgSections;
  ValueLabel.Caption := SqvDlgValues;
  RestoreButton.Caption := SqvDlgRestore;
  OKButton.Caption := SqvDlgOK;
  CancelButton.Caption := SqvDlgCancel;
  ValueGrid.Cells[0, 0] := SqvDlgName;
  ValueGrid.Cells[1, 0] := SqvDlgValue;
end;

procedure TqvSettingsForm.CopyStorage(Source, Dest: TqvCustomStorage;
  const Section: string);
var
  Names: TStringList;
  I: Integer;
begin
  Names := TStringList.Create;
  try
    Source.ReadValueNames(Section, Names);
    for I := 0 to Names.Count - 1 do
      Dest.WriteString(qvJoinPath(Section, Names[I]),
        Source.ReadString(qvJoinPath(Section, Names[I]), ''));
    Source.ReadSubSections(Section, Names);
    for I := 0 to Names.Count - 1 do
      CopyStorage(Source, Dest, qvJoinPath(Section, Names[I]));
  finally
    Names.Free;
  end;
end;

procedure TqvSettingsForm.FillTree(Parent: TTreeNode; const Section: string);
var
  Names: TStringList;
  I: Integer;
begin
  Names := TStringList.Create;
  try
    FWork.ReadSubSections(Section, Names);
    Names.Sort;
    for I := 0 to Names.Count - 1 do
      FillTree(SectionTree.Items.AddChild(Parent, Names[I]),
        qvJoinPath(Section, Names[I]));
  finally
    Names.Free;
  end;
end;

function TqvSettingsForm.NodePath(Node: TTreeNode): string;
begin
  Result := '';
  while Node <> nil do
  begin
    Result := qvJoinPath(Node.Text, Result);
    Node := Node.Parent;
  end;
end;

procedure TqvSettingsForm.ShowValues(const Section: string);
var
  Names: TStringList;
  I: Integer;
begin
  Names := TStringList.Create;
  try
    FWork.ReadValueNames(Section, Names);
    { A grid needs one row below its fixed title row, even when empty. }
    if Names.Count = 0 then
    begin
      ValueGrid.RowCount := 2;
      ValueGrid.Cells[0, 1] := '';
      ValueGrid.Cells[1, 1] := '';
    end
    else
      ValueGrid.RowCount := Names.Count + 1;
    for I := 0 to Names.Count - 1 do
    begin
      ValueGrid.Cells[0, I + 1] := Names[I];
      ValueGrid.Cells[1, I + 1] := FWork.ReadString(qvJoinPath(Section, Names[I]), '');
    end;
    ValueGrid.Enabled := Names.Count > 0;
  finally
    Names.Free;
  end;
end;

procedure TqvSettingsForm.KeepValues(const Section: string);
var
  I: Integer;
begin
  if not ValueGrid.Enabled then
    Exit;
  for I := 1 to ValueGrid.RowCount - 1 do
    if ValueGrid.Cells[0, I] <> '' then
      FWork.WriteString(qvJoinPath(Section, ValueGrid.Cells[0, I]), ValueGrid.Cells[1, I]);
end;

procedure TqvSettingsForm.Load(AStorage, ADefaults: TqvCustomStorage);
begin
  FStorage := AStorage;
  FDefaults := ADefaults;
  RestoreButton.Enabled := FDefaults <> nil;
  FWork.Clear;
  CopyStorage(FStorage, FWork, '');
  SectionTree.Items.BeginUpdate;
  try
    SectionTree.Items.Clear;
    FillTree(nil, '');
  finally
    SectionTree.Items.EndUpdate;
  end;
  if SectionTree.Items.Count > 0 then
    SectionTree.Selected := SectionTree.Items[0]
  else
    ShowValues(qvDefaultSection);
end;

procedure TqvSettingsForm.Apply;
begin
  if SectionTree.Selected <> nil then
    KeepValues(NodePath(SectionTree.Selected));
  FStorage.BeginUpdate;
  try
    CopyStorage(FWork, FStorage, '');
  finally
    FStorage.EndUpdate;
  end;
  FStorage.Flush;
end;

procedure TqvSettingsForm.SectionTreeChanging(Sender: TObject; Node: TTreeNode;
  var AllowChange: Boolean);
begin
  if SectionTree.Selected <> nil then
    KeepValues(NodePath(SectionTree.Selected));
end;

procedure TqvSettingsForm.SectionTreeChange(Sender: TObject; Node: TTreeNode);
begin
  ShowValues(NodePath(Node));
end;

procedure TqvSettingsForm.ValueGridSelectCell(Sender: TObject; ACol, ARow: Integer;
  var CanSelect: Boolean);
begin
  { Names are fixed; only the value column is edited. }
  if ACol = 0 then
    ValueGrid.Options := ValueGrid.Options - [goEditing]
  else
    ValueGrid.Options := ValueGrid.Options + [goEditing];
end;

procedure TqvSettingsForm.RestoreButtonClick(Sender: TObject);
begin
  if (FDefaults = nil) or
    (MessageDlg(SqvDlgConfirmRestore, mtConfirmation, [mbYes, mbNo], 0) <> mrYes) then
    Exit;
  CopyStorage(FDefaults, FWork, '');
  if SectionTree.Selected <> nil then
    ShowValues(NodePath(SectionTree.Selected));
end;

{ TqvSettingsDialog }

procedure TqvSettingsDialog.SetStorage(Value: TqvCustomStorage);
begin
  FStorage := Value;
  if Value <> nil then
    Value.FreeNotification(Self);
end;

procedure TqvSettingsDialog.SetDefaults(Value: TqvCustomStorage);
begin
  FDefaults := Value;
  if Value <> nil then
    Value.FreeNotification(Self);
end;

procedure TqvSettingsDialog.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if Operation = opRemove then
  begin
    if AComponent = FStorage then
      FStorage := nil;
    if AComponent = FDefaults then
      FDefaults := nil;
  end;
end;

function TqvSettingsDialog.Execute: Boolean;
var
  Form: TqvSettingsForm;
begin
  if FStorage = nil then
    raise EqvStorageError.CreateFmt(SqvNoStorage, [Name]);
  Form := TqvSettingsForm.Create(Application);
  try
    if FCaption <> '' then
      Form.Caption := FCaption;
    Form.Load(FStorage, FDefaults);
    Result := Form.ShowModal = mrOk;
    if Result then
    begin
      Form.Apply;
      if Assigned(FOnApply) then
        FOnApply(Self);
    end;
  finally
    Form.Free;
  end;
end;

end.
