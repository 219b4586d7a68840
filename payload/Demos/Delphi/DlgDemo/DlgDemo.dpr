{ Tessel library 4.09 - demo project "DlgDemo"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - settings dialog demo }

program DlgDemo;

uses
  Forms,
  DlgMain in 'DlgMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - settings dialog demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
