{ Tessel library 4.09 - demo project "PropDemo"
  Copyright (c) 1998-2024 Veltrane.
  TqvPropStorage and TqvCollectionStorage keep chosen properties. }

unit PropMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,
  ComCtrls, ExtCtrls, StdCtrls, qvStorage, qvIniStorage, qvFormPlacement,
  qvPropStorage, qvCollStorage;

type
  TMainForm = class(TForm)
    Storage: TqvIniStorage;
    Placement: TqvFormPlacement;
    Props: TqvPropStorage;
    LeftPanel: TPanel;
    ThemeGroup: TRadioGroup;
    ZoomLabel: TLabel;
    ZoomBar: TTrackBar;
    WrapCheck: TCheckBox;
    StatusCheck: TCheckBox;
    Splitter: TSplitter;
    FileList: TListView;
    Columns: TqvCollectionStorage;
    StatusBar: TStatusBar;
    procedure FormCreate(Sender: TObject);
    procedure StatusCheckClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

{$R *.DFM}

procedure TMainForm.FormCreate(Sender: TObject);
var
  Item: TListItem;
begin
  Item := FileList.Items.Add;
  Item.Caption := 'Sample.ini';
  Item.SubItems.Add('1 KB');
  Item.SubItems.Add(DateToStr(Date));
  Item := FileList.Items.Add;
  Item.Caption := 'Settings.xml';
  Item.SubItems.Add('2 KB');
  Item.SubItems.Add(DateToStr(Date));
  StatusCheck.Checked := StatusBar.Visible;
end;

procedure TMainForm.StatusCheckClick(Sender: TObject);
begin
  StatusBar.Visible := StatusCheck.Checked;
end;

end.
