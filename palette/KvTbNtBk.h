// KvTbNtBk: the component palette. A tab control with one page per palette page and, on each
// page, a row of speed buttons: the pointer, a left and a right scroll button, then one button
// per component class. A click on a class button makes its class the selected class; the
// pointer clears the selection. With UseRegistered the pages and buttons come from the
// component registry (KvClass) and are rebuilt whenever the registry has grown.
//
// Geometry on a page (all buttons at top 0, 28 high): pointer at 4 (28 wide), left scroll at 38
// (12 wide), class button k of the window at 50 + 28 k, right scroll after the last slot. The
// number of class button slots is (width - 72) div 28.
#pragma once

#include <string>
#include <vector>

#include "KvTabs.h"

class TKvSpeedButton;

// Fired when a class button or the pointer is clicked; Sender is the button, the class nullptr
// for the pointer.
KV_EVENT(TOnSelect, "Sender: TObject; APersistentClass: TPersistentClass", TObject*, TClass)

class TKvTabbedNotebook : public TKvTabControl {
  KV_CLASS(TKvTabbedNotebook, TKvTabControl)
 public:
  explicit TKvTabbedNotebook(TComponent* AOwner);
  ~TKvTabbedNotebook() override;

  // Selects the page of that name (any case), creating it with its pointer and scroll buttons
  // when there is none; answers the page shown.
  TKvTabPage* AddPage(const std::string& pageName);
  // Adds a button for the class to the page shown (hint: the class name without its leading
  // T when empty). It gets its place at the next layout.
  void AddComponent(TClass componentClass, const std::string& hint);
  // The buttons of page `index`: pointer, left scroll, right scroll, then the class buttons.
  // EListError for a negative index.
  TList* GetComponentList(int index);
  TKvTabPage* GetTabPage(int index) const;  // nullptr beyond the last page
  // Presses the pointer and clears the selection, without OnSelect.
  void SetPointer();
  TClass SelectedClass() const { return FSelectedClass; }
  // Index among the page's class buttons of the first one shown.
  int GetFirstVisible() const { return FFirstVisible; }

  bool GetUseRegistered() const { return FUseRegistered; }
  void SetUseRegistered(bool v) { FUseRegistered = v; }

  // Rebuilds from the registry first when it has grown since the last rebuild.
  void SetBounds(int left, int top, int width, int height) override;
  void AlignControls(TControl* aControl, TRect& rect) override;
  // Repaints, and returns to the first buttons of the page with the pointer pressed.
  void Repaint() override;

  TOnSelect OnSelect;

 protected:
  void Change() override;
  // A page shown by keyboard or accelerator gets its buttons placed for the current scroll
  // position, selection unchanged.
  void Click() override;

 private:
  void RebuildFromRegistry();
  void ClearButtons();
  // A button owned by the notebook's owner, on the page and in the page's list.
  TKvSpeedButton* NewButton(TList* list, TKvTabPage* page);
  void LayOut(bool resetPointer);
  void ScrollLeft(TObject* sender);
  void ScrollRight(TObject* sender);
  void ButtonClick(TObject* sender);

  int FFirstVisible = 0;
  int FLastVisible = 0;
  std::vector<TList*> FButtonLists;
  int FLastWidth = 0;
  int32_t FRegisteredCount = 0;
  TClass FSelectedClass = nullptr;
  bool FUseRegistered = false;
};

// Makes the page classes of the library's tabbed notebook and of the kit's tab control known
// to form streams.
void RegisterKvTbNtBkClasses();
