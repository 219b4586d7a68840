object MainForm: TMainForm
  Left = 220
  Top = 140
  Caption = 'Tessel library - profiles demo'
  ClientHeight = 241
  ClientWidth = 345
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
  object Storage: TqvIniStorage
    Location = flProgramFolder
    Options = []
    Left = 280
    Top = 8
  end
  object Props: TqvPropStorage
    Storage = Storage
    Section = 'Connection'
    StoredProps.Strings = (
      'ServerEdit.Text'
      'PortEdit.Text'
      'UserEdit.Text'
      'ProxyCheck.Checked')
    Left = 312
    Top = 8
  end
  object ProfileLabel: TLabel
    Left = 16
    Top = 16
    Caption = '&Profile:'
  end
  object ProfileCombo: TComboBox
    Left = 72
    Top = 12
    Width = 145
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    OnChange = ProfileComboChange
  end
  object ServerLabel: TLabel
    Left = 16
    Top = 52
    Caption = '&Server:'
  end
  object ServerEdit: TEdit
    Left = 96
    Top = 48
    Width = 233
    Height = 21
    Text = ''
  end
  object PortLabel: TLabel
    Left = 16
    Top = 80
    Caption = 'P&ort:'
  end
  object PortEdit: TEdit
    Left = 96
    Top = 76
    Width = 65
    Height = 21
    Text = ''
  end
  object UserLabel: TLabel
    Left = 16
    Top = 108
    Caption = '&User:'
  end
  object UserEdit: TEdit
    Left = 96
    Top = 104
    Width = 153
    Height = 21
    Text = ''
  end
  object ProxyCheck: TCheckBox
    Left = 96
    Top = 136
    Width = 201
    Height = 17
    Caption = 'Connect through a pro&xy'
  end
  object SaveButton: TButton
    Left = 152
    Top = 200
    Width = 97
    Height = 25
    Caption = 'Sa&ve profile'
    OnClick = SaveButtonClick
  end
  object RevertButton: TButton
    Left = 256
    Top = 200
    Width = 73
    Height = 25
    Caption = '&Revert'
    OnClick = ProfileComboChange
  end
end
