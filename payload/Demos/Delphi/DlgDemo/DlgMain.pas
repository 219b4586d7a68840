{ Tessel library 4.09 - demo project "DlgDemo"
  Copyright (c) 1998-2024 Veltrane.
  TqvSettingsDialog edits all values of a storage, with default values. }

unit DlgMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,
  StdCtrls, qvIniStorage, qvStorage, qvSettingsDlg;

type
  TMainForm = class(TForm)
    Storage: TqvIniStorage;
    Defaults: TqvMemoryStorage;
    SettingsDialog: TqvSettingsDialog;
    InfoLabel: TLabel;
    ValuesMemo: TMemo;
    SettingsButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure SettingsButtonClick(Sender: TObject);
    procedure SettingsDialogApply(Sender: TObject);
  private
    procedure ShowSettings;
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

{$R *.DFM}

procedure TMainForm.FormCreate(Sender: TObject);
begin
  { The defaults live in memory; the first run copies them into the file. }
  Defaults.WriteString('Editor\FontName', 'Courier New');
  Defaults.WriteInteger('Editor\FontSize', 10);
  Defaults.WriteBool('Editor\WordWrap', False);
  Defaults.WriteInteger('Editor\TabWidth', 4);
  Defaults.WriteString('Backup\Folder', 'Backup');
  Defaults.WriteInteger('Backup\KeepDays', 14);
  if not Storage.ValueExists('Editor\FontName') then
  begin
    Storage.WriteString('Editor\FontName', Defaults.ReadString('Editor\FontName', ''));
    Storage.WriteInteger('Editor\FontSize', Defaults.ReadInteger('Editor\FontSize', 10));
    Storage.WriteBool('Editor\WordWrap', Defaults.ReadBool('Editor\WordWrap', False));
    Storage.WriteInteger('Editor\TabWidth', Defaults.ReadInteger('Editor\TabWidth', 4));
    Storage.WriteString('Backup\Folder', Defaults.ReadString('Backup\Folder', ''));
    Storage.WriteInteger('Backup\KeepDays', Defaults.ReadInteger('Backup\KeepDays', 14));
    Storage.Flush;
  end;
  ShowSettings;
end;

procedure TMainForm.ShowSettings;
begin
  ValuesMemo.Lines.Clear;
  ValuesMemo.Lines.Add('Font: ' + Storage.ReadString('Editor\FontName', '') + ', ' +
    IntToStr(Storage.ReadInteger('Editor\FontSize', 10)) + ' pt');
  ValuesMemo.Lines.Add('Word wrap: ' + BoolToStr(Storage.ReadBool('Editor\WordWrap', False), True));
  ValuesMemo.Lines.Add('Tab width: ' + IntToStr(Storage.ReadInteger('Editor\TabWidth', 4)));
  ValuesMemo.Lines.Add('Backup folder: ' + Storage.ReadString('Backup\Folder', ''));
  ValuesMemo.Lines.Add('Keep backups for ' + IntToStr(Storage.ReadInteger('Backup\KeepDays', 14)) + ' days');
end;

procedure TMainForm.SettingsButtonClick(Sender: TObject);
begin
  SettingsDialog.Execute;
end;

procedure TMainForm.SettingsDialogApply(Sender: TObject);
begin
  ShowSettings;
end;

end.
