#include "Tabnotbk.h"

#include <algorithm>

#include "qt/QtWidgets.h"

// =============================================================================================
// TTabPage
TTabPage::TTabPage(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csSetCaption};
  SetVisible(false);
  SetAlign(alClient);  // fills the page area below the tabs; not stored
}

TTabPage::~TTabPage() {
  Destroying();
  SetParent(nullptr);
}

void TTabPage::SetParent(TWinControl* value) {
  if (FNotebook && value != FNotebook) {
    auto& list = FNotebook->FPageList;
    list.erase(std::find(list.begin(), list.end(), this));
    TTabbedNotebook* old = FNotebook;
    FNotebook = nullptr;
    if (!old->InState(csDestroying)) old->PagesChanged();
  }
  TWinControl::SetParent(value);
  if (auto* nb = Cast<TTabbedNotebook>(value); nb && nb != FNotebook) {
    FNotebook = nb;
    nb->FPageList.push_back(this);
  }
}

void TTabPage::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED && FNotebook) FNotebook->Invalidate();
  TWinControl::Dispatch(m);
}

void TTabPage::PaintWindow(TPaintDC* dc) { qtw::FillRect(dc, GetClientRect(), ColorToRGB(clBtnFace)); }

// =============================================================================================
// TTabbedNotebook
TTabbedNotebook::TTabbedNotebook(TComponent* AOwner)
    : TCustomTabControl(AOwner), FAccess(new TPageStrings(this)), FTabFont(new TFont) {
  FWidth = 300;
  FHeight = 250;
  SetMultiLine(true);
  FTabFont->SetColor(clBtnText);
  FAccess->Add("Default");
  SetPageIndex(0);
}

TTabbedNotebook::~TTabbedNotebook() {
  Destroying();
  for (TWinControl* p : FPageList) static_cast<TTabPage*>(p)->FNotebook = nullptr;
  FPageList.clear();
  delete FAccess;
  delete FTabFont;
}

TWinControl* TTabbedNotebook::NewPage() {
  auto* page = new TTabPage(this);
  page->SetParent(this);
  return page;
}

std::vector<std::string> TTabbedNotebook::TabCaptions() const {
  std::vector<std::string> out;
  for (TWinControl* p : FPageList) out.push_back(p->GetCaption());
  return out;
}

void TTabbedNotebook::PagesChanged() {
  if (InState(csLoading) || InState(csReading)) return;
  if (FPageIndex >= PageCount()) FPageIndex = PageCount() - 1;
  if (FPageIndex < 0 && PageCount() > 0) FPageIndex = 0;
  ShowPage();
}

void TTabbedNotebook::ShowPage() {
  FTabIndex = FPageIndex;
  for (int i = 0; i < PageCount(); ++i)
    if (i != FPageIndex) FPageList[i]->SetVisible(false);
  if (FPageIndex >= 0) {
    FPageList[FPageIndex]->SetVisible(true);
    FPageList[FPageIndex]->BringToFront();
  }
  Realign();
  Invalidate();
}

void TTabbedNotebook::SetPageIndex(int v) {
  if (InState(csLoading) || InState(csReading)) {
    FPageIndex = v;  // the pages may not be read yet
    return;
  }
  if (v < 0 || v >= PageCount() || v == FPageIndex) return;
  bool allow = true;
  if (FPageIndex >= 0) OnChange(this, v, allow);
  if (!allow) return;
  FPageIndex = v;
  ShowPage();
}

std::string TTabbedNotebook::GetActivePage() const {
  return FPageIndex >= 0 && FPageIndex < PageCount() ? FPageList[FPageIndex]->GetCaption() : "";
}

void TTabbedNotebook::SetActivePage(const std::string& caption) { SetPageIndex(FAccess->IndexOf(caption)); }

void TTabbedNotebook::SetTabsPerRow(int v) {
  FTabsPerRow = std::max(1, v);
  Realign();
  Invalidate();
}

// A click on a tab asks OnChange first; the tab control's own selection is bypassed because
// it cannot tell its handler which tab is wanted.
void TTabbedNotebook::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    int i = IndexOfTabAt(x, y);
    if (i >= 0 && i != FPageIndex) {
      SetPageIndex(i);
      if (FPageIndex == i) {
        DesignModified();
        Click();
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TTabbedNotebook::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TWinControl* p : FPageList) proc(p);
}

// The stream brings the pages; the default one goes.
void TTabbedNotebook::ReadState(TReader* reader) {
  while (!FPageList.empty()) delete FPageList.back();
  TCustomTabControl::ReadState(reader);
}

void TTabbedNotebook::Loaded() {
  TCustomTabControl::Loaded();
  int index = FPageIndex;
  FPageIndex = -1;
  if (PageCount() > 0) FPageIndex = std::clamp(index, 0, PageCount() - 1);
  ShowPage();
}

// =============================================================================================
KV_IMPLEMENT_CLASS(TTabPage, "Tabnotbk") {
  PublishControlProperties(b, {"Caption"});
  // The notebook places and shows its pages.
  b.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Stored(false);
  b.Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder).Type(TypeInfoTTabOrder()).Stored(false);
  b.Prop("Visible", &TControl::GetVisible, &TControl::SetVisible).Stored(false);
  b.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Stored(false);
  PublishControlProperties(b, {"OnEnter", "OnExit"});
}

KV_IMPLEMENT_CLASS(TTabbedNotebook, "Tabnotbk") {
  b.Prop("ActivePage", &TTabbedNotebook::GetActivePage, &TTabbedNotebook::SetActivePage).Stored(false);
  PublishControlProperties(b, {"Align", "Anchors", "Constraints", "Enabled"});
  b.Prop("PageIndex", &TTabbedNotebook::GetPageIndex, &TTabbedNotebook::SetPageIndex).Default(0);
  b.Prop("Pages", &TTabbedNotebook::GetPages, &TTabbedNotebook::SetPages).Stored(false);
  PublishControlProperties(b, {"Font"});
  b.Prop("TabsPerRow", &TTabbedNotebook::GetTabsPerRow, &TTabbedNotebook::SetTabsPerRow).Default(3);
  b.Prop("TabFont", &TTabbedNotebook::GetTabFont, &TTabbedNotebook::SetTabFont);
  PublishControlProperties(b, {"ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick"});
  b.Prop("OnChange", &TTabbedNotebook::OnChange);
  PublishControlProperties(b, {"OnEnter", "OnExit"});
}

void RegisterTabnotbkClasses() { RegisterClasses({TTabbedNotebook::StaticClass(), TTabPage::StaticClass()}); }
