object fmKvToolOp: TfmKvToolOp
  Left = 250
  Top = 160
  BorderStyle = bsDialog
  Caption = 'Environment Options'
  ClientHeight = 138
  ClientWidth = 344
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object FormDesignerGroup: TGroupBox
    Left = 8
    Top = 8
    Width = 241
    Height = 121
    Caption = 'Form designer'
    TabOrder = 0
    object Label1: TLabel
      Left = 16
      Top = 70
      Width = 58
      Height = 13
      Caption = 'Grid size &X'
      FocusControl = edGridX
    end
    object Label2: TLabel
      Left = 16
      Top = 96
      Width = 58
      Height = 13
      Caption = 'Grid size &Y'
      FocusControl = edGridY
    end
    object ckDisplayGrid: TCheckBox
      Left = 16
      Top = 20
      Width = 121
      Height = 17
      Caption = 'Display grid'
      TabOrder = 0
    end
    object ckSnapToGrid: TCheckBox
      Left = 16
      Top = 42
      Width = 121
      Height = 17
      Caption = 'Snap to grid'
      TabOrder = 1
    end
    object edGridX: TEdit
      Left = 88
      Top = 66
      Width = 41
      Height = 21
      MaxLength = 3
      TabOrder = 2
      Text = '8'
    end
    object edGridY: TEdit
      Left = 88
      Top = 92
      Width = 41
      Height = 21
      MaxLength = 3
      TabOrder = 3
      Text = '8'
    end
  end
  object Button1: TButton
    Left = 261
    Top = 14
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 1
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 261
    Top = 46
    Width = 75
    Height = 25
    Cancel = True
    Caption = '&Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
