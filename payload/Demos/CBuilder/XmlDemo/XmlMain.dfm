object MainForm: TMainForm
  Left = 220
  Top = 140
  Caption = 'Tessel library - XML demo'
  ClientHeight = 361
  ClientWidth = 457
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
  object Storage: TqvXmlStorage
    FileName = 'Settings.xml'
    Location = flProgramFolder
    Left = 384
    Top = 8
  end
  object Props: TqvPropStorage
    Storage = Storage
    StoredProps.Strings = (
      'UnitsGroup.ItemIndex'
      'DecimalsEdit.Text'
      'GridCheck.Checked')
    Left = 416
    Top = 8
  end
  object History: TqvStrHolder
    Storage = Storage
    Section = 'SearchHistory'
    MaxCount = 8
    Left = 384
    Top = 40
  end
  object UnitsGroup: TRadioGroup
    Left = 16
    Top = 8
    Width = 153
    Height = 81
    Caption = ' &Units '
    ItemIndex = 0
    Items.Strings = (
      'Millimetres'
      'Inches'
      'Points')
    TabOrder = 0
  end
  object DecimalsLabel: TLabel
    Left = 184
    Top = 16
    Caption = '&Decimals:'
  end
  object DecimalsEdit: TEdit
    Left = 184
    Top = 32
    Width = 57
    Height = 21
    Text = '2'
  end
  object GridCheck: TCheckBox
    Left = 184
    Top = 64
    Width = 137
    Height = 17
    Caption = 'Show &grid'
  end
  object SearchLabel: TLabel
    Left = 16
    Top = 100
    Caption = '&Search:'
  end
  object SearchCombo: TComboBox
    Left = 16
    Top = 116
    Width = 321
    Height = 21
    ItemHeight = 13
  end
  object FindButton: TButton
    Left = 344
    Top = 114
    Width = 97
    Height = 25
    Caption = '&Find'
    OnClick = FindButtonClick
  end
  object XmlLabel: TLabel
    Left = 16
    Top = 148
    Caption = 'The settings file:'
  end
  object XmlMemo: TMemo
    Left = 16
    Top = 164
    Width = 425
    Height = 153
    ReadOnly = True
    ScrollBars = ssBoth
    Font.Name = 'Courier New'
    ParentFont = False
  end
  object SaveButton: TButton
    Left = 344
    Top = 326
    Width = 97
    Height = 25
    Caption = 'Sa&ve'
    OnClick = SaveButtonClick
  end
end
