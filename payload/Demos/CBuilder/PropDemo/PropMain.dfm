object MainForm: TMainForm
  Left = 220
  Top = 140
  Caption = 'Tessel library - stored properties demo'
  ClientHeight = 353
  ClientWidth = 513
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
    FileName = 'PropDemo.ini'
    Location = flProgramFolder
    Left = 440
    Top = 8
  end
  object Placement: TqvFormPlacement
    Storage = Storage
    Left = 472
    Top = 8
  end
  object Props: TqvPropStorage
    Storage = Storage
    StoredProps.Strings = (
      'LeftPanel.Width'
      'ThemeGroup.ItemIndex'
      'ZoomBar.Position'
      'WrapCheck.Checked'
      'StatusBar.Visible')
    Left = 440
    Top = 40
  end
  object LeftPanel: TPanel
    Left = 0
    Top = 0
    Width = 185
    Height = 334
    Align = alLeft
    BevelOuter = bvNone
    object ThemeGroup: TRadioGroup
      Left = 8
      Top = 8
      Width = 169
      Height = 89
      Caption = ' &Theme '
      ItemIndex = 0
      Items.Strings = (
        'Light'
        'Dark'
        'System')
    end
    object ZoomLabel: TLabel
      Left = 8
      Top = 108
      Caption = '&Zoom:'
    end
    object ZoomBar: TTrackBar
      Left = 0
      Top = 124
      Width = 177
      Height = 33
      Max = 200
      Min = 50
      Frequency = 25
      Position = 100
    end
    object WrapCheck: TCheckBox
      Left = 8
      Top = 164
      Width = 161
      Height = 17
      Caption = '&Word wrap'
    end
    object StatusCheck: TCheckBox
      Left = 8
      Top = 188
      Width = 161
      Height = 17
      Caption = 'Status &bar'
      Checked = True
      State = cbChecked
      OnClick = StatusCheckClick
    end
  end
  object Splitter: TSplitter
    Left = 185
    Top = 0
    Width = 4
    Height = 334
    Cursor = crHSplit
  end
  object FileList: TListView
    Left = 189
    Top = 0
    Width = 324
    Height = 334
    Align = alClient
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'Name'
        Width = 140
      end
      item
        Caption = 'Size'
        Width = 70
      end
      item
        Caption = 'Changed'
        Width = 100
      end>
  end
  object Columns: TqvCollectionStorage
    Storage = Storage
    CollectionProp = 'FileList.Columns'
    ItemProps.Strings = (
      'Width')
    Left = 472
    Top = 40
  end
  object StatusBar: TStatusBar
    Left = 0
    Top = 334
    Width = 513
    Height = 19
    SimplePanel = True
    SimpleText = 'Drag the splitter and the column borders, then restart the demo.'
  end
end
