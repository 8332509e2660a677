// A form holding every class of StdCtrls, ExtCtrls and Buttons, rendered by `kvform render`
// into the build tree (gallery.png) for a person to look at, and checked at a few pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Graphics.h"

namespace fs = std::filesystem;

namespace {

#ifndef KV_BIN_DIR
#define KV_BIN_DIR ""
#endif

const char* kGallery = R"(object Gallery: TForm
  Left = 0
  Top = 0
  Width = 560
  Height = 400
  Caption = 'Gallery'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 8
    Top = 12
    Width = 40
    Height = 13
    Caption = '&Name:'
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 56
    Top = 8
    Width = 121
    Height = 21
    TabOrder = 0
    Text = 'Edit text'
  end
  object Memo1: TMemo
    Left = 8
    Top = 40
    Width = 169
    Height = 57
    Lines.Strings = (
      'Memo line one'
      'Memo line two')
    TabOrder = 1
  end
  object Button1: TButton
    Left = 8
    Top = 104
    Width = 75
    Height = 25
    Caption = 'Button'
    Default = True
    TabOrder = 2
  end
  object CheckBox1: TCheckBox
    Left = 96
    Top = 108
    Width = 97
    Height = 17
    Caption = 'Check box'
    State = cbChecked
    TabOrder = 3
  end
  object RadioButton1: TRadioButton
    Left = 8
    Top = 136
    Width = 113
    Height = 17
    Caption = 'Radio button'
    Checked = True
    TabOrder = 4
  end
  object ListBox1: TListBox
    Left = 8
    Top = 160
    Width = 121
    Height = 65
    ItemHeight = 13
    Items.Strings = (
      'First'
      'Second'
      'Third')
    ItemIndex = 1
    TabOrder = 5
  end
  object ComboBox1: TComboBox
    Left = 136
    Top = 160
    Width = 121
    Height = 21
    ItemHeight = 13
    TabOrder = 6
    Text = 'Combo box'
    Items.Strings = (
      'One'
      'Two')
  end
  object ScrollBar1: TScrollBar
    Left = 8
    Top = 232
    Width = 249
    Height = 16
    Position = 30
    TabOrder = 7
  end
  object GroupBox1: TGroupBox
    Left = 192
    Top = 8
    Width = 177
    Height = 89
    Caption = 'Group box'
    TabOrder = 8
    object StaticText1: TStaticText
      Left = 12
      Top = 24
      Width = 80
      Height = 17
      BorderStyle = sbsSunken
      Caption = 'Static text'
      TabOrder = 0
    end
  end
  object RadioGroup1: TRadioGroup
    Left = 384
    Top = 8
    Width = 161
    Height = 89
    Caption = 'Radio group'
    Columns = 2
    ItemIndex = 0
    Items.Strings = (
      'Alpha'
      'Beta'
      'Gamma')
    TabOrder = 9
  end
  object Panel1: TPanel
    Left = 192
    Top = 104
    Width = 177
    Height = 49
    BevelInner = bvLowered
    Caption = 'Panel'
    TabOrder = 10
  end
  object Bevel1: TBevel
    Left = 384
    Top = 104
    Width = 161
    Height = 49
  end
  object Shape1: TShape
    Left = 272
    Top = 160
    Width = 49
    Height = 49
    Brush.Color = clYellow
    Shape = stCircle
  end
  object Shape2: TShape
    Left = 328
    Top = 160
    Width = 49
    Height = 49
    Brush.Color = clAqua
    Shape = stRoundRect
  end
  object PaintBox1: TPaintBox
    Left = 384
    Top = 160
    Width = 65
    Height = 49
  end
  object Image1: TImage
    Left = 456
    Top = 160
    Width = 89
    Height = 49
  end
  object SpeedButton1: TSpeedButton
    Left = 8
    Top = 264
    Width = 23
    Height = 22
    GroupIndex = 1
    Down = True
    Caption = 'B'
  end
  object SpeedButton2: TSpeedButton
    Left = 32
    Top = 264
    Width = 23
    Height = 22
    GroupIndex = 1
    Caption = 'I'
  end
  object SpeedButton3: TSpeedButton
    Left = 56
    Top = 264
    Width = 60
    Height = 22
    Flat = True
    Caption = 'Flat'
  end
  object BitBtn1: TBitBtn
    Left = 136
    Top = 264
    Width = 75
    Height = 25
    TabOrder = 11
    Kind = bkOK
  end
  object BitBtn2: TBitBtn
    Left = 216
    Top = 264
    Width = 75
    Height = 25
    TabOrder = 12
    Kind = bkCancel
  end
  object BitBtn3: TBitBtn
    Left = 296
    Top = 264
    Width = 75
    Height = 25
    TabOrder = 13
    Kind = bkHelp
  end
  object BitBtn4: TBitBtn
    Left = 376
    Top = 264
    Width = 75
    Height = 25
    TabOrder = 14
    Kind = bkYes
  end
  object BitBtn5: TBitBtn
    Left = 456
    Top = 264
    Width = 75
    Height = 25
    TabOrder = 15
    Kind = bkNo
  end
  object BitBtn6: TBitBtn
    Left = 136
    Top = 296
    Width = 75
    Height = 25
    TabOrder = 16
    Kind = bkClose
  end
  object BitBtn7: TBitBtn
    Left = 216
    Top = 296
    Width = 75
    Height = 25
    TabOrder = 17
    Kind = bkAbort
  end
  object BitBtn8: TBitBtn
    Left = 296
    Top = 296
    Width = 75
    Height = 25
    TabOrder = 18
    Kind = bkRetry
  end
  object BitBtn9: TBitBtn
    Left = 376
    Top = 296
    Width = 75
    Height = 25
    TabOrder = 19
    Kind = bkIgnore
  end
  object BitBtn10: TBitBtn
    Left = 456
    Top = 296
    Width = 75
    Height = 25
    TabOrder = 20
    Kind = bkAll
  end
end
)";

TEST(Gallery, EveryStandardControlRendersToPng) {
  fs::path bin = KV_BIN_DIR;
  fs::path exe = bin / "kvform";
  if (!fs::exists(exe)) GTEST_SKIP() << "kvform not built";
  fs::path dfm = fs::temp_directory_path() / ("gallery-" + std::to_string(::getpid()) + ".dfm");
  std::ofstream(dfm) << kGallery;
  fs::path png = bin.parent_path() / "gallery.png";
  fs::remove(png);
  std::string cmd = "'" + exe.string() + "' render '" + dfm.string() + "' '" + png.string() + "' 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  fs::remove(dfm);
  ASSERT_TRUE(fs::exists(png));
  TPicture pic;
  pic.LoadFromFile(png.string());
  ASSERT_GE(pic.GetWidth(), 540);
  TBitmap bmp;
  bmp.SetSize(pic.GetWidth(), pic.GetHeight());
  bmp.Canvas()->Draw(0, 0, pic.GetGraphic());
  EXPECT_EQ(bmp.Canvas()->GetPixel(296, 184), clYellow) << "the circle's middle";
  EXPECT_EQ(bmp.Canvas()->GetPixel(192, 104), clWhite) << "the panel's raised edge";
}

}  // namespace
