object fmKvMnuEdt: TfmKvMnuEdt
  Left = 520
  Top = 260
  BorderStyle = bsToolWindow
  FormStyle = fsStayOnTop
  Caption = 'Menu Designer'
  ClientHeight = 277
  ClientWidth = 416
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object CaptionLabel: TLabel
    Left = 236
    Top = 8
    Width = 39
    Height = 13
    Caption = '&Caption:'
    FocusControl = CaptionEdit
  end
  object ShortCutLabel: TLabel
    Left = 236
    Top = 52
    Width = 45
    Height = 13
    Caption = '&ShortCut:'
    FocusControl = ShortCutCombo
  end
  object ItemList: TListBox
    Left = 8
    Top = 8
    Width = 220
    Height = 261
    ItemHeight = 13
    TabOrder = 0
    OnClick = ItemListClick
    OnKeyDown = ItemListKeyDown
  end
  object CaptionEdit: TEdit
    Left = 236
    Top = 24
    Width = 172
    Height = 21
    TabOrder = 1
    OnChange = CaptionEditChange
  end
  object ShortCutCombo: TComboBox
    Left = 236
    Top = 68
    Width = 172
    Height = 21
    ItemHeight = 13
    TabOrder = 2
    OnChange = ShortCutComboChange
  end
  object CheckedBox: TCheckBox
    Left = 236
    Top = 98
    Width = 80
    Height = 17
    Caption = 'C&hecked'
    TabOrder = 3
    OnClick = CheckedBoxClick
  end
  object EnabledBox: TCheckBox
    Left = 324
    Top = 98
    Width = 80
    Height = 17
    Caption = '&Enabled'
    TabOrder = 4
    OnClick = EnabledBoxClick
  end
  object InsertButton: TButton
    Left = 236
    Top = 132
    Width = 84
    Height = 25
    Caption = '&Insert'
    TabOrder = 5
    OnClick = InsertButtonClick
  end
  object AddButton: TButton
    Left = 324
    Top = 132
    Width = 84
    Height = 25
    Caption = '&Add'
    TabOrder = 6
    OnClick = AddButtonClick
  end
  object SubMenuButton: TButton
    Left = 236
    Top = 164
    Width = 84
    Height = 25
    Caption = 'Su&bmenu'
    TabOrder = 7
    OnClick = SubMenuButtonClick
  end
  object DeleteButton: TButton
    Left = 324
    Top = 164
    Width = 84
    Height = 25
    Caption = '&Delete'
    TabOrder = 8
    OnClick = DeleteButtonClick
  end
  object UpButton: TButton
    Left = 236
    Top = 196
    Width = 84
    Height = 25
    Caption = 'Move &Up'
    TabOrder = 9
    OnClick = UpButtonClick
  end
  object DownButton: TButton
    Left = 324
    Top = 196
    Width = 84
    Height = 25
    Caption = 'Move Do&wn'
    TabOrder = 10
    OnClick = DownButtonClick
  end
end
