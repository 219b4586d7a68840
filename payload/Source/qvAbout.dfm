object qvAboutForm: TqvAboutForm
  Left = 300
  Top = 180
  BorderStyle = bsDialog
  Caption = 'About Tessel library'
  ClientHeight = 214
  ClientWidth = 354
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
  object LogoImage: TImage
    Left = 16
    Top = 16
    Width = 64
    Height = 64
    Center = True
    Transparent = True
  end
  object ProductLabel: TLabel
    Left = 96
    Top = 16
    Width = 118
    Height = 20
    Caption = 'Tessel library'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -16
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object VersionLabel: TLabel
    Left = 96
    Top = 42
    Width = 61
    Height = 13
    Caption = 'Version 4.09'
  end
  object CopyrightLabel: TLabel
    Left = 96
    Top = 60
    Width = 170
    Height = 13
    Caption = 'Copyright (c) 1998-2024 Veltrane'
  end
  object DescriptionLabel: TLabel
    Left = 16
    Top = 96
    Width = 322
    Height = 26
    AutoSize = False
    Caption = 
      'Components for working with the application settings: ini files, ' +
      'registry, XML, JSON, form placement and stored properties.'
    WordWrap = True
  end
  object HomePageLabel: TLabel
    Left = 16
    Top = 134
    Width = 166
    Height = 13
    Cursor = crHandPoint
    Caption = 'http://www.veltrane.com/tessel/'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsUnderline]
    ParentFont = False
    OnClick = HomePageLabelClick
  end
  object Bevel: TBevel
    Left = 16
    Top = 160
    Width = 322
    Height = 2
    Shape = bsTopLine
  end
  object OKButton: TButton
    Left = 263
    Top = 176
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
  end
end
