// KvDsgn: alignment, sizing, align-to-grid and z-order of the selected controls. All of them
// work on the siblings of the first marked control, so coordinates are compared within one
// parent. Each one that acts marks the design modified (which also shows the handles again):
// otherwise a loaded form could be aligned, closed without a save prompt, and the work lost.
#include "KvDsgn.h"

#include <climits>

#include "SysUtils.h"

namespace {

TControl* KvAlignItem(TStringList* list, int i) { return static_cast<TControl*>(list->GetObject(i)); }

}  // namespace

bool TKFormDesigner::PrepareAlign(bool horizontal) {
  KeepSiblings(Marker(0)->FControl->GetParent());
  FBounds = {};
  FSortList->Clear();
  for (int i = 0; i < FSaveList->Count(); ++i) {
    TControl* c = Marker(i)->FControl;
    FSortList->AddObject(Format("%5d", horizontal ? c->GetLeft() : c->GetTop()), c);
    UnionRect(FBounds, FBounds, c->BoundsRect());
  }
  return FSortList->Count() > 0;
}

void TKFormDesigner::PrepareSize() {
  KeepSiblings(Marker(0)->FControl->GetParent());
  FBounds = {INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
  FSortList->Clear();
  for (int i = 0; i < FSaveList->Count(); ++i) {
    TControl* c = Marker(i)->FControl;
    FBounds.Left = std::min(FBounds.Left, c->GetWidth());
    FBounds.Top = std::min(FBounds.Top, c->GetHeight());
    FBounds.Right = std::max(FBounds.Right, c->GetWidth());
    FBounds.Bottom = std::max(FBounds.Bottom, c->GetHeight());
    FSortList->AddObject("", c);
  }
}

namespace {

// One alignment: nothing below `needed` markers; otherwise every control of the sorted list
// gets the position `place` answers for it.
void KvAlignEach(TStringList* list, const std::function<void(TControl*)>& place) {
  for (int i = 0; i < list->Count(); ++i) place(KvAlignItem(list, i));
}

void KvAlignSpaceEqually(TStringList* list, const TRect& bounds, bool horizontal) {
  int n = list->Count();
  if (n < 2) return;
  TControl* last = KvAlignItem(list, n - 1);
  int first = horizontal ? bounds.Left : bounds.Top;
  int step = ((horizontal ? last->GetLeft() : last->GetTop()) - first) / (n - 1);
  for (int i = 0; i < n - 1; ++i) {
    TControl* c = KvAlignItem(list, i);
    if (horizontal) c->SetLeft(first + i * step);
    else c->SetTop(first + i * step);
  }
}

}  // namespace

void TKFormDesigner::AlignLeft(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(true)) return;
  KvAlignEach(FSortList, [this](TControl* c) { c->SetLeft(FBounds.Left); });
  Modified();
}

void TKFormDesigner::AlignHorizCenter(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(true)) return;
  int centre = (FBounds.Left + FBounds.Right) / 2;
  KvAlignEach(FSortList, [centre](TControl* c) { c->SetLeft(centre - c->GetWidth() / 2); });
  Modified();
}

void TKFormDesigner::AlignHorizCenterWindow(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(true)) return;
  TWinControl* parent = KvAlignItem(FSortList, 0)->GetParent();
  int d = parent->GetWidth() / 2 - (FBounds.Left + FBounds.Right) / 2;
  KvAlignEach(FSortList, [d](TControl* c) { c->SetLeft(c->GetLeft() + d); });
  Modified();
}

void TKFormDesigner::AlignHorizSpaceEqually(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 3 || !PrepareAlign(true)) return;
  KvAlignSpaceEqually(FSortList, FBounds, true);
  Modified();
}

void TKFormDesigner::AlignRight(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(true)) return;
  KvAlignEach(FSortList, [this](TControl* c) { c->SetLeft(FBounds.Right - c->GetWidth()); });
  Modified();
}

void TKFormDesigner::AlignTops(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(false)) return;
  KvAlignEach(FSortList, [this](TControl* c) { c->SetTop(FBounds.Top); });
  Modified();
}

void TKFormDesigner::AlignVertCenter(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(false)) return;
  int centre = (FBounds.Top + FBounds.Bottom) / 2;
  KvAlignEach(FSortList, [centre](TControl* c) { c->SetTop(centre - c->GetHeight() / 2); });
  Modified();
}

void TKFormDesigner::AlignVertCenterWindow(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(false)) return;
  TWinControl* parent = KvAlignItem(FSortList, 0)->GetParent();
  int d = parent->GetHeight() / 2 - (FBounds.Top + FBounds.Bottom) / 2;
  KvAlignEach(FSortList, [d](TControl* c) { c->SetTop(c->GetTop() + d); });
  Modified();
}

void TKFormDesigner::AlignVertSpaceEqually(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 3 || !PrepareAlign(false)) return;
  KvAlignSpaceEqually(FSortList, FBounds, false);
  Modified();
}

void TKFormDesigner::AlignBottoms(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  if (FSaveList->Count() < 2 || !PrepareAlign(false)) return;
  KvAlignEach(FSortList, [this](TControl* c) { c->SetTop(FBounds.Bottom - c->GetHeight()); });
  Modified();
}

bool (*KAlignDialogProc)(TKAlignChoice& choice) = nullptr;
bool (*KSizeDialogProc)(TKSizeChoice& choice) = nullptr;

void TKFormDesigner::Align(TObject*) {
  TKUndoScope undo(this, "Align", MarkedControls(), false);
  TKAlignChoice choice;
  if (!KAlignDialogProc || !KAlignDialogProc(choice)) return;
  switch (choice.Horizontal) {
    case 1: AlignLeft(); break;
    case 2: AlignHorizCenter(); break;
    case 3: AlignRight(); break;
    case 4: AlignHorizSpaceEqually(); break;
    case 5: AlignHorizCenterWindow(); break;
    default: break;
  }
  switch (choice.Vertical) {
    case 1: AlignTops(); break;
    case 2: AlignVertCenter(); break;
    case 3: AlignBottoms(); break;
    case 4: AlignVertSpaceEqually(); break;
    case 5: AlignVertCenterWindow(); break;
    default: break;
  }
}

void TKFormDesigner::Size(TObject*) {
  TKUndoScope undo(this, "Size", MarkedControls(), false);
  TKSizeChoice choice;
  if (!KSizeDialogProc || !KSizeDialogProc(choice)) return;
  if (FSaveList->Count() == 0 || FSelected == FForm) return;
  PrepareSize();
  for (int i = 0; i < FSortList->Count(); ++i) {
    TControl* c = KvAlignItem(FSortList, i);
    int w = choice.WidthCode == 1   ? FBounds.Left
            : choice.WidthCode == 2 ? FBounds.Right
            : choice.WidthCode == 3 ? choice.Width
                                    : c->GetWidth();
    c->SetBounds(c->GetLeft(), c->GetTop(), w, c->GetHeight());
    int h = choice.HeightCode == 1   ? FBounds.Top
            : choice.HeightCode == 2 ? FBounds.Bottom
            : choice.HeightCode == 3 ? choice.Height
                                     : c->GetHeight();
    c->SetBounds(c->GetLeft(), c->GetTop(), c->GetWidth(), h);
  }
  Modified();
}

void TKFormDesigner::AlignToGrid(TObject*) {
  TKUndoScope undo(this, "Align To Grid", MarkedControls(), false);
  if (FSaveList->Count() == 0 || FSelected == FForm || !PrepareAlign(true)) return;
  TPoint g = GetGridXY();
  KvAlignEach(FSortList, [g](TControl* c) {
    c->SetBounds(KvRoundHalfEven(static_cast<double>(c->GetLeft()) / g.X) * g.X,
                 KvRoundHalfEven(static_cast<double>(c->GetTop()) / g.Y) * g.Y, c->GetWidth(), c->GetHeight());
  });
  Modified();
}

void TKFormDesigner::BringToFront(TObject*) {
  TKUndoScope undo(this, "Bring To Front", MarkedControls(), false);
  if (FSaveList->Count() == 0 || FSelected == FForm || !PrepareAlign(true)) return;
  bool onForm = KvAlignItem(FSortList, 0)->GetParent() == FForm;
  ClearSaveList(0);
  KvAlignEach(FSortList, [](TControl* c) { c->BringToFront(); });
  if (onForm) BringToFrontIcons();
  bool multi = FSortList->Count() > 1;
  KvAlignEach(FSortList, [this, multi](TControl* c) { AddSaveList(c, multi); });
  Modified();
}

void TKFormDesigner::SendToBack(TObject*) {
  TKUndoScope undo(this, "Send To Back", MarkedControls(), false);
  if (FSaveList->Count() == 0 || FSelected == FForm || !PrepareAlign(true)) return;
  KvAlignEach(FSortList, [](TControl* c) { c->SendToBack(); });
  Modified();
}
