object fmKvFrmDsg: TfmKvFrmDsg
  Left = 154
  Top = 99
  Width = 572
  Height = 100
  Caption = 'Form Designer'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  Menu = MainMenu1
  OldCreateOrder = True
  ShowHint = True
  OnActivate = FormActivate
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnHide = FormHide
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Bevel1: TBevel
    Left = 0
    Top = 0
    Width = 564
    Height = 4
    Align = alTop
    Shape = bsTopLine
  end
  object PanelSpeedbar: TPanel
    Left = 0
    Top = 4
    Width = 157
    Height = 50
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 0
    object btOpenFile: TBitBtn
      Left = 4
      Top = 4
      Width = 24
      Height = 24
      Hint = 'Open file'
      Glyph.Data = {
        F6000000424DF600000000000000760000002800000010000000100000000100
        0400000000008000000000000000000000000000000000000000000000000000
        80000080000000808000800000008000800080800000C0C0C000808080000000
        FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00DDDDDDDDDDDD
        DDDDDDDDDDDDDDDDDDDDD00000000000DDDDD00BBBBBBBBB0DDDD030BBBBBBBB
        B0DDD0330BBBBBBBBB0DD033300000000000D03333333333330DD03333300000
        00DDD033330DDDDDDDDDDD0000DDDDDDD000DDDDDDDDDDDDDD00DDDDDDDDD0DD
        D0D0DDDDDDDDDD000DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD}
      TabOrder = 0
      TabStop = False
      OnClick = OpenFileItemClick
    end
    object btSaveFile: TBitBtn
      Left = 28
      Top = 4
      Width = 24
      Height = 24
      Hint = 'Save file'
      Enabled = False
      Glyph.Data = {
        F6000000424DF600000000000000760000002800000010000000100000000100
        0400000000008000000000000000000000000000000000000000000000000000
        80000080000000808000800000008000800080800000C0C0C000808080000000
        FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00DDDDDDDDDDDD
        DDDDD00000000000000DD04447777774440DD04447007774440DD04447007774
        440DD04447007774440DD04447777774440DD04444444444440DD04444444444
        440DD04FFFFFFFFFF40DD04F00000000F40DD04FFFFFFFFFF40DD04F00000000
        F40DD04FFFFFFFFFF40DD00000000000000DDDDDDDDDDDDDDDDD}
      TabOrder = 1
      TabStop = False
      OnClick = SaveFileItemClick
    end
    object btNewForm: TBitBtn
      Left = 52
      Top = 4
      Width = 24
      Height = 24
      Hint = 'New form'
      Glyph.Data = {
        F6000000424DF600000000000000760000002800000010000000100000000100
        0400000000008000000000000000000000000000000000000000000000000000
        80000080000000808000800000008000800080800000C0C0C000808080000000
        FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00DDDDDDDDDDDD
        DDDD00000000000DDDDD0FFFFFFFFF0DDDDD0F8FF8FF8F0DDDDD0FFFFFFFFF0D
        DDDD0FFFFFFFFF0DDDDD0F8FF8FF8F0DDDDD0FFFFFFFFF0DDDDD04444444440D
        DDDD04444444440D3DDD00000000003DBD3DDDDDDDDDDDDBBBDDDDDDDDDDD3BB
        BBB3DDDDDDDDDDDBBBDDDDDDDDDDDD3DBD3DDDDDDDDDDDDD3DDD}
      TabOrder = 2
      TabStop = False
      OnClick = NewFormItemClick
    end
    object btSelectForm: TBitBtn
      Left = 76
      Top = 4
      Width = 24
      Height = 24
      Hint = 'Select form from list'
      Glyph.Data = {
        F6000000424DF600000000000000760000002800000010000000100000000100
        0400000000008000000000000000000000000000000000000000000000000000
        80000080000000808000800000008000800080800000C0C0C000808080000000
        FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00DDDDDDDDDDDD
        DDDDDDDDDD0000000000DDDDDD0FFFFFFFF0DDDDDD0FFFFFFFF0DDD0000FFFFF
        FFF0DDD0FF0FFFFFFFF0DDD0FF04444444400000FF04444444400FF0FF000000
        00000FF0888888880DDD0FF0888888880DDD0FF0000000000DDD0888888880DD
        DDDD0888888880DDDDDD0000000000DDDDDDDDDDDDDDDDDDDDDD}
      TabOrder = 3
      TabStop = False
      OnClick = SelectFormItemClick
    end
  end
  object SizingToolbar: TPanel
    Left = 153
    Top = 2
    Width = 2
    Height = 62
    BevelOuter = bvLowered
    Cursor = crHSplit
    TabOrder = 4
    OnMouseDown = SizingToolbarMouseDown
    OnMouseMove = SizingToolbarMouseMove
    OnMouseUp = SizingToolbarMouseUp
  end
  object PanelPalette: TPanel
    Left = 157
    Top = 2
    Width = 407
    Height = 34
    Cursor = crArrow
    Enabled = False
    TabOrder = 1
    OnMouseDown = SizingToolbarMouseDown
    OnMouseMove = SizingToolbarMouseMove
    OnMouseUp = SizingToolbarMouseUp
  end
  object KvTabbedNotebook1: TKvTabbedNotebook
    Left = 158
    Top = 8
    Width = 405
    Height = 41
    TabFont.Charset = DEFAULT_CHARSET
    TabFont.Color = clBtnText
    TabFont.Height = -11
    TabFont.Name = 'MS Sans Serif'
    TabFont.Style = []
    ShowHint = True
    TabOrder = 3
    UseRegistered = True
  end
  object MainMenu1: TMainMenu
    Left = 200
    Top = 8
    object FileItem: TMenuItem
      Caption = '&File'
      object NewFormItem: TMenuItem
        Caption = 'New &Form'
        OnClick = NewFormItemClick
      end
      object OpemFileItem: TMenuItem
        Caption = '&Open File...'
        OnClick = OpenFileItemClick
      end
      object SaveFileItem: TMenuItem
        Caption = '&Save File'
        Enabled = False
        ShortCut = 16467
        OnClick = SaveFileItemClick
      end
      object SaveFileAsItem: TMenuItem
        Caption = 'Save File &As...'
        OnClick = SaveFileAsItemClick
      end
      object GenerateUnitAsItem: TMenuItem
        Caption = '&Generate Unit As...'
        OnClick = GenerateUnitAsItemClick
      end
      object CloseItem: TMenuItem
        Caption = '&Close'
        OnClick = CloseItemClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
        OnClick = ExitItemClick
      end
    end
    object EditItem: TMenuItem
      Caption = '&Edit'
      object UndoItem: TMenuItem
        Caption = 'Undo'
        Enabled = False
        ShortCut = 16474
        OnClick = UndoItemClick
      end
      object RedoItem: TMenuItem
        Caption = 'Redo'
        Enabled = False
        ShortCut = 24666
        OnClick = RedoItemClick
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object CutItem: TMenuItem
        Caption = 'Cu&t'
        ShortCut = 16472
        OnClick = CutItemClick
      end
      object CopyItem: TMenuItem
        Caption = '&Copy'
        ShortCut = 16451
        OnClick = CopyItemClick
      end
      object PasteItem: TMenuItem
        Caption = '&Paste'
        ShortCut = 16470
        OnClick = PasteItemClick
      end
      object DeleteItem: TMenuItem
        Caption = '&Delete'
        OnClick = DeleteItemClick
      end
      object N4: TMenuItem
        Caption = '-'
      end
      object AligntoGridItem: TMenuItem
        Caption = 'Align to &Grid'
        OnClick = AligntoGridItemClick
      end
      object BringToFrontItem: TMenuItem
        Caption = 'Bring to &Front'
        OnClick = BringToFrontItemClick
      end
      object SendToBackItem: TMenuItem
        Caption = 'Send to &Back'
        OnClick = SendToBackItemClick
      end
      object AlignItem: TMenuItem
        Caption = '&Align...'
        OnClick = AlignItemClick
      end
      object SizeItem: TMenuItem
        Caption = '&Size...'
        OnClick = SizeItemClick
      end
    end
    object ViewItem: TMenuItem
      Caption = '&View'
      object ObjectInspectorItem: TMenuItem
        Caption = '&Object Inspector'
        ShortCut = 122
        OnClick = ObjectInspectorItemClick
      end
      object AlignmentPaletteItem: TMenuItem
        Caption = '&Alignment Palette'
        OnClick = AlignmentPaletteItemClick
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object SelectFormItem: TMenuItem
        Caption = '&Forms...'
        ShortCut = 8315
        OnClick = SelectFormItemClick
      end
    end
    object ToolsItem: TMenuItem
      Caption = '&Tools'
      object EnvironmentOptionsItem: TMenuItem
        Caption = 'Environment &Options...'
        OnClick = EnvironmentOptionsItemClick
      end
    end
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Delphi form (*.dfm)|*.dfm'
    Left = 232
    Top = 8
  end
  object SaveDialog1: TSaveDialog
    Filter = 'Delphi form (*.dfm)|*.dfm|Delphi form & unit (*.pas)|*.pas'
    Options = [ofOverwritePrompt, ofHideReadOnly]
    Left = 264
    Top = 8
  end
  object KvObjectInspector1: TKvObjectInspector
    Left = 296
    Top = 8
  end
end
