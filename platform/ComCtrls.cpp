#include "ComCtrls.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <set>

#include "Grids.h"
#include "qt/QtComCtrls.h"
#include "qt/QtWidgets.h"

namespace {
// Raised (or sunken) 3D edge in the Windows 95 colours.
void Edge(TCanvas* c, const TRect& r, bool raised) {
  c->GetPen()->SetColor(raised ? clBtnHighlight : clBtnShadow);
  c->MoveTo(r.Left, r.Bottom - 1);
  c->LineTo(r.Left, r.Top);
  c->LineTo(r.Right - 1, r.Top);
  c->GetPen()->SetColor(raised ? clBtnShadow : clBtnHighlight);
  c->LineTo(r.Right - 1, r.Bottom - 1);
  c->LineTo(r.Left - 1, r.Bottom - 1);
}

void AlignedText(TCanvas* c, const TRect& r, const std::string& s, TAlignment a) {
  int w = c->TextWidth(s), h = c->TextHeight(s);
  int x = a == taLeftJustify ? r.Left + 4 : a == taRightJustify ? r.Right - 4 - w : (r.Left + r.Right - w) / 2;
  c->GetBrush()->SetStyle(bsClear);
  c->TextRect(r, x, (r.Top + r.Bottom - h) / 2, s);
  c->GetBrush()->SetStyle(bsSolid);
}

void Guard(TComponent* self, TImageList*& field, TImageList* v) {
  field = v;
  if (v) v->FreeNotification(self);
}
}  // namespace

// =============================================================================================
// Tab strips.
std::vector<TRect> LayoutTabs(TCanvas* canvas, const std::vector<std::string>& captions, int width, int top,
                              int tabHeight, bool multiLine) {
  std::vector<TRect> out;
  int x = 2, y = top + 2;
  for (const std::string& s : captions) {
    int w = canvas->TextWidth(s) + 12;
    if (multiLine && x + w > width - 2 && x > 2) {
      x = 2;
      y += tabHeight;
    }
    out.push_back({x, y, x + w, y + tabHeight});
    x += w;
  }
  return out;
}

void PaintTabs(TCanvas* c, const std::vector<TRect>& tabs, const std::vector<std::string>& captions, int selected) {
  for (size_t i = 0; i < tabs.size(); ++i) {
    TRect r = tabs[i];
    bool sel = static_cast<int>(i) == selected;
    if (sel) InflateRect(r, 2, 0), r.Top -= 2, r.Bottom += 1;
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    c->GetPen()->SetColor(clBtnHighlight);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top + 2);
    c->LineTo(r.Left + 2, r.Top);
    c->LineTo(r.Right - 2, r.Top);
    c->GetPen()->SetColor(clBtnShadow);
    c->MoveTo(r.Right - 2, r.Top + 1);
    c->LineTo(r.Right - 2, r.Bottom);
    c->GetPen()->SetColor(cl3DDkShadow);
    c->MoveTo(r.Right - 1, r.Top + 2);
    c->LineTo(r.Right - 1, r.Bottom);
    AlignedText(c, r, captions[i], taCenter);
  }
}

void PaintPageFrame(TCanvas* c, const TRect& r) {
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(r);
  Edge(c, r, true);
  TRect in = r;
  InflateRect(in, -1, -1);
  c->GetPen()->SetColor(cl3DDkShadow);
  c->MoveTo(in.Right, in.Top - 1);
  c->LineTo(in.Right, in.Bottom);
  c->LineTo(in.Left - 2, in.Bottom);
}

// =============================================================================================
// TCustomTabControl
TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner), FTabs(new TStringList) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csDoubleClicks, csOpaque};
  FWidth = 289;
  FHeight = 193;
  SetTabStop(true);
  FTabs->OnChange = [this](TObject*) { TabsChanged(); };
}

TCustomTabControl::~TCustomTabControl() {
  Destroying();
  DestroyHandle();
  delete FTabs;
}

void TCustomTabControl::TabsChanged() {
  if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
  Realign();
  Invalidate();
}

std::vector<std::string> TCustomTabControl::TabCaptions() const {
  std::vector<std::string> out;
  for (int i = 0; i < FTabs->Count(); ++i) out.push_back(FTabs->Get(i));
  return out;
}

void TCustomTabControl::SetTabIndex(int v) {
  if (v < -1 || v >= static_cast<int>(TabCaptions().size())) return;
  FTabIndex = v;
  Invalidate();
}

void TCustomTabControl::SetMultiLine(bool v) {
  FMultiLine = v;
  Realign();
  Invalidate();
}
void TCustomTabControl::SetTabPosition(TTabPosition v) {
  FTabPosition = v;
  Realign();
  Invalidate();
}
void TCustomTabControl::SetStyle(TTabStyle v) {
  FStyle = v;
  Invalidate();
}
void TCustomTabControl::SetOwnerDraw(bool v) {
  FOwnerDraw = v;
  Invalidate();
}
void TCustomTabControl::SetTabHeight(int v) {
  FTabHeight = v;
  Realign();
  Invalidate();
}
void TCustomTabControl::SetTabWidth(int v) {
  FTabWidth = v;
  Invalidate();
}
void TCustomTabControl::SetImages(TImageList* v) {
  Guard(this, FImages, v);
  Invalidate();
}

void TCustomTabControl::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == opRemove && c == FImages) FImages = nullptr;
}

std::vector<TRect> TCustomTabControl::TabRects() {
  Canvas()->SetFont(GetFont());
  int h = FTabHeight > 0 ? FTabHeight : Canvas()->TextHeight("Ag") + 6;
  auto tabs = LayoutTabs(Canvas(), TabCaptions(), FWidth, 0, h, FMultiLine);
  if (FTabWidth > 0) {
    int x = 2;
    for (TRect& r : tabs) r.Left = x, r.Right = x += FTabWidth;
  }
  if (FTabPosition == tpBottom) {
    int bottom = tabs.empty() ? FHeight : 0;
    for (const TRect& r : tabs) bottom = std::max(bottom, r.Bottom + 2);
    for (TRect& r : tabs) OffsetRect(r, 0, FHeight - bottom);
  }
  return tabs;
}

TRect TCustomTabControl::DisplayRect() {
  auto tabs = TabRects();
  TRect r = Rect(0, 0, FWidth, FHeight);
  if (tabs.empty()) return r;
  if (FTabPosition == tpBottom) r.Bottom = tabs.front().Top;
  else
    for (const TRect& t : tabs) r.Top = std::max(r.Top, t.Bottom);
  InflateRect(r, -4, -4);
  r.Top -= 2;
  return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
  auto tabs = TabRects();
  for (size_t i = 0; i < tabs.size(); ++i)
    if (PtInRect(tabs[i], {x, y})) return static_cast<int>(i);
  return -1;
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() { OnChange(this); }

bool TCustomTabControl::SelectTab(int index) {
  if (index == FTabIndex || index < 0 || index >= static_cast<int>(TabCaptions().size())) return false;
  if (!CanChange()) return false;
  FTabIndex = index;
  Invalidate();
  Change();
  return true;
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    int i = IndexOfTabAt(x, y);
    if (i >= 0 && SelectTab(i)) DesignModified();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomTabControl::Dispatch(TMessage& m) {
  if (m.Msg == CM_DESIGNHITTEST) {
    TPoint p = LParamToPoint(m.LParam);
    int i = IndexOfTabAt(p.X, p.Y);
    m.Result = i >= 0 && i != FTabIndex ? 1 : 0;
    return;
  }
  TCustomControl::Dispatch(m);
}

void TCustomTabControl::DesignModified() {
  if (!InState(csDesigning)) return;
  if (TCustomForm* form = GetParentForm(this); form && form->GetDesigner()) form->GetDesigner()->Modified();
}

void TCustomTabControl::AlignControls(TControl* aControl, TRect& rect) {
  rect = DisplayRect();
  TCustomControl::AlignControls(aControl, rect);
}

void TCustomTabControl::Paint() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(GetParentColor() && GetParent() ? GetParent()->GetColor() : GetColor());
  if (ColorToRGB(c->GetBrush()->GetColor()) == ColorToRGB(clWindow)) c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  auto tabs = TabRects();
  TRect page = DisplayRect();
  InflateRect(page, 4, 4);
  page.Top += 2;
  PaintPageFrame(c, page);
  auto captions = TabCaptions();
  if (FOwnerDraw && OnDrawTab) {
    for (size_t i = 0; i < tabs.size(); ++i)
      OnDrawTab(this, static_cast<int>(i), tabs[i], static_cast<int>(i) == FTabIndex);
  } else {
    PaintTabs(c, tabs, captions, FTabIndex);
  }
}

// =============================================================================================
// TTabSheet / TPageControl
TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  // Only the active page shows at design time too, so that clicks and bands reach its controls.
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csNoDesignVisible};
  SetAlign(alClient);  // fills the page control's display area; not stored
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* value) {
  if (FPageControl && value != FPageControl) FPageControl->RemovePage(this);
  TWinControl::SetParent(value);
  if (auto* pc = Cast<TPageControl>(value); pc && pc != FPageControl) pc->InsertPage(this);
}

int TTabSheet::GetPageIndex() const {
  if (!FPageControl) return -1;
  auto& p = FPageControl->FPages;
  return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int v) {
  if (!FPageControl) return;
  auto& p = FPageControl->FPages;
  v = std::clamp(v, 0, static_cast<int>(p.size()) - 1);
  p.erase(std::find(p.begin(), p.end(), this));
  p.insert(p.begin() + v, this);
  FPageControl->TabsFromPages();
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return n;
    if (p->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  FTabVisible = v;
  if (FPageControl) FPageControl->TabsFromPages();
}

void TTabSheet::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->TabsFromPages();
  if (m.Msg == CM_SHOWINGCHANGED) (Showing() ? OnShow : OnHide)(this);
  TWinControl::Dispatch(m);
}

void TTabSheet::PaintWindow(TPaintDC* dc) { qtw::FillRect(dc, GetClientRect(), ColorToRGB(clBtnFace)); }

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {
  ControlStyle = {csDoubleClicks, csOpaque, csCaptureMouse};
}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  page->FPageControl = this;
  FPages.push_back(page);
  page->FreeNotification(this);
  TabsFromPages();
  if (!FActivePage) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  TTabSheet* next = page == FActivePage ? FindNextPage(page, true, true) : FActivePage;
  FPages.erase(it);
  page->FPageControl = nullptr;
  if (next == page) next = nullptr;
  if (page == FActivePage) FActivePage = nullptr;
  if (!InState(csDestroying)) {
    SetActivePage(next);
    TabsFromPages();
  }
}

void TPageControl::Notification(TComponent* c, TOperation op) {
  TCustomTabControl::Notification(c, op);
  if (op != opRemove) return;
  // A page freed by anyone goes as one taken off does: the next page becomes the active one.
  for (TTabSheet* p : FPages)
    if (p == c) return RemovePage(p);
  if (c == FActivePage) FActivePage = nullptr;
}

std::vector<std::string> TPageControl::TabCaptions() const {
  std::vector<std::string> out;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible) out.push_back(p->GetCaption());
  return out;
}

void TPageControl::TabsFromPages() {
  FTabIndex = FActivePage ? FActivePage->TabIndex() : -1;
  Realign();
  Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  FActivePage = page;
  ShowActivePage();
  TabsFromPages();
}

void TPageControl::ShowActivePage() {
  for (TTabSheet* p : FPages) {
    if (p != FActivePage) p->SetVisible(false);
  }
  if (FActivePage) {
    FActivePage->SetVisible(true);
    FActivePage->BringToFront();
  }
}

int TPageControl::GetActivePageIndex() const { return FActivePage ? FActivePage->GetPageIndex() : -1; }

void TPageControl::SetActivePageIndex(int v) { SetActivePage(v >= 0 && v < PageCount() ? FPages[v] : nullptr); }

TTabSheet* TPageControl::FindNextPage(TTabSheet* cur, bool goForward, bool checkTabVisible) const {
  int n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), cur);
  int start = it == FPages.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - FPages.begin());
  int i = start;
  do {
    i = (i + (goForward ? 1 : n - 1)) % n;
    if (!checkTabVisible || FPages[i]->FTabVisible) return FPages[i];
  } while (i != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* p = FindNextPage(FActivePage, goForward, true);
  if (p && p != FActivePage && CanChange()) {
    SetActivePage(p);
    Change();
  }
}

// A tab click picks the page; OnChanging may refuse it.
void TPageControl::Change() {
  int n = -1;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible && ++n == FTabIndex) {
      FActivePage = p;
      ShowActivePage();
      break;
    }
  TCustomTabControl::Change();
}

void TPageControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TTabSheet* p : FPages) proc(p);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Is<TTabSheet>() && c->Owner() == root) proc(c);
  }
}

void TPageControl::SetChildOrder(TComponent* child, int order) {
  if (auto* p = Cast<TTabSheet>(child)) p->SetPageIndex(order);
  else TCustomTabControl::SetChildOrder(child, order);
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  ShowActivePage();
  TabsFromPages();
}

// =============================================================================================
// Collections, header and status bar.
TControlCollection::TControlCollection(TControl* control, TClass itemClass)
    : TCollection(itemClass), FControl(control) {
  SetOwnerPersistent(control);
}

void TControlCollection::Update(TCollectionItem*) {
  if (FControl) FControl->Invalidate();
}

void THeaderSection::Assign(TPersistent* source) {
  if (auto* s = Cast<THeaderSection>(source)) {
    FText = s->FText, FWidth = s->FWidth, FMinWidth = s->FMinWidth, FMaxWidth = s->FMaxWidth;
    FAlignment = s->FAlignment, FAllowClick = s->FAllowClick, FStyle = s->FStyle;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(source);
}

void TStatusPanel::Assign(TPersistent* source) {
  if (auto* s = Cast<TStatusPanel>(source)) {
    FText = s->FText, FWidth = s->FWidth, FAlignment = s->FAlignment, FBevel = s->FBevel, FStyle = s->FStyle;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(source);
}

THeaderControl::THeaderControl(TComponent* AOwner)
    : TCustomControl(AOwner), FSections(new TControlCollection(this, THeaderSection::StaticClass())) {
  FWidth = 200;
  FHeight = 17;
  SetAlign(alTop);
}

THeaderControl::~THeaderControl() {
  Destroying();
  DestroyHandle();
  delete FSections;
}

void THeaderControl::Paint() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  int x = 0;
  for (int i = 0; i < FSections->Count(); ++i) {
    THeaderSection* s = Sections(i);
    TRect r{x, 0, x + s->GetWidth(), FHeight};
    Edge(c, r, true);
    AlignedText(c, r, s->GetText(), s->GetAlignment());
    x = r.Right;
  }
  Edge(c, {x, 0, FWidth, FHeight}, true);
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), FPanels(new TControlCollection(this, TStatusPanel::StaticClass())) {
  FWidth = 150;
  FHeight = 19;
  SetAlign(alBottom);
  SetColor(clBtnFace);
}

TStatusBar::~TStatusBar() {
  Destroying();
  DestroyHandle();
  delete FPanels;
}

void TStatusBar::SetSimplePanel(bool v) {
  FSimplePanel = v;
  Invalidate();
}
void TStatusBar::SetSimpleText(const std::string& v) {
  FSimpleText = v;
  Invalidate();
}
void TStatusBar::SetSizeGrip(bool v) {
  FSizeGrip = v;
  Invalidate();
}

void TStatusBar::Paint() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  TRect inner{0, 2, FWidth, FHeight};
  if (FSimplePanel || FPanels->Count() == 0) {
    TRect r = inner;
    if (FSizeGrip) r.Right -= FHeight;
    Edge(c, r, false);
    AlignedText(c, r, FSimplePanel ? FSimpleText : GetCaption(), taLeftJustify);
  } else {
    int x = 0;
    for (int i = 0; i < FPanels->Count(); ++i) {
      TStatusPanel* p = Panels(i);
      bool last = i == FPanels->Count() - 1;
      TRect r{x, inner.Top, last ? FWidth - (FSizeGrip ? FHeight : 0) : x + p->GetWidth(), inner.Bottom};
      if (p->GetBevel() != pbNone) Edge(c, r, p->GetBevel() == pbRaised);
      AlignedText(c, r, p->GetText(), p->GetAlignment());
      x = r.Right + 2;
    }
  }
  if (FSizeGrip) {
    for (int i = 0; i < 3; ++i) {
      int o = 4 + i * 4;
      c->GetPen()->SetColor(clBtnHighlight);
      c->MoveTo(FWidth - o, FHeight - 1);
      c->LineTo(FWidth - 1, FHeight - o);
      c->GetPen()->SetColor(clBtnShadow);
      c->MoveTo(FWidth - o + 1, FHeight - 1);
      c->LineTo(FWidth - 1, FHeight - o + 1);
    }
  }
}

// =============================================================================================
// Progress bar, track bar, up-down.
TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 150;
  FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& params) {
  qtc::RegisterWindowClasses();
  TWinControl::CreateParams(params);
  params.WinClassName = "msctls_progress32";
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  qtc::SetRange(FHandle, FMin, FMax);
  qtc::SetPosition(FHandle, FPosition);
  qtc::SetVertical(FHandle, FOrientation == pbVertical);
}

void TProgressBar::SetRange(int min, int max) {
  FMin = min;
  FMax = max;
  if (HandleAllocated()) {
    qtc::SetRange(FHandle, FMin, FMax);
    qtc::SetPosition(FHandle, FPosition);
  }
}

void TProgressBar::SetPosition(int v) {
  FPosition = std::clamp(v, FMin, std::max(FMin, FMax));
  if (HandleAllocated()) qtc::SetPosition(FHandle, FPosition);
}

// Stepping past Max starts again from Min, as the common control does.
void TProgressBar::StepIt() {
  int p = FPosition + FStep;
  if (p > FMax) p = FMin + (p - FMax) % std::max(1, FMax - FMin);
  SetPosition(p);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  FOrientation = v;
  if (HandleAllocated()) qtc::SetVertical(FHandle, v == pbVertical);
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 150;
  FHeight = 45;
  SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& params) {
  qtc::RegisterWindowClasses();
  TWinControl::CreateParams(params);
  params.WinClassName = "msctls_trackbar32";
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWidget();
}

void TTrackBar::UpdateWidget() {
  if (!HandleAllocated()) return;
  qtc::SetRange(FHandle, FMin, FMax);
  qtc::SetPosition(FHandle, FPosition);
  qtc::SetVertical(FHandle, FOrientation == trVertical);
  int style = FTickStyle == tsNone ? 0 : FTickMarks == tmTopLeft ? 1 : FTickMarks == tmBottomRight ? 2 : 3;
  qtc::SetTicks(FHandle, style, FFrequency);
  qtc::SetSingleStep(FHandle, FLineSize);
}

void TTrackBar::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && (m.WParam >> 16) == EN_CHANGE) {
    FPosition = qtc::GetPosition(FHandle);
    OnChange(this);
    return;
  }
  TWinControl::Dispatch(m);
}

void TTrackBar::SetMin(int v) {
  FMin = v;
  if (FMax < v) FMax = v;
  FPosition = std::clamp(FPosition, FMin, FMax);
  UpdateWidget();
}

void TTrackBar::SetMax(int v) {
  FMax = v;
  if (FMin > v) FMin = v;
  FPosition = std::clamp(FPosition, FMin, FMax);
  UpdateWidget();
}

void TTrackBar::SetPosition(int v) {
  v = std::clamp(v, FMin, FMax);
  if (v == FPosition) return;
  FPosition = v;
  UpdateWidget();
  OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v != FOrientation && !InState(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  FOrientation = v;
  UpdateWidget();
}

void TTrackBar::SetFrequency(int v) {
  FFrequency = v;
  UpdateWidget();
}
void TTrackBar::SetTickMarks(TTickMark v) {
  FTickMarks = v;
  UpdateWidget();
}
void TTrackBar::SetTickStyle(TTickStyle v) {
  FTickStyle = v;
  UpdateWidget();
}
void TTrackBar::SetLineSize(int v) {
  FLineSize = v;
  UpdateWidget();
}

TUpDown::TUpDown(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque};
  FWidth = 15;
  FHeight = 25;
}

void TUpDown::SetAssociate(TWinControl* v) {
  FAssociate = v;
  if (v) {
    v->FreeNotification(this);
    UpdateAssociate();
  }
}

void TUpDown::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == opRemove && c == FAssociate) FAssociate = nullptr;
}

void TUpDown::SetPosition(int v) {
  FPosition = std::clamp(v, std::min(FMin, FMax), std::max(FMin, FMax));
  UpdateAssociate();
}

void TUpDown::SetOrientation(TUDOrientation v) {
  FOrientation = v;
  Invalidate();
}

// The buddy shows the position as text (with thousands separators when asked).
void TUpDown::UpdateAssociate() {
  if (!FAssociate || InState(csLoading)) return;
  std::string s = std::to_string(std::abs(FPosition));
  if (FThousands)
    for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(i, ",");
  FAssociate->SetText(FPosition < 0 ? "-" + s : s);
}

void TUpDown::Step(TUDBtnType button) {
  int lo = std::min(FMin, FMax), hi = std::max(FMin, FMax);
  int p = FPosition + (button == btNext ? FIncrement : -FIncrement);
  if (p > hi) p = FWrap ? lo : hi;
  if (p < lo) p = FWrap ? hi : lo;
  SetPosition(p);
  OnClick(this, button);
}

void TUpDown::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && !InState(csDesigning)) {
    bool next = FOrientation == udVertical ? y < FHeight / 2 : x >= FWidth / 2;
    Step(next ? btNext : btPrev);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TUpDown::Paint() {
  TCanvas* c = Canvas();
  bool vert = FOrientation == udVertical;
  TRect a = vert ? Rect(0, 0, FWidth, FHeight / 2) : Rect(0, 0, FWidth / 2, FHeight);
  TRect b = vert ? Rect(0, FHeight / 2, FWidth, FHeight) : Rect(FWidth / 2, 0, FWidth, FHeight);
  for (int i = 0; i < 2; ++i) {
    TRect r = i ? b : a;
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    Edge(c, r, true);
    int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    c->GetBrush()->SetColor(clBtnText);
    c->GetPen()->SetColor(clBtnText);
    bool first = i == 0;  // up (or left) arrow
    if (vert)
      c->Polygon(first ? std::vector<TPoint>{{cx - 3, cy + 1}, {cx + 3, cy + 1}, {cx, cy - 2}}
                       : std::vector<TPoint>{{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}});
    else
      c->Polygon(first ? std::vector<TPoint>{{cx + 1, cy - 3}, {cx + 1, cy + 3}, {cx - 2, cy}}
                       : std::vector<TPoint>{{cx - 1, cy - 3}, {cx - 1, cy + 3}, {cx + 2, cy}});
  }
}

// =============================================================================================
// TImageList
TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}
TImageList::~TImageList() = default;

namespace {
// The bitmap file at `at` in `bytes`, or null when there is none or it does not load. `end`
// gets where its bits end: its file size field is not filled in inside an image list stream.
std::unique_ptr<TBitmap> ImageListBitmapAt(const std::string& bytes, size_t at, size_t& end) {
  if (at + 54 > bytes.size() || bytes.compare(at, 2, "BM") != 0) return nullptr;
  auto dword = [&](size_t i) {
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = v << 8 | static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
    return v;
  };
  uint64_t width = dword(at + 18), height = dword(at + 22) & 0x7FFFFFFF, bits = dword(at + 28) & 0xFFFF;
  uint64_t size = dword(at + 34);
  if (size == 0) size = (width * bits + 31) / 32 * 4 * height;
  end = static_cast<size_t>(std::min<uint64_t>(at + dword(at + 10) + size, bytes.size()));
  try {
    TMemoryStream s;
    s.Write(bytes.data() + at, static_cast<int64_t>(bytes.size() - at));
    s.SetPosition(0);
    auto bmp = std::make_unique<TBitmap>();
    bmp->LoadFromStream(&s);
    return bmp;
  } catch (const Exception&) {
    return nullptr;  // not a plain bitmap: kept as bytes only
  }
}
}  // namespace

// The stored stream is the image list's own format; its image strip is a bitmap inside it,
// followed by the strip's mask.
void TImageList::SetBitmapData(const std::string& bytes) {
  FData = bytes;
  FMask.reset();
  size_t at = bytes.find("BM"), end = 0;
  FStrip = at == std::string::npos ? nullptr : ImageListBitmapAt(bytes, at, end);
  if (FStrip) FMask = ImageListBitmapAt(bytes, end, end);
  if (FMask && (FMask->GetWidth() < FStrip->GetWidth() || FMask->GetHeight() < FStrip->GetHeight())) FMask.reset();
  if (FMask) KeyTransparentPixels();
  OnChange(this);
}

// Paints the strip's transparent pixels in a colour it does not use otherwise, so drawing can
// leave them out as a transparent bitmap does.
void TImageList::KeyTransparentPixels() {
  TCanvas* strip = FStrip->Canvas();
  TCanvas* mask = FMask->Canvas();
  const int w = FStrip->GetWidth(), h = FStrip->GetHeight();
  std::set<TColor> used;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) used.insert(strip->GetPixel(x, y));
  FKey = 0x00FF00FF;
  while (used.count(FKey)) FKey = (FKey + 0x010101) & 0x00FFFFFF;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (ColorToRGB(mask->GetPixel(x, y)) != clBlack) strip->SetPixel(x, y, FKey);
}

namespace {
constexpr size_t kImageListHeaderSize = 28;
}

int TImageList::Count() const {
  if (!FStrip || FWidth <= 0 || FHeight <= 0) return 0;
  const int capacity = (FStrip->GetWidth() / FWidth) * (FStrip->GetHeight() / FHeight);
  // The strip has room for more than the list holds (it grows by whole rows); the count is in
  // the 28-byte header before it.
  if (FData.compare(0, 2, "IL") == 0 && FData.find("BM") >= kImageListHeaderSize)
    return std::min(capacity, static_cast<unsigned char>(FData[4]) | static_cast<unsigned char>(FData[5]) << 8);
  return capacity;
}

namespace {
constexpr int kImageListTiles = 4;  // images per row of a stored strip, as Windows writes it

void ImageListPutWord(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}

std::string ImageListBitmapBytes(TBitmap* bitmap) {
  TMemoryStream s;
  bitmap->SaveToStream(&s);
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize()));
}

std::unique_ptr<TBitmap> ImageListCellBitmap(int width, int height, TColor fill) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(width, height);
  b->Canvas()->GetBrush()->SetColor(fill);
  b->Canvas()->FillRect(Rect(0, 0, width, height));
  return b;
}
}  // namespace

std::vector<TImageList::TCell> TImageList::Cells() const {
  if (!FData.empty() && !FStrip) throw EInvalidGraphic(SInvalidBitmap);
  std::vector<TCell> cells;
  const int n = Count(), perRow = n > 0 ? FStrip->GetWidth() / FWidth : 1;
  for (int i = 0; i < n; ++i) {
    TRect src = Bounds((i % perRow) * FWidth, (i / perRow) * FHeight, FWidth, FHeight);
    TCell cell{ImageListCellBitmap(FWidth, FHeight, clBlack), ImageListCellBitmap(FWidth, FHeight, clBlack)};
    cell.Image->Canvas()->CopyRect(Rect(0, 0, FWidth, FHeight), FStrip->Canvas(), src);
    if (FMask) cell.Mask->Canvas()->CopyRect(Rect(0, 0, FWidth, FHeight), FMask->Canvas(), src);
    cells.push_back(std::move(cell));
  }
  return cells;
}

void TImageList::WriteCells(const std::vector<TCell>& cells) {
  const int n = static_cast<int>(cells.size());
  if (n == 0) {
    FData.clear();
    FStrip.reset();
    FMask.reset();
    OnChange(this);
    return;
  }
  const int rows = (n + kImageListTiles - 1) / kImageListTiles;
  auto strip = ImageListCellBitmap(kImageListTiles * FWidth, rows * FHeight, clBlack);
  auto mask = ImageListCellBitmap(kImageListTiles * FWidth, rows * FHeight, clWhite);
  for (int i = 0; i < n; ++i) {
    TRect dest = Bounds((i % kImageListTiles) * FWidth, (i / kImageListTiles) * FHeight, FWidth, FHeight);
    strip->Canvas()->CopyRect(dest, cells[i].Image->Canvas(), Rect(0, 0, FWidth, FHeight));
    mask->Canvas()->CopyRect(dest, cells[i].Mask->Canvas(), Rect(0, 0, FWidth, FHeight));
  }
  mask->SetPixelFormat(pf1bit);
  std::string data = "IL";
  for (uint32_t w : {0x0101u, static_cast<uint32_t>(n), static_cast<uint32_t>(rows * kImageListTiles),
                     static_cast<uint32_t>(FAllocBy), static_cast<uint32_t>(FWidth), static_cast<uint32_t>(FHeight)})
    ImageListPutWord(data, w);
  ImageListPutWord(data, static_cast<uint32_t>(FBkColor) & 0xFFFF);  // clNone: CLR_NONE
  ImageListPutWord(data, static_cast<uint32_t>(FBkColor) >> 16);
  ImageListPutWord(data, FMasked ? 0x19 : 0x18);  // ILC_COLOR24, ILC_MASK
  for (int i = 0; i < 4; ++i) ImageListPutWord(data, 0xFFFF);  // no overlay images
  SetBitmapData(data + ImageListBitmapBytes(strip.get()) + ImageListBitmapBytes(mask.get()));
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (FWidth <= 0 || FHeight <= 0) throw EInvalidOperation(SInvalidImageSize);
  std::vector<TCell> cells = Cells();
  const int first = static_cast<int>(cells.size());
  const TColor key = maskColor == clNone ? clNone : ColorToRGB(maskColor);
  const int pieces = std::max(1, image->GetWidth() / FWidth);
  for (int k = 0; k < pieces; ++k) {
    TCell cell{ImageListCellBitmap(FWidth, FHeight, clBlack), ImageListCellBitmap(FWidth, FHeight, clWhite)};
    for (int y = 0; y < FHeight && y < image->GetHeight(); ++y)
      for (int x = 0; x < FWidth && k * FWidth + x < image->GetWidth(); ++x) {
        TColor c = image->Canvas()->GetPixel(k * FWidth + x, y);
        if (key != clNone && ColorToRGB(c) == key) continue;
        cell.Image->Canvas()->SetPixel(x, y, c);
        cell.Mask->Canvas()->SetPixel(x, y, clBlack);
      }
    cells.push_back(std::move(cell));
  }
  WriteCells(cells);
  return first;
}

void TImageList::Delete(int index) {
  std::vector<TCell> cells = Cells();
  if (index < 0 || index >= static_cast<int>(cells.size())) throw EInvalidOperation(SImageIndexError);
  cells.erase(cells.begin() + index);
  WriteCells(cells);
}

void TImageList::Move(int curIndex, int newIndex) {
  std::vector<TCell> cells = Cells();
  const int n = static_cast<int>(cells.size());
  if (curIndex < 0 || curIndex >= n || newIndex < 0 || newIndex >= n) throw EInvalidOperation(SImageIndexError);
  TCell moved = std::move(cells[curIndex]);
  cells.erase(cells.begin() + curIndex);
  cells.insert(cells.begin() + newIndex, std::move(moved));
  WriteCells(cells);
}

void TImageList::Clear() { WriteCells({}); }

void TImageList::Draw(TCanvas* canvas, int x, int y, int index) {
  if (index < 0 || index >= Count()) return;
  int perRow = FStrip->GetWidth() / FWidth;
  TRect src = Bounds((index % perRow) * FWidth, (index / perRow) * FHeight, FWidth, FHeight);
  if (!FMask || !FMasked) {
    canvas->CopyRect(Bounds(x, y, FWidth, FHeight), FStrip->Canvas(), src);
    return;
  }
  TBitmap image;
  image.SetSize(FWidth, FHeight);
  image.Canvas()->CopyRect(Rect(0, 0, FWidth, FHeight), FStrip->Canvas(), src);
  image.SetTransparentColor(FKey);
  image.SetTransparent(true);
  canvas->Draw(x, y, &image);
}

void TImageList::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  filer->DefineBinaryProperty(
      "Bitmap",
      [this](TStream* s) {
        std::string b(static_cast<size_t>(s->GetSize() - s->GetPosition()), '\0');
        s->ReadBuffer(b.data(), static_cast<int64_t>(b.size()));
        SetBitmapData(b);
      },
      [this](TStream* s) { s->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size())); }, !FData.empty());
}

// =============================================================================================
// Tool bars.
TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 23;
  FHeight = 22;
}

TToolBar* TToolButton::ToolBar() const { return Cast<TToolBar>(FParent); }

void TToolButton::SetStyle(TToolButtonStyle v) {
  FStyle = v;
  if ((v == tbsSeparator || v == tbsDivider) && !InState(csLoading) && FWidth == 23) SetWidth(8);
  if (FParent) FParent->Realign();
  Invalidate();
}

// A grouped check button going down lets the others of its group up.
void TToolButton::SetDown(bool v) {
  if (v == FDown) return;
  if (!v && FGrouped && !FAllowAllUp && FStyle == tbsCheck && !InState(csLoading)) return;
  FDown = v;
  if (v && FGrouped && FParent) {
    int i = 0;
    for (; i < FParent->ControlCount() && FParent->Controls(i) != this; ++i) {}
    auto other = [&](int k) { return Cast<TToolButton>(FParent->Controls(k)); };
    for (int k = i - 1; k >= 0 && other(k) && other(k)->FGrouped && other(k)->FStyle == tbsCheck; --k)
      other(k)->FDown = false, other(k)->Invalidate();
    for (int k = i + 1; k < FParent->ControlCount() && other(k) && other(k)->FGrouped && other(k)->FStyle == tbsCheck;
         ++k)
      other(k)->FDown = false, other(k)->Invalidate();
  }
  Invalidate();
}

void TToolButton::SetDropdownMenu(TComponent* v) {
  FDropdownMenu = v;
  if (v) v->FreeNotification(this);
}

void TToolButton::Notification(TComponent* c, TOperation op) {
  TGraphicControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && FStyle != tbsSeparator && FStyle != tbsDivider) {
    FPressed = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  FPressed = false;
  Invalidate();
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::Click() {
  if (FStyle == tbsSeparator || FStyle == tbsDivider) return;
  if (FStyle == tbsCheck) SetDown(!FDown);
  TGraphicControl::Click();
}

void TToolButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  TToolBar* bar = ToolBar();
  if (FStyle == tbsSeparator || FStyle == tbsDivider) {
    if (FStyle == tbsDivider || InState(csDesigning)) {
      int x = FWidth / 2 - 1;
      c->GetPen()->SetColor(clBtnShadow);
      c->MoveTo(x, 0);
      c->LineTo(x, FHeight);
      c->GetPen()->SetColor(clBtnHighlight);
      c->MoveTo(x + 1, 0);
      c->LineTo(x + 1, FHeight);
    }
    return;
  }
  bool sunken = FDown || FPressed;
  if (sunken) {
    c->GetBrush()->SetColor(FDown && !FPressed ? clBtnHighlight : clBtnFace);
    c->FillRect(r);
    Edge(c, r, false);
  } else if (!(bar && bar->GetFlat())) {
    Edge(c, r, true);
  }
  int off = sunken ? 1 : 0;
  bool captions = bar && bar->GetShowCaptions();
  TImageList* images = bar ? bar->GetImages() : nullptr;
  int imgH = images ? images->GetHeight() : 0;
  if (images && FImageIndex >= 0) {
    int ix = (FWidth - images->GetWidth()) / 2 + off;
    int iy = captions ? 3 + off : (FHeight - imgH) / 2 + off;
    images->Draw(c, ix, iy, FImageIndex);
  }
  if (captions) {
    TRect tr{0, imgH ? imgH + 3 : 0, FWidth, FHeight - 2};
    OffsetRect(tr, off, off);
    c->GetFont()->SetColor(GetEnabled() ? clBtnText : clGrayText);
    AlignedText(c, tr, GetCaption(), taCenter);
  }
}

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
  FWidth = 150;
  FHeight = 29;
  SetAlign(alTop);
  SetColor(clBtnFace);
}

void TToolBar::SetButtonWidth(int v) {
  FButtonWidth = v;
  Realign();
}
void TToolBar::SetButtonHeight(int v) {
  FButtonHeight = v;
  Realign();
}
void TToolBar::SetShowCaptions(bool v) {
  FShowCaptions = v;
  Realign();
  Invalidate();
}
void TToolBar::SetWrapable(bool v) {
  FWrapable = v;
  Realign();
}
void TToolBar::SetIndent(int v) {
  FIndent = v;
  Realign();
}
void TToolBar::SetImages(TImageList* v) {
  Guard(this, FImages, v);
  Invalidate();
}
void TToolBar::SetDisabledImages(TImageList* v) { Guard(this, FDisabledImages, v); }
void TToolBar::SetHotImages(TImageList* v) { Guard(this, FHotImages, v); }

void TToolBar::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FImages) FImages = nullptr;
  if (c == FDisabledImages) FDisabledImages = nullptr;
  if (c == FHotImages) FHotImages = nullptr;
}

int TToolBar::ButtonCount() const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i) n += Controls(i)->Is<TToolButton>();
  return n;
}

TToolButton* TToolBar::Buttons(int i) const {
  for (int k = 0; k < ControlCount(); ++k)
    if (auto* b = Cast<TToolButton>(Controls(k)); b && i-- == 0) return b;
  return nullptr;
}

// Buttons line up left to right in their streamed order (by Left), wrapping when allowed.
void TToolBar::AlignControls(TControl* aControl, TRect& rect) {
  std::vector<TControl*> items;
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->DesignVisible()) items.push_back(Controls(i));
  std::stable_sort(items.begin(), items.end(), [](TControl* a, TControl* b) {
    return a->GetTop() / 4 != b->GetTop() / 4 ? a->GetTop() < b->GetTop() : a->GetLeft() < b->GetLeft();
  });
  // The buttons start inside the BorderWidth band.
  const int bw = GetBorderWidth(), left = bw + FIndent;
  int x = left, y = bw + 2;
  for (TControl* c : items) {
    auto* b = Cast<TToolButton>(c);
    bool sep = b && (b->GetStyle() == tbsSeparator || b->GetStyle() == tbsDivider);
    int w = b ? (sep ? c->GetWidth() : FButtonWidth) : c->GetWidth();
    int h = b ? FButtonHeight : c->GetHeight();
    if (FWrapable && x > left && x + w > rect.Width() - bw) {
      x = left;
      y += FButtonHeight;
    }
    c->SetBounds(x, y, w, h);
    x += w;
    if (b && b->GetWrap()) {
      x = left;
      y += FButtonHeight;
    }
  }
  TCustomControl::AlignControls(aControl, rect);
}

void TToolBar::Paint() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  if (FEdgeBorders.Contains(ebTop)) {
    c->GetPen()->SetColor(clBtnShadow);
    c->MoveTo(0, 0);
    c->LineTo(FWidth, 0);
    c->GetPen()->SetColor(clBtnHighlight);
    c->MoveTo(0, 1);
    c->LineTo(FWidth, 1);
  }
}

// =============================================================================================
// TRichEdit
TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner), FLines(new TStringList) {
  FWidth = 185;
  FHeight = 89;
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  FLines->OnChange = [this](TObject* s) { LinesChanged(s); };
}

TRichEdit::~TRichEdit() {
  Destroying();
  DestroyHandle();
  delete FLines;
}

void TRichEdit::CreateParams(TCreateParams& params) {
  qtc::RegisterWindowClasses();
  TWinControl::CreateParams(params);
  params.WinClassName = "RICHEDIT";
}

void TRichEdit::CreateWnd() {
  TWinControl::CreateWnd();
  qtc::SetRichText(FHandle, FLines->GetText(), true);
  qtc::SetReadOnly(FHandle, FReadOnly);
}

void TRichEdit::LinesChanged(TObject*) {
  if (!FFromWidget && HandleAllocated()) qtc::SetRichText(FHandle, FLines->GetText(), true);
}

void TRichEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && (m.WParam >> 16) == EN_CHANGE) {
    FFromWidget = true;
    FLines->SetText(qtc::GetText(FHandle));
    FFromWidget = false;
    OnChange(this);
    return;
  }
  TWinControl::Dispatch(m);
}

void TRichEdit::SetPlainText(bool v) { FPlainText = v; }

void TRichEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  if (HandleAllocated()) qtc::SetReadOnly(FHandle, v);
}

// =============================================================================================
// TDateTimePicker
namespace {
double TodayNow() {
  std::time_t t = std::time(nullptr);
  std::tm lt{};
  localtime_r(&t, &lt);
  // Days from 1899-12-30 to the civil date, then the time of day.
  int y = lt.tm_year + 1900, m = lt.tm_mon + 1, d = lt.tm_mday;
  y -= m <= 2;
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400, doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long days = era * 146097L + doe - 719468L + 25569L;
  return static_cast<double>(days) + (lt.tm_hour * 3600 + lt.tm_min * 60 + lt.tm_sec) / 86400.0;
}
}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), FDateTime(TodayNow()) {
  FWidth = 186;
  FHeight = 21;
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  qtc::RegisterWindowClasses();
  TWinControl::CreateParams(params);
  params.WinClassName = "SysDateTimePick32";
}

void TDateTimePicker::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWidget();
}

void TDateTimePicker::UpdateWidget() {
  if (HandleAllocated()) qtc::SetDateTime(FHandle, FDateTime, FKind == dtkTime, FDateFormat == dfLong);
}

void TDateTimePicker::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && (m.WParam >> 16) == EN_CHANGE) {
    FDateTime = qtc::GetDateTime(FHandle);
    OnChange(this);
    return;
  }
  TWinControl::Dispatch(m);
}

void TDateTimePicker::SetDateTime(double v) {
  FDateTime = v;
  UpdateWidget();
}

double TDateTimePicker::GetDate() const { return std::floor(FDateTime); }
double TDateTimePicker::GetTime() const { return FDateTime - std::floor(FDateTime); }
void TDateTimePicker::SetDate(double v) { SetDateTime(std::floor(v) + GetTime()); }
void TDateTimePicker::SetTime(double v) { SetDateTime(GetDate() + (v - std::floor(v))); }
void TDateTimePicker::SetKind(TDateTimeKind v) {
  FKind = v;
  UpdateWidget();
}
void TDateTimePicker::SetDateFormat(TDTDateFormat v) {
  FDateFormat = v;
  UpdateWidget();
}
