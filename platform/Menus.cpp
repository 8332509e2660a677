#include "Menus.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "ActnList.h"
#include "ComCtrls.h"
#include "Consts.h"
#include "Forms.h"
#include "TypInfo.h"
#include "qt/QtMenus.h"

PTypeInfo TypeInfoTShortCut() {
  static PTypeInfo ti = MakeOrdTypeInfo("TShortCut", tkInteger, otUWord, 0, 65535);
  return ti;
}

PTypeInfo TypeInfoTImageIndex() {
  static PTypeInfo ti = MakeOrdTypeInfo("TImageIndex", tkInteger, otSLong, INT32_MIN, INT32_MAX);
  return ti;
}

KV_IMPLEMENT_CLASS(TMenuItem, "Menus") {
  b.Prop("Action", &TMenuItem::GetAction, &TMenuItem::SetAction);
  b.Prop("Bitmap", &TMenuItem::GetBitmap, &TMenuItem::SetBitmap).StoredMethod(&TMenuItem::IsBitmapStored);
  b.Prop("Break", &TMenuItem::GetBreak, &TMenuItem::SetBreak).Default(mbNone);
  b.Prop("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption)
      .Type(TypeInfoTCaption())
      .StoredMethod(&TMenuItem::IsCaptionStored);
  b.Prop("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked)
      .Default(false)
      .StoredMethod(&TMenuItem::IsCheckedStored);
  b.Prop("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault).Default(false);
  b.Prop("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled)
      .Default(true)
      .StoredMethod(&TMenuItem::IsEnabledStored);
  b.Prop("GroupIndex", &TMenuItem::GetGroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  b.Prop("HelpContext", &TMenuItem::GetHelpContext, &TMenuItem::SetHelpContext)
      .Default(0)
      .StoredMethod(&TMenuItem::IsHelpContextStored);
  b.Prop("Hint", &TMenuItem::GetHint, &TMenuItem::SetHint).StoredMethod(&TMenuItem::IsHintStored);
  b.Prop("ImageIndex", &TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex)
      .Type(TypeInfoTImageIndex())
      .Default(-1)
      .StoredMethod(&TMenuItem::IsImageIndexStored);
  b.Prop("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem).Default(false);
  b.Prop("ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut)
      .Type(TypeInfoTShortCut())
      .Default(0)
      .StoredMethod(&TMenuItem::IsShortCutStored);
  b.Prop("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible)
      .Default(true)
      .StoredMethod(&TMenuItem::IsVisibleStored);
  b.Prop("OnClick", &TMenuItem::OnClick).StoredMethod(&TMenuItem::IsOnClickStored);
}

KV_IMPLEMENT_CLASS(TMenu, "Menus") {}

KV_IMPLEMENT_CLASS(TMainMenu, "Menus") {
  b.Prop("AutoMerge", &TMainMenu::GetAutoMerge, &TMainMenu::SetAutoMerge).Default(false);
  b.Prop("BiDiMode", &TMenu::GetBiDiMode, &TMenu::SetBiDiMode).StoredMethod(&TMenu::IsBiDiModeStored);
  b.Prop("Images", &TMenu::GetImages, &TMenu::SetImages);
  b.Prop("OwnerDraw", &TMenu::GetOwnerDraw, &TMenu::SetOwnerDraw).Default(false);
  b.Prop("ParentBiDiMode", &TMenu::GetParentBiDiMode, &TMenu::SetParentBiDiMode).Default(true);
}

KV_IMPLEMENT_CLASS(TPopupMenu, "Menus") {
  b.Prop("Alignment", &TPopupMenu::GetAlignment, &TPopupMenu::SetAlignment).Default(paLeft);
  b.Prop("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  b.Prop("BiDiMode", &TMenu::GetBiDiMode, &TMenu::SetBiDiMode).StoredMethod(&TMenu::IsBiDiModeStored);
  b.Prop("HelpContext", &TPopupMenu::GetHelpContext, &TPopupMenu::SetHelpContext).Default(0);
  b.Prop("Images", &TMenu::GetImages, &TMenu::SetImages);
  b.Prop("OwnerDraw", &TMenu::GetOwnerDraw, &TMenu::SetOwnerDraw).Default(false);
  b.Prop("ParentBiDiMode", &TMenu::GetParentBiDiMode, &TMenu::SetParentBiDiMode).Default(true);
  b.Prop("TrackButton", &TPopupMenu::GetTrackButton, &TPopupMenu::SetTrackButton).Default(tbRightButton);
  b.Prop("OnPopup", &TPopupMenu::OnPopup);
}

KV_IMPLEMENT_CLASS(TShortCutProperty, "Menus") {}

// =============================================================================================
// Short cuts.
namespace {
const char* const SMenuReinserted = "Menu inserted twice";
const char* const SMenuNotFound = "Sub-menu is not in menu";
const char* const SMenuIndexError = "Menu index out of range";
const char* const kShift = "Shift+";
const char* const kCtrl = "Ctrl+";
const char* const kAlt = "Alt+";

std::string KeyName(uint8_t key) {
  static const char* const kSpecial[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down"};
  if (key == 0x08) return "BkSp";
  if (key == 0x09) return "Tab";
  if (key == 0x0D) return "Enter";
  if (key == 0x1B) return "Esc";
  if (key >= 0x20 && key <= 0x28) return kSpecial[key - 0x20];
  if (key == 0x2D) return "Ins";
  if (key == 0x2E) return "Del";
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= 0x60 && key <= 0x69) return std::string(1, static_cast<char>('0' + key - 0x60));
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x6F);
  return "";
}

bool TakePrefix(std::string& text, const char* prefix) {
  size_t n = std::char_traits<char>::length(prefix);
  if (text.size() < n || !SameText(text.substr(0, n), prefix)) return false;
  text.erase(0, n);
  return true;
}

// Command numbers go in the low word of WM_COMMAND / WM_MENUSELECT; freed ones are reused.
std::set<int>& CommandsInUse() {
  static std::set<int> s;
  return s;
}
int UniqueCommand() {
  auto& used = CommandsInUse();
  int c = 1;
  for (int u : used) {
    if (u != c) break;
    ++c;
  }
  used.insert(c);
  return c;
}

HMENU gNextHandle = 0x100;
}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  if (key & 0xFF00) return 0;
  TShortCut r = key;
  if (shift.Contains(ssShift)) r |= scShift;
  if (shift.Contains(ssCtrl)) r |= scCtrl;
  if (shift.Contains(ssAlt)) r |= scAlt;
  return r;
}

void ShortCutToKey(TShortCut sc, uint16_t& key, TShiftState& shift) {
  key = sc & 0xFF;
  shift = {};
  if (sc & scShift) shift.Include(ssShift);
  if (sc & scCtrl) shift.Include(ssCtrl);
  if (sc & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut sc) {
  std::string name = KeyName(static_cast<uint8_t>(sc & 0xFF));
  if (name.empty()) return "";
  std::string r;
  if (sc & scShift) r += kShift;
  if (sc & scCtrl) r += kCtrl;
  if (sc & scAlt) r += kAlt;
  return r + name;
}

TShortCut TextToShortCut(const std::string& text) {
  std::string rest = Trim(text);
  TShortCut mods = 0;
  for (bool more = true; more;) {
    more = false;
    if (TakePrefix(rest, kShift)) mods |= scShift, more = true;
    if (TakePrefix(rest, kCtrl)) mods |= scCtrl, more = true;
    if (TakePrefix(rest, kAlt)) mods |= scAlt, more = true;
  }
  if (rest.empty()) return 0;
  for (int key = 0x08; key <= 0xFF; ++key)
    if (SameText(rest, KeyName(static_cast<uint8_t>(key)))) return static_cast<TShortCut>(key | mods);
  return 0;
}

std::string StripHotkey(const std::string& caption) {
  std::string r;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == '&') continue;
    r += caption[i];
  }
  return r;
}

// =============================================================================================
// TMenuItem
TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(UniqueCommand()) {}

TMenuItem::~TMenuItem() {
  Destroying();
  SetAction(nullptr);
  if (FParent) FParent->Remove(this);
  // Sub-items go with their item, whoever owns them, as the VCL frees them.
  while (!FItems.empty()) delete FItems.back();
  delete FBitmap;
  CommandsInUse().erase(FCommand);
}

TMenuItem* TMenuItem::Items(int i) const {
  if (i < 0 || i >= Count()) throw EMenuError(SMenuIndexError);
  return FItems[i];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->FParent) throw EMenuError(SMenuReinserted);
  if (index < 0 || index > Count()) throw EMenuError(SMenuIndexError);
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  MenuChanged();
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  int i = IndexOf(item);
  if (i < 0) throw EMenuError(SMenuNotFound);
  Delete(i);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TMenuItem::GetMenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int v) {
  if (!FParent) return;
  TMenuItem* p = FParent;
  int cur = p->IndexOf(this);
  v = std::clamp(v, 0, p->Count() - 1);
  if (v == cur) return;
  p->FItems.erase(p->FItems.begin() + cur);
  p->FItems.insert(p->FItems.begin() + v, this);
  MenuChanged();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

HMENU TMenuItem::Handle() const {
  if (!FHandle) FHandle = ++gNextHandle;
  return FHandle;
}

void TMenuItem::MenuChanged() {
  if (TMenu* m = GetParentMenu(); m && !m->InState(csDestroying)) {
    m->MenuChanged();
    m->OnChange(m, this, true);
  }
}

// The action runs unless the item was given a click handler of its own.
void TMenuItem::Click() {
  if (FEnabled && !ExecuteActionClick() && OnClick) OnClick(this);
}

void TMenuItem::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && FActionLink && (c == GetAction() || !GetAction())) SetAction(nullptr);
}

void TMenuItem::SetCaption(const std::string& v) {
  if (FCaption == v) return;
  FCaption = v;
  MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut v) {
  FShortCut = v;
  MenuChanged();
}

// A checked radio item unchecks the others of its group among its siblings.
void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* s : FParent->FItems)
    if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->FChecked = false;
}

void TMenuItem::SetChecked(bool v) {
  FChecked = v;
  if (v && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetRadioItem(bool v) {
  FRadioItem = v;
  if (v && FChecked) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetGroupIndex(uint8_t v) {
  FGroupIndex = v;
  if (FRadioItem && FChecked) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetEnabled(bool v) {
  FEnabled = v;
  MenuChanged();
}

void TMenuItem::SetVisible(bool v) {
  FVisible = v;
  MenuChanged();
}

void TMenuItem::SetDefault(bool v) {
  if (v && FParent)
    for (TMenuItem* s : FParent->FItems) s->FDefault = false;
  FDefault = v;
  MenuChanged();
}

void TMenuItem::SetBreak(TMenuBreak v) {
  FBreak = v;
  MenuChanged();
}

void TMenuItem::SetImageIndex(TImageIndex v) {
  if (FImageIndex == v) return;
  FImageIndex = v;
  MenuChanged();
}

TBitmap* TMenuItem::GetBitmap() const {
  if (!FBitmap) FBitmap = new TBitmap;
  return FBitmap;
}

void TMenuItem::SetBitmap(TBitmap* v) {
  GetBitmap()->Assign(v);
  MenuChanged();
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TMenuItem* i : FItems) proc(i);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
  if (auto* i = Cast<TMenuItem>(child); i && i->FParent == this) i->SetMenuIndex(order);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (FParent) FParent->Remove(this);
  if (auto* m = Cast<TMenu>(value)) m->Items()->Add(this);
  else if (auto* i = Cast<TMenuItem>(value)) i->Add(this);
}

// =============================================================================================
// TMenu
TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() {
  Destroying();
  qtm::Release(this);
  delete FItems;
}

namespace {
TMenuItem* FindIn(TMenuItem* parent, intptr_t value, TFindItemKind kind) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* it = parent->Items(i);
    bool match = kind == fkCommand  ? it->Command() == value
                 : kind == fkHandle ? it->Count() > 0 && it->Handle() == value
                                    : it->GetShortCut() != 0 && it->GetShortCut() == value;
    if (match) return it;
    if (TMenuItem* deeper = FindIn(it, value, kind)) return deeper;
  }
  return nullptr;
}
}  // namespace

void TMenu::SetImages(TImageList* v) {
  if (FImages == v) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = v;
  if (v) v->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FImages) {
    FImages = nullptr;
    if (!InState(csDestroying)) MenuChanged();
  }
}

TMenuItem* TMenu::FindItem(intptr_t value, TFindItemKind kind) const { return FindIn(FItems, value, kind); }

bool TMenu::DispatchCommand(int command) {
  TMenuItem* item = FindItem(command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(uint16_t key, TShiftState shift) {
  TShortCut sc = ShortCut(key, shift);
  if (sc == 0 || InState(csDesigning)) return false;
  TMenuItem* item = FindItem(sc, fkShortCut);
  if (!item) return false;
  // Hidden items keep their short cuts, as in the VCL; disabled ones and their sub-items do not.
  for (TMenuItem* p = item; p; p = p->Parent())
    if (!p->GetEnabled()) return false;
  item->Click();
  return true;
}

TCustomForm* TMenu::NotifyForm() const {
  for (TComponent* o = Owner(); o; o = o->Owner())
    if (auto* f = Cast<TCustomForm>(o)) return f;
  return nullptr;
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { FItems->GetChildren(proc, root); }

void TMenu::SetChildOrder(TComponent* child, int order) { FItems->SetChildOrder(child, order); }

void TMenu::MenuChanged() {
  if (!InState(csLoading)) qtm::Rebuild(this);
}

void TMenu::Loaded() {
  TComponent::Loaded();
  MenuChanged();
}

// =============================================================================================
// TMainMenu
TMainMenu::~TMainMenu() {
  Destroying();
  SetForm(nullptr);
}

void TMainMenu::SetForm(TCustomForm* form) {
  if (FForm == form) return;
  if (FForm) FForm->RemoveFreeNotification(this);
  FForm = form;
  if (form) form->FreeNotification(this);
}

// An entry to show (while designing, hidden ones show too); a dialog has no menu bar unless
// it is being designed, as in the VCL.
bool TMainMenu::ShowsBar() const {
  if (!ShownBy(FForm)) return false;
  bool designing = FForm->InState(csDesigning);
  if (FForm->GetBorderStyle() == bsDialog && !designing) return false;
  for (int i = 0; i < Items()->Count(); ++i)
    if (designing || Items()->Items(i)->GetVisible()) return true;
  return false;
}

// A form that took another menu since is no longer ours.
bool TMainMenu::ShownBy(TCustomForm* form) const { return form && form->GetMenu() == this; }

TCustomForm* TMainMenu::NotifyForm() const { return ShownBy(FForm) ? FForm : TMenu::NotifyForm(); }

void TMainMenu::Notification(TComponent* c, TOperation op) {
  TMenu::Notification(c, op);
  if (op == opRemove && c == FForm) FForm = nullptr;
}

void TMainMenu::MenuChanged() {
  if (ShownBy(FForm) && !InState(csLoading)) UpdateMenuBar(FForm);
  TMenu::MenuChanged();
}

void UpdateMenuBar(TCustomForm* form) {
  auto* menu = Cast<TMainMenu>(form->GetMenu());
  if (menu) menu->SetForm(form);
  bool shows = menu && menu->ShowsBar();
  form->SetMenuBarHeight(shows ? qtm::MenuBarHeight(menu) : 0);
  if (form->HandleAllocated()) qtm::SetMenuBar(form->Handle(), shows ? menu : nullptr);
}

// =============================================================================================
// TPopupMenu
TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() { Destroying(); }

void TPopupMenu::SetPopupComponent(TComponent* v) {
  if (FPopupComponent == v) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = v;
  if (v) v->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* c, TOperation op) {
  TMenu::Notification(c, op);
  if (op == opRemove && c == FPopupComponent) FPopupComponent = nullptr;
}

TCustomForm* TPopupMenu::NotifyForm() const {
  if (TCustomForm* f = TMenu::NotifyForm()) return f;
  if (auto* c = Cast<TControl>(FPopupComponent)) return GetParentForm(c);
  return nullptr;
}

void TPopupMenu::DoPopup(TObject* sender) {
  if (OnPopup) OnPopup(sender);
}

void TPopupMenu::Popup(int x, int y) {
  DoPopup(this);
  UpdateMenuActions(Items());
  qtm::Popup(this, {x, y}, FAlignment);
}

TRect TPopupMenu::PopupBounds() const { return qtm::PopupBounds(const_cast<TPopupMenu*>(this)); }

void TPopupMenu::ClosePopup() { qtm::ClosePopup(this); }

// =============================================================================================
// The controls' side.
bool IsMenuKey(TControl* control, uint16_t key, TShiftState shift) {
  for (TControl* c = control; c; c = c->GetParent())
    if (TPopupMenu* m = c->GetPopupMenu(); m && m->IsShortCut(key, shift)) return true;
  TCustomForm* form = GetParentForm(control);
  auto* menu = form ? Cast<TMainMenu>(form->GetMenu()) : nullptr;
  if (menu && menu->IsShortCut(key, shift)) return true;
  // Then the form's action lists, as TCustomForm.IsShortCut offers them.
  for (int i = 0; form && i < form->ComponentCount(); ++i)
    if (auto* list = Cast<TActionList>(form->Components(i)); list && list->IsShortCut(key, shift)) return true;
  return false;
}

bool HighlightMenuItem(TMenuItem* item) { return qtm::Highlight(item); }
bool TriggerMenuItem(TMenuItem* item) { return qtm::Trigger(item); }

bool ContextPopup(TControl* control, const TPoint& screenPos) {
  if (control->InState(csDesigning)) return false;
  for (TControl* c = control; c; c = c->GetParent()) {
    TPopupMenu* m = c->GetPopupMenu();
    if (!m) continue;
    if (!m->GetAutoPopup()) return false;
    m->SetPopupComponent(c);
    m->Popup(screenPos.X, screenPos.Y);
    return true;
  }
  return false;
}

// --- Backend notifications.
void MenuItemSelected(TMenuItem* item, bool byMouse) {
  TMenuItem* parent = item->Parent();
  TMenu* menu = item->GetParentMenu();
  TCustomForm* form = menu ? menu->NotifyForm() : nullptr;
  if (!parent || !form) return;
  uint16_t flags = MF_HILITE;
  if (byMouse) flags |= MF_MOUSESELECT;
  if (!item->GetEnabled()) flags |= MF_DISABLED | MF_GRAYED;
  if (item->GetChecked()) flags |= MF_CHECKED;
  if (item->IsLine()) flags |= MF_SEPARATOR;
  uint16_t id = static_cast<uint16_t>(item->Command());
  if (item->Count() > 0) {
    flags |= MF_POPUP;
    id = static_cast<uint16_t>(item->GetMenuIndex());
  }
  SendMessage(form, WM_MENUSELECT, MakeWParam(id, flags), parent->Handle());
}

void MenuClosed(TMenu* menu) {
  if (TCustomForm* form = menu->NotifyForm()) SendMessage(form, WM_MENUSELECT, MakeWParam(0, 0xFFFF), 0);
}

// The sub-items' actions update first, as the VCL does on WM_INITMENUPOPUP.
void MenuItemShowing(TMenuItem* item) {
  TMenu* menu = item->GetParentMenu();
  if (!menu || !menu->InState(csDesigning)) UpdateMenuActions(item);
}

void MenuItemChosen(TMenuItem* item) {
  TMenu* menu = item->GetParentMenu();
  if (menu && menu->InState(csDesigning)) return;
  if (menu) menu->DispatchCommand(item->Command());
  else item->Click();
}

// =============================================================================================
// Builders.
TMenuItem* NewItem(const std::string& caption, TShortCut shortCut, bool checked, bool enabled, TNotifyEvent onClick,
                   THelpContext helpContext, const std::string& name) {
  auto* i = new TMenuItem(nullptr);
  i->SetName(name);
  i->SetCaption(caption);
  i->SetShortCut(shortCut);
  i->SetChecked(checked);
  i->SetEnabled(enabled);
  i->OnClick = onClick;
  i->SetHelpContext(helpContext);
  return i;
}

TMenuItem* NewSubMenu(const std::string& caption, THelpContext helpContext, const std::string& name,
                      const std::vector<TMenuItem*>& items, bool enabled) {
  TMenuItem* i = NewItem(caption, 0, false, enabled, nullptr, helpContext, name);
  for (TMenuItem* sub : items) i->Add(sub);
  return i;
}

TMenuItem* NewLine() { return NewItem("-", 0, false, true, nullptr, 0, ""); }

TMainMenu* NewMenu(TComponent* owner, const std::string& name, const std::vector<TMenuItem*>& items) {
  auto* m = new TMainMenu(owner);
  m->SetName(name);
  for (TMenuItem* i : items) m->Items()->Add(i);
  return m;
}

TPopupMenu* NewPopupMenu(TComponent* owner, const std::string& name, TPopupAlignment alignment, bool autoPopup,
                         const std::vector<TMenuItem*>& items) {
  auto* m = new TPopupMenu(owner);
  m->SetName(name);
  m->SetAlignment(alignment);
  m->SetAutoPopup(autoPopup);
  for (TMenuItem* i : items) m->Items()->Add(i);
  return m;
}

// =============================================================================================
// TShortCutProperty
namespace {
const char* const kNone = "(None)";

std::vector<TShortCut> StandardShortCuts() {
  std::vector<TShortCut> l{scNone};
  for (char c = 'A'; c <= 'Z'; ++c) l.push_back(static_cast<TShortCut>(c | scCtrl));
  for (TShortCut mods : {TShortCut(0), scCtrl, scShift, TShortCut(scShift | scCtrl)})
    for (int f = 0; f < 12; ++f) l.push_back(static_cast<TShortCut>((VK_F1 + f) | mods));
  for (uint16_t k : {VK_INSERT, VK_DELETE})
    for (TShortCut mods : {TShortCut(0), scShift, scCtrl}) l.push_back(static_cast<TShortCut>(k | mods));
  l.push_back(static_cast<TShortCut>(VK_BACK | scAlt));
  l.push_back(static_cast<TShortCut>(VK_BACK | scShift | scAlt));
  return l;
}
}  // namespace

std::string TShortCutProperty::GetValue() {
  auto sc = static_cast<TShortCut>(GetOrdValue());
  return sc == scNone ? kNone : ShortCutToText(sc);
}

void TShortCutProperty::GetValues(const TGetStrProc& proc) {
  proc(kNone);
  for (TShortCut sc : StandardShortCuts())
    if (sc != scNone) proc(ShortCutToText(sc));
}

void TShortCutProperty::SetValue(const std::string& value) {
  std::string v = Trim(value);
  TShortCut sc = 0;
  if (!v.empty() && !SameText(v, kNone)) {
    sc = TextToShortCut(v);
    if (sc == 0) throw EPropertyError(SInvalidPropertyValue);
  }
  SetOrdValue(sc);
}

void RegisterMenusClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
  RegisterPropertyEditor(TypeInfoTShortCut(), nullptr, "", TShortCutProperty::StaticClass());
}
