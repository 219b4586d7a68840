object MainForm: TMainForm
  Left = 220
  Top = 140
  Caption = 'Tessel library - ini file demo'
  ClientHeight = 321
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
  object Storage: TqvIniStorage
    FileName = 'Sample.ini'
    Location = flProgramFolder
    Left = 368
    Top = 8
  end
  object Placement: TqvFormPlacement
    Storage = Storage
    Left = 400
    Top = 8
  end
  object Props: TqvPropStorage
    Storage = Storage
    StoredProps.Strings = (
      'NameEdit.Text'
      'ColorCombo.ItemIndex'
      'SoundCheck.Checked'
      'VolumeBar.Position'
      'NotesMemo.Lines')
    Left = 368
    Top = 40
  end
  object NameLabel: TLabel
    Left = 16
    Top = 16
    Caption = 'Your &name:'
  end
  object NameEdit: TEdit
    Left = 16
    Top = 32
    Width = 201
    Height = 21
    Text = ''
  end
  object ColorLabel: TLabel
    Left = 232
    Top = 16
    Caption = '&Colour scheme:'
  end
  object ColorCombo: TComboBox
    Left = 232
    Top = 32
    Width = 121
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    Items.Strings = (
      'Default'
      'Blue'
      'Green'
      'High contrast')
  end
  object SoundCheck: TCheckBox
    Left = 16
    Top = 68
    Width = 201
    Height = 17
    Caption = 'Play &sounds'
  end
  object VolumeLabel: TLabel
    Left = 232
    Top = 68
    Caption = '&Volume:'
  end
  object VolumeBar: TTrackBar
    Left = 224
    Top = 84
    Width = 137
    Height = 33
    Max = 10
    Position = 5
  end
  object NotesLabel: TLabel
    Left = 16
    Top = 120
    Caption = 'N&otes:'
  end
  object NotesMemo: TMemo
    Left = 16
    Top = 136
    Width = 409
    Height = 129
    ScrollBars = ssVertical
  end
  object SaveButton: TButton
    Left = 16
    Top = 280
    Width = 97
    Height = 25
    Caption = '&Save now'
    OnClick = SaveButtonClick
  end
  object ReloadButton: TButton
    Left = 120
    Top = 280
    Width = 97
    Height = 25
    Caption = '&Reload'
    OnClick = ReloadButtonClick
  end
  object ShowFileButton: TButton
    Left = 328
    Top = 280
    Width = 97
    Height = 25
    Caption = 'Show &ini file'
    OnClick = ShowFileButtonClick
  end
end
