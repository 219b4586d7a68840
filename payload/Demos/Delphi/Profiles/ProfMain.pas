{ Tessel library 4.09 - demo project "Profiles"
  Copyright (c) 1998-2024 Veltrane.
  One program, several settings files: choose a connection profile. }

unit ProfMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,
  StdCtrls, qvStorage, qvIniStorage, qvPropStorage;

type
  TMainForm = class(TForm)
    Storage: TqvIniStorage;
    Props: TqvPropStorage;
    ProfileLabel: TLabel;
    ProfileCombo: TComboBox;
    ServerLabel: TLabel;
    ServerEdit: TEdit;
    PortLabel: TLabel;
    PortEdit: TEdit;
    UserLabel: TLabel;
    UserEdit: TEdit;
    ProxyCheck: TCheckBox;
    SaveButton: TButton;
    RevertButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure ProfileComboChange(Sender: TObject);
    procedure SaveButtonClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

{$R *.DFM}

procedure TMainForm.FormCreate(Sender: TObject);
var
  Search: TSearchRec;
begin
  { Every *.ini file beside the program is a profile. }
  if FindFirst(ExtractFilePath(ParamStr(0)) + '*.ini', faAnyFile, Search) = 0 then
  try
    repeat
      ProfileCombo.Items.Add(ChangeFileExt(Search.Name, ''));
    until FindNext(Search) <> 0;
  finally
    FindClose(Search);
  end;
  ProfileCombo.ItemIndex := ProfileCombo.Items.IndexOf('Default');
  if (ProfileCombo.ItemIndex < 0) and (ProfileCombo.Items.Count > 0) then
    ProfileCombo.ItemIndex := 0;
  ProfileComboChange(nil);
end;

procedure TMainForm.ProfileComboChange(Sender: TObject);
begin
  if ProfileCombo.ItemIndex < 0 then
    Exit;
  Storage.FileName := ProfileCombo.Text + '.ini';
  Storage.Restore;
end;

procedure TMainForm.SaveButtonClick(Sender: TObject);
begin
  if ProfileCombo.ItemIndex >= 0 then
    Storage.Save;
end;

end.
