object MainForm: TMainForm
  Left = 220
  Top = 140
  Caption = 'Tessel library - registry demo'
  ClientHeight = 305
  ClientWidth = 425
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
  object Storage: TqvRegStorage
    Key = 'Software\Veltrane\Tessel Demos\RegDemo'
    Left = 352
    Top = 8
  end
  object Placement: TqvFormPlacement
    Storage = Storage
    Left = 384
    Top = 8
  end
  object StartsLabel: TLabel
    Left = 16
    Top = 12
    Caption = 'Started 0 times'
  end
  object LastRunLabel: TLabel
    Left = 16
    Top = 30
    Caption = 'First run'
  end
  object ValuesLabel: TLabel
    Left = 16
    Top = 56
    Caption = 'Values below the &key:'
  end
  object ValueList: TListBox
    Left = 16
    Top = 72
    Width = 393
    Height = 129
    ItemHeight = 13
  end
  object NameLabel: TLabel
    Left = 16
    Top = 212
    Caption = '&Name:'
  end
  object NameEdit: TEdit
    Left = 16
    Top = 228
    Width = 145
    Height = 21
    Text = ''
  end
  object ValueLabel: TLabel
    Left = 168
    Top = 212
    Caption = 'V&alue:'
  end
  object ValueEdit: TEdit
    Left = 168
    Top = 228
    Width = 145
    Height = 21
    Text = ''
  end
  object WriteButton: TButton
    Left = 320
    Top = 226
    Width = 89
    Height = 25
    Caption = '&Write'
    OnClick = WriteButtonClick
  end
  object DeleteButton: TButton
    Left = 16
    Top = 264
    Width = 97
    Height = 25
    Caption = '&Delete'
    OnClick = DeleteButtonClick
  end
  object ClearButton: TButton
    Left = 120
    Top = 264
    Width = 97
    Height = 25
    Caption = '&Clear all'
    OnClick = ClearButtonClick
  end
end
