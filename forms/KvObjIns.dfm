object fmKvObjIns: TfmKvObjIns
  Left = 209
  Top = 177
  Width = 207
  Height = 372
  VertScrollBar.Visible = False
  Caption = 'Object Inspector'
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnResize = FormResize
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object ComponentPanel: TPanel
    Left = 0
    Top = 0
    Width = 199
    Height = 29
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object ComponentList: TComboBox
      Left = 3
      Top = 3
      Width = 190
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      Sorted = True
      TabOrder = 0
      OnChange = ComponentListChange
      OnDropDown = ComponentListDropDown
    end
    object ComponentPath: TPanel
      Left = 5
      Top = 5
      Width = 170
      Height = 17
      Alignment = taLeftJustify
      BevelOuter = bvNone
      Color = clWindow
      Enabled = False
      TabOrder = 1
    end
  end
  object KvTabbedNotebook1: TKvTabbedNotebook
    Left = 0
    Top = 29
    Width = 199
    Height = 316
    Align = alClient
    TabFont.Charset = DEFAULT_CHARSET
    TabFont.Color = clBtnText
    TabFont.Height = -11
    TabFont.Name = 'MS Sans Serif'
    TabFont.Style = []
    ShowHint = True
    TabOrder = 1
    object TKvTabPage
      Caption = 'Properties'
      object GridPanel1: TPanel
        Left = 0
        Top = 0
        Width = 191
        Height = 288
        Align = alClient
        BevelOuter = bvLowered
        BevelWidth = 2
        TabOrder = 0
        object PropertyGrid: TStringGrid
          Left = 2
          Top = 2
          Width = 187
          Height = 284
          Align = alClient
          BorderStyle = bsNone
          Color = clBtnFace
          ColCount = 2
          DefaultColWidth = 80
          DefaultRowHeight = 15
          FixedCols = 0
          FixedRows = 0
          Options = [goHorzLine, goThumbTracking]
          ScrollBars = ssVertical
          TabOrder = 0
          TabStop = False
          OnClick = NamePanelClick
          OnDblClick = NamePanelDblClick
          OnSelectCell = PropertyGridSelectCell
          OnTopLeftChanged = PropertyGridTopLeftChanged
        end
        object NamePanel: TPanel
          Left = 2
          Top = 81
          Width = 81
          Height = 18
          Alignment = taLeftJustify
          BevelOuter = bvLowered
          BevelWidth = 2
          Enabled = False
          TabOrder = 1
          OnClick = NamePanelClick
          OnDblClick = NamePanelDblClick
        end
        object ValuePanel: TPanel
          Left = 81
          Top = 81
          Width = 105
          Height = 18
          Alignment = taLeftJustify
          BevelOuter = bvLowered
          BevelWidth = 2
          TabOrder = 2
          Visible = False
          object ValueEdit: TEdit
            Left = 0
            Top = 3
            Width = 85
            Height = 18
            AutoSize = False
            BorderStyle = bsNone
            TabOrder = 0
            OnChange = ValueEditChanged
            OnDblClick = EditButtonClick
            OnExit = ValueEditExit
            OnKeyDown = ValueEditKeyDown
          end
          object ValueList: TComboBox
            Left = 0
            Top = 0
            Width = 103
            Height = 21
            ItemHeight = 13
            Sorted = True
            TabOrder = 1
            OnChange = ValueListChange
            OnClick = ValueListClick
            OnDblClick = EditButtonClick
            OnDropDown = ValueListDropDown
            OnExit = ValueListExit
            OnKeyDown = ValueListKeyDown
          end
          object EditButton: TBitBtn
            Left = 84
            Top = 2
            Width = 16
            Height = 15
            TabOrder = 2
            TabStop = False
            OnClick = EditButtonClick
            Glyph.Data = {
              C6000000424DC60000000000000076000000280000000A0000000A0000000100
              0400000000005000000000000000000000000000000000000000000000000000
              80000080000000808000800000008000800080800000C0C0C000808080000000
              FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00DDDDDDDDDD00
              0000DDDDDDDDDD000000DDDDDDDDDD000000DDDDDDDDDD000000D00D00D00D00
              0000D00D00D00D000000DDDDDDDDDD000000DDDDDDDDDD000000DDDDDDDDDD00
              0000DDDDDDDDDD000000}
          end
        end
        object SeperatorPanel: TPanel
          Left = 80
          Top = 2
          Width = 2
          Height = 253
          Cursor = crHSplit
          BevelOuter = bvLowered
          TabOrder = 3
          OnMouseDown = SeperatorPanelMouseDown
          OnMouseMove = SeperatorPanelMouseMove
          OnMouseUp = SeperatorPanelMouseUp
        end
      end
    end
  end
end
