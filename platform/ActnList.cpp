#include "ActnList.h"

#include <algorithm>

#include "ComCtrls.h"
#include "Db.h"
#include "Forms.h"
#include "TypInfo.h"
#include "qt/QtMoreCtrls.h"
#include "qt/QtWidgets.h"

// =============================================================================================
// The links that have an action, and the timer that updates their actions.
namespace {
std::vector<TBasicActionLink*>& ActnListLinks() {
  static std::vector<TBasicActionLink*> links;
  return links;
}
int gActnListTimer = 0;
constexpr int kActnListUpdateMs = 100;

void ActnListTick() {
  if (ActnListLinks().empty()) {
    qtm::StopTimer(gActnListTimer);
    gActnListTimer = 0;
    return;
  }
  UpdateLinkedActions();
}

void ActnListStartTimer() {
  if (gActnListTimer) return;
  qtw::EnsureApplication();
  gActnListTimer = qtm::StartTimer(kActnListUpdateMs, ActnListTick);
}
}  // namespace

void UpdateLinkedActions() {
  std::vector<TBasicAction*> actions;
  for (TBasicActionLink* l : ActnListLinks())
    if (TBasicAction* a = l->GetAction(); a && std::find(actions.begin(), actions.end(), a) == actions.end())
      actions.push_back(a);
  // A handler may free actions or clients: each one is looked up again before its update.
  for (TBasicAction* a : actions) {
    bool alive = std::any_of(ActnListLinks().begin(), ActnListLinks().end(),
                             [a](TBasicActionLink* l) { return l->GetAction() == a; });
    if (alive && !a->InState(csDesigning) && !a->InState(csDestroying)) a->Update();
  }
}

void UpdateMenuActions(TMenuItem* item) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* sub = item->Items(i);
    if (TBasicAction* a = sub->GetAction(); a && !a->InState(csDesigning)) a->Update();
    UpdateMenuActions(sub);
  }
}

// =============================================================================================
// Targets, as the forms offer them: the focused control, the form, its showing controls. A
// data-aware control stands for its data source too.
namespace {
bool ActnListOffer(TBasicAction* action, TObject* target, TObject*& found) {
  if (!target) return false;
  if (action->HandlesTarget(target)) {
    found = target;
    return true;
  }
  if (auto* c = Cast<TControl>(target)) {
    PPropInfo p = GetPropInfo(c, "DataSource");
    if (p && p->PropType->Kind == tkClass)
      if (auto* ds = Cast<TDataSource>(GetObjectProp(c, p)); ds && action->HandlesTarget(ds)) {
        found = ds;
        return true;
      }
  }
  return false;
}

bool ActnListTraverse(TBasicAction* action, TWinControl* container, TObject*& found) {
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* c = container->Controls(i);
    if (!c->GetVisible()) continue;
    if (ActnListOffer(action, c, found)) return true;
    if (auto* w = Cast<TWinControl>(c); w && ActnListTraverse(action, w, found)) return true;
  }
  return false;
}

bool ActnListFormTarget(TBasicAction* action, TCustomForm* form, TObject*& found) {
  if (!form) return false;
  return ActnListOffer(action, form->GetActiveControl(), found) || ActnListOffer(action, form, found) ||
         ActnListTraverse(action, form, found);
}
}  // namespace

TObject* FindActionTarget(TBasicAction* action, TCustomForm* form) {
  TObject* found = nullptr;
  if (!form) {
    TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
    if (ActnListFormTarget(action, active, found)) return found;
    // Without an active form (nothing shown yet, or a headless run): the action's own form.
    for (TComponent* o = action->Owner(); o && !form; o = o->Owner()) form = Cast<TCustomForm>(o);
    if (form == active) form = nullptr;
  }
  if (ActnListFormTarget(action, form, found)) return found;
  TObject* def = action->DefaultTarget();
  return def && action->HandlesTarget(def) ? def : nullptr;
}

// =============================================================================================
// TBasicAction
TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  Destroying();
  while (!FClients.empty()) FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// =============================================================================================
// TContainedAction
TContainedAction::~TContainedAction() {
  Destroying();
  SetActionList(nullptr);
}

void TContainedAction::SetActionList(TActionList* v) {
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

void TContainedAction::SetCategory(const std::string& v) {
  FCategory = v;
  if (FActionList) FActionList->OnChange(FActionList);
}

int TContainedAction::GetIndex() const {
  if (!FActionList) return -1;
  auto& list = FActionList->FActions;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TContainedAction::SetIndex(int v) {
  if (!FActionList) return;
  auto& list = FActionList->FActions;
  v = std::clamp(v, 0, static_cast<int>(list.size()) - 1);
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin() + v, this);
}

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* value) {
  if (auto* list = Cast<TActionList>(value)) SetActionList(list);
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  if (TBasicAction::Update()) return true;
  if (TObject* target = FindActionTarget(this)) {
    UpdateTarget(target);
    return true;
  }
  return false;
}

bool TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  if (TBasicAction::Execute()) return true;
  if (TObject* target = FindActionTarget(this)) {
    ExecuteTarget(target);
    return true;
  }
  return false;
}

// =============================================================================================
// TCustomAction. Each setter tells the links first, while they can still compare their
// client's value with the old one.
namespace {
template <class F>
void ActnListEachLink(TBasicAction* a, F f) {
  for (int i = 0; i < a->ClientCount(); ++i)
    if (auto* l = dynamic_cast<TActionLink*>(a->Clients(i))) f(l);
}
}  // namespace

void TCustomAction::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetCaption(v); });
  FCaption = v;
}

void TCustomAction::SetChecked(bool v) {
  if (v == FChecked) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetChecked(v); });
  FChecked = v;
  if (v) UncheckGroup();
}

// A checked action of a group unchecks the others of its list in that group.
void TCustomAction::UncheckGroup() {
  if (FGroupIndex <= 0 || !GetActionList()) return;
  TActionList* list = GetActionList();
  for (int i = 0; i < list->ActionCount(); ++i)
    if (auto* a = Cast<TCustomAction>(list->Actions(i)); a && a != this && a->FGroupIndex == FGroupIndex)
      a->SetChecked(false);
}

void TCustomAction::SetGroupIndex(int v) {
  FGroupIndex = v;
  if (FChecked) UncheckGroup();
}

void TCustomAction::SetEnabled(bool v) {
  if (v == FEnabled) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetEnabled(v); });
  FEnabled = v;
}

void TCustomAction::SetVisible(bool v) {
  if (v == FVisible) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetVisible(v); });
  FVisible = v;
}

void TCustomAction::SetHint(const std::string& v) {
  if (v == FHint) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetHint(v); });
  FHint = v;
}

void TCustomAction::SetHelpContext(THelpContext v) {
  if (v == FHelpContext) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetHelpContext(v); });
  FHelpContext = v;
}

void TCustomAction::SetImageIndex(TImageIndex v) {
  if (v == FImageIndex) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetImageIndex(v); });
  FImageIndex = v;
}

void TCustomAction::SetShortCut(TShortCut v) {
  if (v == FShortCut) return;
  ActnListEachLink(this, [&](TActionLink* l) { l->SetShortCut(v); });
  FShortCut = v;
}

bool TCustomAction::Update() {
  if (TContainedAction::Update()) return true;
  // Nothing handles it: an action with nothing to run is disabled, as the VCL's dispatch does.
  if (FEnabled && DisableIfNoHandler) SetEnabled(static_cast<bool>(OnExecute));
  return false;
}

bool TCustomAction::Execute() {
  if (InState(csDesigning)) return false;
  Update();
  if (!FEnabled) return false;
  if (FAutoCheck && (!FChecked || FGroupIndex == 0)) SetChecked(!FChecked);
  return TContainedAction::Execute();
}

// =============================================================================================
// TActionList
TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  Destroying();
  for (TContainedAction* a : FActions) a->FActionList = nullptr;
}

void TActionList::SetImages(TImageList* v) {
  if (FImages == v) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = v;
  if (v) v->FreeNotification(this);
}

void TActionList::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FImages) FImages = nullptr;
}

bool TActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  OnExecute(action, handled);
  return handled;
}

bool TActionList::UpdateAction(TBasicAction* action) {
  bool handled = false;
  OnUpdate(action, handled);
  return handled;
}

bool TActionList::IsShortCut(uint16_t key, TShiftState shift) {
  TShortCut sc = ShortCut(key, shift);
  if (sc == 0 || InState(csDesigning)) return false;
  for (TContainedAction* a : FActions)
    if (auto* ca = Cast<TCustomAction>(a); ca && ca->GetShortCut() == sc) {
      ca->Update();
      return ca->GetEnabled() && ca->Execute();
    }
  return false;
}

void TActionList::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TContainedAction* a : FActions)
    if (a->Owner() == root) proc(a);
}

void TActionList::SetChildOrder(TComponent* child, int order) {
  if (auto* a = Cast<TContainedAction>(child); a && a->FActionList == this) a->SetIndex(order);
}

// =============================================================================================
// Links
TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* v) {
  if (v == FAction) return;
  auto& links = ActnListLinks();
  if (FAction) {
    auto& c = FAction->FClients;
    c.erase(std::find(c.begin(), c.end(), this));
    links.erase(std::find(links.begin(), links.end(), this));
  }
  FAction = v;
  if (v) {
    v->FClients.push_back(this);
    links.push_back(this);
    if (!v->InState(csDesigning)) ActnListStartTimer();
  }
}

bool TActionLink::IsCaptionLinked() const { return Custom() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return Custom() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return Custom() != nullptr; }
bool TActionLink::IsHelpContextLinked() const { return Custom() != nullptr; }
bool TActionLink::IsHintLinked() const { return Custom() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return Custom() != nullptr; }
bool TActionLink::IsShortCutLinked() const { return Custom() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return Custom() != nullptr; }
bool TActionLink::IsOnExecuteLinked() const { return FAction != nullptr; }

bool TActionLink::ClickLinked(const TNotifyEvent& onClick) const {
  return IsOnExecuteLinked() && (!onClick || onClick == FAction->OnExecute);
}

// --- Controls. Checked and ImageIndex go through the published properties of the client's
// class: Checked (check boxes, radio buttons) or Down (speed and tool buttons), ImageIndex.
namespace {
PPropInfo ActnListCheckedProp(const TControl* c) {
  PPropInfo p = GetPropInfo(c, "Checked");
  if (!p) p = GetPropInfo(c, "Down");
  return p && p->PropType->Kind == tkEnumeration ? p : nullptr;
}
PPropInfo ActnListImageIndexProp(const TControl* c) {
  PPropInfo p = GetPropInfo(c, "ImageIndex");
  return p && p->PropType->Kind == tkInteger ? p : nullptr;
}
}  // namespace

bool TControlActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && FClient->GetCaption() == Custom()->GetCaption();
}
bool TControlActionLink::IsCheckedLinked() const {
  PPropInfo p = ActnListCheckedProp(FClient);
  return TActionLink::IsCheckedLinked() && p && (GetOrdProp(FClient, p) != 0) == Custom()->GetChecked();
}
bool TControlActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FClient->GetEnabled() == Custom()->GetEnabled();
}
bool TControlActionLink::IsHelpContextLinked() const {
  auto* w = Cast<TWinControl>(FClient);
  return TActionLink::IsHelpContextLinked() && w && w->GetHelpContext() == Custom()->GetHelpContext();
}
bool TControlActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && FClient->GetHint() == Custom()->GetHint();
}
bool TControlActionLink::IsImageIndexLinked() const {
  PPropInfo p = ActnListImageIndexProp(FClient);
  return TActionLink::IsImageIndexLinked() && p && GetOrdProp(FClient, p) == Custom()->GetImageIndex();
}
bool TControlActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FClient->GetVisible() == Custom()->GetVisible();
}
bool TControlActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && (!FClient->OnClick || FClient->OnClick == FAction->OnExecute);
}

void TControlActionLink::SetCaption(const std::string& v) {
  if (IsCaptionLinked()) FClient->SetCaption(v);
}
void TControlActionLink::CheckClient(bool v) {
  ClicksDisabled = true;
  try {
    SetOrdProp(FClient, ActnListCheckedProp(FClient), v);
  } catch (...) {
    ClicksDisabled = false;
    throw;
  }
  ClicksDisabled = false;
}

void TControlActionLink::SetChecked(bool v) {
  if (IsCheckedLinked()) CheckClient(v);
}
void TControlActionLink::SetEnabled(bool v) {
  if (IsEnabledLinked()) FClient->SetEnabled(v);
}
void TControlActionLink::SetHelpContext(THelpContext v) {
  if (IsHelpContextLinked()) static_cast<TWinControl*>(FClient)->SetHelpContext(v);
}
void TControlActionLink::SetHint(const std::string& v) {
  if (IsHintLinked()) FClient->SetHint(v);
}
void TControlActionLink::SetImageIndex(TImageIndex v) {
  if (IsImageIndexLinked()) SetOrdProp(FClient, ActnListImageIndexProp(FClient), v);
}
void TControlActionLink::SetVisible(bool v) {
  if (IsVisibleLinked()) FClient->SetVisible(v);
}

void TControlActionLink::ActionChange(bool checkDefaults) {
  TCustomAction* a = Custom();
  if (!a) return;
  TControl* c = FClient;
  if (!checkDefaults || c->GetCaption().empty() || c->GetCaption() == c->GetName()) c->SetCaption(a->GetCaption());
  if (!checkDefaults || c->GetEnabled()) c->SetEnabled(a->GetEnabled());
  if (!checkDefaults || c->GetHint().empty()) c->SetHint(a->GetHint());
  if (!checkDefaults || c->GetVisible()) c->SetVisible(a->GetVisible());
  if (auto* w = Cast<TWinControl>(c); w && (!checkDefaults || w->GetHelpContext() == 0))
    w->SetHelpContext(a->GetHelpContext());
  if (PPropInfo p = ActnListCheckedProp(c); p && (!checkDefaults || GetOrdProp(c, p) == 0))
    CheckClient(a->GetChecked());
  if (PPropInfo p = ActnListImageIndexProp(c); p && (!checkDefaults || GetOrdProp(c, p) == -1))
    SetOrdProp(c, p, a->GetImageIndex());
}

// --- Menu items.
bool TMenuActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && FClient->GetCaption() == Custom()->GetCaption();
}
bool TMenuActionLink::IsCheckedLinked() const {
  return TActionLink::IsCheckedLinked() && FClient->GetChecked() == Custom()->GetChecked();
}
bool TMenuActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FClient->GetEnabled() == Custom()->GetEnabled();
}
bool TMenuActionLink::IsHelpContextLinked() const {
  return TActionLink::IsHelpContextLinked() && FClient->GetHelpContext() == Custom()->GetHelpContext();
}
bool TMenuActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && FClient->GetHint() == Custom()->GetHint();
}
bool TMenuActionLink::IsImageIndexLinked() const {
  return TActionLink::IsImageIndexLinked() && FClient->GetImageIndex() == Custom()->GetImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() const {
  return TActionLink::IsShortCutLinked() && FClient->GetShortCut() == Custom()->GetShortCut();
}
bool TMenuActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FClient->GetVisible() == Custom()->GetVisible();
}
bool TMenuActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && (!FClient->OnClick || FClient->OnClick == FAction->OnExecute);
}

void TMenuActionLink::SetCaption(const std::string& v) {
  if (IsCaptionLinked()) FClient->SetCaption(v);
}
void TMenuActionLink::SetChecked(bool v) {
  if (IsCheckedLinked()) FClient->SetChecked(v);
}
void TMenuActionLink::SetEnabled(bool v) {
  if (IsEnabledLinked()) FClient->SetEnabled(v);
}
void TMenuActionLink::SetHelpContext(THelpContext v) {
  if (IsHelpContextLinked()) FClient->SetHelpContext(v);
}
void TMenuActionLink::SetHint(const std::string& v) {
  if (IsHintLinked()) FClient->SetHint(v);
}
void TMenuActionLink::SetImageIndex(TImageIndex v) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(v);
}
void TMenuActionLink::SetShortCut(TShortCut v) {
  if (IsShortCutLinked()) FClient->SetShortCut(v);
}
void TMenuActionLink::SetVisible(bool v) {
  if (IsVisibleLinked()) FClient->SetVisible(v);
}

void TMenuActionLink::ActionChange(bool checkDefaults) {
  TCustomAction* a = Custom();
  if (!a) return;
  TMenuItem* m = FClient;
  if (!checkDefaults || m->GetCaption().empty()) m->SetCaption(a->GetCaption());
  if (!checkDefaults || !m->GetChecked()) m->SetChecked(a->GetChecked());
  if (!checkDefaults || m->GetEnabled()) m->SetEnabled(a->GetEnabled());
  if (!checkDefaults || m->GetHelpContext() == 0) m->SetHelpContext(a->GetHelpContext());
  if (!checkDefaults || m->GetHint().empty()) m->SetHint(a->GetHint());
  if (!checkDefaults || m->GetImageIndex() == -1) m->SetImageIndex(a->GetImageIndex());
  if (!checkDefaults || m->GetShortCut() == 0) m->SetShortCut(a->GetShortCut());
  if (!checkDefaults || m->GetVisible()) m->SetVisible(a->GetVisible());
}

// =============================================================================================
// The clients' side: a control's or a menu item's Action.
namespace {
// Links client to action (nullptr: unlinks), taking the action's properties; while either is
// loading only those the client left at their defaults.
template <class Link, class Client>
void ActnListSetAction(Client* client, Link*& link, TBasicAction* v) {
  if (v && link && link->GetAction() == v) return;
  if (link && link->GetAction()) link->GetAction()->RemoveFreeNotification(client);
  if (!v) {
    delete link;
    link = nullptr;
    return;
  }
  if (!link) link = new Link(client);
  link->SetAction(v);
  link->ActionChange(v->InState(csLoading) || client->InState(csLoading));
  v->FreeNotification(client);
}
}  // namespace

TBasicAction* TControl::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }
void TControl::SetAction(TBasicAction* v) { ActnListSetAction(this, FActionLink, v); }

void TControl::ActionNotification(TComponent* c) {
  if (FActionLink && (c == FActionLink->GetAction() || !FActionLink->GetAction())) SetAction(nullptr);
}

bool TControl::ExecuteActionClick() {
  if (FActionLink && FActionLink->ClicksDisabled) return true;
  if (!FActionLink || !FActionLink->GetAction() || InState(csDesigning)) return false;
  if (!FActionLink->IsOnExecuteLinked()) return false;
  FActionLink->Execute();
  return true;
}

bool TControl::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TControl::IsCheckedStored() const { return !FActionLink || !FActionLink->IsCheckedLinked(); }
bool TControl::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TControl::IsHelpContextStored() const { return !FActionLink || !FActionLink->IsHelpContextLinked(); }
bool TControl::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TControl::IsImageIndexStored() const { return !FActionLink || !FActionLink->IsImageIndexLinked(); }
bool TControl::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TControl::IsOnClickStored() const { return !FActionLink || !FActionLink->IsOnExecuteLinked(); }

void PublishActionProperty(TClassBuilderBase& b) {
  TPropInfo* p = b.NewProp("Action", TypeInfoOf<TBasicAction*>());
  p->GetObj = [](const TObject* o) -> TObject* { return static_cast<const TControl*>(o)->GetAction(); };
  p->SetObj = [](TObject* o, TObject* v) { static_cast<TControl*>(o)->SetAction(static_cast<TBasicAction*>(v)); };
}

TBasicAction* TMenuItem::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }
void TMenuItem::SetAction(TBasicAction* v) { ActnListSetAction(this, FActionLink, v); }

bool TMenuItem::ExecuteActionClick() {
  if (!FActionLink || !FActionLink->GetAction() || InState(csDesigning)) return false;
  if (!FActionLink->IsOnExecuteLinked()) return false;
  FActionLink->Execute();
  return true;
}

bool TMenuItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TMenuItem::IsCheckedStored() const { return !FActionLink || !FActionLink->IsCheckedLinked(); }
bool TMenuItem::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TMenuItem::IsHelpContextStored() const { return !FActionLink || !FActionLink->IsHelpContextLinked(); }
bool TMenuItem::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TMenuItem::IsImageIndexStored() const { return !FActionLink || !FActionLink->IsImageIndexLinked(); }
bool TMenuItem::IsShortCutStored() const { return !FActionLink || !FActionLink->IsShortCutLinked(); }
bool TMenuItem::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TMenuItem::IsOnClickStored() const { return !FActionLink || !FActionLink->IsOnExecuteLinked(); }

// =============================================================================================
KV_IMPLEMENT_CLASS(TBasicAction, "Classes") {}

KV_IMPLEMENT_CLASS(TContainedAction, "ActnList") {
  b.Prop("Category", &TContainedAction::GetCategory, &TContainedAction::SetCategory);
}

KV_IMPLEMENT_CLASS(TCustomAction, "ActnList") {}

KV_IMPLEMENT_CLASS(TAction, "ActnList") { PublishCustomActionProperties(b); }

KV_IMPLEMENT_CLASS(TActionList, "ActnList") {
  b.Prop("Images", &TActionList::GetImages, &TActionList::SetImages);
  b.Prop("OnChange", &TActionList::OnChange);
  b.Prop("OnExecute", &TActionList::OnExecute);
  b.Prop("OnUpdate", &TActionList::OnUpdate);
}

void RegisterActnListClasses() { RegisterClasses({TActionList::StaticClass(), TAction::StaticClass()}); }
