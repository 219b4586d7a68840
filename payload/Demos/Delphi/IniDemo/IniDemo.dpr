{ Tessel library 4.09 - demo project "IniDemo"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - ini file demo }

program IniDemo;

uses
  Forms,
  IniMain in 'IniMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - ini file demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
