object qvStorageEditorForm: TqvStorageEditorForm
  Left = 262
  Top = 150
  BorderStyle = bsDialog
  Caption = 'Stored properties'
  ClientHeight = 331
  ClientWidth = 553
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object ComponentLabel: TLabel
    Left = 8
    Top = 8
    Width = 64
    Height = 13
    Caption = '&Components:'
    FocusControl = ComponentList
  end
  object PropertyLabel: TLabel
    Left = 160
    Top = 8
    Width = 53
    Height = 13
    Caption = '&Properties:'
    FocusControl = PropertyList
  end
  object StoredLabel: TLabel
    Left = 376
    Top = 8
    Width = 87
    Height = 13
    Caption = '&Stored properties:'
    FocusControl = StoredList
  end
  object Bevel: TBevel
    Left = 8
    Top = 284
    Width = 537
    Height = 2
    Shape = bsTopLine
  end
  object ComponentList: TListBox
    Left = 8
    Top = 24
    Width = 145
    Height = 249
    ItemHeight = 13
    Sorted = True
    TabOrder = 0
    OnClick = ComponentListClick
  end
  object PropertyList: TListBox
    Left = 160
    Top = 24
    Width = 145
    Height = 249
    ItemHeight = 13
    MultiSelect = True
    Sorted = True
    TabOrder = 1
    OnClick = ListChanged
  end
  object AddButton: TButton
    Left = 312
    Top = 80
    Width = 57
    Height = 25
    Caption = '&Add >'
    TabOrder = 2
    OnClick = AddButtonClick
  end
  object RemoveButton: TButton
    Left = 312
    Top = 112
    Width = 57
    Height = 25
    Caption = '< &Remove'
    TabOrder = 3
    OnClick = RemoveButtonClick
  end
  object ClearButton: TButton
    Left = 312
    Top = 144
    Width = 57
    Height = 25
    Caption = 'C&lear'
    TabOrder = 4
    OnClick = ClearButtonClick
  end
  object StoredList: TListBox
    Left = 376
    Top = 24
    Width = 169
    Height = 249
    ItemHeight = 13
    MultiSelect = True
    TabOrder = 5
    OnClick = ListChanged
  end
  object OKButton: TButton
    Left = 389
    Top = 296
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 6
  end
  object CancelButton: TButton
    Left = 470
    Top = 296
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 7
  end
end
