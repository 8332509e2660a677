#include "CheckLst.h"

#include "Consts.h"
#include "TypInfo.h"
#include "qt/QtStdCtrls.h"

KV_IMPLEMENT_CLASS(TCheckListBoxItems, "CheckLst") {}

KV_IMPLEMENT_CLASS(TCheckListBox, "CheckLst") {
  PublishControlProperties(b, {"Align"});
  b.Prop("AllowGrayed", &TCheckListBox::GetAllowGrayed, &TCheckListBox::SetAllowGrayed).Default(false);
  PublishControlProperties(b, {"Anchors", "BiDiMode"});
  b.Prop("BorderStyle", &TCustomListBox::GetBorderStyle, &TCustomListBox::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishWindowColor(b);
  b.Prop("Columns", &TCustomListBox::GetColumns, &TCustomListBox::SetColumns).Default(0);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("Flat", &TCheckListBox::GetFlat, &TCheckListBox::SetFlat).Default(true);
  PublishControlProperties(b, {"Font", "ImeMode", "ImeName"});
  b.Prop("IntegralHeight", &TCustomListBox::GetIntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
  b.Prop("ItemHeight", &TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight).Default(16);
  b.Prop("Items", &TCustomListBox::GetItems, &TCustomListBox::SetItems);
  PublishControlProperties(b,
                           {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  b.Prop("Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted).Default(false);
  b.Prop("Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle).Default(lbStandard);
  PublishControlProperties(b, {"TabOrder"});
  PublishTabStop(b, true);
  b.Prop("TabWidth", &TCustomListBox::GetTabWidth, &TCustomListBox::SetTabWidth).Default(0);
  PublishControlProperties(b, {"Visible", "OnClick"});
  b.Prop("OnClickCheck", &TCheckListBox::OnClickCheck);
  PublishControlProperties(b, {"OnDblClick", "OnDragDrop", "OnDragOver"});
  b.Prop("OnDrawItem", &TCustomListBox::OnDrawItem);
  PublishControlProperties(b, {"OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  b.Prop("OnMeasureItem", &TCustomListBox::OnMeasureItem);
  PublishControlProperties(b, {"OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

void RegisterCheckLstClasses() { RegisterClasses({TCheckListBox::StaticClass()}); }

// =============================================================================================
// TCheckListBoxItems: each item's data rides in the list's object slot, the user's object in it.
struct TCheckListBoxItems::TItemData : TObject {
  TObject* UserObject = nullptr;
  TCheckBoxState State = cbUnchecked;
  bool Enabled = true;
};

TCheckListBoxItems::TCheckListBoxItems() { OwnsObjects = true; }

TCheckListBoxItems::TItemData* TCheckListBoxItems::Data(int i) const {
  return static_cast<TItemData*>(TCustomListControlItems::GetObject(i));
}

TCheckListBoxItems::TItemData* TCheckListBoxItems::EnsureData(int i) {
  TObject*& slot = ObjectSlot(i);
  if (!slot) slot = new TItemData;
  return static_cast<TItemData*>(slot);
}

TObject* TCheckListBoxItems::GetObject(int i) const {
  TItemData* d = Data(i);
  return d ? d->UserObject : nullptr;
}

void TCheckListBoxItems::PutObject(int i, TObject* o) {
  EnsureData(i)->UserObject = o;
  Changed();
}

TCheckBoxState TCheckListBoxItems::GetState(int i) const {
  TItemData* d = Data(i);
  return d ? d->State : cbUnchecked;
}

void TCheckListBoxItems::SetState(int i, TCheckBoxState s) {
  TItemData* d = EnsureData(i);
  if (d->State == s) return;
  d->State = s;
  if (OnStatesChanged) OnStatesChanged();
}

bool TCheckListBoxItems::GetItemEnabled(int i) const {
  TItemData* d = Data(i);
  return !d || d->Enabled;
}

void TCheckListBoxItems::SetItemEnabled(int i, bool v) {
  TItemData* d = EnsureData(i);
  if (d->Enabled == v) return;
  d->Enabled = v;
  if (OnStatesChanged) OnStatesChanged();
}

// =============================================================================================
// TCheckListBox
TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner, new TCheckListBoxItems) {
  Items()->OnStatesChanged = [this] { WindowItemsSet(); };
}

void TCheckListBox::WindowItemsSet() {
  if (!HandleAllocated()) return;
  std::vector<int> states;
  std::vector<bool> enabled;
  for (int i = 0; i < Items()->Count(); ++i) {
    states.push_back(GetState(i));
    enabled.push_back(GetItemEnabled(i));
  }
  qtstd::SetItemChecks(FHandle, states, enabled);
}

void TCheckListBox::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && ((m.WParam >> 16) & 0xFFFF) == LBN_CHECKCHANGE) {
    int i = static_cast<int>(m.LParam);
    if (i < 0 || i >= Items()->Count()) return;
    // The VCL's order: unchecked, checked, then grayed when allowed.
    TCheckBoxState s = GetState(i);
    TCheckBoxState next = s == cbUnchecked ? cbChecked : s == cbChecked && FAllowGrayed ? cbGrayed : cbUnchecked;
    if (!GetItemEnabled(i) || InState(csDesigning)) next = s;
    if (next != s) SetState(i, next);
    else WindowItemsSet();  // the box shows the state it has
    if (next != s) ClickCheck();
    return;
  }
  TCustomListBox::Dispatch(m);
}

void TCheckListBox::ClickCheck() {
  if (OnClickCheck) OnClickCheck(this);
}
