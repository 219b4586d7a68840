{ Tessel library 4.09 - demo project "JsonDemo"
  Copyright (c) 1998-2024 Veltrane.
  A JSON settings file with a list of recently opened files. }

unit JsonMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, qvStorage, qvJsonStorage, qvFormPlacement, qvStrHolder;

type
  TMainForm = class(TForm)
    Storage: TqvJsonStorage;
    Placement: TqvFormPlacement;
    Recent: TqvStrHolder;
    OpenDialog: TOpenDialog;
    RecentLabel: TLabel;
    RecentList: TListBox;
    OpenButton: TButton;
    ClearButton: TButton;
    JsonLabel: TLabel;
    JsonMemo: TMemo;
    SaveButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure OpenButtonClick(Sender: TObject);
    procedure ClearButtonClick(Sender: TObject);
    procedure SaveButtonClick(Sender: TObject);
  private
    procedure ShowState;
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

{$R *.DFM}

procedure TMainForm.FormCreate(Sender: TObject);
begin
  ShowState;
end;

procedure TMainForm.ShowState;
begin
  RecentList.Items.Assign(Recent.Strings);
  JsonMemo.Lines.Text := Storage.AsJson;
end;

procedure TMainForm.OpenButtonClick(Sender: TObject);
begin
  if OpenDialog.Execute then
  begin
    Recent.AddRecent(OpenDialog.FileName);
    ShowState;
  end;
end;

procedure TMainForm.ClearButtonClick(Sender: TObject);
begin
  Recent.Strings.Clear;
  ShowState;
end;

procedure TMainForm.SaveButtonClick(Sender: TObject);
begin
  Storage.Save;
  ShowState;
end;

end.
