// The surface helper controls (icon, palette button, field drag), the close-query callback
// type, and the look-up of an open form by the name in its form file.
#include <gtest/gtest.h>
#include <unistd.h>

#include "Db.h"
#include "Forms.h"
#include "KvClass.h"
#include "StdReg.h"

namespace {
struct KvClassSurface : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    RegisterStandardClasses();
    Form = new TForm(nullptr);
    Form->SetBounds(40, 40, 300, 200);
  }
  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
  }
  static std::pair<int, int> DesignPos(const TComponent* c) {
    const auto info = static_cast<uint32_t>(c->GetDesignInfo());
    return {static_cast<int16_t>(info & 0xFFFF), static_cast<int16_t>(info >> 16)};
  }
};

TEST_F(KvClassSurface, IconKeepsItsSizeAndRecordsItsPositionInTheComponent) {
  auto* source = new TDataSource(Form);
  auto* icon = new TKvIcon(Form);
  icon->SetParent(Form);
  icon->SetComponent(source);
  EXPECT_EQ(icon->BoundsRect(), Bounds(0, 0, 28, 28));  // DesignInfo 0

  icon->SetBounds(10, 20, 100, 100);
  EXPECT_EQ(icon->BoundsRect(), Bounds(10, 20, 28, 28));
  EXPECT_EQ(DesignPos(source), std::make_pair(10, 20));
  icon->SetBounds(-5, 7, 28, 28);
  EXPECT_EQ(DesignPos(source), std::make_pair(-5, 7));

  // A second icon for a component with a recorded position goes there.
  source->SetDesignInfo(static_cast<int32_t>(40u << 16 | 120u));
  auto* other = new TKvIcon(Form);
  other->SetComponent(source);
  EXPECT_EQ(other->BoundsRect(), Bounds(120, 40, 28, 28));
}

TEST_F(KvClassSurface, IconOutlivesItsComponent) {
  auto* source = new TDataSource(Form);
  auto* icon = new TKvIcon(Form);
  icon->SetComponent(source);
  delete source;
  EXPECT_EQ(icon->Component(), nullptr);
  icon->SetBounds(30, 30, 50, 50);
  EXPECT_EQ(icon->BoundsRect(), Bounds(30, 30, 28, 28));
}

TEST_F(KvClassSurface, DestroyedPaletteButtonLeavesItsListAndSaysSo) {
  TList buttons;
  auto* first = new TKvSpeedButton(Form);
  auto* second = new TKvSpeedButton(Form);
  for (auto* b : {first, second}) {
    b->ButtonList = &buttons;
    buttons.Add(b);
  }
  EXPECT_TRUE(first->ControlStyle.Contains(csNoDesignVisible));
  TObject* told = nullptr;
  first->OnDestroy = [&](TObject* sender) { told = sender; };
  delete first;
  EXPECT_EQ(told, first);
  ASSERT_EQ(buttons.Count(), 1);
  EXPECT_EQ(buttons[0], second);
  second->ButtonList = nullptr;  // a list the button is not in is left alone
}

TEST_F(KvClassSurface, FieldDragReachesTheDropTargetWithItsFields) {
  Form->Show();
  Application->ProcessMessages();
  TDataSource fields(nullptr);  // any component stands in for a field: the list does not own them
  TKvDragField drag(Form);
  drag.FieldList->Add(&fields);
  EXPECT_EQ(drag.Control, Form);

  // The designer sees the drag object itself in the drag record, as the engine's drop does.
  TObject* dropped = nullptr;
  auto previous = Form->WindowProc;
  Form->WindowProc = [&](TMessage& m) {
    if (m.Msg != CM_DRAG) return previous(m);
    TCMDrag d(m);
    if (d.DragMessage() == dmFindTarget) m.Result = reinterpret_cast<intptr_t>(Form);
    else m.Result = Cast<TKvDragField>(d.DragRec()->Source) != nullptr;
    if (d.DragMessage() == dmDragDrop) dropped = d.DragRec()->Source;
  };
  const TPoint inside = Form->ClientToScreen({50, 50});
  SetCursorPos(inside.X, inside.Y);
  BeginDragObject(&drag, Form);
  DragTo(inside);
  DragDone(true);
  Form->WindowProc = previous;
  ASSERT_EQ(dropped, &drag);
  EXPECT_EQ(static_cast<TKvDragField*>(dropped)->FieldList->Get(0), &fields);
}

TEST(KvClassCloseQuery, BindsMemberFunctionsAndAnswersTrueWhenUnassigned) {
  struct TWindow : TComponent {
    using TComponent::TComponent;
    bool Allow = false;
    TObject* Asked = nullptr;
    bool CloseDesigner(TObject* sender) {
      Asked = sender;
      return Allow;
    }
  } window(nullptr);
  TKvDesignerDestroy callback;
  EXPECT_FALSE(callback);
  EXPECT_TRUE(callback(&window));

  callback = {&window, &TWindow::CloseDesigner};
  EXPECT_TRUE(callback);
  EXPECT_EQ(callback.Data(), &window);
  EXPECT_FALSE(callback(&window));
  EXPECT_EQ(window.Asked, &window);
  window.Allow = true;
  EXPECT_TRUE(callback(nullptr));
  callback = nullptr;
  EXPECT_FALSE(callback);
}

// Form files written here, named after the test.
struct KvClassFormFiles : KvClassSurface {
  std::vector<std::string> Files;
  ~KvClassFormFiles() override {
    for (auto& f : Files) DeleteFile(f);
  }
  std::string Path(const std::string& tag) {
    Files.push_back(testing::TempDir() + "kvclass_" + std::to_string(getpid()) + "_" + tag + ".dfm");
    return Files.back();
  }
  std::string FormFile(const std::string& text, const std::string& tag) {
    TMemoryStream in, out;
    in.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    in.SetPosition(0);
    ObjectTextToResource(&in, &out);
    std::string path = Path(tag);
    out.SaveToFile(path);
    return path;
  }
};

TEST_F(KvClassFormFiles, OpenFormIsFoundIgnoringCaseAndShown) {
  Form->SetName("orderFORM");
  std::string name;
  EXPECT_TRUE(ExistFormInScreen(FormFile("object OrderForm: TForm\nend\n", "order"), name));
  EXPECT_EQ(name, "OrderForm");
  EXPECT_TRUE(Form->GetVisible());

  // An inherited form's root carries a prefix before its names.
  Form->Hide();
  EXPECT_TRUE(ExistFormInScreen(FormFile("inherited OrderForm: TForm\nend\n", "inherited"), name));
  EXPECT_EQ(name, "OrderForm");
  EXPECT_TRUE(Form->GetVisible());

  EXPECT_FALSE(ExistFormInScreen(FormFile("object Other: TForm\nend\n", "other"), name));
  EXPECT_EQ(name, "Other");
}

TEST_F(KvClassFormFiles, UnnamedRootMatchesNoForm) {
  // The test form itself is unnamed, so a plain name comparison would pick it.
  std::string name = "stale";
  EXPECT_FALSE(ExistFormInScreen(FormFile("object TForm\nend\n", "unnamed"), name));
  EXPECT_EQ(name, "");
  EXPECT_FALSE(Form->GetVisible());
}

TEST_F(KvClassFormFiles, FilesWithoutAFormStreamRaise) {
  std::string name;
  std::string good = ReadFileBytes(FormFile("object OrderForm: TForm\nend\n", "good"));
  const size_t tpf0 = good.find("TPF0");
  ASSERT_NE(tpf0, std::string::npos);

  std::string wrongSignature = good;
  wrongSignature[tpf0 + 3] = '1';
  WriteFileAtomic(Path("signature"), wrongSignature);
  EXPECT_THROW(ExistFormInScreen(Files.back(), name), EReadError);

  WriteFileAtomic(Path("bare"), good.substr(tpf0));
  EXPECT_THROW(ExistFormInScreen(Files.back(), name), EInvalidImage);

  WriteFileAtomic(Path("cut"), good.substr(0, tpf0 + 6));
  EXPECT_THROW(ExistFormInScreen(Files.back(), name), EReadError);

  EXPECT_THROW(ExistFormInScreen(testing::TempDir() + "kvclass_missing.dfm", name), EFOpenError);
}
}  // namespace
