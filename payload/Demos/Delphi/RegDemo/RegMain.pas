{ Tessel library 4.09 - demo project "RegDemo"
  Copyright (c) 1998-2024 Veltrane.
  Settings in the registry, read and written by the program's own code. }

unit RegMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,
  StdCtrls, qvStorage, qvRegStorage, qvFormPlacement;

type
  TMainForm = class(TForm)
    Storage: TqvRegStorage;
    Placement: TqvFormPlacement;
    StartsLabel: TLabel;
    LastRunLabel: TLabel;
    ValuesLabel: TLabel;
    ValueList: TListBox;
    NameLabel: TLabel;
    NameEdit: TEdit;
    ValueLabel: TLabel;
    ValueEdit: TEdit;
    WriteButton: TButton;
    DeleteButton: TButton;
    ClearButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure WriteButtonClick(Sender: TObject);
    procedure DeleteButtonClick(Sender: TObject);
    procedure ClearButtonClick(Sender: TObject);
  private
    procedure ShowValues;
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

{$R *.DFM}

procedure TMainForm.FormCreate(Sender: TObject);
var
  Starts: Integer;
  LastRun: TDateTime;
begin
  Starts := Storage.ReadInteger('Statistics\Starts', 0) + 1;
  LastRun := Storage.ReadDateTime('Statistics\LastRun', 0);
  Storage.WriteInteger('Statistics\Starts', Starts);
  Storage.WriteDateTime('Statistics\LastRun', Now);
  StartsLabel.Caption := Format('Started %d times', [Starts]);
  if LastRun <> 0 then
    LastRunLabel.Caption := 'Last run: ' + DateTimeToStr(LastRun)
  else
    LastRunLabel.Caption := 'First run';
  ShowValues;
end;

procedure TMainForm.ShowValues;
var
  Names: TStringList;
  I: Integer;
begin
  Names := TStringList.Create;
  try
    Storage.ReadValueNames('User', Names);
    ValueList.Items.Clear;
    for I := 0 to Names.Count - 1 do
      ValueList.Items.Add(Names[I] + ' = ' + Storage.ReadString('User\' + Names[I], ''));
  finally
    Names.Free;
  end;
end;

procedure TMainForm.WriteButtonClick(Sender: TObject);
begin
  if Trim(NameEdit.Text) = '' then
    Exit;
  Storage.WriteString('User\' + Trim(NameEdit.Text), ValueEdit.Text);
  ShowValues;
end;

procedure TMainForm.DeleteButtonClick(Sender: TObject);
begin
  if Trim(NameEdit.Text) <> '' then
    Storage.DeleteValue('User\' + Trim(NameEdit.Text));
  ShowValues;
end;

procedure TMainForm.ClearButtonClick(Sender: TObject);
begin
  Storage.EraseSection('User');
  ShowValues;
end;

end.
