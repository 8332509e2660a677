// ActnList: action lists and actions. Actions are owned by the form and stream as children of
// their list. Linking actions to controls and menu items is not done.
#pragma once

#include <string>
#include <vector>

#include "Classes.h"
#include "Menus.h"

class TActionList;
class TImageList;

KV_EVENT(TActionEvent, "Action: TBasicAction; var Handled: Boolean", TObject*, bool&)

class TAction : public TComponent {
  KV_CLASS(TAction, TComponent)
 public:
  explicit TAction(TComponent* AOwner);
  ~TAction() override;
  TActionList* GetActionList() const { return FActionList; }
  void SetActionList(TActionList* v);
  int GetIndex() const;
  void SetIndex(int v);
  std::string GetCategory() const { return FCategory; }
  void SetCategory(const std::string& v) { FCategory = v; }
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v) { FChecked = v; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; }
  std::string GetHint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  int GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(int v) { FHelpContext = v; }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v) { FShortCut = v; }
  // Updates first (the list's OnUpdate, then the action's); a disabled action does nothing.
  // Otherwise the list's OnExecute may handle it, else the action's OnExecute runs. True when
  // a handler ran.
  bool Execute();
  bool Update();

  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 private:
  friend class TActionList;
  TActionList* FActionList = nullptr;
  std::string FCategory;
  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  std::string FHint;
  int FHelpContext = 0;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
};

class TActionList : public TComponent {
  KV_CLASS(TActionList, TComponent)
 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;
  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TAction* Actions(int i) const { return FActions.at(i); }
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  // Asks OnExecute / OnUpdate of the list; true when the list handled the action.
  bool ExecuteAction(TAction* action);
  bool UpdateAction(TAction* action);
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Notification(TComponent* c, TOperation op) override;

  TNotifyEvent OnChange;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;

 private:
  friend class TAction;
  std::vector<TAction*> FActions;
  TImageList* FImages = nullptr;
};

void RegisterActnListClasses();
