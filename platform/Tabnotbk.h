// Tabnotbk: the Windows 3.1 style tabbed notebook. Its pages are child controls that form
// files store unnamed ("object TTabPage"), each with its caption.
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"

KV_EVENT(TPageChangeEvent, "Sender: TObject; NewTab: Integer; var AllowChange: Boolean", TObject*, int, bool&)

class TTabbedNotebook;

class TTabPage : public TWinControl {
  KV_CLASS(TTabPage, TWinControl)
 public:
  explicit TTabPage(TComponent* AOwner);
  ~TTabPage() override;
  void SetParent(TWinControl* value) override;
  void Dispatch(TMessage& m) override;

 protected:
  void PaintWindow(TPaintDC* dc) override;

 private:
  friend class TTabbedNotebook;
  TTabbedNotebook* FNotebook = nullptr;
};

class TTabbedNotebook : public TCustomTabControl, private TPageStrings::THost {
  KV_CLASS(TTabbedNotebook, TCustomTabControl)
 public:
  explicit TTabbedNotebook(TComponent* AOwner);
  ~TTabbedNotebook() override;
  TStrings* GetPages() const { return FAccess; }
  void SetPages(TStrings* v) { FAccess->Assign(v); }
  int GetPageIndex() const { return FPageIndex; }
  // Moves to page v once OnChange allows it.
  void SetPageIndex(int v);
  std::string GetActivePage() const;
  void SetActivePage(const std::string& caption);
  TFont* GetTabFont() const { return FTabFont; }
  void SetTabFont(TFont* v) { FTabFont->Assign(v); }
  int GetTabsPerRow() const { return FTabsPerRow; }
  void SetTabsPerRow(int v);
  int PageCount() const { return static_cast<int>(FPageList.size()); }
  TTabPage* Page(int i) const { return static_cast<TTabPage*>(FPageList.at(i)); }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TComponent* GetChildOwner() override { return this; }
  void ReadState(TReader* reader) override;
  void Loaded() override;

  TPageChangeEvent OnChange;

 protected:
  std::vector<std::string> TabCaptions() const override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  friend class TTabPage;
  std::vector<TWinControl*>& PageList() override { return FPageList; }
  TWinControl* NewPage() override;
  void PagesChanged() override;
  void ShowPage();
  std::vector<TWinControl*> FPageList;
  TPageStrings* FAccess;
  TFont* FTabFont;
  int FPageIndex = -1;
  int FTabsPerRow = 3;
};

void RegisterTabnotbkClasses();
