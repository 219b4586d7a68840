{ Tessel library 4.09 - demo project "PlaceDemo"
  Copyright (c) 1998-2024 Veltrane.
  TqvFormPlacement keeps the position, size and state of the window. }

unit PlaceMain;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,
  StdCtrls, qvStorage, qvIniStorage, qvFormPlacement;

type
  TMainForm = class(TForm)
    Storage: TqvIniStorage;
    Placement: TqvFormPlacement;
    HintLabel: TLabel;
    PositionCheck: TCheckBox;
    SizeCheck: TCheckBox;
    StateCheck: TCheckBox;
    BoundsLabel: TLabel;
    ResetButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure FormResize(Sender: TObject);
    procedure OptionClick(Sender: TObject);
    procedure ResetButtonClick(Sender: TObject);
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
begin
  FormResize(nil);
end;

procedure TMainForm.FormResize(Sender: TObject);
begin
  BoundsLabel.Caption := Format('Left %d, top %d, width %d, height %d',
    [Left, Top, Width, Height]);
end;

procedure TMainForm.OptionClick(Sender: TObject);
var
  Options: TqvPlacementOptions;
begin
  Options := [];
  if PositionCheck.Checked then
    Include(Options, plPosition);
  if SizeCheck.Checked then
    Include(Options, plSize);
  if StateCheck.Checked then
    Include(Options, plState);
  Placement.Options := Options;
end;

procedure TMainForm.ResetButtonClick(Sender: TObject);
begin
  { Forget what was stored and keep nothing when the window closes. }
  Storage.EraseSection('MainForm\Placement');
  Placement.Enabled := False;
end;

end.
