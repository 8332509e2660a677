object fmKvImgEdt: TfmKvImgEdt
  Left = 240
  Top = 180
  BorderStyle = bsDialog
  Caption = 'ImageList Editor'
  ClientHeight = 273
  ClientWidth = 440
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object ImagesLabel: TLabel
    Left = 8
    Top = 128
    Width = 37
    Height = 13
    Caption = 'Images'
  end
  object ImageBox: TPaintBox
    Left = 8
    Top = 144
    Width = 424
    Height = 88
    OnMouseDown = ImageBoxMouseDown
    OnPaint = ImageBoxPaint
  end
  object PreviewLabel: TLabel
    Left = 8
    Top = 8
    Width = 85
    Height = 13
    Caption = 'Selected Image'
  end
  object PreviewBox: TPaintBox
    Left = 8
    Top = 24
    Width = 96
    Height = 96
    OnPaint = PreviewBoxPaint
  end
  object AddButton: TButton
    Left = 120
    Top = 24
    Width = 75
    Height = 25
    Caption = '&Add...'
    TabOrder = 0
    OnClick = AddButtonClick
  end
  object DeleteButton: TButton
    Left = 120
    Top = 56
    Width = 75
    Height = 25
    Caption = '&Delete'
    TabOrder = 1
    OnClick = DeleteButtonClick
  end
  object ClearButton: TButton
    Left = 120
    Top = 88
    Width = 75
    Height = 25
    Caption = '&Clear'
    TabOrder = 2
    OnClick = ClearButtonClick
  end
  object LeftButton: TButton
    Left = 208
    Top = 24
    Width = 75
    Height = 25
    Caption = 'Move &Left'
    TabOrder = 3
    OnClick = LeftButtonClick
  end
  object RightButton: TButton
    Left = 208
    Top = 56
    Width = 75
    Height = 25
    Caption = 'Move &Right'
    TabOrder = 4
    OnClick = RightButtonClick
  end
  object OKButton: TButton
    Left = 276
    Top = 240
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 5
  end
  object CancelButton: TButton
    Left = 357
    Top = 240
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 6
  end
  object OpenDialog: TOpenDialog
    Filter = 'Bitmaps (*.bmp)|*.bmp|All pictures (*.bmp;*.png;*.jpg;*.gif;*.ico)|*.bmp;*.png;*.jpg;*.gif;*.ico'
    Left = 300
    Top = 88
  end
end
