{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvFormPlacement - remembers where a form was, how large and in which state  }
{                                                                              }
{******************************************************************************}

unit qvFormPlacement;

{$I qvTessel.inc}

{ Drop a TqvFormPlacement on a form and link it to a storage: the form opens
  where the user left it. The normal (not maximized) bounds are stored, so a
  form closed maximized is maximized again and still has its old size when
  the user restores it. A position that is no longer on the screen (a second
  monitor was removed, the resolution was lowered) is moved back into view. }

interface

uses
  Windows, Messages, SysUtils, Classes, Forms, qvStorage;

type
  TqvPlacementOption = (plPosition, plSize, plState);
  TqvPlacementOptions = set of TqvPlacementOption;

  TqvFormPlacement = class(TqvStorageClient)
  private
    FOptions: TqvPlacementOptions;
    FMinimizedAsNormal: Boolean;
    FRestored: Boolean;
    FSavedOnShow: TNotifyEvent;
    FSavedOnDestroy: TNotifyEvent;
    FHooked: Boolean;
    function Form: TForm;
    procedure FormShow(Sender: TObject);
    procedure FormDestroy(Sender: TObject);
    procedure Hook;
    procedure Unhook;
  protected
    procedure Loaded; override;
    procedure DoSave; override;
    procedure DoRestore; override;
    function DefaultSection: string; override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
  published
    property Options: TqvPlacementOptions read FOptions write FOptions
      default [plPosition, plSize, plState];
    property MinimizedAsNormal: Boolean read FMinimizedAsNormal
      write FMinimizedAsNormal default True;
    property Enabled;
    property Section;
    property Storage;
    property OnSave;
    property OnRestore;
  end;

{ Moves Bounds into WorkArea as far as needed to make it fully visible,
  shrinking it when it is larger than the work area. }
function qvFitIntoArea(const Bounds, WorkArea: TRect): TRect;

implementation

uses
  qvConsts, qvUtils;

function qvFitIntoArea(const Bounds, WorkArea: TRect): TRect;
var
  W, H: Integer;
begin
  W := Bounds.Right - Bounds.Left;
  H := Bounds.Bottom - Bounds.Top;
  if W > WorkArea.Right - WorkArea.Left then
    W := WorkArea.Right - WorkArea.Left;
  if H > WorkArea.Bottom - WorkArea.Top then
    H := WorkArea.Bottom - WorkArea.Top;
  Result.Left := Bounds.Left;
  Result.Top := Bounds.Top;
  if Result.Left + W > WorkArea.Right then
    Result.Left := WorkArea.Right - W;
  if Result.Top + H > WorkArea.Bottom then
    Result.Top := WorkArea.Bottom - H;
  if Result.Left < WorkArea.Left then
    Result.Left := WorkArea.Left;
  if Result.Top < WorkArea.Top then
    Result.Top := WorkArea.Top;
  Result.Right := Result.Left + W;
  Result.Bottom := Result.Top + H;
end;

function VirtualWorkArea: TRect;
const
  SM_XVIRTUALSCREEN = 76;
  SM_YVIRTUALSCREEN = 77;
  SM_CXVIRTUALSCREEN = 78;
  SM_CYVIRTUALSCREEN = 79;
begin
  { All monitors together; systems without several monitors answer 0 and
    the primary work area is used. }
  Result.Left := GetSystemMetrics(SM_XVIRTUALSCREEN);
  Result.Top := GetSystemMetrics(SM_YVIRTUALSCREEN);
  Result.Right := Result.Left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  Result.Bottom := Result.Top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if Result.Right <= Result.Left then
    SystemParametersInfo(SPI_GETWORKAREA, 0, @Result, 0);
end;

constructor TqvFormPlacement.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FOptions := [plPosition, plSize, plState];
  FMinimizedAsNormal := True;
end;

destructor TqvFormPlacement.Destroy;
begin
  Unhook;
  inherited Destroy;
end;

function TqvFormPlacement.Form: TForm;
begin
  if Owner is TForm then
    Result := TForm(Owner)
  else
    Result := nil;
end;

function TqvFormPlacement.DefaultSection: string;
begin
  if Owner <> nil then
    Result := qvJoinPath(Owner.Name, qvPlacementSection)
  else
    Result := qvPlacementSection;
end;

procedure TqvFormPlacement.Loaded;
begin
  inherited Loaded;
  if not (csDesigning in ComponentState) then
    Hook;
end;

procedure TqvFormPlacement.Hook;
begin
  if FHooked or (Form = nil) then
    Exit;
  FSavedOnShow := Form.OnShow;
  FSavedOnDestroy := Form.OnDestroy;
  Form.OnShow := FormShow;
  Form.OnDestroy := FormDestroy;
  FHooked := True;
end;

procedure TqvFormPlacement.Unhook;
begin
  if not FHooked or (Form = nil) then
    Exit;
  { Only handlers that are still ours are given back; another component
    may have chained itself in after us. }
  if TMethod(Form.OnShow).Data = Self then
    Form.OnShow := FSavedOnShow;
  if TMethod(Form.OnDestroy).Data = Self then
    Form.OnDestroy := FSavedOnDestroy;
  FHooked := False;
end;

procedure TqvFormPlacement.FormShow(Sender: TObject);
begin
  if not FRestored then
  begin
    FRestored := True;
    Restore;
  end;
  if Assigned(FSavedOnShow) then
    FSavedOnShow(Sender);
end;

procedure TqvFormPlacement.FormDestroy(Sender: TObject);
begin
  { Only a form that was shown and restored has a placement worth keeping. }
  if FRestored then
    Save;
  if Assigned(FSavedOnDestroy) then
    FSavedOnDestroy(Sender);
end;

procedure TqvFormPlacement.DoSave;
var
  Placement: TWindowPlacement;
  Path: string;
  State: TWindowState;
begin
  if (Form = nil) or not Form.HandleAllocated then
    Exit;
  Path := SectionPath;
  Placement.length := SizeOf(Placement);
  GetWindowPlacement(Form.Handle, @Placement);
  with Placement.rcNormalPosition do
  begin
    Storage.WriteInteger(qvJoinPath(Path, qvPlcLeft), Left);
    Storage.WriteInteger(qvJoinPath(Path, qvPlcTop), Top);
    Storage.WriteInteger(qvJoinPath(Path, qvPlcWidth), Right - Left);
    Storage.WriteInteger(qvJoinPath(Path, qvPlcHeight), Bottom - Top);
  end;
  State := Form.WindowState;
  if IsIconic(Form.Handle) then
    State := wsMinimized
  else if IsZoomed(Form.Handle) then
    State := wsMaximized;
  Storage.WriteInteger(qvJoinPath(Path, qvPlcState), Ord(State));
  Storage.WriteInteger(qvJoinPath(Path, qvPlcPixels), Screen.PixelsPerInch);
end;

procedure TqvFormPlacement.DoRestore;
var
  Path: string;
  R: TRect;
  State: Integer;
begin
  if Form = nil then
    Exit;
  Path := SectionPath;
  if not Storage.ValueExists(qvJoinPath(Path, qvPlcWidth)) then
    Exit;
  R := Form.BoundsRect;
  if plPosition in FOptions then
  begin
    R.Left := Storage.ReadInteger(qvJoinPath(Path, qvPlcLeft), R.Left);
    R.Top := Storage.ReadInteger(qvJoinPath(Path, qvPlcTop), R.Top);
  end;
  R.Right := R.Left + Form.Width;
  R.Bottom := R.Top + Form.Height;
  if (plSize in FOptions) and (Form.BorderStyle in [bsSizeable, bsSizeToolWin]) then
  begin
    R.Right := R.Left + Storage.ReadInteger(qvJoinPath(Path, qvPlcWidth), Form.Width);
    R.Bottom := R.Top + Storage.ReadInteger(qvJoinPath(Path, qvPlcHeight), Form.Height);
  end;
  if (R.Right > R.Left) and (R.Bottom > R.Top) then
  begin
    R := qvFitIntoArea(R, VirtualWorkArea);
    if plPosition in FOptions then
      Form.Position := poDesigned;
    Form.BoundsRect := R;
  end;
  if plState in FOptions then
  begin
    State := Storage.ReadInteger(qvJoinPath(Path, qvPlcState), Ord(wsNormal));
    if (State = Ord(wsMinimized)) and FMinimizedAsNormal then
      State := Ord(wsNormal);
    if (State >= Ord(Low(TWindowState))) and (State <= Ord(High(TWindowState))) then
      Form.WindowState := TWindowState(State);
  end;
end;

end.
