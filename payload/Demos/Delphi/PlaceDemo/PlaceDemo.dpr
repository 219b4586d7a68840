{ Tessel library 4.09 - demo project "PlaceDemo"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - form placement demo }

program PlaceDemo;

uses
  Forms,
  PlaceMain in 'PlaceMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - form placement demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
