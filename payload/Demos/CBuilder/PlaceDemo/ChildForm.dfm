object ChildForm: TChildForm
  Left = 220
  Top = 140
  Caption = 'Child window'
  ClientHeight = 145
  ClientWidth = 265
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
  object Placement: TqvFormPlacement
    Left = 200
    Top = 8
  end
  object InfoLabel: TLabel
    Left = 16
    Top = 16
    Caption = 'This window has a placement of its own.'
  end
  object CloseButton: TButton
    Left = 168
    Top = 104
    Width = 81
    Height = 25
    Caption = '&Close'
    ModalResult = 2
    Cancel = True
  end
end
