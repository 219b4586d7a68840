{ Tessel library 4.09 - demo project "PropDemo"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - stored properties demo }

program PropDemo;

uses
  Forms,
  PropMain in 'PropMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - stored properties demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
