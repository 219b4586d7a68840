{ Tessel library 4.09 - demo project "XmlDemo"
  Copyright (c) 1998-2024 Veltrane.
  Tessel library - XML demo }

program XmlDemo;

uses
  Forms,
  XmlMain in 'XmlMain.pas' {MainForm};

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Tessel library - XML demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
