#include "KvTbNtBk.h"

#include <algorithm>

#include "Consts.h"
#include "KvClass.h"

namespace {
constexpr int KvTbNtBkButtonSize = 28;
constexpr int KvTbNtBkScrollWidth = 12;
constexpr int KvTbNtBkPointerLeft = 4;
constexpr int KvTbNtBkLeftScrollLeft = 38;
constexpr int KvTbNtBkFirstClassLeft = 50;
constexpr int KvTbNtBkFixedButtons = 3;  // pointer, left scroll, right scroll

enum KvTbNtBkFixed { KvTbNtBkPointerButton, KvTbNtBkLeftButton, KvTbNtBkRightButton };

// The host's component resource file supplies the fixed buttons' bitmaps under these names.
const char* const KvTbNtBkGlyphNames[] = {"KvPointer", "KvLeftScroll", "KvRightScroll"};

TKvSpeedButton* KvTbNtBkButton(TList* list, int i) { return static_cast<TKvSpeedButton*>(list->Get(i)); }
}  // namespace

// =============================================================================================
TKvTabbedNotebook::TKvTabbedNotebook(TComponent* AOwner) : TKvTabControl(AOwner) {
  if (AOwner && AOwner->InState(csDesigning)) {
    SetBounds(FLeft, FTop, 300, 63);
    SetShowHint(true);
  }
}

TKvTabbedNotebook::~TKvTabbedNotebook() {
  Destroying();
  ClearButtons();
}

TList* TKvTabbedNotebook::GetComponentList(int index) {
  if (index < 0) throw EListError(Format(SListIndexError, index));
  while (static_cast<int>(FButtonLists.size()) <= index) FButtonLists.push_back(new TList);
  return FButtonLists[index];
}

TKvTabPage* TKvTabbedNotebook::GetTabPage(int index) const {
  if (index < 0) throw EListError(Format(SListIndexError, index));
  return index < PageCount() ? Page(index) : nullptr;
}

void TKvTabbedNotebook::ClearButtons() {
  // The pages take their buttons with them; while the notebook goes, its pages go later, so
  // their buttons must not look into the lists freed here.
  if (!InState(csDestroying)) GetPages()->Clear();
  for (TList* list : FButtonLists) {
    for (int i = 0; i < list->Count(); ++i) KvTbNtBkButton(list, i)->ButtonList = nullptr;
    delete list;
  }
  FButtonLists.clear();
}

TKvSpeedButton* TKvTabbedNotebook::NewButton(TList* list, TKvTabPage* page) {
  auto* button = new TKvSpeedButton(Owner());
  list->Add(button);
  button->ButtonList = list;
  button->SetParent(page);
  return button;
}

TKvTabPage* TKvTabbedNotebook::AddPage(const std::string& pageName) {
  int index = GetPages()->IndexOf(pageName);
  if (index < 0) {
    GetPages()->Add(pageName);
    index = PageCount() - 1;
  }
  SetPageIndex(index);
  TKvTabPage* page = CurrentPage();
  if (!page) return nullptr;
  TList* list = GetComponentList(GetPageIndex());
  if (list->Count() >= KvTbNtBkFixedButtons) return page;
  const TNotifyEvent handlers[] = {TNotifyEvent(this, &TKvTabbedNotebook::ButtonClick),
                                   TNotifyEvent(this, &TKvTabbedNotebook::ScrollLeft),
                                   TNotifyEvent(this, &TKvTabbedNotebook::ScrollRight)};
  for (KvTbNtBkFixed kind : {KvTbNtBkPointerButton, KvTbNtBkLeftButton, KvTbNtBkRightButton}) {
    TKvSpeedButton* button = NewButton(list, page);
    bool pointer = kind == KvTbNtBkPointerButton;
    button->SetBounds(pointer ? KvTbNtBkPointerLeft : KvTbNtBkLeftScrollLeft, 0,
                      pointer ? KvTbNtBkButtonSize : KvTbNtBkScrollWidth, KvTbNtBkButtonSize);
    button->SetGroupIndex(pointer ? 1 : 0);
    button->SetDown(true);  // only the pointer, the scroll buttons having no group
    if (TBitmap* glyph = GetComponentBitmapByName(KvTbNtBkGlyphNames[kind])) button->SetGlyph(glyph);
    button->OnClick = handlers[kind];
  }
  return page;
}

void TKvTabbedNotebook::AddComponent(TClass componentClass, const std::string& hint) {
  if (!componentClass) throw EComponentError(Format(SClassNotFound, "nil"));
  std::string className = componentClass->Name;
  std::string text = hint;
  if (text.empty()) text = !className.empty() && className[0] == 'T' ? className.substr(1) : className;
  TKvTabPage* page = CurrentPage();
  if (!page) return;
  TKvSpeedButton* button = NewButton(GetComponentList(GetPageIndex()), page);
  // A class on two pages gets one button named after it; the other stays unnamed rather than
  // failing the whole palette with a duplicate name.
  if (!Owner() || !Owner()->FindComponent(className)) button->SetName(className);
  button->SetVisible(false);
  button->SetGroupIndex(1);
  button->SetShowHint(GetShowHint());
  button->SetHint(text);
  button->ComponentClass = componentClass;
  button->OnClick = TNotifyEvent(this, &TKvTabbedNotebook::ButtonClick);
  button->SetGlyph(GetComponentBitmap(componentClass));
}

void TKvTabbedNotebook::LayOut(bool resetPointer) {
  TKvTabPage* page = CurrentPage();
  if (!page) return;
  page->SetVisible(true);
  page->SetEnabled(true);
  TList* list = GetComponentList(GetPageIndex());
  int n = list->Count() - KvTbNtBkFixedButtons;
  if (n < 1) return;
  int slots = std::max(0, (GetWidth() - 72) / KvTbNtBkButtonSize);
  FLastVisible = slots + FFirstVisible;
  bool more = FLastVisible < n;
  auto place = [page](TKvSpeedButton* b, int left, bool enabled) {
    if (!b->GetVisible() || b->GetParent() != page) {
      b->Hide();
      b->SetParent(page);
    }
    b->SetEnabled(enabled);
    b->SetLeft(left);
    b->Show();
  };
  place(KvTbNtBkButton(list, KvTbNtBkPointerButton), KvTbNtBkPointerLeft, true);
  place(KvTbNtBkButton(list, KvTbNtBkLeftButton), KvTbNtBkLeftScrollLeft, FFirstVisible > 0);
  place(KvTbNtBkButton(list, KvTbNtBkRightButton), KvTbNtBkFirstClassLeft + KvTbNtBkButtonSize * slots, more);
  int end = more ? FLastVisible : n;
  for (int i = 0; i < n; ++i) {
    TKvSpeedButton* b = KvTbNtBkButton(list, KvTbNtBkFixedButtons + i);
    if (i < FFirstVisible || i >= end) {
      b->Hide();
      continue;
    }
    if (b->GetParent() != page) b->SetParent(page);
    b->SetBounds(KvTbNtBkFirstClassLeft + KvTbNtBkButtonSize * (i - FFirstVisible), 0, KvTbNtBkButtonSize,
                 KvTbNtBkButtonSize);
    b->Show();
  }
  if (resetPointer) SetPointer();
}

void TKvTabbedNotebook::ScrollLeft(TObject*) {
  if (FFirstVisible <= 0) return;
  --FFirstVisible;
  LayOut(false);
}

void TKvTabbedNotebook::ScrollRight(TObject*) {
  if (FLastVisible >= GetComponentList(GetPageIndex())->Count() - KvTbNtBkFixedButtons) return;
  ++FFirstVisible;
  LayOut(false);
}

void TKvTabbedNotebook::ButtonClick(TObject* sender) {
  FSelectedClass = static_cast<TKvSpeedButton*>(sender)->ComponentClass;
  OnSelect(sender, FSelectedClass);
}

void TKvTabbedNotebook::SetPointer() {
  FSelectedClass = nullptr;
  if (!CurrentPage()) return;
  TList* list = GetComponentList(GetPageIndex());
  if (list->Count() > KvTbNtBkPointerButton) KvTbNtBkButton(list, KvTbNtBkPointerButton)->SetDown(true);
}

void TKvTabbedNotebook::RebuildFromRegistry() {
  FRegisteredCount = RegisteredComponentCount;
  if (GetParent()) GetParent()->Update();
  bool visible = GetVisible();
  Hide();
  try {
    ClearButtons();
    for (int p = 0; p < RegisteredPages->Count(); ++p) {
      AddPage(RegisteredPages->Get(p));
      auto* classes = static_cast<const TList*>(RegisteredPages->GetObject(p));
      for (int i = 0; i < classes->Count(); ++i) AddComponent(ClassItem(classes, i), "");
    }
    SetPageIndex(0);
    FFirstVisible = 0;
    LayOut(true);
  } catch (...) {
    SetVisible(visible);
    throw;
  }
  SetVisible(visible);
}

void TKvTabbedNotebook::SetBounds(int left, int top, int width, int height) {
  if (FUseRegistered && RegisteredPages && RegisteredComponentCount != FRegisteredCount && !InState(csLoading))
    RebuildFromRegistry();
  TKvTabControl::SetBounds(left, top, width, height);
}

void TKvTabbedNotebook::Change() {
  TKvTabControl::Change();
  if (!CurrentPage()) return;
  FFirstVisible = 0;
  LayOut(true);
}

void TKvTabbedNotebook::Click() {
  LayOut(false);
  TKvTabControl::Click();
}

void TKvTabbedNotebook::AlignControls(TControl* aControl, TRect& rect) {
  TKvTabControl::AlignControls(aControl, rect);
  if (GetWidth() == FLastWidth || !CurrentPage()) return;
  FLastWidth = GetWidth();
  LayOut(false);
}

void TKvTabbedNotebook::Repaint() {
  TKvTabControl::Repaint();
  Change();
}

// =============================================================================================
KV_IMPLEMENT_CLASS(TKvTabbedNotebook, "KvTbNtBk") {
  b.Prop("OnSelect", &TKvTabbedNotebook::OnSelect);
  b.Prop("UseRegistered", &TKvTabbedNotebook::GetUseRegistered, &TKvTabbedNotebook::SetUseRegistered).Default(false);
  b.Prop("ActivePage", &TKvTabControl::GetActivePage, &TKvTabControl::SetActivePage).Stored(false);
  PublishControlProperties(b, {"Align", "Enabled"});
  b.Prop("PageIndex", &TKvTabControl::GetPageIndex, &TKvTabControl::SetPageIndex).Default(0);
  b.Prop("Pages", &TKvTabControl::GetPages, &TKvTabControl::SetPages).Stored(false);
  PublishControlProperties(b, {"Font"});
  b.Prop("TabsPerRow", &TKvTabControl::GetTabsPerRow, &TKvTabControl::SetTabsPerRow).Default(3);
  b.Prop("TabFont", &TKvTabControl::GetTabFont, &TKvTabControl::SetTabFont);
  PublishControlProperties(b, {"ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  b.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(true);
  PublishControlProperties(b, {"Visible", "OnClick"});
  b.Prop("OnChange", &TKvTabControl::OnChange);
  PublishControlProperties(b, {"OnEnter", "OnExit"});
}

void RegisterKvTbNtBkClasses() { RegisterClasses({TTabPage::StaticClass(), TKvTabPage::StaticClass()}); }
