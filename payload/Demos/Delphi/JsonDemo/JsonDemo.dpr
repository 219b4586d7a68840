{ Tessel library 4.09 - demo project "JsonDemo"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - JSON demo }

program JsonDemo;

uses
  Forms,
  JsonMain in 'JsonMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - JSON demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
