object DlgMainCB: TDlgMainCB
  Left = 220
  Top = 140
  Caption = 'Tessel library - settings dialog demo'
  ClientHeight = 273
  ClientWidth = 393
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
    Key = 'Software\Veltrane\Tessel Demos\DlgDemo'
    Left = 320
    Top = 8
  end
  object Defaults: TqvIniStorage
    FileName = 'DlgDemo.ini'
    Location = flProgramFolder
    ReadOnly = True
    Options = []
    Left = 352
    Top = 8
  end
  object SettingsDialog: TqvSettingsDialog
    Caption = 'Demo settings'
    Storage = Storage
    Defaults = Defaults
    OnApply = SettingsDialogApply
    Left = 320
    Top = 40
  end
  object InfoLabel: TLabel
    Left = 16
    Top = 12
    Caption = 'Current settings:'
  end
  object ValuesMemo: TMemo
    Left = 16
    Top = 28
    Width = 361
    Height = 193
    ReadOnly = True
    ScrollBars = ssVertical
  end
  object SettingsButton: TButton
    Left = 280
    Top = 232
    Width = 97
    Height = 25
    Caption = '&Settings...'
    OnClick = SettingsButtonClick
  end
end
