// The image list editor and the image list's editing: images added from picture files (the
// bottom-left pixel transparent), deleted, moved, kept by OK only, and stored in the form file.
#include <filesystem>

#include "ComCtrls.h"
#include "DesignerFixture.h"
#include "KvImgEdt.h"

namespace {

namespace fs = std::filesystem;

// A width x 16 bitmap file of solid colours, 16 columns each, whose bottom-left pixel is white.
std::string PictureFile(const std::string& name, std::initializer_list<TColor> colours) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(16 * static_cast<int>(colours.size()), 16);
  int x = 0;
  for (TColor c : colours) {
    b.Canvas()->GetBrush()->SetColor(c);
    b.Canvas()->FillRect(Bounds(x, 0, 16, 16));
    x += 16;
  }
  b.Canvas()->SetPixel(0, 15, clWhite);
  fs::path file = fs::temp_directory_path() / ("kvimgedt-" + name + ".bmp");
  b.SaveToFile(file.string());
  return file.string();
}

// The colour of image i at (x, y), drawn over grey.
TColor PixelOf(TImageList* list, int i, int x = 8, int y = 8) {
  TBitmap b;
  b.SetSize(16, 16);
  b.Canvas()->GetBrush()->SetColor(clGray);
  b.Canvas()->FillRect(Rect(0, 0, 16, 16));
  list->Draw(b.Canvas(), 0, 0, i);
  return ColorToRGB(b.Canvas()->GetPixel(x, y));
}

std::vector<TColor> Colours(TImageList* list) {
  std::vector<TColor> out;
  for (int i = 0; i < list->Count(); ++i) out.push_back(PixelOf(list, i));
  return out;
}

class ImageListEditorTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    List = static_cast<TImageList*>(Engine->CreateComponent(TImageList::StaticClass(), Form(), 40, 40, 0, 0));
  }
  // Double-clicks the list's icon; the editor's window gets `steps`, then answers `result`.
  void Edit(TModalResult result, std::function<void(TfmKvImgEdt*)> steps) {
    AnswerNextModal(result, [steps](TCustomForm* f) { steps(dynamic_cast<TfmKvImgEdt*>(f)); });
    TPoint p = Form()->ScreenToClient(Engine->IconOf(List)->ClientToScreen({10, 10}));
    SendInput(Form(), WM_LBUTTONDBLCLK, p, MK_LBUTTON);
  }
  TImageList* List = nullptr;
};

}  // namespace

TEST(ImageListEditing, ImagesAreAddedMovedDeletedAndCountedByTheStreamsHeader) {
  TImageList list(nullptr);
  TBitmap strip;
  strip.LoadFromFile(PictureFile("five", {clRed, clLime, clBlue, clYellow, clAqua}));
  EXPECT_EQ(list.AddMasked(&strip, clWhite), 0);
  // Five images in a strip that has room for eight: the header's count is what the list holds.
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(Colours(&list), (std::vector<TColor>{clRed, clLime, clBlue, clYellow, clAqua}));
  EXPECT_EQ(PixelOf(&list, 0, 0, 15), clGray);  // transparent where the picture was white
  list.Move(0, 4);
  list.Delete(1);
  EXPECT_EQ(Colours(&list), (std::vector<TColor>{clLime, clYellow, clAqua, clRed}));
  EXPECT_THROW(list.Delete(4), EInvalidOperation);
  EXPECT_THROW(list.Move(-1, 0), EInvalidOperation);

  // What the stream says survives a copy made from the stored bytes alone.
  TImageList copy(nullptr);
  copy.SetBitmapData(list.BitmapData());
  EXPECT_EQ(Colours(&copy), Colours(&list));
  EXPECT_EQ(PixelOf(&copy, 3, 0, 15), clGray);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.BitmapData().empty());

  // A stored stream the list cannot decode is left alone.
  TImageList odd(nullptr);
  odd.SetBitmapData("IL\x01\x01not a bitmap");
  EXPECT_THROW(odd.AddMasked(&strip, clNone), EInvalidGraphic);
  EXPECT_EQ(odd.BitmapData(), std::string("IL\x01\x01not a bitmap"));
}

TEST_F(ImageListEditorTest, OkStoresTheEditedImagesInTheFormFileCancelKeepsTheOldOnes) {
  const std::string two = PictureFile("two", {clRed, clBlue});
  const std::string one = PictureFile("one", {clLime});
  Edit(mrOk, [&](TfmKvImgEdt* w) {
    ASSERT_NE(w, nullptr);
    w->AddFile(two);
    w->AddFile(one);
    EXPECT_EQ(w->Selected(), 2);
    w->LeftButtonClick(w);
    w->Select(0);
    w->DeleteButtonClick(w);
    EXPECT_THROW(w->AddFile((fs::temp_directory_path() / "kvimgedt-none.bmp").string()), Exception);
  });
  EXPECT_EQ(Colours(List), (std::vector<TColor>{clLime, clBlue}));
  EXPECT_TRUE(Engine->FModified);

  Engine->FModified = false;
  Edit(mrCancel, [&](TfmKvImgEdt* w) {
    EXPECT_EQ(w->Images()->Count(), 2);
    w->ClearButtonClick(w);
  });
  EXPECT_EQ(List->Count(), 2);
  EXPECT_FALSE(Engine->FModified);

  fs::path file = fs::temp_directory_path() / "kvimgedt-saved.dfm";
  Engine->WriteUnits(file.string(), false);
  Engine->Destroy();
  Engine = nullptr;
  Designer->OpenForm(file.string());
  fs::remove(file);
  auto* again = dynamic_cast<TImageList*>(Designer->FDesignerWindow->CurrentDesigner()->GetForm()->FindComponent("ImageList1"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Colours(again), (std::vector<TColor>{clLime, clBlue}));
  EXPECT_EQ(PixelOf(again, 0, 0, 15), clGray);
}
