#include "KvTabs.h"

#include <algorithm>

#include "Consts.h"
#include "Forms.h"
#include "StdCtrls.h"

TKvTabControl* ReadingTabControl = nullptr;

namespace {
// The library's default-name text, the caption of a new tab control's only page.
constexpr const char* KvTabsDefaultPage = "Default";
}  // namespace

// =============================================================================================
// TKvTabPage
TKvTabPage::TKvTabPage(TComponent* AOwner)
    : TWinControl(ReadingTabControl ? ReadingTabControl->TabStrip() : AOwner), FReadingTabControl(ReadingTabControl) {
  ControlStyle = {csAcceptsControls};
  SetAlign(alClient);
  SetTabStop(false);
  SetEnabled(false);
  SetVisible(false);
}

TKvTabPage::~TKvTabPage() { Destroying(); }

void TKvTabPage::ReadState(TReader* reader) {
  TWinControl::ReadState(reader);
  if (FReadingTabControl) {
    FReadingTabControl->AttachPage(FReadingTabControl->PageCount(), this);
    FReadingTabControl = nullptr;  // attached; the tab control watches the page from now on
  }
  SetTabStop(false);
}

// =============================================================================================
// TKvTabPageAccess
void TKvTabPageAccess::CheckIndex(int i) const {
  if (i < 0 || i >= Count()) Error(SListIndexError, i);
}

int TKvTabPageAccess::Count() const { return FTabControl->PageCount(); }

std::string TKvTabPageAccess::Get(int i) const {
  CheckIndex(i);
  return FTabControl->Page(i)->GetCaption();
}

TObject* TKvTabPageAccess::GetObject(int i) const {
  CheckIndex(i);
  return FTabControl->Page(i);
}

void TKvTabPageAccess::Put(int i, const std::string& s) {
  CheckIndex(i);
  FTabControl->Page(i)->SetCaption(s);
  FTabControl->GetTabs()->Put(i, s);
}

void TKvTabPageAccess::Insert(int i, const std::string& s) {
  if (i < 0 || i > Count()) Error(SListIndexError, i);
  TKvTabControl* tc = FTabControl;
  TKvTabPage* old = tc->CurrentPage();
  auto* page = new TKvTabPage(tc);
  page->SetParent(tc->FTabStrip);
  page->SetCaption(s);
  tc->AttachPage(i, page);
  tc->FPageIndex = -1;  // the indexes moved: show the new page whatever its index
  tc->SetPageIndex(i);
  if (tc->FPageIndex == i) {
    if (old) tc->ShowPage(old, false);
  } else if (old) {  // refused: the page shown before stays the visible one
    tc->FPageIndex = tc->GetPages()->IndexOfObject(old);
    tc->SetTabIndex(tc->FPageIndex);
  }
  tc->Realign();
  tc->Invalidate();
}

void TKvTabPageAccess::Delete(int i) {
  CheckIndex(i);
  TKvTabControl* tc = FTabControl;
  bool wasShown = i == tc->FPageIndex;
  delete tc->Page(i);  // the tab control hears of it and forgets the page
  if (wasShown) tc->SetPageIndex(0);
  tc->Realign();
  tc->Invalidate();
}

void TKvTabPageAccess::Clear() {
  TKvTabControl* tc = FTabControl;
  while (tc->PageCount() > 0) delete tc->Page(0);
  tc->GetTabs()->Clear();
  tc->Realign();
}

void TKvTabPageAccess::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  if (a == b) return;
  TKvTabControl* tc = FTabControl;
  std::swap(tc->FPageList[a], tc->FPageList[b]);
  tc->GetTabs()->Exchange(a, b);
  // The same page stays visible; only its index changed, so nothing is asked of OnChange.
  if (tc->FPageIndex == a) tc->FPageIndex = b;
  else if (tc->FPageIndex == b) tc->FPageIndex = a;
  tc->SetTabIndex(tc->FPageIndex);
  tc->Realign();
}

void TKvTabPageAccess::Assign(TPersistent* source) {
  auto* src = Cast<TStrings>(source);
  if (!src) return TStrings::Assign(source);
  // Copied first: the source may be this list or the strip's tabs, which change as we go.
  std::vector<std::string> items;
  for (int i = 0; i < src->Count(); ++i) items.push_back(src->Get(i));
  int n = static_cast<int>(items.size());
  BeginUpdate();
  try {
    for (int i = 0; i < n; ++i) {
      int found = IndexOf(items[i]);
      if (found < i) Insert(i, items[i]);
      else if (found != i) Move(found, i);
    }
    while (Count() > n) Delete(n);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// =============================================================================================
// TKvTabControl
TKvTabControl::TKvTabControl(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls};
  SetBounds(FLeft, FTop, 300, 250);
  SetTabStop(true);
  FTabStrip = new TTabControl(this);
  FTabStrip->SetParent(this);
  FTabStrip->SetAlign(alClient);
  FTabStrip->SetTabStop(false);  // the keys go to the tab control, which knows the pages
  FTabStrip->OnChange = TNotifyEvent(this, &TKvTabControl::TabStripChange);
  // A new tab font changes the tab height, hence the area the pages fill.
  FTabStrip->WindowProc = [this, stripProc = FTabStrip->WindowProc](TMessage& m) {
    stripProc(m);
    if (m.Msg == CM_FONTCHANGED) Perform(CM_TABFONTCHANGED, 0, 0);
  };
  // Captions show their accelerator underlined, as the accelerators select pages.
  FTabStrip->SetOwnerDraw(true);
  FTabStrip->OnDrawTab = [this](TObject*, int i, const TRect& r, bool active) { DrawTab(i, r, active); };
  // A click on a tab gives the keyboard to the tab control, so the arrows go on from there.
  FTabStrip->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
    if (CanFocus()) SetFocus();
  };
  TFont* font = GetTabFont();
  font->SetColor(clBtnText);
  font->SetName("MS Sans Serif");
  font->SetSize(8);
  FPages = new TKvTabPageAccess(this);
  if (!AOwner || !AOwner->InState(csLoading)) {
    FPages->Add(KvTabsDefaultPage);
    SetPageIndex(0);
  }
}

TKvTabControl::~TKvTabControl() {
  Destroying();
  delete FTabStrip;  // and with it the pages, which it parents
  FTabStrip = nullptr;
  delete FPages;
}

TKvTabPage* TKvTabControl::CurrentPage() const {
  if (FPageIndex < 0 || FPageIndex >= PageCount()) return nullptr;
  TKvTabPage* page = FPageList[FPageIndex];
  return page->InState(csDestroying) ? nullptr : page;
}

void TKvTabControl::AttachPage(int i, TKvTabPage* page) {
  FPageList.insert(FPageList.begin() + i, page);
  GetTabs()->Insert(i, page->GetCaption());
  page->FreeNotification(this);
}

void TKvTabControl::DetachPage(int i) {
  FPageList.erase(FPageList.begin() + i);
  if (InState(csDestroying)) return;
  if (i < GetTabs()->Count()) GetTabs()->Delete(i);
  if (i == FPageIndex) FPageIndex = -1;
  else if (i < FPageIndex) --FPageIndex;
  SetTabIndex(FPageIndex);
}

void TKvTabControl::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op != opRemove) return;
  auto it = std::find(FPageList.begin(), FPageList.end(), c);
  if (it != FPageList.end()) DetachPage(static_cast<int>(it - FPageList.begin()));
}

void TKvTabControl::ShowPage(TKvTabPage* page, bool show) {
  if (show) page->BringToFront();
  page->SetVisible(show);
  page->SetEnabled(show);
}

void TKvTabControl::DrawTab(int i, const TRect& r, bool active) {
  TCanvas* c = FTabStrip->Canvas();
  PaintTabs(c, {r}, {""}, active ? 0 : -1);
  TRect text = r;
  if (active) text.Top -= 2;  // the selected tab stands higher
  DrawText(c, GetTabs()->Get(i), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TKvTabControl::SetPageIndex(int v) {
  if (InState(csLoading)) {
    FPageIndex = v;  // the pages may not be read yet
    return;
  }
  if (FPageList.empty()) {
    FTabStrip->SetBounds(0, 0, 0, 0);
    return;
  }
  if (v == FPageIndex || v < 0 || v >= PageCount()) return;
  bool allow = true;
  OnChange(this, v, allow);
  if (!allow) return;
  // Keyboard focus must not stay on a control of the page about to be hidden.
  if (TCustomForm* form = GetParentForm(this);
      form && form->GetActiveControl() && ContainsControl(form->GetActiveControl()))
    form->SetActiveControl(this);
  SetTabIndex(v);
  ShowPage(FPageList[v], true);
  int old = FPageIndex;
  if (old >= 0 && old < PageCount()) ShowPage(FPageList[old], false);
  FPageIndex = v;
  if (old / FTabsPerRow != v / FTabsPerRow) Realign();
}

void TKvTabControl::SetTabIndex(int v) {
  FTabIndex = v;
  if (v < GetTabs()->Count()) FTabStrip->SetTabIndex(v);
}

void TKvTabControl::TabStripChange(TObject*) {
  SetPageIndex(FTabStrip->GetTabIndex());
  Change();
  // A refused change puts the strip back on the tab of the page that stays visible.
  if (FTabStrip->GetTabIndex() != FPageIndex) SetTabIndex(FPageIndex);
}

void TKvTabControl::Change() {
  if (FTabIndex >= 0) SetPageIndex(FTabIndex);
  if (FTabIndex != FPageIndex) SetTabIndex(FPageIndex);
}

void TKvTabControl::KeyDown(uint16_t& key, TShiftState) {
  int n = PageCount();
  if (n == 0) return;
  switch (key) {
    case VK_LEFT:
    case VK_UP: SetPageIndex(FPageIndex <= 0 ? n - 1 : FPageIndex - 1); break;
    case VK_RIGHT:
    case VK_DOWN: SetPageIndex(FPageIndex >= n - 1 ? 0 : FPageIndex + 1); break;
    default: return;
  }
  Click();
}

void TKvTabControl::CMDialogChar(TMessage& m) {
  for (int i = 0; i < PageCount(); ++i) {
    if (!IsAccel(static_cast<uint16_t>(m.WParam), FPageList[i]->GetCaption())) continue;
    SetFocus();
    if (Focused()) {
      SetPageIndex(i);
      Click();
    }
    m.Result = 1;
    return;
  }
  TCustomControl::Dispatch(m);
}

void TKvTabControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_TABFONTCHANGED:
      FTabStrip->Realign();
      Invalidate();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

std::string TKvTabControl::GetActivePage() const {
  return FPageIndex >= 0 && FPageIndex < PageCount() ? FPageList[FPageIndex]->GetCaption() : "";
}

void TKvTabControl::SetActivePage(const std::string& name) { SetPageIndex(FPages->IndexOf(name)); }

int TKvTabControl::GetIndexForPage(const std::string& pageName) const {
  for (int i = 0; i < PageCount(); ++i)
    if (FPageList[i]->GetCaption() == pageName) return i;
  return -1;
}

void TKvTabControl::SetPages(TStrings* v) {
  FPages->Assign(v);
  SetPageIndex(PageCount() == 0 ? -1 : 0);
}

void TKvTabControl::SetTabsPerRow(int v) {
  if (v < 3) return;
  FTabsPerRow = v;
  Realign();
  Invalidate();
}

void TKvTabControl::AlignControls(TControl* aControl, TRect& rect) {
  if (CurrentPage()) TCustomControl::AlignControls(aControl, rect);
}

void TKvTabControl::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TKvTabPage* page : FPageList) proc(page);
}

void TKvTabControl::ReadState(TReader* reader) {
  FPages->Clear();
  // Saved and given back, so that a tab control on a page of another leaves the outer one
  // reading its remaining pages.
  TKvTabControl* outer = ReadingTabControl;
  ReadingTabControl = this;
  try {
    TCustomControl::ReadState(reader);
  } catch (...) {
    ReadingTabControl = outer;
    throw;
  }
  ReadingTabControl = outer;
  if (FPageList.empty()) {
    FPageIndex = -1;
  } else {
    if (FPageIndex < 0 || FPageIndex >= PageCount()) FPageIndex = 0;
    TKvTabPage* page = FPageList[FPageIndex];
    page->SetEnabled(true);
    page->BringToFront();
    page->SetAlign(alClient);
  }
  if (FPageIndex < GetTabs()->Count()) SetTabIndex(FPageIndex);
}

void TKvTabControl::Loaded() {
  TCustomControl::Loaded();
  for (int i = 0; i < PageCount(); ++i) {
    TKvTabPage* page = FPageList[i];
    page->SetParent(FTabStrip);
    page->SetVisible(i == FPageIndex);
    page->SetEnabled(page->GetVisible());
  }
  // Shown in full, OnChange included.
  int index = FPageIndex;
  FPageIndex = -1;
  SetPageIndex(index);
  Realign();
}

// =============================================================================================
KV_IMPLEMENT_CLASS(TKvTabPage, "KvTabs") {
  PublishControlProperties(b, {"Caption"});
  // The tab control places, shows and enables its pages.
  b.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Stored(false);
  b.Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder).Type(TypeInfoTTabOrder()).Stored(false);
  b.Prop("Visible", &TControl::GetVisible, &TControl::SetVisible).Stored(false);
  b.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Stored(false);
  b.Prop("Enabled", &TControl::GetEnabled, &TControl::SetEnabled).Stored(false);
}

KV_IMPLEMENT_CLASS(TKvTabPageAccess, "KvTabs") {}
KV_IMPLEMENT_CLASS(TKvTabControl, "KvTabs") {}
