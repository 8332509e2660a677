// Selection, grab handles, and mouse and key input on the design surface.
#include "DesignerFixture.h"

namespace {

TKvDot* DotAt(TKFormDesigner* engine, int marker, TKSizeKind kind) { return engine->Marker(marker)->Dot(kind); }

}  // namespace

TEST_F(DesignerTest, OneSelectedControlShowsEightBlackHandlesOnItsEdges) {
  auto* button = Add<TButton>("Button1", 40, 32, 75, 25);
  Engine->SelectComponent(button);
  ASSERT_EQ(Engine->MarkerCount(), 1);
  struct {
    TKSizeKind Kind;
    int X, Y;
  } expected[] = {{LT, 40, 32}, {LB, 40, 57}, {RT, 115, 32}, {RB, 115, 57},
                  {MT, 77, 32}, {MB, 77, 57}, {ML, 40, 44},  {MR, 115, 44}};
  for (auto e : expected) {
    TKvDot* dot = DotAt(Engine, 0, e.Kind);
    EXPECT_EQ(dot->BoundsRect(), Bounds(e.X - 3, e.Y - 3, 5, 5)) << int(e.Kind);
    EXPECT_EQ(dot->GetColor(), clBlack);
    EXPECT_TRUE(dot->GetEnabled());
    EXPECT_EQ(dot->GetParent(), Form());
  }
  EXPECT_EQ(DotAt(Engine, 0, LT)->GetCursor(), crSizeNWSE);
  EXPECT_EQ(DotAt(Engine, 0, MR)->GetCursor(), crSizeWE);
  EXPECT_EQ(Engine->Selected(), button);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{button}));
}

TEST_F(DesignerTest, ShiftClicksToggleAMultipleSelectionWithGreyCorners) {
  auto* a = Add<TButton>("Button1", 16, 16, 75, 25);
  auto* b = Add<TButton>("Button2", 16, 64, 75, 25);
  Press({20, 20});
  Release({20, 20});
  Press({20, 70}, MK_SHIFT);
  Release({20, 70});
  ASSERT_EQ(Engine->MarkerCount(), 2);
  EXPECT_EQ(Engine->Selected(), nullptr);
  for (int m = 0; m < 2; ++m) {
    EXPECT_EQ(DotAt(Engine, m, LT)->GetColor(), TColor(0x808080));
    EXPECT_FALSE(DotAt(Engine, m, LT)->GetEnabled());
    EXPECT_EQ(DotAt(Engine, m, MT)->GetWidth(), 0);  // middle handles hidden
  }
  EXPECT_EQ(DotAt(Engine, 0, LT)->BoundsRect(), Bounds(16, 16, 5, 5));  // 3 inside the corner
  EXPECT_EQ(DotAt(Engine, 0, RB)->BoundsRect(), Bounds(86, 36, 5, 5));

  Press({20, 20}, MK_SHIFT);  // out again: the other marker turns black
  Release({20, 20});
  ASSERT_EQ(Engine->MarkerCount(), 1);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{b}));
  EXPECT_EQ(DotAt(Engine, 0, MT)->GetColor(), clBlack);
  EXPECT_TRUE(DotAt(Engine, 0, MT)->GetEnabled());
  EXPECT_EQ(b->GetTop(), 64);  // Shift-drag toggles, never moves
  EXPECT_EQ(a->GetTop(), 16);

  Press({20, 70}, MK_SHIFT);  // the only one out: the form is selected, without handles
  Release({20, 70});
  EXPECT_EQ(Engine->Selected(), Form());
  EXPECT_EQ(DotAt(Engine, 0, LT)->GetWidth(), 0);
}

TEST_F(DesignerTest, GetSelectionsAppendsAndIconsStandForTheirComponents) {
  auto* a = Add<TButton>("Button1", 16, 16, 75, 25);
  Engine->SelectComponent(a);
  TComponentList list;
  Engine->GetSelections(&list);
  Engine->GetSelections(&list);
  EXPECT_EQ(list.Count(), 2);
}

TEST_F(DesignerTest, ResizingWithTheRightBottomHandleSnapsTheStep) {
  auto* button = Add<TButton>("Button1", 40, 32, 75, 25);
  Engine->SelectComponent(button);
  TKvDot* rb = DotAt(Engine, 0, RB);
  SendInput(rb, WM_LBUTTONDOWN, {2, 2}, MK_LBUTTON);  // form point (114, 56)
  EXPECT_EQ(rb->GetWidth(), 0);                       // handles hide while resizing
  MoveTo({114 + 11, 56 + 3});                         // the handle has the capture
  Release({114 + 11, 56 + 3});
  EXPECT_EQ(button->GetWidth(), 83);
  EXPECT_EQ(button->GetHeight(), 25);
  EXPECT_EQ(Engine->DragState(), kdNone);
  EXPECT_EQ(rb->BoundsRect(), Bounds(123 - 3, 57 - 3, 5, 5));  // handles follow
}

TEST_F(DesignerTest, ClickOnEmptyAreaKeepsTheFormSelectedWithoutABand) {
  Add<TButton>("Button1", 100, 100, 75, 25);
  Press({20, 20});
  Release({20, 20});
  EXPECT_EQ(Engine->Selected(), Form());
  EXPECT_EQ(Engine->DragState(), kdNone);
}

TEST_F(DesignerTest, BandOnTheFormSearchesAllOwnedControlsCtrlBandOnlyAContainer) {
  auto* panel = Add<TPanel>("Panel1", 16, 16, 200, 120);
  auto* inner1 = Add<TButton>("Button1", 8, 8, 60, 25, panel);
  auto* inner2 = Add<TButton>("Button2", 8, 48, 60, 25, panel);
  auto* outer = Add<TButton>("Button3", 16, 160, 60, 25);
  Drag({300, 300}, {18, 20});  // from empty area over everything
  auto sel = Selection();
  EXPECT_EQ(sel.size(), 4u);  // the panel, its two children and the outer button
  EXPECT_NE(std::find(sel.begin(), sel.end(), inner1), sel.end());
  EXPECT_NE(std::find(sel.begin(), sel.end(), outer), sel.end());

  Engine->SelectComponent(Form());
  Drag({panel->GetLeft() + 100, panel->GetTop() + 4}, {panel->GetLeft() + 4, panel->GetTop() + 110}, MK_CONTROL);
  EXPECT_EQ(Selection(), (std::vector<TComponent*>{inner1, inner2}));
}

TEST_F(DesignerTest, DraggingMovesByGridStepsKeepingThePendingRest) {
  auto* button = Add<TButton>("Button1", 13, 13, 75, 25);
  Press({20, 20});
  MoveTo({24, 20});  // 4: half a step rounds to even, nothing moves
  EXPECT_EQ(button->GetLeft(), 13);
  MoveTo({25, 20});  // 5 pending: one step
  EXPECT_EQ(button->GetLeft(), 21);
  MoveTo({37, 20});  // 9 beyond the point applied so far: one step
  EXPECT_EQ(button->GetLeft(), 29);
  Release({37, 20});
  EXPECT_TRUE(Engine->FModified);
  EXPECT_EQ(button->GetTop(), 13);

  Press({33, 20});
  MoveTo({45, 20});  // 12: 16
  EXPECT_EQ(button->GetLeft(), 45);
  Release({45, 20});
  Press({50, 20});
  MoveTo({70, 20});  // 20: 16
  EXPECT_EQ(button->GetLeft(), 61);
  Release({70, 20});
}

TEST_F(DesignerTest, GroupMoveDropsMembersOfOtherParents) {
  auto* panel = Add<TPanel>("Panel1", 200, 16, 120, 120);
  auto* a = Add<TButton>("Button1", 16, 16, 60, 25);
  auto* b = Add<TButton>("Button2", 16, 64, 60, 25);
  auto* inner = Add<TButton>("Button3", 8, 8, 60, 25, panel);
  TComponentList all;
  all.Add(a);
  all.Add(b);
  all.Add(inner);
  Engine->SetSelections(&all);
  Drag({20, 20}, {36, 28});
  EXPECT_EQ(a->GetLeft(), 32);
  EXPECT_EQ(a->GetTop(), 24);
  EXPECT_EQ(b->GetLeft(), 32);
  EXPECT_EQ(inner->GetLeft(), 8);
  EXPECT_EQ(Selection().size(), 2u);
}

TEST_F(DesignerTest, DeleteRemovesAContainerAndItsSelectedChildOnce) {
  auto* panel = Add<TPanel>("Panel1", 16, 16, 200, 120);
  auto* child = Add<TButton>("Button1", 8, 8, 60, 25, panel);
  auto* keep = Add<TButton>("Button2", 16, 200, 60, 25);
  TComponentList both;
  both.Add(panel);
  both.Add(child);
  Engine->SetSelections(&both);
  SendInput(Form(), WM_KEYDOWN, {}, 0, VK_DELETE);
  EXPECT_EQ(Form()->FindComponent("Panel1"), nullptr);
  EXPECT_EQ(Form()->FindComponent("Button1"), nullptr);
  EXPECT_EQ(Engine->Selected(), keep);  // the last selectable left
  EXPECT_TRUE(Engine->FModified);

  Engine->SelectComponent(Form());
  SendInput(Form(), WM_KEYDOWN, {}, 0, VK_DELETE);  // the form cannot go
  EXPECT_EQ(Engine->Selected(), Form());
  Designer->SetCanDelete(false);
  Engine->SelectComponent(keep);
  SendInput(Form(), WM_KEYDOWN, {}, 0, VK_DELETE);
  EXPECT_NE(Form()->FindComponent("Button2"), nullptr);
}

TEST_F(DesignerTest, ResizingPastTheOppositeEdgeStopsAtZeroSize) {
  auto* button = Add<TButton>("Button1", 40, 32, 75, 25);
  Engine->SelectComponent(button);
  TKvDot* rb = DotAt(Engine, 0, RB);
  SendInput(rb, WM_LBUTTONDOWN, {2, 2}, MK_LBUTTON);  // form point (114, 56)
  MoveTo({114 - 120, 56 - 64});
  Release({114 - 120, 56 - 64});
  EXPECT_EQ(button->GetWidth(), 0);
  EXPECT_EQ(button->GetHeight(), 0);
}

TEST_F(DesignerTest, HandlesGoBackAboveAControlPutOverThemAndIdleOnesStayUnmade) {
  auto* a = Add<TButton>("Button1", 16, 16, 75, 25);
  auto* b = Add<TButton>("Button2", 16, 64, 75, 25);
  TComponentList both;
  both.Add(a);
  both.Add(b);
  Engine->SetSelections(&both);
  Engine->ShowSelect();
  auto* cover = Add<TPanel>("Panel1", 0, 0, 100, 40);  // over Button1; a new window is the topmost
  Engine->ShowSelect();
  auto zOrder = [&](TControl* c) {
    for (int i = 0; i < Form()->ControlCount(); ++i)
      if (Form()->Controls(i) == c) return i;
    return -1;
  };
  for (int m = 0; m < 2; ++m) {
    auto* marker = Engine->Marker(m);
    for (TKSizeKind k : {LT, LB, RT, RB}) EXPECT_GT(zOrder(marker->Dot(k)), zOrder(cover)) << m << int(k);
    EXPECT_EQ(marker->MadeDot(MT), nullptr);  // a multiple selection never shows them
  }

  Press({20, 70}, MK_SHIFT);  // Button2 out: Button1's marker shows all eight, above the panel
  Release({20, 70});
  ASSERT_EQ(Engine->MarkerCount(), 1);
  EXPECT_EQ(DotAt(Engine, 0, MT)->BoundsRect(), Bounds(53 - 3, 16 - 3, 5, 5));
  EXPECT_GT(zOrder(DotAt(Engine, 0, MT)), zOrder(cover));
}

TEST_F(DesignerTest, DragStateFollowsThePressFromBandToGroupMoveToRelease) {
  auto* b1 = Add<TButton>("Button1", 16, 16, 60, 25);
  auto* b2 = Add<TButton>("Button2", 16, 64, 60, 25);
  Press({200, 200});
  EXPECT_EQ(Engine->DragState(), kdPressed);
  MoveTo({10, 70});
  EXPECT_EQ(Engine->DragState(), kdBand);
  MoveTo({10, 10});  // the band follows: erased and drawn again
  EXPECT_EQ(Engine->DragState(), kdBand);
  Release({10, 10});
  EXPECT_EQ(Engine->DragState(), kdNone);
  ASSERT_EQ(Selection(), (std::vector<TComponent*>{b1, b2}));

  Press({20, 20});  // on a member of the selection: the group moves
  EXPECT_EQ(Engine->DragState(), kdGroup);
  MoveTo({36, 20});
  Release({36, 20});
  EXPECT_EQ(Engine->DragState(), kdNone);
  EXPECT_EQ(b1->GetLeft(), 32);
  EXPECT_EQ(b2->GetLeft(), 32);
}
