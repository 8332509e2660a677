// KvDsgn: the design's own keys: moving and sizing the selection by keyboard, and selecting
// the parent, the neighbours in creation order, or every component of a container.
#include "KvDsgn.h"

bool TKFormDesigner::KeyCommand(uint16_t key, TShiftState shift) {
  if (shift.Contains(ssAlt)) return false;
  const bool ctrl = shift.Contains(ssCtrl), sh = shift.Contains(ssShift);
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      if (!ctrl && !sh) return false;
      const int dx = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
      const int dy = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
      if (ctrl) {
        const TPoint step = sh ? GetGridXY() : TPoint{1, 1};
        Nudge(dx * step.X, dy * step.Y, 0, 0);
      } else if (FSaveList->Count() == 1) {
        Nudge(0, 0, dx, dy);
      }
      return true;
    }
    case VK_ESCAPE: {
      if (ctrl || sh) return false;
      auto* control = FSaveList->Count() > 0 ? Marker(0)->FControl : nullptr;
      TWinControl* parent = control && !dynamic_cast<TKvIcon*>(control) ? control->GetParent() : nullptr;
      SelectComponent(parent ? static_cast<TComponent*>(parent) : FForm);
      return true;
    }
    case VK_TAB:
      if (ctrl) return false;
      SelectNeighbour(sh ? -1 : 1);
      return true;
    case 'A':
      if (!ctrl || sh) return false;
      SelectAllOfContainer();
      return true;
    default: return false;
  }
}

// A run of nudges of the same selection is one step.
void TKFormDesigner::Nudge(int dx, int dy, int dw, int dh) {
  if (FSelected == FForm || FSaveList->Count() == 0) return;
  std::vector<TComponent*> marked = MarkedControls();
  const bool sizing = dw || dh;
  TKUndoScope undo(this, sizing ? "Size" : "Move", marked, false, sizing ? "Nudge size" : "Nudge move");
  {
    TKDotBatch batch;
    for (TComponent* c : marked) {
      auto* control = static_cast<TControl*>(c);
      control->SetBounds(control->GetLeft() + dx, control->GetTop() + dy, std::max(control->GetWidth() + dw, 0),
                         std::max(control->GetHeight() + dh, 0));
    }
  }
  Modified();
}

// The form's selectable components in creation order (a non-visual one by its icon), the
// selection stepping to the next or previous one and round.
void TKFormDesigner::SelectNeighbour(int direction) {
  std::vector<TComponent*> order;
  for (int i = 0; i < FForm->ComponentCount(); ++i) {
    TComponent* c = FForm->Components(i);
    if (!Listable(c)) continue;
    if (TKvIcon* icon = IconOf(c)) order.push_back(icon);
    else if (Selectable(c)) order.push_back(c);
  }
  if (order.empty()) return;
  TComponent* current = FSaveList->Count() > 0 && FSelected != FForm ? Marker(0)->FControl : nullptr;
  auto it = std::find(order.begin(), order.end(), current);
  const int n = static_cast<int>(order.size());
  int index =
      it == order.end() ? (direction > 0 ? 0 : n - 1) : (static_cast<int>(it - order.begin()) + direction + n) % n;
  SelectComponent(order[index]);
}

// The container is the parent of the selection, or the form when the form or a non-visual
// component is selected (the form's icons count then too).
void TKFormDesigner::SelectAllOfContainer() {
  TWinControl* container = FForm;
  if (FSelected != FForm && FSaveList->Count() > 0 && !dynamic_cast<TKvIcon*>(Marker(0)->FControl))
    container = Marker(0)->FControl->GetParent();
  TComponentList all;
  for (int i = 0; i < container->ControlCount(); ++i)
    if (TControl* c = container->Controls(i); Selectable(c) && (dynamic_cast<TKvIcon*>(c) || !c->GetName().empty()))
      all.Add(c);
  if (all.Count() == 0) return;
  SetSelections(&all);
}
