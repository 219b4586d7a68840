{ Tessel library 4.09 - demo project "Profiles"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - profiles demo }

program Profiles;

uses
  Forms,
  ProfMain in 'ProfMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - profiles demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
