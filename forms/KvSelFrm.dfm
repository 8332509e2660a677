object fmKvSelFrm: TfmKvSelFrm
  Left = 280
  Top = 170
  BorderStyle = bsDialog
  Caption = 'View Form'
  ClientHeight = 181
  ClientWidth = 241
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnActivate = FormActivate
  PixelsPerInch = 96
  TextHeight = 13
  object Edit1: TEdit
    Left = 8
    Top = 8
    Width = 225
    Height = 21
    TabOrder = 0
    OnChange = Edit1Change
  end
  object ListBox1: TListBox
    Left = 8
    Top = 36
    Width = 225
    Height = 104
    ItemHeight = 13
    Sorted = True
    TabOrder = 1
    OnClick = ListBox1Click
    OnDblClick = ListBox1DblClick
  end
  object btOk: TBitBtn
    Left = 77
    Top = 148
    Width = 75
    Height = 25
    TabOrder = 2
    Kind = bkOK
  end
  object BitBtn4: TBitBtn
    Left = 158
    Top = 148
    Width = 75
    Height = 25
    Caption = '&Cancel'
    TabOrder = 3
    Kind = bkCancel
  end
end
