{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvAppEvents - saves the settings at the moments that matter to the          }
{  application as a whole                                                      }
{                                                                              }
{******************************************************************************}

unit qvAppEvents;

{$I qvTessel.inc}

{ Forms save their placement when they are destroyed; values a program
  writes itself would be lost if Windows shuts down while the program runs.
  TqvAppEvents saves the linked storages when the application is
  deactivated, when Windows asks to end the session, and optionally every
  AutoSaveInterval seconds. }

interface

uses
  Windows, Messages, SysUtils, Classes, Forms, ExtCtrls, qvStorage;

type
  TqvSaveMoment = (smDeactivate, smEndSession, smInterval);
  TqvSaveMoments = set of TqvSaveMoment;

  TqvAppEvents = class(TComponent)
  private
    FStorages: TList;
    FMoments: TqvSaveMoments;
    FInterval: Integer;
    FTimer: TTimer;
    FSavedDeactivate: TNotifyEvent;
    FHooked: Boolean;
    FOnSaving: TNotifyEvent;
    procedure SetInterval(Value: Integer);
    procedure SetMoments(Value: TqvSaveMoments);
    procedure AppDeactivate(Sender: TObject);
    function AppHook(var Message: TMessage): Boolean;
    procedure TimerTick(Sender: TObject);
    procedure UpdateTimer;
  protected
    procedure Loaded; override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    procedure AddStorage(Storage: TqvCustomStorage);
    procedure RemoveStorage(Storage: TqvCustomStorage);
    { Saves and flushes every linked storage now. }
    procedure SaveAll;
  published
    property Moments: TqvSaveMoments read FMoments write SetMoments
      default [smDeactivate, smEndSession];
    property AutoSaveInterval: Integer read FInterval write SetInterval default 0;
    property OnSaving: TNotifyEvent read FOnSaving write FOnSaving;
  end;

implementation

constructor TqvAppEvents.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FStorages := TList.Create;
  FMoments := [smDeactivate, smEndSession];
end;

destructor TqvAppEvents.Destroy;
begin
  if FHooked then
  begin
    Application.UnhookMainWindow(AppHook);
    if TMethod(Application.OnDeactivate).Data = Self then
      Application.OnDeactivate := FSavedDeactivate;
  end;
  FTimer.Free;
  FStorages.Free;
  inherited Destroy;
end;

procedure TqvAppEvents.Loaded;
begin
  inherited Loaded;
  if csDesigning in ComponentState then
    Exit;
  FSavedDeactivate := Application.OnDeactivate;
  Application.OnDeactivate := AppDeactivate;
  Application.HookMainWindow(AppHook);
  FHooked := True;
  UpdateTimer;
end;

procedure TqvAppEvents.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if Operation = opRemove then
    FStorages.Remove(AComponent);
end;

procedure TqvAppEvents.AddStorage(Storage: TqvCustomStorage);
begin
  if (Storage <> nil) and (FStorages.IndexOf(Storage) < 0) then
  begin
    FStorages.Add(Storage);
    Storage.FreeNotification(Self);
  end;
end;

procedure TqvAppEvents.RemoveStorage(Storage: TqvCustomStorage);
begin
  FStorages.Remove(Storage);
end;

procedure TqvAppEvents.SaveAll;
var
  I: Integer;
begin
  if Assigned(FOnSaving) then
    FOnSaving(Self);
  for I := 0 to FStorages.Count - 1 do
    try
      TqvCustomStorage(FStorages[I]).Save;
    except
      { One storage that cannot be written (a read-only network share) must
        not keep the others from being saved. }
      Application.HandleException(Self);
    end;
end;

procedure TqvAppEvents.SetInterval(Value: Integer);
begin
  if Value < 0 then
    Value := 0;
  FInterval := Value;
  UpdateTimer;
end;

procedure TqvAppEvents.SetMoments(Value: TqvSaveMoments);
begin
  FMoments := Value;
  UpdateTimer;
end;

procedure TqvAppEvents.UpdateTimer;
begin
  if (csDesigning in ComponentState) or (csLoading in ComponentState) then
    Exit;
  if (smInterval in FMoments) and (FInterval > 0) then
  begin
    if FTimer = nil then
    begin
      FTimer := TTimer.Create(nil);
      FTimer.OnTimer := TimerTick;
    end;
    FTimer.Interval := FInterval * 1000;
    FTimer.Enabled := True;
  end
  else if FTimer <> nil then
    FTimer.Enabled := False;
end;

procedure TqvAppEvents.AppDeactivate(Sender: TObject);
begin
  if smDeactivate in FMoments then
    SaveAll;
  if Assigned(FSavedDeactivate) then
    FSavedDeactivate(Sender);
end;

function TqvAppEvents.AppHook(var Message: TMessage): Boolean;
begin
  Result := False;
  if (Message.Msg = WM_ENDSESSION) and (Message.WParam <> 0) and
    (smEndSession in FMoments) then
    SaveAll;
end;

procedure TqvAppEvents.TimerTick(Sender: TObject);
begin
  SaveAll;
end;

end.
