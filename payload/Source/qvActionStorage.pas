{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvActionStorage - keeps the state of the actions of an action list          }
{                                                                              }
{******************************************************************************}

unit qvActionStorage;

{$I qvTessel.inc}

{ Saves Checked, and optionally Visible and ShortCut, of every action of an
  action list: toggled view options ("Show toolbar", "Word wrap") and
  user-assigned short cuts survive a restart. Actions are stored by name, so
  adding or removing actions in a later program version loses nothing. }

interface

uses
  SysUtils, Classes, ActnList, qvStorage;

type
  TqvActionOption = (aoChecked, aoVisible, aoShortCut);
  TqvActionOptions = set of TqvActionOption;

  TqvActionStorage = class(TqvStorageClient)
  private
    FActionList: TCustomActionList;
    FActionOptions: TqvActionOptions;
    procedure SetActionList(Value: TCustomActionList);
  protected
    procedure DoSave; override;
    procedure DoRestore; override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    constructor Create(AOwner: TComponent); override;
  published
    property ActionList: TCustomActionList read FActionList write SetActionList;
    property ActionOptions: TqvActionOptions read FActionOptions
      write FActionOptions default [aoChecked];
    property Enabled;
    property Section;
    property Storage;
    property OnSave;
    property OnRestore;
  end;

implementation

uses
  qvUtils;

constructor TqvActionStorage.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FActionOptions := [aoChecked];
end;

procedure TqvActionStorage.SetActionList(Value: TCustomActionList);
begin
  FActionList := Value;
  if Value <> nil then
    Value.FreeNotification(Self);
end;

procedure TqvActionStorage.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation = opRemove) and (AComponent = FActionList) then
    FActionList := nil;
end;

procedure TqvActionStorage.DoSave;
var
  I: Integer;
  Action: TCustomAction;
  Path: string;
begin
  if FActionList = nil then
    Exit;
  for I := 0 to FActionList.ActionCount - 1 do
    if (FActionList.Actions[I] is TCustomAction) and
      (FActionList.Actions[I].Name <> '') then
    begin
      Action := TCustomAction(FActionList.Actions[I]);
      Path := qvJoinPath(SectionPath, Action.Name);
      if aoChecked in FActionOptions then
        Storage.WriteBool(qvJoinPath(Path, 'Checked'), Action.Checked);
      if aoVisible in FActionOptions then
        Storage.WriteBool(qvJoinPath(Path, 'Visible'), Action.Visible);
      if aoShortCut in FActionOptions then
        Storage.WriteInteger(qvJoinPath(Path, 'ShortCut'), Action.ShortCut);
    end;
end;

procedure TqvActionStorage.DoRestore;
var
  I: Integer;
  Action: TCustomAction;
  Path: string;
begin
  if FActionList = nil then
    Exit;
  for I := 0 to FActionList.ActionCount - 1 do
    if (FActionList.Actions[I] is TCustomAction) and
      (FActionList.Actions[I].Name <> '') then
    begin
      Action := TCustomAction(FActionList.Actions[I]);
      Path := qvJoinPath(SectionPath, Action.Name);
      if aoChecked in FActionOptions then
        Action.Checked := Storage.ReadBool(qvJoinPath(Path, 'Checked'), Action.Checked);
      if aoVisible in FActionOptions then
        Action.Visible := Storage.ReadBool(qvJoinPath(Path, 'Visible'), Action.Visible);
      if aoShortCut in FActionOptions then
        Action.ShortCut := Storage.ReadInteger(qvJoinPath(Path, 'ShortCut'), Action.ShortCut);
    end;
end;

end.
