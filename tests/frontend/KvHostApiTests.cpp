// What a host does with the designer component from code: the list of designs, saving, streams,
// closing, and the events.
#include <filesystem>

#include "Classes.h"
#include "DesignerFixture.h"
#include "SysUtils.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), s.GetSize()); }

std::string TempFile(const std::string& name) {
  return (fs::temp_directory_path() / ("kvhost-" + std::to_string(::getpid()) + "-" + name)).string();
}

}  // namespace

TEST_F(DesignerTest, TheHostListsSavesAndStreamsDesigns) {
  ASSERT_EQ(Designer->DesignCount(), 1);
  EXPECT_EQ(Designer->Designs(0), Engine);
  EXPECT_EQ(Designer->ActiveDesign(), Engine);
  EXPECT_THROW(Designer->Designs(1), EListError);
  Add<TButton>("Button1", 8, 8, 75, 25)->SetCaption("Go");

  try {
    Designer->Save(Engine);
    FAIL() << "a design without a file saved";
  } catch (const EKvDesignError& e) {
    EXPECT_STREQ(e.what(), "Form1 has no file yet: save it with SaveAs");
  }
  const std::string file = TempFile("Unit1.dfm");
  Designer->SaveAs(Engine, file, true);
  EXPECT_FALSE(Engine->FModified);
  EXPECT_EQ(Engine->FFileName, file);
  EXPECT_TRUE(FileExists(ChangeFileExt(file, ".pas")));

  // The binary stream is the file's bytes; the text one converts back to them.
  TMemoryStream binary, text, back;
  Designer->SaveToStream(Engine, &binary);
  EXPECT_EQ(Bytes(binary), ReadFileBytes(file));
  Designer->SaveToStream(Engine, &text, true);
  EXPECT_NE(Bytes(text).find("Caption = 'Go'"), std::string::npos) << Bytes(text);
  text.SetPosition(0);
  ObjectTextToResource(&text, &back);
  EXPECT_EQ(Bytes(back), Bytes(binary));
  EXPECT_FALSE(Engine->FModified);

  Engine->Modified();
  Designer->Save(Engine);  // to its own file now
  EXPECT_FALSE(Engine->FModified);
  DeleteFile(file);
  DeleteFile(ChangeFileExt(file, ".pas"));
}

TEST_F(DesignerTest, EventsComeOncePerGestureAndPerSelectionChange) {
  auto* button = Add<TButton>("Button1", 16, 16, 75, 25);
  std::vector<std::string> heard;
  Designer->OnDesignModified = [&](TObject* sender, TKFormDesigner* d) {
    EXPECT_EQ(sender, Designer);
    EXPECT_EQ(d, Engine);
    heard.push_back("modified");
  };
  Designer->OnSelectionChanged = [&](TObject*, TKFormDesigner* d) {
    EXPECT_EQ(d, Engine);
    heard.push_back("selection");
  };
  Drag({30, 30}, {54, 46});  // press selects the button, the drag moves it
  EXPECT_EQ(button->GetLeft(), 40);
  EXPECT_EQ(heard, (std::vector<std::string>{"selection", "modified"}));
  heard.clear();
  Drag({44, 36}, {44, 36});  // a click on the selected button changes nothing
  EXPECT_EQ(heard, std::vector<std::string>{});
  Drag({300, 200}, {300, 200});  // the form
  EXPECT_EQ(heard, std::vector<std::string>{"selection"});
}

TEST_F(DesignerTest, TheHostAnswersTheSavePromptOrDiscardsEverything) {
  TModalResult answer = mrCancel;
  int asked = 0;
  Designer->OnSaveQuery = [&](TObject*, TKFormDesigner* d, TModalResult& result) {
    EXPECT_EQ(d, Engine);
    ++asked;
    result = answer;
  };
  EXPECT_FALSE(Designer->CloseAll(false));  // Cancel keeps it
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(Designer->DesignCount(), 1);

  answer = mrNo;
  EXPECT_TRUE(Designer->CloseAll(false));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Designer->DesignCount(), 0);

  // Discarding asks nobody.
  Designer->NewForm();
  ASSERT_EQ(Designer->DesignCount(), 1);
  EXPECT_TRUE(Designer->ActiveDesign()->FModified);
  EXPECT_TRUE(Designer->CloseAll(true));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Designer->DesignCount(), 0);
}
