{ Tessel library 4.09 - demo project "XmlDemo"
  Copyright (c) 1998-2024 Veltrane.
  An XML settings file, a stored search history and stored options. }

unit XmlMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,
  ExtCtrls, StdCtrls, qvStorage, qvXmlStorage, qvPropStorage, qvStrHolder;

type
  TMainForm = class(TForm)
    Storage: TqvXmlStorage;
    Props: TqvPropStorage;
    History: TqvStrHolder;
    UnitsGroup: TRadioGroup;
    DecimalsLabel: TLabel;
    DecimalsEdit: TEdit;
    GridCheck: TCheckBox;
    SearchLabel: TLabel;
    SearchCombo: TComboBox;
    FindButton: TButton;
    XmlLabel: TLabel;
    XmlMemo: TMemo;
    SaveButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure FindButtonClick(Sender: TObject);
    procedure SaveButtonClick(Sender: TObject);
  private
    procedure ShowFile;
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

{$R *.DFM}

procedure TMainForm.FormCreate(Sender: TObject);
begin
  SearchCombo.Items.Assign(History.Strings);
  ShowFile;
end;

procedure TMainForm.ShowFile;
begin
  XmlMemo.Lines.Text := Storage.AsXml;
end;

procedure TMainForm.FindButtonClick(Sender: TObject);
begin
  if Trim(SearchCombo.Text) = '' then
    Exit;
  History.AddRecent(Trim(SearchCombo.Text));
  SearchCombo.Items.Assign(History.Strings);
  SearchCombo.ItemIndex := 0;
end;

procedure TMainForm.SaveButtonClick(Sender: TObject);
begin
  Storage.Save;
  ShowFile;
end;

end.
