object fmKvAlign: TfmKvAlign
  Left = 260
  Top = 150
  BorderStyle = bsDialog
  Caption = 'Alignment'
  ClientHeight = 194
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
  object HorizontalGroup: TRadioGroup
    Left = 8
    Top = 8
    Width = 160
    Height = 145
    Caption = 'Horizontal'
    ItemIndex = 0
    Items.Strings = (
      '&No change'
      '&Left sides'
      '&Centers'
      '&Right sides'
      '&Space equally'
      'Center in &Window')
    TabOrder = 0
  end
  object VerticalGroup: TRadioGroup
    Left = 176
    Top = 8
    Width = 160
    Height = 145
    Caption = 'Vertical'
    ItemIndex = 0
    Items.Strings = (
      'No chan&ge'
      '&Tops'
      'C&enters'
      '&Bottoms'
      'Space e&qually'
      'Center &in window')
    TabOrder = 1
  end
  object Button1: TButton
    Left = 180
    Top = 161
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    ModalResult = 1
    TabOrder = 2
  end
  object Button2: TButton
    Left = 261
    Top = 161
    Width = 75
    Height = 25
    Caption = '&Cancel'
    ModalResult = 2
    TabOrder = 3
  end
end
