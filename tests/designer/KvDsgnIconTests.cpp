// Icons of non-visual components on the design surface: where they stand, what they show, and
// how selection, deletion and z-order treat them.
#include <cstdio>

#include "Db.h"
#include "DesignerFixture.h"

namespace {

// A non-visual class with a palette bitmap of its own, and two classes registered as having
// no icon (a non-visual one and a control).
class TIconTestTimer : public TComponent {
  KV_CLASS(TIconTestTimer, TComponent)
 public:
  using TComponent::TComponent;
};

class TIconTestPart : public TComponent {
  KV_CLASS(TIconTestPart, TComponent)
 public:
  using TComponent::TComponent;
};

class TIconTestPanel : public TPanel {
  KV_CLASS(TIconTestPanel, TPanel)
 public:
  using TPanel::TPanel;
};

}  // namespace

KV_IMPLEMENT_CLASS(TIconTestTimer, "KvDsgnIconTests") {}
KV_IMPLEMENT_CLASS(TIconTestPart, "KvDsgnIconTests") {}
KV_IMPLEMENT_CLASS(TIconTestPanel, "KvDsgnIconTests") {}

namespace {

// A 24 x 24 bitmap, red with a blue top-left pixel, as the timer class's palette bitmap.
TBitmap* TimerBitmap() {
  static TBitmap* bitmap = [] {
    auto* b = new TBitmap;
    b->SetWidth(24);
    b->SetHeight(24);
    b->Canvas()->GetBrush()->SetColor(clRed);
    b->Canvas()->FillRect(Bounds(0, 0, 24, 24));
    b->Canvas()->SetPixel(0, 0, clBlue);
    ComponentBitmaps->AddObject("TICONTESTTIMER", b);  // the registry owns it
    RegisterClass(TIconTestTimer::StaticClass());
    RegisterNoIcon({TIconTestPart::StaticClass(), TIconTestPanel::StaticClass()});
    return b;
  }();
  return bitmap;
}

int32_t DesignInfoAt(int left, int top) {
  return static_cast<int32_t>(static_cast<uint16_t>(left) | static_cast<uint32_t>(static_cast<uint16_t>(top)) << 16);
}

TPoint DesignPos(TComponent* c) {
  auto info = static_cast<uint32_t>(c->GetDesignInfo());
  return {static_cast<int16_t>(info & 0xFFFF), static_cast<int16_t>(info >> 16)};
}

class IconTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    TimerBitmap();
  }

  std::vector<std::string> ComponentNames() const {
    std::vector<std::string> names;
    Engine->GetComponentNames(nullptr, [&](const std::string& n) { names.push_back(n); });
    return names;
  }

  int ZOrder(TControl* c) const {
    for (int i = 0; i < Form()->ControlCount(); ++i)
      if (Form()->Controls(i) == c) return i;
    return -1;
  }
};

}  // namespace

TEST_F(IconTest, ALoadedFormShowsIconsAtTheRecordedPositionsWithTheClassBitmap) {
  std::string path = testing::TempDir() + "kv_icon_form.dfm";
  {
    auto* form = new TForm(nullptr);
    form->SetName("IconForm");
    auto* source = new TDataSource(form);
    source->SetName("DataSource1");
    source->SetDesignInfo(DesignInfoAt(120, 40));
    auto* timer = new TIconTestTimer(form);
    timer->SetName("Timer1");
    timer->SetDesignInfo(DesignInfoAt(-12, -6));  // scrolled out to the top left
    TMemoryStream file;
    file.WriteComponentRes("TFORM", form);
    file.SaveToFile(path);
    delete form;
  }
  Designer->OpenForm(path);
  std::remove(path.c_str());
  TKFormDesigner* engine = Designer->FDesignerWindow->CurrentDesigner();
  ASSERT_NE(engine, Engine);
  TCustomForm* form = engine->GetForm();

  TKvIcon* sourceIcon = engine->IconOf(form->FindComponent("DataSource1"));
  TKvIcon* timerIcon = engine->IconOf(form->FindComponent("Timer1"));
  ASSERT_TRUE(sourceIcon && timerIcon);
  EXPECT_EQ(engine->IconCount(), 2);
  EXPECT_EQ(sourceIcon->BoundsRect(), Bounds(120, 40, 28, 28));
  EXPECT_EQ(timerIcon->BoundsRect(), Bounds(-12, -6, 28, 28));
  EXPECT_EQ(timerIcon->GetParent(), form);
  EXPECT_EQ(timerIcon->Component(), form->FindComponent("Timer1"));
  EXPECT_FALSE(engine->Listable(timerIcon));

  // A copy of the class's bitmap, not the registry's own.
  TBitmap* glyph = timerIcon->GetGlyph();
  EXPECT_NE(glyph, TimerBitmap());
  EXPECT_EQ(glyph->GetWidth(), 24);
  EXPECT_EQ(glyph->Canvas()->GetPixel(0, 0), clBlue);
  EXPECT_EQ(glyph->Canvas()->GetPixel(23, 23), clRed);
}

TEST_F(IconTest, AnInsertedComponentSelectsItsIconAndMovingTheIconMovesItsPosition) {
  auto* timer = Engine->CreateComponent(TIconTestTimer::StaticClass(), Form(), 40, 32, 0, 0);
  ASSERT_EQ(timer->ClassType(), TIconTestTimer::StaticClass());  // the component, never the icon
  TKvIcon* icon = Engine->IconOf(timer);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->BoundsRect(), Bounds(40, 32, 28, 28));
  EXPECT_EQ(Engine->Selected(), icon);
  EXPECT_EQ(Engine->SelectedComponent(), timer);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{timer}));

  Drag({44, 36}, {60, 44});  // two grid steps right, one down
  EXPECT_EQ(icon->BoundsRect(), Bounds(56, 40, 28, 28));
  EXPECT_EQ(DesignPos(timer), (TPoint{56, 40}));  // what the form file will record
}

TEST_F(IconTest, NoIconClassesGetNoIconAndCannotBePickedButAreListed) {
  auto* part = new TIconTestPart(Form());
  part->SetName("Part1");
  EXPECT_EQ(Engine->CreateIcon(part), nullptr);
  EXPECT_EQ(Engine->IconCount(), 0);
  auto* panel = Add<TIconTestPanel>("IconTestPanel1", 40, 40, 120, 80);
  EXPECT_FALSE(Engine->Selectable(panel));

  Press({60, 60});
  Release({60, 60});
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{Form()}));
  std::vector<std::string> names = ComponentNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "Part1"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "IconTestPanel1"), names.end());
}

TEST_F(IconTest, DeletingASelectedIconFreesItsComponent) {
  auto* source = Engine->CreateComponent(TDataSource::StaticClass(), Form(), 40, 32, 0, 0);
  auto* keep = Engine->CreateComponent(TIconTestTimer::StaticClass(), Form(), 100, 32, 0, 0);
  Press({44, 36});  // the data source's icon
  Release({44, 36});
  ASSERT_EQ(Selection(), (std::vector<TComponent*>{source}));
  Form()->Perform(WM_KEYDOWN, VK_DELETE, 0);

  EXPECT_EQ(Form()->FindComponent("DataSource1"), nullptr);
  EXPECT_EQ(Engine->IconCount(), 1);
  EXPECT_EQ(Engine->IconComponent(0), keep);
  std::vector<std::string> names = ComponentNames();
  EXPECT_EQ(std::find(names.begin(), names.end(), "DataSource1"), names.end());
  int icons = 0;
  for (int i = 0; i < Form()->ComponentCount(); ++i) icons += dynamic_cast<TKvIcon*>(Form()->Components(i)) != nullptr;
  EXPECT_EQ(icons, 1);
}

TEST_F(IconTest, IconsStayAboveControlsInsertedOrBroughtToTheFront) {
  auto* timer = Engine->CreateComponent(TIconTestTimer::StaticClass(), Form(), 60, 60, 0, 0);
  TKvIcon* icon = Engine->IconOf(timer);
  auto* panel = static_cast<TControl*>(Engine->CreateComponent(TPanel::StaticClass(), Form(), 40, 40, 0, 0));
  EXPECT_GT(ZOrder(icon), ZOrder(panel));

  auto* button = Add<TButton>("Button1", 50, 50, 75, 25);  // placed by code, above the icon
  Engine->SelectComponent(button);
  Engine->BringToFront();
  EXPECT_GT(ZOrder(icon), ZOrder(button));
  EXPECT_GT(ZOrder(icon), ZOrder(panel));
}

TEST_F(IconTest, SetSelectionsMapsComponentsAndIconsToOneAnother) {
  auto* source = Engine->CreateComponent(TDataSource::StaticClass(), Form(), 40, 32, 0, 0);
  TKvIcon* icon = Engine->IconOf(source);
  auto* button = Add<TButton>("Button1", 120, 32, 75, 25);

  TComponentList both;
  both.Add(source);  // the component stands for its icon
  both.Add(button);
  Engine->SetSelections(&both);
  ASSERT_EQ(Engine->MarkerCount(), 2);
  EXPECT_EQ(Engine->Marker(0)->FControl, icon);
  EXPECT_TRUE(Engine->Marker(0)->FMulti);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{source, button}));
  EXPECT_EQ(Engine->Selected(), nullptr);

  TComponentList alone;
  alone.Add(icon);  // the icon stands for its component
  Engine->SetSelections(&alone);
  ASSERT_EQ(Engine->MarkerCount(), 1);
  EXPECT_EQ(Engine->Marker(0)->FControl, icon);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{source}));
  EXPECT_EQ(Engine->Selected(), source);
  EXPECT_EQ(Engine->SelectedComponent(), source);
}
