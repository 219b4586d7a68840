object qvSettingsForm: TqvSettingsForm
  Left = 245
  Top = 132
  BorderIcons = [biSystemMenu]
  Caption = 'Settings'
  ClientHeight = 362
  ClientWidth = 534
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Splitter: TSplitter
    Left = 185
    Top = 0
    Width = 4
    Height = 321
    Cursor = crHSplit
  end
  object ButtonPanel: TPanel
    Left = 0
    Top = 321
    Width = 534
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 2
    object OKButton: TButton
      Left = 366
      Top = 8
      Width = 75
      Height = 25
      Caption = 'OK'
      Default = True
      ModalResult = 1
      TabOrder = 1
    end
    object CancelButton: TButton
      Left = 451
      Top = 8
      Width = 75
      Height = 25
      Cancel = True
      Caption = 'Cancel'
      ModalResult = 2
      TabOrder = 2
    end
    object RestoreButton: TButton
      Left = 8
      Top = 8
      Width = 121
      Height = 25
      Caption = '&Restore defaults'
      TabOrder = 0
      OnClick = RestoreButtonClick
    end
  end
  object SectionPanel: TPanel
    Left = 0
    Top = 0
    Width = 185
    Height = 321
    Align = alLeft
    BevelOuter = bvNone
    BorderWidth = 6
    TabOrder = 0
    object SectionLabel: TLabel
      Left = 6
      Top = 6
      Width = 173
      Height = 13
      Align = alTop
      Caption = '&Sections:'
      FocusControl = SectionTree
    end
    object SectionTree: TTreeView
      Left = 6
      Top = 19
      Width = 173
      Height = 296
      Align = alClient
      HideSelection = False
      Indent = 19
      ReadOnly = True
      TabOrder = 0
      OnChange = SectionTreeChange
      OnChanging = SectionTreeChanging
    end
  end
  object ValuePanel: TPanel
    Left = 189
    Top = 0
    Width = 345
    Height = 321
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 6
    TabOrder = 1
    object ValueLabel: TLabel
      Left = 6
      Top = 6
      Width = 333
      Height = 13
      Align = alTop
      Caption = '&Values:'
      FocusControl = ValueGrid
    end
    object ValueGrid: TStringGrid
      Left = 6
      Top = 19
      Width = 333
      Height = 296
      Align = alClient
      ColCount = 2
      DefaultColWidth = 160
      DefaultRowHeight = 18
      FixedCols = 0
      RowCount = 2
      Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goEditing, goAlwaysShowEditor]
      TabOrder = 0
      OnSelectCell = ValueGridSelectCell
    end
  end
end
