// Alignment, sizing, align-to-grid and z-order of the selection, reached as the user reaches
// them: the Edit menu of the designer window, the context menu on the form and the dialogs.
#include <algorithm>

#include "DesignerFixture.h"
#include "ExtCtrls.h"
#include "KvAlign.h"
#include "KvSize.h"

namespace {

// A left click on a windowed control near its left edge (where a radio button has its box).
void KvAlignTestClick(TWinControl* c) {
  TPoint p{6, c->GetHeight() / 2};
  SendInput(c, WM_LBUTTONDOWN, p, MK_LBUTTON);
  SendInput(c, WM_LBUTTONUP, p);
}

// The user's answer to the next alignment dialog: the two items, then OK. Anything else that
// comes is cancelled, so a wrong dialog shows as unchanged controls.
void KvAlignTestAnswerAlign(int horizontal, int vertical) {
  AnswerNextModal(mrCancel, [=](TCustomForm* f) {
    auto* d = dynamic_cast<TfmKvAlign*>(f);
    if (!d) return ADD_FAILURE() << "expected the alignment dialog, got " << f->ClassName();
    KvAlignTestClick(d->HorizontalGroup->Buttons(horizontal));
    KvAlignTestClick(d->VerticalGroup->Buttons(vertical));
    KvAlignTestClick(d->Button1);
  });
}

void KvAlignTestAnswerSize(int widthCode, int heightCode, const std::string& width = "") {
  AnswerNextModal(mrCancel, [=](TCustomForm* f) {
    auto* d = dynamic_cast<TfmKvSize*>(f);
    if (!d) return ADD_FAILURE() << "expected the size dialog, got " << f->ClassName();
    KvAlignTestClick(d->WidthGroup->Buttons(widthCode));
    KvAlignTestClick(d->HeightGroup->Buttons(heightCode));
    if (widthCode == 3) d->edWidth->SetText(width);
    KvAlignTestClick(d->Button1);
  });
}

int KvAlignTestZ(TControl* c) {
  TWinControl* parent = c->GetParent();
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (parent->Controls(i) == c) return i;
  return -1;
}

class AlignTest : public DesignerTest {
 protected:
  TfmKvFrmDsg* Window() const { return Designer->FDesignerWindow; }
  void Select(std::initializer_list<TComponent*> items) {
    TComponentList list;
    for (TComponent* c : items) list.Add(c);
    Engine->SetSelections(&list);
  }
  void RightClick(TPoint p) {
    SendInput(Form(), WM_RBUTTONDOWN, p, MK_RBUTTON);
    SendInput(Form(), WM_RBUTTONUP, p);
  }
  TMenuItem* PopupItem(const std::string& caption) {
    TMenuItem* items = Engine->GetPopupMenu()->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Items(i)->GetCaption() == caption) return items->Items(i);
    ADD_FAILURE() << "no context menu item " << caption;
    return nullptr;
  }
  // Runs a context menu item as a click on it in the shown popup does.
  void Choose(const std::string& caption) {
    TMenuItem* item = PopupItem(caption);
    ASSERT_TRUE(item && TriggerMenuItem(item)) << caption;
    Application->ProcessMessages();
    Engine->GetPopupMenu()->ClosePopup();
  }
  std::vector<int> Lefts(std::initializer_list<TControl*> cs) {
    std::vector<int> out;
    for (TControl* c : cs) out.push_back(c->GetLeft());
    return out;
  }
};

}  // namespace

TEST_F(AlignTest, EqualSpacingSortsByLeftNumericallyAndKeepsTheLastInPlace) {
  auto* a = Add<TButton>("Button1", 10, 16, 75, 25);
  auto* b = Add<TButton>("Button2", 50, 48, 75, 25);
  auto* c = Add<TButton>("Button3", 31, 80, 75, 25);
  Select({b, a, c});  // marker order is not the order of the lefts
  Engine->AlignHorizSpaceEqually();
  EXPECT_EQ(Lefts({a, c, b}), (std::vector<int>{10, 30, 50}));  // step (50 - 10) div 2

  // Three-digit and one-digit lefts still sort as numbers.
  a->SetLeft(100);
  b->SetLeft(9);
  c->SetLeft(20);
  Engine->AlignHorizSpaceEqually();
  EXPECT_EQ(Lefts({b, c, a}), (std::vector<int>{9, 54, 100}));  // step 91 div 2 = 45
  EXPECT_EQ(Engine->MarkerCount(), 3);
}

TEST_F(AlignTest, VerticalSpacingFromTheAlignmentDialogOfTheEditMenu) {
  auto* a = Add<TButton>("Button1", 16, 10, 75, 25);
  auto* b = Add<TButton>("Button2", 120, 50, 75, 25);
  auto* c = Add<TButton>("Button3", 240, 31, 75, 25);
  Select({a, b, c});
  KvAlignTestAnswerAlign(0, 4);  // "Space e&qually"
  Window()->AlignItem->Click();
  EXPECT_EQ(a->GetTop(), 10);
  EXPECT_EQ(c->GetTop(), 30);
  EXPECT_EQ(b->GetTop(), 50);
  EXPECT_EQ(Lefts({a, b, c}), (std::vector<int>{16, 120, 240}));  // "No change" across
}

TEST_F(AlignTest, CentresLandOnTheBoundingBoxMiddleLessHalfTheWidth) {
  auto* a = Add<TButton>("Button1", 10, 16, 30, 25);
  auto* b = Add<TButton>("Button2", 65, 48, 30, 25);
  auto* c = Add<TButton>("Button3", 40, 80, 31, 30);
  Select({a, b, c});
  KvAlignTestAnswerAlign(2, 2);  // "&Centers", "C&enters"
  Window()->AlignItem->Click();
  EXPECT_EQ(Lefts({a, b, c}), (std::vector<int>{37, 37, 37}));  // 52 - 15 each, 31 div 2 = 15
  // Tops: bounding box 16 .. 110, middle 63.
  EXPECT_EQ(a->GetTop(), 63 - 12);
  EXPECT_EQ(c->GetTop(), 63 - 15);
}

TEST_F(AlignTest, CentreInWindowShiftsTheGroupByTheParentsMiddle) {
  Form()->SetWidth(400);
  auto* a = Add<TButton>("Button1", 10, 16, 50, 25);
  auto* b = Add<TButton>("Button2", 60, 48, 50, 25);
  Select({a, b});
  KvAlignTestAnswerAlign(5, 0);  // "Center in &Window"
  Window()->AlignItem->Click();
  EXPECT_EQ(Lefts({a, b}), (std::vector<int>{150, 200}));  // both 200 - 60 to the right

  // Inside a panel its own width counts, not the form's.
  auto* panel = Add<TPanel>("Panel1", 16, 100, 200, 100);
  auto* p1 = Add<TButton>("Button3", 0, 8, 20, 20, panel);
  auto* p2 = Add<TButton>("Button4", 40, 40, 20, 20, panel);
  Select({p1, p2});
  Engine->AlignHorizCenterWindow();
  EXPECT_EQ(Lefts({p1, p2}), (std::vector<int>{70, 110}));
  Engine->AlignVertCenterWindow();  // tops 8 .. 60, middle 34, panel 50
  EXPECT_EQ(p1->GetTop(), 24);
  EXPECT_EQ(p2->GetTop(), 56);
}

TEST_F(AlignTest, AlignToGridRoundsHalvesToEvenWhetherSnappingIsOnOrNot) {
  auto* a = Add<TButton>("Button1", 12, 4, 75, 25);
  auto* b = Add<TButton>("Button2", 20, 28, 75, 25);
  auto* c = Add<TButton>("Button3", 13, 83, 75, 25);
  Designer->SetSnapToGrid(false);
  Engine->SelectComponent(Form());
  Window()->AligntoGridItem->Click();  // the form alone: nothing to snap
  EXPECT_EQ(Lefts({a, b, c}), (std::vector<int>{12, 20, 13}));

  Select({a, b, c});
  Window()->AligntoGridItem->Click();
  EXPECT_EQ(Lefts({a, b, c}), (std::vector<int>{16, 16, 16}));  // 1.5 -> 2, 2.5 -> 2, 1.625 -> 2
  EXPECT_EQ(a->GetTop(), 0);                                    // 0.5 -> 0
  EXPECT_EQ(b->GetTop(), 32);                                   // 3.5 -> 4
  EXPECT_EQ(c->GetTop(), 80);
  EXPECT_EQ(a->GetWidth(), 75);
}

TEST_F(AlignTest, EveryOperationMarksTheDesignModifiedSoItCanBeSaved) {
  // Otherwise a loaded form, aligned and closed, would go without a save prompt.
  auto* a = Add<TButton>("Button1", 12, 4, 75, 25);
  auto* b = Add<TButton>("Button2", 20, 28, 60, 25);
  Select({a, b});
  struct {
    const char* Name;
    std::function<void()> Run;
  } operations[] = {
      {"align to grid", [&] { Window()->AligntoGridItem->Click(); }},
      {"bring to front", [&] { Window()->BringToFrontItem->Click(); }},
      {"send to back", [&] { Window()->SendToBackItem->Click(); }},
      {"align left", [&] { Engine->AlignLeft(); }},
      {"size",
       [&] {
         KvAlignTestAnswerSize(1, 0);
         Window()->SizeItem->Click();
       }},
  };
  for (auto& op : operations) {
    Engine->FModified = false;
    Window()->UpdateDesignerState();
    op.Run();
    EXPECT_TRUE(Engine->FModified) << op.Name;
    EXPECT_TRUE(Window()->SaveFileItem->GetEnabled()) << op.Name;
  }
  Engine->FModified = false;
  Engine->SelectComponent(a);
  Engine->AlignLeft();  // one marker: nothing done, nothing changed
  EXPECT_FALSE(Engine->FModified);
}

TEST_F(AlignTest, ASelectionOverAPanelAndTheFormAlignsTheFirstMarkersSiblingsOnly) {
  auto* panel = Add<TPanel>("Panel1", 200, 16, 200, 150);
  auto* inner1 = Add<TButton>("Button1", 40, 8, 60, 25, panel);
  auto* outer1 = Add<TButton>("Button2", 16, 16, 60, 25);
  auto* inner2 = Add<TButton>("Button3", 24, 48, 60, 25, panel);
  auto* outer2 = Add<TButton>("Button4", 48, 64, 60, 25);
  Select({inner1, outer1, inner2, outer2});
  Engine->AlignRight();
  EXPECT_EQ(inner1->GetLeft(), 40);
  EXPECT_EQ(inner2->GetLeft(), 40);  // panel coordinates: right sides at 100
  EXPECT_EQ(outer1->GetLeft(), 16);
  EXPECT_EQ(outer2->GetLeft(), 48);
  auto sel = Selection();
  std::sort(sel.begin(), sel.end());
  std::vector<TComponent*> inner{inner1, inner2};
  std::sort(inner.begin(), inner.end());
  EXPECT_EQ(sel, inner);
  EXPECT_EQ(Engine->MarkerCount(), 2);

  Select({outer2, inner1, outer1});
  Engine->AlignTops();
  EXPECT_EQ(outer1->GetTop(), 16);
  EXPECT_EQ(outer2->GetTop(), 16);
  EXPECT_EQ(inner1->GetTop(), 8);
  EXPECT_EQ(Engine->MarkerCount(), 2);
}

TEST_F(AlignTest, SizeDialogShrinksGrowsOrTakesTheTypedWidth) {
  auto* a = Add<TButton>("Button1", 16, 16, 75, 25);
  auto* b = Add<TButton>("Button2", 16, 48, 60, 30);
  auto* c = Add<TButton>("Button3", 16, 96, 90, 20);
  Select({a, b, c});
  KvAlignTestAnswerSize(1, 2);  // shrink to smallest width, grow to largest height
  Window()->SizeItem->Click();
  for (TControl* x : {static_cast<TControl*>(a), static_cast<TControl*>(b), static_cast<TControl*>(c)}) {
    EXPECT_EQ(x->GetWidth(), 60) << x->GetName();
    EXPECT_EQ(x->GetHeight(), 30) << x->GetName();
    EXPECT_EQ(x->GetLeft(), 16) << x->GetName();
  }
  EXPECT_EQ(b->GetTop(), 48);

  KvAlignTestAnswerSize(3, 0, " 1 20");
  Window()->SizeItem->Click();
  EXPECT_EQ(a->GetWidth(), 120);
  EXPECT_EQ(a->GetHeight(), 30);

  AnswerNextModal(mrCancel);
  Window()->SizeItem->Click();
  EXPECT_EQ(c->GetWidth(), 120);
  EXPECT_EQ(fmKvSize, nullptr);  // freed after the run
}

TEST_F(AlignTest, EqualLeftsPutTheEarlierMarkerOnTopAndIconsStayAboveControls) {
  Engine->CreateComponent(TTimer::StaticClass(), Form(), 20, 20, 0, 0);
  ASSERT_EQ(Engine->IconCount(), 1);
  auto* icon = Engine->Icon(0);
  auto* a = Add<TButton>("Button1", 16, 16, 75, 25);
  auto* b = Add<TButton>("Button2", 16, 24, 75, 25);  // created later: above a
  auto* c = Add<TButton>("Button3", 40, 20, 75, 25);  // not selected, above both
  TPoint overlap = Form()->ClientToScreen({60, 30});
  ASSERT_EQ(Engine->ControlAt(Form(), overlap), c);

  Select({a, b});
  Window()->BringToFrontItem->Click();
  EXPECT_EQ(Engine->ControlAt(Form(), overlap), a);
  EXPECT_GT(KvAlignTestZ(a), KvAlignTestZ(b));
  EXPECT_GT(KvAlignTestZ(b), KvAlignTestZ(c));
  EXPECT_GT(KvAlignTestZ(icon), KvAlignTestZ(a)) << "icons stay on top";
  ASSERT_EQ(Engine->MarkerCount(), 2);  // new markers, in sorted order, still grey
  EXPECT_EQ(Engine->Marker(0)->FControl, b);
  EXPECT_EQ(Engine->Marker(0)->Dot(LT)->GetColor(), TColor(0x808080));

  // Sending back goes the same sorted way; the markers are now b, a, so b ends at the back.
  Window()->SendToBackItem->Click();
  EXPECT_EQ(Engine->ControlAt(Form(), overlap), c);
  EXPECT_LT(KvAlignTestZ(b), KvAlignTestZ(a));
  EXPECT_LT(KvAlignTestZ(a), KvAlignTestZ(c));
  EXPECT_EQ(Engine->MarkerCount(), 2);
}

TEST_F(AlignTest, RightClickOnAMemberKeepsItsSiblingsAndPopsTheMenuUpThere) {
  auto* panel = Add<TPanel>("Panel1", 200, 16, 200, 150);
  auto* inner = Add<TButton>("Button1", 8, 8, 60, 25, panel);
  auto* a = Add<TButton>("Button2", 13, 12, 60, 25);
  auto* b = Add<TButton>("Button3", 21, 60, 60, 25);
  auto* alone = Add<TButton>("Button4", 16, 120, 60, 25);
  Select({a, inner, b});
  RightClick({30, 70});  // on b
  EXPECT_EQ(Engine->MarkerCount(), 2);
  EXPECT_EQ(Engine->Selected(), nullptr);  // still a multiple selection
  EXPECT_EQ(Selection().size(), 2u);
  EXPECT_EQ(Engine->DragState(), kdNone);
  TRect shown = Engine->GetPopupMenu()->PopupBounds();
  TPoint at = Form()->ClientToScreen({30, 70});
  EXPECT_EQ((TPoint{shown.Left, shown.Top}), at);

  Choose("Align To &Grid");
  EXPECT_EQ(Lefts({a, b}), (std::vector<int>{16, 24}));
  EXPECT_EQ(inner->GetLeft(), 8);

  RightClick({20, 130});  // not a member: selected alone
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{alone}));
  Engine->GetPopupMenu()->ClosePopup();
}

TEST_F(AlignTest, TheContextMenusDialogItemsRunTheDialogs) {
  auto* a = Add<TButton>("Button1", 10, 16, 75, 25);
  auto* b = Add<TButton>("Button2", 40, 48, 60, 30);
  Select({a, b});
  RightClick({20, 20});
  KvAlignTestAnswerAlign(1, 3);  // "&Left sides", "&Bottoms"
  Choose("&Align...");
  EXPECT_EQ(Lefts({a, b}), (std::vector<int>{10, 10}));
  EXPECT_EQ(a->GetTop() + a->GetHeight(), 78);
  EXPECT_EQ(b->GetTop(), 48);

  RightClick({20, 60});  // on both, a member either way
  KvAlignTestAnswerSize(2, 1);
  Choose("&Size...");
  EXPECT_EQ(a->GetWidth(), 75);
  EXPECT_EQ(b->GetWidth(), 75);
  EXPECT_EQ(a->GetHeight(), 25);
  EXPECT_EQ(b->GetHeight(), 25);
}
