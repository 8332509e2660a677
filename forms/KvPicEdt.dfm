object fmPicEdt: TfmPicEdt
  Left = 220
  Top = 110
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Picture Editor'
  ClientHeight = 306
  ClientWidth = 357
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object OKButton: TButton
    Left = 274
    Top = 12
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object CancelButton: TButton
    Left = 274
    Top = 41
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
  object HelpButton: TButton
    Left = 274
    Top = 71
    Width = 75
    Height = 25
    Caption = '&Help'
    TabOrder = 3
    OnClick = HelpButtonClick
  end
  object GroupBox1: TGroupBox
    Left = 10
    Top = 7
    Width = 255
    Height = 288
    TabOrder = 0
    object ImagePanel: TPanel
      Left = 10
      Top = 16
      Width = 235
      Height = 235
      BevelOuter = bvNone
      BorderStyle = bsSingle
      BorderWidth = 5
      Color = clWindow
      Ctl3D = False
      TabOrder = 0
      object ImagePaintBox: TPaintBox
        Left = 5
        Top = 5
        Width = 223
        Height = 223
        Align = alClient
        OnPaint = ImagePaintBoxPaint
      end
    end
    object Load: TButton
      Left = 10
      Top = 257
      Width = 75
      Height = 23
      Caption = '&Load...'
      TabOrder = 1
      OnClick = LoadClick
    end
    object Save: TButton
      Left = 90
      Top = 257
      Width = 75
      Height = 23
      Caption = '&Save...'
      TabOrder = 2
      OnClick = SaveClick
    end
    object Clear: TButton
      Left = 170
      Top = 257
      Width = 75
      Height = 23
      Caption = '&Clear'
      TabOrder = 3
      OnClick = ClearClick
    end
  end
  object OpenDialog: TOpenDialog
    Left = 288
    Top = 120
  end
  object SaveDialog: TSaveDialog
    Left = 288
    Top = 152
  end
end
