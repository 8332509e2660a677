object fmKvSize: TfmKvSize
  Left = 260
  Top = 150
  BorderStyle = bsDialog
  Caption = 'Size'
  ClientHeight = 185
  ClientWidth = 344
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  Position = poScreenCenter
  OnKeyDown = FormKeyDown
  PixelsPerInch = 96
  TextHeight = 13
  object WidthGroup: TRadioGroup
    Left = 8
    Top = 8
    Width = 160
    Height = 105
    Caption = 'Width'
    ItemIndex = 0
    Items.Strings = (
      '&No change'
      '&Shrink to smallest'
      '&Graw to largest'
      '&Width:')
    TabOrder = 0
    OnClick = WidthGroupClick
  end
  object HeightGroup: TRadioGroup
    Left = 176
    Top = 8
    Width = 160
    Height = 105
    Caption = 'Height'
    ItemIndex = 0
    Items.Strings = (
      '&No change'
      '&Shrink to smallest'
      '&Graw to largest'
      '&Height:')
    TabOrder = 1
    OnClick = HeightGroupClick
  end
  object edWidth: TEdit
    Left = 8
    Top = 120
    Width = 160
    Height = 21
    Enabled = False
    TabOrder = 2
  end
  object edHeight: TEdit
    Left = 176
    Top = 120
    Width = 160
    Height = 21
    Enabled = False
    TabOrder = 3
  end
  object Button1: TButton
    Left = 180
    Top = 152
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 4
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 261
    Top = 152
    Width = 75
    Height = 25
    Caption = '&Cancel'
    ModalResult = 2
    TabOrder = 5
  end
end
