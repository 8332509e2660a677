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
  EXPECT_EQ(Engine->Selected(), form);
  EXPECT_EQ(Engine->ResName(), "TFORM");
  EXPECT_GT(Engine->FormImage()->GetSize(), 0);
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

TEST_F(DesignerTest, GridDotsStayOnTheGridOfTheUnscrolledFormWhenItScrolls) {
  Add<TButton>("FarAway", 3000, 16, 75, 25);  // the form gets a horizontal scroll bar
  ASSERT_GT(Form()->GetHorzScrollBar()->GetRange(), Form()->GetClientWidth());
  Form()->GetHorzScrollBar()->SetPosition(3);
  ASSERT_EQ(Form()->GetHorzScrollBar()->GetPosition(), 3);
  TBitmap shot;
  Form()->Repaint();
  GrabWindow(Form(), &shot);
  EXPECT_EQ(shot.Canvas()->GetPixel(13, 16), clBlack);  // 16 - 3
  EXPECT_NE(shot.Canvas()->GetPixel(16, 16), clBlack);
}

TEST_F(DesignerTest, ColourChangeRebuildsTheGridInTheFormsColour) {
  Form()->SetColor(clWhite);
  EXPECT_EQ(Engine->GridBitmap()->Canvas()->GetPixel(3, 3), clWhite);
  EXPECT_EQ(Engine->GridBitmap()->Canvas()->GetPixel(8, 8), clBlack);
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
  // A handler of a design is a name without code; the empty name is no handler.
  const TMethod handler = Engine->CreateMethod("X", nullptr);
  EXPECT_EQ(Engine->GetMethodName(handler), "X");
  EXPECT_FALSE(Engine->CreateMethod("", nullptr).Assigned());
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

namespace {

// A host of designs that records what the engine asks and tells.
struct RecordingHost : IKDesignerHost, IKInspectorHost {
  virtual ~RecordingHost() = default;
  TClass Chosen = nullptr;
  int Resets = 0;
  std::vector<TKFormDesigner*> Changed;
  std::vector<TKFormDesigner*> InspectorChanged;
  int Modifications = 0;
  std::vector<TComponent*> Inserted;

  bool GetCanInsert() const override { return true; }
  bool GetCanDelete() const override { return true; }
  bool GetSnapToGrid() const override { return false; }
  bool GetDisplayGrid() const override { return false; }
  int GetGridX() const override { return 4; }
  int GetGridY() const override { return 4; }
  TTypeKinds GetTypeKinds() const override { return 0x0002; }
  TClass PaletteClass() override { return Chosen; }
  void ResetPalette() override {
    Chosen = nullptr;
    ++Resets;
  }
  int NewDesignTop() override { return 321; }
  bool IsShortCut(uint16_t, TShiftState) override { return false; }
  void DesignerChanged(TKFormDesigner* d) override { Changed.push_back(d); }
  void DesignModified(TKFormDesigner*) override {}
  void ObjectChanged(TKFormDesigner* d) override { InspectorChanged.push_back(d); }
  void ObjectModified(TKFormDesigner*) override { ++Modifications; }
  void FormNotification(TComponent* c, TOperation op) override {
    if (op == opInsert) Inserted.push_back(c);
  }
};

}  // namespace

TEST(DesignerEngine, TalksToItsHostsOnlyThroughTheirInterfaces) {
  RecordingHost host;
  auto* engine = new TKFormDesigner(&host, &host, "", nullptr);
  TCustomForm* form = engine->GetForm();
  EXPECT_EQ(form->GetTop(), 321);  // where the host wants new designs
  EXPECT_EQ(engine->GetTypeKinds(), 0x0002);
  EXPECT_EQ(engine->GetGridXY(), (TPoint{4, 4}));

  form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  ASSERT_FALSE(host.InspectorChanged.empty());
  EXPECT_EQ(host.InspectorChanged.back(), engine);
  EXPECT_EQ(host.Changed.back(), engine);

  // A press with a class chosen on the palette inserts it and puts the palette back.
  host.Chosen = TButton::StaticClass();
  host.Inserted.clear();
  int modifications = host.Modifications;
  SendInput(form, WM_LBUTTONDOWN, {40, 40}, MK_LBUTTON);
  SendInput(form, WM_LBUTTONUP, {40, 40});
  EXPECT_EQ(host.Chosen, nullptr);
  EXPECT_EQ(host.Resets, 1);
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetLeft(), 40);
  EXPECT_GT(host.Modifications, modifications);
  // The inspector hears of the new button, never of its grab handles.
  EXPECT_EQ(host.Inserted, (std::vector<TComponent*>{button}));

  // Closing the active design leaves the inspector nothing to show.
  engine->FModified = false;
  form->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(host.InspectorChanged.back(), nullptr);
}
