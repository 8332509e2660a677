#include "ActnList.h"

#include <algorithm>

#include "ComCtrls.h"

// =============================================================================================
// TAction
TAction::TAction(TComponent* AOwner) : TComponent(AOwner) {}

TAction::~TAction() {
  Destroying();
  SetActionList(nullptr);
}

void TAction::SetActionList(TActionList* v) {
  if (v == FActionList) return;
  if (FActionList) {
    auto& list = FActionList->FActions;
    list.erase(std::find(list.begin(), list.end(), this));
    FActionList->OnChange(FActionList);
  }
  FActionList = v;
  if (v) {
    v->FActions.push_back(this);
    v->OnChange(v);
  }
}

int TAction::GetIndex() const {
  if (!FActionList) return -1;
  auto& list = FActionList->FActions;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TAction::SetIndex(int v) {
  if (!FActionList) return;
  auto& list = FActionList->FActions;
  v = std::clamp(v, 0, static_cast<int>(list.size()) - 1);
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin() + v, this);
}

TComponent* TAction::GetParentComponent() const { return FActionList; }

void TAction::SetParentComponent(TComponent* value) {
  if (auto* list = Cast<TActionList>(value)) SetActionList(list);
}

bool TAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

bool TAction::Execute() {
  Update();
  if (!FEnabled) return false;
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

// =============================================================================================
// TActionList
TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  Destroying();
  for (TAction* a : FActions) a->FActionList = nullptr;
}

void TActionList::SetImages(TImageList* v) {
  FImages = v;
  if (v) v->FreeNotification(this);
}

void TActionList::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FImages) FImages = nullptr;
}

bool TActionList::ExecuteAction(TAction* action) {
  bool handled = false;
  OnExecute(action, handled);
  return handled;
}

bool TActionList::UpdateAction(TAction* action) {
  bool handled = false;
  OnUpdate(action, handled);
  return handled;
}

void TActionList::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TAction* a : FActions)
    if (a->Owner() == root) proc(a);
}

void TActionList::SetChildOrder(TComponent* child, int order) {
  if (auto* a = Cast<TAction>(child); a && a->FActionList == this) a->SetIndex(order);
}

// =============================================================================================
KV_IMPLEMENT_CLASS(TAction, "ActnList") {
  b.Prop("Caption", &TAction::GetCaption, &TAction::SetCaption);
  b.Prop("Category", &TAction::GetCategory, &TAction::SetCategory);
  b.Prop("Checked", &TAction::GetChecked, &TAction::SetChecked).Default(false);
  b.Prop("Enabled", &TAction::GetEnabled, &TAction::SetEnabled).Default(true);
  b.Prop("HelpContext", &TAction::GetHelpContext, &TAction::SetHelpContext).Default(0);
  b.Prop("Hint", &TAction::GetHint, &TAction::SetHint);
  b.Prop("ImageIndex", &TAction::GetImageIndex, &TAction::SetImageIndex).Default(-1);
  b.Prop("ShortCut", &TAction::GetShortCut, &TAction::SetShortCut).Type(TypeInfoTShortCut()).Default(0);
  b.Prop("Visible", &TAction::GetVisible, &TAction::SetVisible).Default(true);
  b.Prop("OnExecute", &TAction::OnExecute);
  b.Prop("OnUpdate", &TAction::OnUpdate);
}

KV_IMPLEMENT_CLASS(TActionList, "ActnList") {
  b.Prop("Images", &TActionList::GetImages, &TActionList::SetImages);
  b.Prop("OnChange", &TActionList::OnChange);
  b.Prop("OnExecute", &TActionList::OnExecute);
  b.Prop("OnUpdate", &TActionList::OnUpdate);
}

void RegisterActnListClasses() { RegisterClasses({TActionList::StaticClass(), TAction::StaticClass()}); }
