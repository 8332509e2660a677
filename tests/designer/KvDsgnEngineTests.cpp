// The engine: attachment, settings, close requests, the grid, renaming, naming.
#include <cmath>

#include "DesignerFixture.h"
#include "KvObjIns.h"

namespace {

// Tells when a component is freed.
struct TGoneWatch : TComponent {
  TComponent* Watched;
  bool Gone = false;
  explicit TGoneWatch(TComponent* c) : TComponent(nullptr), Watched(c) { c->FreeNotification(this); }
  void Notification(TComponent* c, TOperation op) override {
    if (c == Watched && op == opRemove) Gone = true;
  }
};

}  // namespace

TEST_F(DesignerTest, NewBlankFormOpensBelowTheDesignerWindowNamedAndModified) {
  TCustomForm* form = Form();
  TfmKvFrmDsg* window = Designer->FDesignerWindow;
  EXPECT_EQ(form->GetLeft(), 200);
  EXPECT_EQ(form->GetTop(), window->GetTop() + window->GetHeight());
  EXPECT_EQ(form->GetWidth(), static_cast<int>(std::lround(0.68 * GetSystemMetrics(SM_CXFULLSCREEN))));
  EXPECT_EQ(form->GetHeight(), static_cast<int>(std::lround(0.63 * GetSystemMetrics(SM_CYFULLSCREEN))));
  EXPECT_EQ(form->GetName(), "Form1");
  EXPECT_EQ(Engine->FFileName, "Form1.DFM");
  EXPECT_FALSE(Engine->FHasFileName);
  EXPECT_TRUE(Engine->FModified);
  EXPECT_TRUE(form->InState(csDesigning));
  EXPECT_EQ(form->GetDesigner(), Engine);
  EXPECT_EQ(Engine->FSelected, form);
  EXPECT_EQ(Engine->FResName, "TFORM");
  EXPECT_GT(Engine->FFormStream->GetSize(), 0);
}

TEST_F(DesignerTest, SecondNewFormTakesTheNextFreeName) {
  auto* taken = new TForm(Application);
  taken->SetName("Form2");
  Designer->NewForm();
  TKFormDesigner* second = Designer->FDesignerWindow->CurrentDesigner();
  EXPECT_EQ(second->GetForm()->GetName(), "Form3");
  delete taken;
}

TEST_F(DesignerTest, SettingsAreReadFromTheComponentOnEveryUse) {
  EXPECT_TRUE(Engine->GetCanInsert());
  EXPECT_EQ(Engine->GetGridXY(), (TPoint{8, 8}));
  Designer->SetGridY(5);
  Designer->SetCanInsert(false);
  EXPECT_EQ(Engine->GetGridXY(), (TPoint{8, 5}));
  EXPECT_FALSE(Engine->GetCanInsert());
  EXPECT_EQ(Engine->GetTypeKinds(), 0x0EFE);
}

TEST(DesignerEngine, ALiveFormEditedThroughTheInspectorAloneHasFixedSettings) {
  TForm live(Application);
  live.SetName("LiveForm");
  TKvObjectInspector inspector(nullptr);
  inspector.EditForm(&live);
  TKFormDesigner* engine = inspector.EditDesigner();
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(engine->GetGridXY(), (TPoint{1, 1}));
  EXPECT_FALSE(engine->GetSnapToGrid());
  EXPECT_FALSE(engine->GetDisplayGrid());
  EXPECT_FALSE(engine->GetCanInsert());
  EXPECT_FALSE(engine->GetCanDelete());
  inspector.SetCanDelete(true);
  EXPECT_TRUE(engine->GetCanDelete());
  EXPECT_EQ(engine->GetTypeKinds(), 0x047E);
  EXPECT_FALSE(engine->FModified);
  EXPECT_EQ(engine->FFileName, "LiveForm.DFM");

  // Closing the live form ends the design but keeps the host's form.
  live.Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(inspector.EditDesigner(), nullptr);
  EXPECT_EQ(live.GetDesigner(), nullptr);
  EXPECT_FALSE(live.InState(csDesigning));
}

TEST(DesignerEngine, WithoutDesignerOrInspectorTheKindsAreTheEngineDefault) {
  TForm live(Application);
  live.SetName("BareLive");
  auto* engine = new TKFormDesigner(nullptr, nullptr, "", &live);
  EXPECT_EQ(engine->GetTypeKinds(), 0x04FE);
  EXPECT_FALSE(engine->GetCanDelete());
  engine->Destroy();
  EXPECT_EQ(live.GetDesigner(), nullptr);
}

TEST_F(DesignerTest, CloseRequestRefusedKeepsTheDesignAcceptedEndsIt) {
  TCustomForm* form = Form();
  TGoneWatch watch(form);
  int asked = 0;
  TKvDesignerDestroy window = Engine->OnDesignerDestroy;
  Engine->OnDesignerDestroy = [&](TObject* s) { return ++asked > 1 && window(s); };
  Engine->FModified = false;  // no save prompt
  form->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(watch.Gone);
  EXPECT_EQ(form->GetDesigner(), Engine);
  form->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(watch.Gone);
}

TEST_F(DesignerTest, GridDrawsBehindTheControlsOnlyWhenDisplayed) {
  TMessage erase{WM_ERASEBKGND, 0, 0, 0};
  EXPECT_TRUE(Engine->IsDesignMsg(Form(), erase));
  auto* panel = Add<TPanel>("Panel1", 40, 40, 80, 60);
  EXPECT_FALSE(Engine->IsDesignMsg(panel, erase));

  TBitmap shot;
  Form()->Repaint();
  GrabWindow(Form(), &shot);
  TColor face = ColorToRGB(Form()->GetColor());
  EXPECT_EQ(shot.Canvas()->GetPixel(16, 16), clBlack);
  EXPECT_EQ(shot.Canvas()->GetPixel(20, 16), face);
  EXPECT_EQ(shot.Canvas()->GetPixel(24, 8), clBlack);

  Designer->SetDisplayGrid(false);
  EXPECT_FALSE(Engine->IsDesignMsg(Form(), erase));
  Form()->Repaint();
  GrabWindow(Form(), &shot);
  EXPECT_EQ(shot.Canvas()->GetPixel(16, 16), face);
}

TEST_F(DesignerTest, ColourChangeRebuildsTheGridInTheFormsColour) {
  Form()->SetColor(clWhite);
  EXPECT_EQ(Engine->FGridBitmap->Canvas()->GetPixel(3, 3), clWhite);
  EXPECT_EQ(Engine->FGridBitmap->Canvas()->GetPixel(8, 8), clBlack);
}

TEST_F(DesignerTest, RenamesAndTrivialOperations) {
  EXPECT_THROW(Engine->ValidateRename(nullptr, "", "X"), EComponentError);
  auto* button = Add<TButton>("Button1", 8, 8, 75, 25);
  button->SetName("OkButton");  // a design component: accepted as it is
  EXPECT_EQ(button->GetName(), "OkButton");
  EXPECT_EQ(Engine->GetObjectName(nullptr), "");
  EXPECT_EQ(Engine->GetObjectName(button), "OkButton");
  EXPECT_EQ(Engine->GetPrivateDirectory(), "C:\\");
  EXPECT_FALSE(Engine->MethodExists("Button1Click"));
  EXPECT_FALSE(Engine->CreateMethod("X", nullptr).Assigned());
  EXPECT_EQ(Engine->GetMethodName({}), "");
  EXPECT_EQ(Engine->GetRoot(), Form());
}

TEST_F(DesignerTest, UniqueNamesSkipNamesOfTheApplicationAndTheForm) {
  EXPECT_EQ(Engine->UniqueName("TButton"), "Button1");
  Add<TButton>("Button1", 0, 0, 10, 10);
  EXPECT_EQ(Engine->UniqueName("TButton"), "Button2");
  auto* hostForm = new TForm(Application);
  hostForm->SetName("Button2");
  EXPECT_EQ(Engine->UniqueName("TButton"), "Button3");
  delete hostForm;
  EXPECT_EQ(Engine->UniqueName("Query"), "Query1");
  EXPECT_EQ(Engine->UniqueName("tbutton"), "tbutton1");  // only a capital T is a prefix
}

TEST_F(DesignerTest, ComponentLookupIsExactAndListsOnlyDesignComponents) {
  auto* panel = Add<TPanel>("Panel1", 0, 0, 100, 100);
  Add<TButton>("Button1", 4, 4, 20, 20, panel);
  EXPECT_EQ(Engine->GetComponent("Panel1"), panel);
  EXPECT_EQ(Engine->GetComponent("panel1"), nullptr);
  std::vector<std::string> names;
  Engine->GetComponentNames(TypeInfoOf<TControl*>(), [&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Panel1", "Button1"}));  // no handles, no capture label
}

TEST(DesignerEngine, EditFormTwiceEndsTheFirstDesignAndTheInspectorEndsItsLast) {
  TForm first(Application), second(Application);
  first.SetName("FirstLive");
  second.SetName("SecondLive");
  {
    TKvObjectInspector inspector(nullptr);
    inspector.EditForm(&first);
    inspector.EditForm(&second);
    EXPECT_EQ(first.GetDesigner(), nullptr);
    EXPECT_FALSE(first.InState(csDesigning));
    EXPECT_EQ(second.GetDesigner(), inspector.EditDesigner());
  }
  EXPECT_EQ(second.GetDesigner(), nullptr);  // the host's form is left as it was
  EXPECT_FALSE(second.InState(csDesigning));
}
