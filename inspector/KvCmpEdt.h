// KvCmpEdt: the component editors of the paged containers. Their verbs appear at the top of
// the designer's context menu, and a double click runs the first one.
//   TPageControlEditor (TPageControl and its TTabSheet): "New Page", "Next Page",
//     "Previous Page", "Delete Page" (the last only while there is a page).
//   TPageIndexEditor (TNotebook, TTabbedNotebook, TKvTabbedNotebook): "Next Page",
//     "Previous Page"; their pages are the captions of the Pages property.
#pragma once

#include <string>

#include "ComCtrls.h"
#include "DsgnIntf.h"

class TPageControlEditor : public TComponentEditor {
  KV_CLASS(TPageControlEditor, TComponentEditor)
 public:
  int GetVerbCount() override;
  std::string GetVerb(int index) override;
  void ExecuteVerb(int index) override;
  // The edited page control: the component itself or the page control of a tab sheet.
  TPageControl* PageControl() const;

 private:
  void NewPage(TPageControl* pageControl);
  void ShowPage(TPageControl* pageControl, bool goForward);
  void DeletePage(TPageControl* pageControl);
};

// Steps through the pages of a component that publishes PageIndex and Pages (a TStrings of
// one caption per page), wrapping at either end.
class TPageIndexEditor : public TComponentEditor {
  KV_CLASS(TPageIndexEditor, TComponentEditor)
 public:
  int GetVerbCount() override { return 2; }
  std::string GetVerb(int index) override;
  void ExecuteVerb(int index) override;
};

// Registers the editors above (once); the object inspector component does it when created.
void RegisterPageEditors();
