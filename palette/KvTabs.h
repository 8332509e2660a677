// KvTabs: a container with a strip of tabs along its top and one page per tab, of which only
// the selected page is visible and enabled. The palette notebook derives from it.
//
// The tab strip is the library's TTabControl, aligned to the whole container, so that the pages
// (its children, aligned to its client area) fill the area below the tabs. The strip's tab texts
// are kept in step with the page captions at all times. Pages are streamed as unnamed children
// of the tab control.
#pragma once

#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Tabnotbk.h"  // TPageChangeEvent: asked before every page change, may veto

class TKvTabControl;

// Sent to the tab control when the tab font changed: the pages follow the new tab height.
constexpr uint32_t CM_TABFONTCHANGED = CM_BASE + 100;

// A page: accepts child controls; streamed with its caption only.
class TKvTabPage : public TWinControl {
  KV_CLASS(TKvTabPage, TWinControl)
 public:
  // While a tab control reads its state, its pages are owned by its strip.
  explicit TKvTabPage(TComponent* AOwner);
  ~TKvTabPage() override;
  void ReadState(TReader* reader) override;

 private:
  TKvTabControl* FReadingTabControl;
};

// The pages of a tab control as their captions. Adding a string makes a page, deleting one
// frees the page with its controls, changing one renames the page.
class TKvTabPageAccess : public TStrings {
  KV_CLASS(TKvTabPageAccess, TStrings)
 public:
  explicit TKvTabPageAccess(TKvTabControl* tabControl = nullptr) : FTabControl(tabControl) {}
  int Count() const override;
  std::string Get(int i) const override;
  void Put(int i, const std::string& s) override;
  TObject* GetObject(int i) const override;
  // The new page becomes the visible one.
  void Insert(int i, const std::string& s) override;
  void Delete(int i) override;
  void Clear() override;
  // Swaps two pages with their controls; the visible page stays visible.
  void Exchange(int a, int b) override;
  // Exchanges the pages at cur and newIndex (not a shift of the pages in between).
  void Move(int cur, int newIndex) { Exchange(cur, newIndex); }
  // From a string list: pages whose captions are in the list are kept (and their controls with
  // them), reordered to the list's order; missing ones are added, the rest deleted.
  void Assign(TPersistent* source) override;

 private:
  void CheckIndex(int i) const;
  TKvTabControl* FTabControl;
};

class TKvTabControl : public TCustomControl {
  KV_CLASS(TKvTabControl, TCustomControl)
 public:
  explicit TKvTabControl(TComponent* AOwner);
  ~TKvTabControl() override;

  int PageCount() const { return static_cast<int>(FPageList.size()); }
  TKvTabPage* Page(int i) const { return FPageList.at(i); }
  TTabControl* TabStrip() const { return FTabStrip; }

  int GetPageIndex() const { return FPageIndex; }
  // Shows page v once OnChange allows it; an index outside the pages is ignored.
  void SetPageIndex(int v);
  TStrings* GetPages() const { return FPages; }
  void SetPages(TStrings* v);
  std::string GetActivePage() const;
  void SetActivePage(const std::string& name);  // caption, any case
  int GetTabsPerRow() const { return FTabsPerRow; }
  void SetTabsPerRow(int v);  // below 3 is refused
  TFont* GetTabFont() const { return FTabStrip->GetFont(); }
  void SetTabFont(TFont* v) { FTabStrip->SetFont(v); }
  // The tab last put on the strip; Change shows its page.
  int GetTabIndex() const { return FTabIndex; }
  void SetTabIndex(int v);
  TStrings* GetTabs() const { return FTabStrip->GetTabs(); }
  void SetTabs(TStrings* v) { FTabStrip->SetTabs(v); }
  // Index of the first page whose caption is pageName exactly, or -1.
  int GetIndexForPage(const std::string& pageName) const;

  void Dispatch(TMessage& m) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void ReadState(TReader* reader) override;
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;
  void AlignControls(TControl* aControl, TRect& rect) override;

  // OnClick (the control's own) follows a page change by keyboard or accelerator.
  TPageChangeEvent OnChange;

 protected:
  // Shows the page of the tab last put on the strip, and puts the strip on the visible page.
  virtual void Change();
  void KeyDown(uint16_t& key, TShiftState shift) override;
  // The page shown, or nullptr.
  TKvTabPage* CurrentPage() const;

 private:
  friend class TKvTabPage;
  friend class TKvTabPageAccess;
  void TabStripChange(TObject* sender);
  void CMDialogChar(TMessage& m);
  // Puts a page into the list and its caption onto the strip, and watches for its destruction.
  void AttachPage(int i, TKvTabPage* page);
  // A page went (freed by the list or by anyone): forget it, keeping the visible one visible.
  void DetachPage(int i);
  void ShowPage(TKvTabPage* page, bool show);
  void DrawTab(int i, const TRect& r, bool active);

  std::vector<TKvTabPage*> FPageList;
  TKvTabPageAccess* FPages;
  TTabControl* FTabStrip;
  int FPageIndex = -1;
  int FTabsPerRow = 3;
  int FTabIndex = -1;
};

// The tab control whose state is being read, so that the pages read attach themselves to it.
extern TKvTabControl* ReadingTabControl;
