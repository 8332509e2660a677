object fmKvStrEdt: TfmKvStrEdt
  Left = 200
  Top = 120
  BorderStyle = bsDialog
  Caption = 'String list editor'
  ClientHeight = 279
  ClientWidth = 430
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PopupMenu = StringEditorMenu
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Bevel1: TBevel
    Left = 8
    Top = 8
    Width = 413
    Height = 229
    Shape = bsFrame
  end
  object LineCount: TLabel
    Left = 12
    Top = 12
    Width = 169
    Height = 17
    AutoSize = False
    Caption = '0 lines'
  end
  object Memo: TMemo
    Left = 16
    Top = 32
    Width = 397
    Height = 197
    TabOrder = 4
    OnChange = MemoChange
  end
  object CodeWndBtn: TButton
    Left = 8
    Top = 248
    Width = 75
    Height = 25
    Caption = '&Code Editor...'
    ModalResult = 6
    TabOrder = 1
    Visible = False
    OnClick = CodeWndBtnClick
  end
  object OKButton: TButton
    Left = 185
    Top = 248
    Width = 75
    Height = 25
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 2
  end
  object CancelButton: TButton
    Left = 265
    Top = 248
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 3
  end
  object HelpButton: TButton
    Left = 345
    Top = 248
    Width = 75
    Height = 25
    Caption = '&Help'
    TabOrder = 0
    OnClick = HelpButtonClick
  end
  object OpenDialog: TOpenDialog
    DefaultExt = 'TXT'
    Filter = 
      'Text files (*.TXT)|*.TXT|Config files (*.SYS;*.INI)|*.SYS;*.INI|' +
      'Batch files (*.BAT)|*.BAT|All files (*.*)|*.*'
    Options = [ofHideReadOnly, ofShowHelp, ofPathMustExist, ofFileMustExist]
    Title = 'Load string list'
    Left = 96
    Top = 248
  end
  object SaveDialog: TSaveDialog
    Filter = 
      'Text files (*.TXT)|*.TXT|Config files (*.SYS;*.INI)|*.SYS;*.INI|' +
      'Batch files (*.BAT)|*.BAT|All files (*.*)|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofShowHelp, ofPathMustExist]
    Title = 'Save string list'
    Left = 124
    Top = 248
  end
  object StringEditorMenu: TPopupMenu
    Left = 152
    Top = 248
    object LoadItem: TMenuItem
      Caption = '&Load...'
      OnClick = LoadItemClick
    end
    object SaveItem: TMenuItem
      Caption = '&Save...'
      OnClick = SaveItemClick
    end
    object CodeEditorItem: TMenuItem
      Caption = '&Code Editor...'
      OnClick = CodeEditorItemClick
    end
  end
end
