{ Tessel library 4.09 - demo project "RegDemo"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - registry demo }

program RegDemo;

uses
  Forms,
  RegMain in 'RegMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - registry demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
