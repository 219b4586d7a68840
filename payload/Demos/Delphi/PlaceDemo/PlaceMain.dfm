object MainForm: TMainForm
  Left = 220
  Top = 140
  Caption = 'Tessel library - form placement demo'
  ClientHeight = 217
  ClientWidth = 377
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poDefaultPosOnly
  OnCreate = FormCreate
  OnResize = FormResize
  PixelsPerInch = 96
  TextHeight = 13
  object Storage: TqvIniStorage
    FileName = 'PlaceDemo.ini'
    Location = flProgramFolder
    Left = 304
    Top = 8
  end
  object Placement: TqvFormPlacement
    Storage = Storage
    Left = 336
    Top = 8
  end
  object HintLabel: TLabel
    Left = 16
    Top = 12
    Caption = 'Move, resize or maximize this window, close it and start the demo again.'
    Width = 281
    Height = 26
    AutoSize = False
    WordWrap = True
  end
  object PositionCheck: TCheckBox
    Left = 16
    Top = 52
    Width = 185
    Height = 17
    Caption = 'Keep the &position'
    Checked = True
    State = cbChecked
    OnClick = OptionClick
  end
  object SizeCheck: TCheckBox
    Left = 16
    Top = 76
    Width = 185
    Height = 17
    Caption = 'Keep the &size'
    Checked = True
    State = cbChecked
    OnClick = OptionClick
  end
  object StateCheck: TCheckBox
    Left = 16
    Top = 100
    Width = 185
    Height = 17
    Caption = 'Keep the &maximized state'
    Checked = True
    State = cbChecked
    OnClick = OptionClick
  end
  object BoundsLabel: TLabel
    Left = 16
    Top = 132
    Caption = ''
  end
  object ResetButton: TButton
    Left = 16
    Top = 176
    Width = 121
    Height = 25
    Caption = '&Forget placement'
    OnClick = ResetButtonClick
  end
end
