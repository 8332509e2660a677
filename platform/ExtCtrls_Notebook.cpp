// ExtCtrls: the notebook, its pages and the page list that names them.
#include <algorithm>

#include "ExtCtrls.h"

// =============================================================================================
// TPageStrings
int TPageStrings::Count() const { return static_cast<int>(FHost->PageList().size()); }

std::string TPageStrings::Get(int i) const {
  if (i < 0 || i >= Count()) Error("List index out of bounds (%d)", i);
  return FHost->PageList()[i]->GetCaption();
}

void TPageStrings::Put(int i, const std::string& s) {
  if (i < 0 || i >= Count()) Error("List index out of bounds (%d)", i);
  FHost->PageList()[i]->SetCaption(s);
  FHost->PagesChanged();
}

TObject* TPageStrings::GetObject(int i) const {
  if (i < 0 || i >= Count()) Error("List index out of bounds (%d)", i);
  return FHost->PageList()[i];
}

void TPageStrings::Insert(int i, const std::string& s) {
  if (i < 0 || i > Count()) Error("List index out of bounds (%d)", i);
  TWinControl* page = FHost->NewPage();
  page->SetCaption(s);
  auto& list = FHost->PageList();
  list.erase(std::find(list.begin(), list.end(), page));
  list.insert(list.begin() + i, page);
  FHost->PagesChanged();
}

void TPageStrings::Delete(int i) {
  if (i < 0 || i >= Count()) Error("List index out of bounds (%d)", i);
  delete FHost->PageList()[i];  // the page takes itself off the list
  FHost->PagesChanged();
}

void TPageStrings::Clear() {
  while (Count() > 0) delete FHost->PageList().back();
  FHost->PagesChanged();
}

// =============================================================================================
// TPage / TNotebook
TPage::TPage(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls};
  SetVisible(false);
  SetAlign(alClient);
}

TPage::~TPage() {
  Destroying();
  SetParent(nullptr);
}

void TPage::SetParent(TWinControl* value) {
  if (FNotebook && value != FNotebook) {
    auto& list = FNotebook->FPageList;
    list.erase(std::find(list.begin(), list.end(), this));
    TNotebook* old = FNotebook;
    FNotebook = nullptr;
    if (!old->InState(csDestroying)) old->PagesChanged();
  }
  TCustomControl::SetParent(value);
  if (auto* nb = Cast<TNotebook>(value); nb && nb != FNotebook) {
    FNotebook = nb;
    nb->FPageList.push_back(this);
  }
}

void TPage::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::Dispatch(m);
}

// A dashed frame and the caption while designing, so that an empty page can be found.
void TPage::Paint() {
  TCanvas* c = Canvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  if (!InState(csDesigning)) return;
  c->GetPen()->SetStyle(psDash);
  c->GetBrush()->SetStyle(bsClear);
  c->Rectangle(GetClientRect());
  c->TextOut(4, 4, GetCaption());
  c->GetPen()->SetStyle(psSolid);
  c->GetBrush()->SetStyle(bsSolid);
}

TNotebook::TNotebook(TComponent* AOwner) : TCustomControl(AOwner), FAccess(new TPageStrings(this)) {
  ControlStyle = {csDoubleClicks};
  FWidth = 150;
  FHeight = 150;
  FAccess->Add("Default");
  SetPageIndex(0);
}

TNotebook::~TNotebook() {
  Destroying();
  for (TWinControl* p : FPageList) static_cast<TPage*>(p)->FNotebook = nullptr;
  FPageList.clear();
  delete FAccess;
}

TWinControl* TNotebook::NewPage() {
  auto* page = new TPage(this);
  page->SetParent(this);
  return page;
}

void TNotebook::PagesChanged() {
  if (InState(csLoading) || InState(csReading)) return;
  if (FPageIndex >= PageCount()) FPageIndex = PageCount() - 1;
  if (FPageIndex < 0 && PageCount() > 0) FPageIndex = 0;
  ShowPage();
}

void TNotebook::ShowPage() {
  for (int i = 0; i < PageCount(); ++i)
    if (i != FPageIndex) FPageList[i]->SetVisible(false);
  if (FPageIndex >= 0) {
    FPageList[FPageIndex]->SetVisible(true);
    FPageList[FPageIndex]->BringToFront();
  }
}

void TNotebook::SetPageIndex(int v) {
  if (InState(csLoading) || InState(csReading)) {
    FPageIndex = v;  // the pages may not be read yet
    return;
  }
  if (v < 0 || v >= PageCount() || v == FPageIndex) return;
  FPageIndex = v;
  ShowPage();
  OnPageChanged(this);
}

std::string TNotebook::GetActivePage() const {
  return FPageIndex >= 0 && FPageIndex < PageCount() ? FPageList[FPageIndex]->GetCaption() : "";
}

void TNotebook::SetActivePage(const std::string& caption) { SetPageIndex(FAccess->IndexOf(caption)); }

void TNotebook::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TWinControl* p : FPageList) proc(p);
}

// The stream brings the pages; the default one goes.
void TNotebook::ReadState(TReader* reader) {
  while (!FPageList.empty()) delete FPageList.back();
  TCustomControl::ReadState(reader);
}

void TNotebook::Loaded() {
  TCustomControl::Loaded();
  int index = FPageIndex;
  FPageIndex = -1;
  SetPageIndex(std::clamp(index, 0, std::max(0, PageCount() - 1)));
  if (FPageIndex < 0) ShowPage();
}

// =============================================================================================
// Published properties, in the VCL's order.
KV_IMPLEMENT_CLASS(TPageStrings, "ExtCtrls") {}

KV_IMPLEMENT_CLASS(TPage, "ExtCtrls") {
  PublishControlProperties(b, {"Caption"});
  // The notebook places and shows its pages.
  b.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Stored(false);
  b.Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder).Type(TypeInfoTTabOrder()).Stored(false);
  b.Prop("Visible", &TControl::GetVisible, &TControl::SetVisible).Stored(false);
  b.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Stored(false);
  PublishControlProperties(b, {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown",
                               "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TNotebook, "ExtCtrls") {
  b.Prop("ActivePage", &TNotebook::GetActivePage, &TNotebook::SetActivePage).Stored(false);
  PublishControlProperties(
      b, {"Align",      "Anchors",   "Color",       "Constraints", "Ctl3D",       "DragCursor",     "DragMode",
          "Font",       "Enabled",   "ParentColor", "ParentCtl3D", "ParentFont",  "ParentShowHint", "PopupMenu",
          "ShowHint",   "TabOrder",  "TabStop",     "Visible",     "OnClick",     "OnDblClick",     "OnDragDrop",
          "OnDragOver", "OnEndDrag", "OnEnter",     "OnExit",      "OnMouseDown", "OnMouseMove",    "OnMouseUp"});
  b.Prop("OnPageChanged", &TNotebook::OnPageChanged);
  PublishControlProperties(b, {"OnStartDrag"});
  b.Prop("PageIndex", &TNotebook::GetPageIndex, &TNotebook::SetPageIndex).Default(0);
  b.Prop("Pages", &TNotebook::GetPages, &TNotebook::SetPages).Stored(false);
}
