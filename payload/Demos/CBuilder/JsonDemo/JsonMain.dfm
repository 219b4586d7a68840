object MainForm: TMainForm
  Left = 220
  Top = 140
  Caption = 'Tessel library - JSON demo'
  ClientHeight = 345
  ClientWidth = 441
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poDefaultPosOnly
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Storage: TqvJsonStorage
    FileName = 'Settings.json'
    Location = flProgramFolder
    Left = 368
    Top = 8
  end
  object Placement: TqvFormPlacement
    Storage = Storage
    Left = 400
    Top = 8
  end
  object Recent: TqvStrHolder
    Storage = Storage
    Section = 'RecentFiles'
    MaxCount = 5
    Left = 368
    Top = 40
  end
  object OpenDialog: TOpenDialog
    Left = 400
    Top = 40
  end
  object RecentLabel: TLabel
    Left = 16
    Top = 12
    Caption = '&Recent files:'
  end
  object RecentList: TListBox
    Left = 16
    Top = 28
    Width = 305
    Height = 97
    ItemHeight = 13
  end
  object OpenButton: TButton
    Left = 328
    Top = 28
    Width = 97
    Height = 25
    Caption = '&Open...'
    OnClick = OpenButtonClick
  end
  object ClearButton: TButton
    Left = 328
    Top = 60
    Width = 97
    Height = 25
    Caption = '&Clear list'
    OnClick = ClearButtonClick
  end
  object JsonLabel: TLabel
    Left = 16
    Top = 136
    Caption = 'The settings file:'
  end
  object JsonMemo: TMemo
    Left = 16
    Top = 152
    Width = 409
    Height = 153
    ReadOnly = True
    ScrollBars = ssBoth
    Font.Name = 'Courier New'
    ParentFont = False
  end
  object SaveButton: TButton
    Left = 328
    Top = 312
    Width = 97
    Height = 25
    Caption = 'Sa&ve'
    OnClick = SaveButtonClick
  end
end
