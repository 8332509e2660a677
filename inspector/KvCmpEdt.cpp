#include "KvCmpEdt.h"

#include "ExtCtrls.h"
#include "KvTbNtBk.h"
#include "Tabnotbk.h"
#include "TypInfo.h"

KV_IMPLEMENT_CLASS(TPageControlEditor, "KvCmpEdt") {}
KV_IMPLEMENT_CLASS(TPageIndexEditor, "KvCmpEdt") {}

// ---------------------------------------------------------------------------------------------
// TPageControlEditor

TPageControl* TPageControlEditor::PageControl() const {
  if (auto* sheet = dynamic_cast<TTabSheet*>(Component())) return sheet->GetPageControl();
  return dynamic_cast<TPageControl*>(Component());
}

int TPageControlEditor::GetVerbCount() {
  TPageControl* pageControl = PageControl();
  return pageControl && pageControl->GetActivePage() ? 4 : 3;
}

std::string TPageControlEditor::GetVerb(int index) {
  switch (index) {
    case 0: return "New Page";
    case 1: return "Next Page";
    case 2: return "Previous Page";
    case 3: return "Delete Page";
    default: return "";
  }
}

void TPageControlEditor::ExecuteVerb(int index) {
  TPageControl* pageControl = PageControl();
  if (!pageControl) return;
  switch (index) {
    case 0: NewPage(pageControl); break;
    case 1: ShowPage(pageControl, true); break;
    case 2: ShowPage(pageControl, false); break;
    case 3: DeletePage(pageControl); break;
    default: return;
  }
  Designer()->Modified();
}

void TPageControlEditor::NewPage(TPageControl* pageControl) {
  auto* page = static_cast<TTabSheet*>(Designer()->CreateComponent(TTabSheet::StaticClass(), pageControl, 0, 0, 0, 0));
  pageControl->SetActivePage(page);
  Designer()->SelectComponent(page);
}

void TPageControlEditor::ShowPage(TPageControl* pageControl, bool goForward) {
  TTabSheet* page = pageControl->FindNextPage(pageControl->GetActivePage(), goForward, false);
  if (!page) return;
  pageControl->SetActivePage(page);
  Designer()->SelectComponent(page);
}

void TPageControlEditor::DeletePage(TPageControl* pageControl) {
  TTabSheet* page = pageControl->GetActivePage();
  if (!page) return;
  // The selection lets go of the page and its controls before they are freed.
  Designer()->SelectComponent(pageControl);
  delete page;
}

// ---------------------------------------------------------------------------------------------
// TPageIndexEditor

std::string TPageIndexEditor::GetVerb(int index) {
  switch (index) {
    case 0: return "Next Page";
    case 1: return "Previous Page";
    default: return "";
  }
}

void TPageIndexEditor::ExecuteVerb(int index) {
  if (index < 0 || index > 1) return;
  TComponent* c = Component();
  auto* pages = dynamic_cast<TStrings*>(GetObjectProp(c, GetPropInfo(c, "Pages")));
  const int count = pages ? pages->Count() : 0;
  if (count == 0) return;
  const int current = static_cast<int>(GetOrdProp(c, "PageIndex"));
  const int next = ((current < 0 ? 0 : current) + (index == 0 ? 1 : count - 1)) % count;
  SetOrdProp(c, "PageIndex", next);
  Designer()->Modified();
}

// ---------------------------------------------------------------------------------------------

void RegisterPageEditors() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterComponentEditor(TPageControl::StaticClass(), TPageControlEditor::StaticClass());
  RegisterComponentEditor(TTabSheet::StaticClass(), TPageControlEditor::StaticClass());
  RegisterComponentEditor(TNotebook::StaticClass(), TPageIndexEditor::StaticClass());
  RegisterComponentEditor(TTabbedNotebook::StaticClass(), TPageIndexEditor::StaticClass());
  RegisterComponentEditor(TKvTabbedNotebook::StaticClass(), TPageIndexEditor::StaticClass());
}
