{ Tessel library 4.09 - demo project "IniDemo"
  Copyright (c) 1998-2024 Veltrane.
  An ini file in the program folder keeps the window and the controls. }

unit IniMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,
  ComCtrls, StdCtrls, qvStorage, qvIniStorage, qvFormPlacement,
  qvPropStorage;

type
  TMainForm = class(TForm)
    Storage: TqvIniStorage;
    Placement: TqvFormPlacement;
    Props: TqvPropStorage;
    NameLabel: TLabel;
    NameEdit: TEdit;
    ColorLabel: TLabel;
    ColorCombo: TComboBox;
    SoundCheck: TCheckBox;
    VolumeLabel: TLabel;
    VolumeBar: TTrackBar;
    NotesLabel: TLabel;
    NotesMemo: TMemo;
    SaveButton: TButton;
    ReloadButton: TButton;
    ShowFileButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure SaveButtonClick(Sender: TObject);
    procedure ReloadButtonClick(Sender: TObject);
    procedure ShowFileButtonClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

uses
  ShellAPI;

{$R *.DFM}

procedure TMainForm.FormCreate(Sender: TObject);
var
  Runs: Integer;
begin
  { Values the program reads and writes itself, next to the ones the
    components keep. }
  Runs := Storage.ReadInteger('Statistics\RunCount', 0) + 1;
  Storage.WriteInteger('Statistics\RunCount', Runs);
  Storage.WriteDateTime('Statistics\LastRun', Now);
  Caption := Format('%s (run %d)', [Caption, Runs]);
end;

procedure TMainForm.SaveButtonClick(Sender: TObject);
begin
  Storage.Save;
end;

procedure TMainForm.ReloadButtonClick(Sender: TObject);
begin
  { Close drops what is cached, so the file is read again. }
  Storage.Close;
  Storage.Restore;
end;

procedure TMainForm.ShowFileButtonClick(Sender: TObject);
begin
  Storage.Flush;
  ShellExecute(Handle, 'open', 'notepad.exe', PChar(Storage.FullFileName), nil,
    SW_SHOWNORMAL);
end;

end.
