// The picture editor: the property editor's value texts and dialog, the component editor, and
// the window's load, save, clear and preview, driven through the real modal window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Buttons.h"
#include "CountingDesigner.h"
#include "KvPicEdt.h"
#include "ModalUser.h"
#include "TypInfo.h"

namespace fs = std::filesystem;

namespace {

constexpr TColor kRed = 0x0000FF;

void WriteFile(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

void Put16(std::string& s, uint32_t v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// A 16 x 16 one-bit icon file, all opaque.
std::string IconFile() {
  std::string image;
  Put32(image, 40), Put32(image, 16), Put32(image, 32), Put16(image, 1), Put16(image, 1);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  Put32(image, 0x0000FF), Put32(image, 0xFFFFFF);
  image += std::string(4 * 16 * 2, '\0');  // colour rows, then the mask
  std::string s;
  Put16(s, 0), Put16(s, 1), Put16(s, 1);
  s += char(16), s += char(16), s += char(2), s += '\0';
  Put16(s, 1), Put16(s, 1), Put32(s, image.size()), Put32(s, 6 + 16);
  return s + image;
}

// A 3 x 2 red PNG file.
const std::string kPngFile(
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x03\x00\x00\x00\x02\x08\x02\x00"
    "\x00\x00\x12\x16\xF1\x4D\x00\x00\x00\x10\x49\x44\x41\x54\x78\x9C\x63\xF8\xCF\xC0\x00\x41\x0C\x70\x16\x00\x41"
    "\xD2\x05\xFB\x87\xF0\xB9\x48\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
    73);

class KvPicEdtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("kvpicedt-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Owner = std::make_unique<TForm>(nullptr);
    Image = new TImage(Owner.get());
    Image->SetParent(Owner.get());
    BitBtn = new TBitBtn(Owner.get());
    BitBtn->SetParent(Owner.get());
  }
  void TearDown() override { fs::remove_all(Dir); }

  // A BMP file of the size given, filled with colour.
  fs::path BitmapFile(const std::string& name, int w, int h, TColor color = kRed) {
    TBitmap b;
    b.SetSize(w, h);
    b.Canvas()->GetBrush()->SetColor(color);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
    fs::path p = Dir / name;
    b.SaveToFile(p.string());
    return p;
  }

  std::unique_ptr<TGraphicProperty> Row(TPersistent* component, const char* prop) {
    auto ed = std::make_unique<TGraphicProperty>();
    ed->Setup(nullptr, 1);
    ed->SetPropEntry(0, component, GetPropInfo(component, prop));
    return ed;
  }

  TfmPicEdt* Window() const { return fmPicEdt; }

  // The preview as painted now, in the paint box's coordinates.
  TColor PreviewPixel(int x, int y) {
    TBitmap shot;
    GrabWindow(Window()->ImagePanel, &shot);
    return shot.Canvas()->GetPixel(Window()->ImagePaintBox->GetLeft() + x, Window()->ImagePaintBox->GetTop() + y);
  }

  fs::path Dir;
  std::unique_ptr<TForm> Owner;
  TImage* Image = nullptr;
  TBitBtn* BitBtn = nullptr;
  TModalUser User{[] { return static_cast<TCustomForm*>(fmPicEdt); }};
};

TEST_F(KvPicEdtTest, ValueTextsNameTheHeldClassOrNone) {
  EXPECT_EQ(Row(Image, "Picture")->GetValue(), "(None)");
  EXPECT_EQ(Row(BitBtn, "Glyph")->GetValue(), "(None)") << "an empty bitmap";
  EXPECT_EQ(Row(Owner.get(), "Icon")->GetValue(), "(None)");
  Image->GetPicture()->LoadFromFile(BitmapFile("a.bmp", 4, 4).string());
  BitBtn->GetGlyph()->LoadFromFile(BitmapFile("b.bmp", 4, 4).string());
  WriteFile(Dir / "i.ico", IconFile());
  Owner->GetIcon()->LoadFromFile((Dir / "i.ico").string());
  EXPECT_EQ(Row(Image, "Picture")->GetValue(), "(TPicture)") << "the picture's class, not its graphic's";
  EXPECT_EQ(Row(BitBtn, "Glyph")->GetValue(), "(TBitmap)");
  EXPECT_EQ(Row(Owner.get(), "Icon")->GetValue(), "(TIcon)");
  EXPECT_EQ(Row(Image, "Picture")->GetAttributes(), TPropertyAttributes{paDialog});
  Row(Image, "Picture")->SetValue("(None)");
  EXPECT_NE(Image->GetPicture()->GetGraphic(), nullptr) << "only an empty text clears";
  Row(Image, "Picture")->SetValue("");
  EXPECT_EQ(Image->GetPicture()->GetGraphic(), nullptr);
}

TEST_F(KvPicEdtTest, BitmapPngAndIconFilesLoadIntoThePictureAndOkWritesIt) {
  WriteFile(Dir / "p.png", kPngFile);
  WriteFile(Dir / "i.ico", IconFile());
  User.Files = {BitmapFile("a.bmp", 7, 5).string(), (Dir / "p.png").string(), (Dir / "i.ico").string()};
  std::vector<std::string> loaded;
  bool saveAtStart = true, clearAtStart = true, saveAfterLoad = false;
  User.Then([&] {
        saveAtStart = Window()->Save->GetEnabled();
        clearAtStart = Window()->Clear->GetEnabled();
        for (int i = 0; i < 3; ++i) {
          TModalUser::Click(Window()->Load);
          TPicture* p = Window()->Picture();
          loaded.push_back(p->GetGraphic()->ClassName() + " " + std::to_string(p->GetWidth()) + "x" +
                           std::to_string(p->GetHeight()));
        }
        saveAfterLoad = Window()->Save->GetEnabled() && Window()->Clear->GetEnabled();
      })
      .Then([&] { TModalUser::Click(Window()->OKButton); });
  User.Start();
  Row(Image, "Picture")->Edit();
  EXPECT_FALSE(saveAtStart);
  EXPECT_FALSE(clearAtStart);
  EXPECT_TRUE(saveAfterLoad);
  EXPECT_EQ(loaded, (std::vector<std::string>{"TBitmap 7x5", "TPngImage 3x2", "TIcon 16x16"}));
  ASSERT_NE(Image->GetPicture()->GetGraphic(), nullptr);
  EXPECT_EQ(Image->GetPicture()->GetGraphic()->ClassName(), "TIcon");
  ASSERT_EQ(User.FileDialogs.size(), 3u);
  EXPECT_EQ(User.FileDialogs[0].Title, "Load Picture");
  EXPECT_EQ(User.FileDialogs[0].Filter, GraphicFilter(TGraphic::StaticClass()));
  EXPECT_EQ(User.FileDialogs[0].DefaultExt, GraphicExtension(TGraphic::StaticClass()));
  EXPECT_EQ(User.FileDialogs[0].Options, (TOpenOptions{ofHideReadOnly, ofShowHelp, ofFileMustExist}));
  EXPECT_TRUE(User.Boxes.empty());
}

TEST_F(KvPicEdtTest, ACorruptOrUnknownFileIsReportedAndTheOldPictureStays) {
  Image->GetPicture()->LoadFromFile(BitmapFile("old.bmp", 9, 9).string());
  WriteFile(Dir / "bad.bmp", "BM this is no bitmap");
  WriteFile(Dir / "bad.png", "\x89PNG\r\n\x1a\n and then rubbish");
  WriteFile(Dir / "note.xyz", "text");
  User.Files = {(Dir / "bad.bmp").string(), (Dir / "bad.png").string(), (Dir / "note.xyz").string()};
  std::vector<int> widths;
  User.Then([&] { TModalUser::Click(Window()->Load); })
      .Then([&] { TModalUser::Click(Window()->Load); })
      .Then([&] { TModalUser::Click(Window()->Load); })
      .Then([&] {
        widths.push_back(Window()->Picture()->GetWidth());
        widths.push_back(Window()->Save->GetEnabled());
        TModalUser::Click(Window()->OKButton);
      });
  User.Start();
  Row(Image, "Picture")->Edit();
  EXPECT_EQ(widths, (std::vector<int>{9, 1}));
  EXPECT_EQ(Image->GetPicture()->GetWidth(), 9);
  EXPECT_EQ(User.Boxes, (std::vector<std::string>{"Bitmap image is not valid.", "PNG image is not valid.",
                                                  "Unknown picture file extension (.xyz)."}));
}

TEST_F(KvPicEdtTest, ClearThenOkEmptiesThePictureAndCancelKeepsIt) {
  for (bool ok : {false, true}) {
    Image->GetPicture()->LoadFromFile(BitmapFile("a.bmp", 4, 4).string());
    TModalUser user([] { return static_cast<TCustomForm*>(fmPicEdt); });
    bool saveAfterClear = true, clearAfterClear = true;
    user.Then([&] {
          TModalUser::Click(Window()->Clear);
          saveAfterClear = Window()->Save->GetEnabled();
          clearAfterClear = Window()->Clear->GetEnabled();
          TModalUser::Click(Window()->Save);  // nothing to save: no dialog
        })
        .Then([&] { TModalUser::Click(ok ? Window()->OKButton : Window()->CancelButton); });
    user.Start();
    Row(Image, "Picture")->Edit();
    EXPECT_EQ(user.StepsRun, 2);
    EXPECT_FALSE(saveAfterClear);
    EXPECT_FALSE(clearAfterClear);
    EXPECT_TRUE(user.FileDialogs.empty());
    EXPECT_EQ(Image->GetPicture()->GetGraphic() == nullptr, ok) << ok;
  }
}

TEST_F(KvPicEdtTest, SaveOffersTheGraphicsOwnFormatAndWritesAReadableFile) {
  WriteFile(Dir / "p.png", kPngFile);
  Image->GetPicture()->LoadFromFile((Dir / "p.png").string());
  const fs::path out = Dir / "copy.png";
  User.Files = {out.string()};
  User.Then([&] { TModalUser::Click(Window()->Save); }).Then([&] { TModalUser::Click(Window()->CancelButton); });
  User.Start();
  Row(Image, "Picture")->Edit();
  ASSERT_EQ(User.FileDialogs.size(), 1u);
  EXPECT_EQ(User.FileDialogs[0].Title, "Save Picture");
  EXPECT_EQ(User.FileDialogs[0].Filter, GraphicFilter(TPngImage::StaticClass()));
  EXPECT_EQ(User.FileDialogs[0].DefaultExt, "png");
  EXPECT_TRUE(User.FileDialogs[0].Options.Contains(ofOverwritePrompt));
  TPicture back;
  back.LoadFromFile(out.string());
  EXPECT_EQ(back.GetWidth(), 3);
  EXPECT_EQ(back.GetHeight(), 2);
}

TEST_F(KvPicEdtTest, ThePreviewCentresAPictureThatFitsAndShrinksOneThatDoesNot) {
  User.Files = {BitmapFile("small.bmp", 100, 50).string(), BitmapFile("wide.bmp", 446, 223).string()};
  std::vector<TColor> small, wide;
  int boxWidth = 0, boxHeight = 0;
  User.Then([&] {
        boxWidth = Window()->ImagePaintBox->GetWidth();
        boxHeight = Window()->ImagePaintBox->GetHeight();
        TModalUser::Click(Window()->Load);
      })
      .Then([&] {
        for (auto [x, y] : {std::pair{61, 86}, {160, 135}, {60, 86}, {61, 85}, {161, 135}, {160, 136}})
          small.push_back(ColorToRGB(PreviewPixel(x, y)));
        TModalUser::Click(Window()->Load);
      })
      .Then([&] {
        for (auto [x, y] : {std::pair{0, 0}, {222, 111}, {0, 112}, {222, 200}})
          wide.push_back(ColorToRGB(PreviewPixel(x, y)));
        TModalUser::Click(Window()->CancelButton);
      });
  User.Start();
  TPictureEditor editor(nullptr);
  EXPECT_FALSE(editor.Execute());
  EXPECT_EQ(boxWidth, 223);
  EXPECT_EQ(boxHeight, 223);
  const TColor window = ColorToRGB(clWindow);
  EXPECT_EQ(small, (std::vector<TColor>{kRed, kRed, window, window, window, window}));
  EXPECT_EQ(wide, (std::vector<TColor>{kRed, kRed, window, window}));
}

TEST_F(KvPicEdtTest, AGlyphPropertyGetsTheGraphicAndHelpAsksForContextZero) {
  User.Files = {BitmapFile("g.bmp", 16, 16).string()};
  std::vector<int> helpAsked;
  Application->OnHelp = [&](uint16_t command, int data, bool&) { helpAsked = {command, data}; };
  User.Then([&] {
        TModalUser::Click(Window()->HelpButton);
        TModalUser::Click(Window()->Load);
      })
      .Then([&] { TModalUser::Click(Window()->OKButton); });
  User.Start();
  Row(BitBtn, "Glyph")->Edit();
  Application->OnHelp = nullptr;
  EXPECT_EQ(BitBtn->GetGlyph()->GetWidth(), 16);
  EXPECT_EQ(helpAsked, (std::vector<int>{HELP_CONTEXT, 0}));
}

TEST_F(KvPicEdtTest, TheComponentEditorEditsPictureAndIgnoresComponentsWithoutOne) {
  Image->GetPicture()->LoadFromFile(BitmapFile("a.bmp", 4, 4).string());
  User.Then([&] { TModalUser::Click(Window()->Clear); }).Then([&] { TModalUser::Click(Window()->OKButton); });
  User.Start();
  TCountingDesigner designer;
  TGraphicEditor editor;
  editor.Setup(Image, &designer);
  editor.Edit();
  EXPECT_EQ(User.StepsRun, 2);
  EXPECT_EQ(Image->GetPicture()->GetGraphic(), nullptr);
  EXPECT_EQ(designer.ModifiedCount, 1) << "the design knows it changed";

  TModalUser none([] { return static_cast<TCustomForm*>(fmPicEdt); });
  none.Then([] { ADD_FAILURE() << "no dialog without a Picture"; });
  none.Start();
  TGraphicEditor onButton;
  onButton.Setup(BitBtn, nullptr);
  onButton.Edit();
  EXPECT_EQ(fmPicEdt, nullptr);
}

TEST_F(KvPicEdtTest, RegisteringGivesPictureRowsAndImagesTheirEditors) {
  RegisterPictureEditors();
  EXPECT_EQ(GetEditorClass(GetPropInfo(Image, "Picture"), Image), TGraphicProperty::StaticClass());
  EXPECT_EQ(GetEditorClass(GetPropInfo(BitBtn, "Glyph"), BitBtn), TGraphicProperty::StaticClass());
  EXPECT_EQ(GetEditorClass(GetPropInfo(Owner.get(), "Icon"), Owner.get()), TGraphicProperty::StaticClass());
  std::unique_ptr<TComponentEditor> editor(GetComponentEditor(Image, nullptr));
  EXPECT_EQ(editor->ClassType(), TGraphicEditor::StaticClass());
}

}  // namespace
