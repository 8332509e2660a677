// ActnList: actions, action lists and the links that tie controls and menu items to actions.
//
// Actions are owned by the form and stream as children of their list. A client (control or
// menu item) whose Action is set holds a link; the action tells its links of every change
// before taking it, and a link passes it on only while the client's property still equals the
// action's, so a property the client was given explicitly stays as given. Such a followed
// property is not written to the form file, as the VCL's IsCaptionStored rules have it.
//
// Actions without a handler look for a target (the focused control, the active form and its
// showing controls, then the action's own default) as the VCL's CM_ACTIONEXECUTE /
// CM_ACTIONUPDATE walk does. Actions with clients are updated on a timer of the event loop
// (the library has no idle hook that units can join) and before a menu is shown.
#pragma once

#include <string>
#include <vector>

#include "Classes.h"
#include "Menus.h"

class TActionList;
class TImageList;
class TBasicActionLink;

KV_EVENT(TActionEvent, "Action: TBasicAction; var Handled: Boolean", TObject*, bool&)

class TBasicAction : public TComponent {
  KV_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;
  // Targets: an action without OnExecute runs on the first target it handles.
  virtual bool HandlesTarget(TObject* target) {
    (void)target;
    return false;
  }
  virtual void ExecuteTarget(TObject* target) { (void)target; }
  virtual void UpdateTarget(TObject* target) { (void)target; }
  // The target offered last, when no control of the form takes the action (a dataset
  // action's own DataSource); nullptr for none.
  virtual TObject* DefaultTarget() const { return nullptr; }
  // Runs OnExecute; true when it ran.
  virtual bool Execute();
  // Runs OnUpdate; true when it ran.
  virtual bool Update();
  // The links of the clients using this action.
  int ClientCount() const { return static_cast<int>(FClients.size()); }
  TBasicActionLink* Clients(int i) const { return FClients.at(i); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 private:
  friend class TBasicActionLink;
  std::vector<TBasicActionLink*> FClients;
};

class TContainedAction : public TBasicAction {
  KV_CLASS(TContainedAction, TBasicAction)
 public:
  using TBasicAction::TBasicAction;
  ~TContainedAction() override;
  TActionList* GetActionList() const { return FActionList; }
  void SetActionList(TActionList* v);
  int GetIndex() const;
  void SetIndex(int v);
  std::string GetCategory() const { return FCategory; }
  void SetCategory(const std::string& v);
  // The list's OnExecute, then OnExecute, then a target; true when one of them took it.
  bool Execute() override;
  // The list's OnUpdate, then OnUpdate, then a target.
  bool Update() override;

  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

 private:
  friend class TActionList;
  TActionList* FActionList = nullptr;
  std::string FCategory;
};

class TCustomAction : public TContainedAction {
  KV_CLASS(TCustomAction, TContainedAction)
 public:
  using TContainedAction::TContainedAction;
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  std::string GetHint() const { return FHint; }
  void SetHint(const std::string& v);
  THelpContext GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext v);
  TImageIndex GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(TImageIndex v);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v);
  bool GetAutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool v) { FAutoCheck = v; }
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  // An action that nothing handles is disabled by its update when this is set (the default).
  bool DisableIfNoHandler = true;
  // Updates first; a disabled action does nothing. AutoCheck toggles Checked before it runs.
  bool Execute() override;
  bool Update() override;

 private:
  void UncheckGroup();
  std::string FCaption;
  std::string FHint;
  THelpContext FHelpContext = 0;
  TImageIndex FImageIndex = -1;
  TShortCut FShortCut = 0;
  int FGroupIndex = 0;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FAutoCheck = false;
};

class TAction : public TCustomAction {
  KV_CLASS(TAction, TCustomAction)
 public:
  using TCustomAction::TCustomAction;
};

class TActionList : public TComponent {
  KV_CLASS(TActionList, TComponent)
 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;
  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TContainedAction* Actions(int i) const { return FActions.at(i); }
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  // Asks OnExecute / OnUpdate of the list; true when the list handled the action.
  bool ExecuteAction(TBasicAction* action);
  bool UpdateAction(TBasicAction* action);
  // Offers the short cut to the enabled actions; true when one ran.
  bool IsShortCut(uint16_t key, TShiftState shift);
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Notification(TComponent* c, TOperation op) override;

  TNotifyEvent OnChange;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;

 private:
  friend class TContainedAction;
  std::vector<TContainedAction*> FActions;
  TImageList* FImages = nullptr;
};

// What TAction publishes; the standard actions publish the same.
template <class C>
void PublishCustomActionProperties(TClassBuilder<C>& b) {
  b.Prop("AutoCheck", &TCustomAction::GetAutoCheck, &TCustomAction::SetAutoCheck).Default(false);
  b.Prop("Caption", &TCustomAction::GetCaption, &TCustomAction::SetCaption).Type(TypeInfoTCaption());
  b.Prop("Checked", &TCustomAction::GetChecked, &TCustomAction::SetChecked).Default(false);
  b.Prop("Enabled", &TCustomAction::GetEnabled, &TCustomAction::SetEnabled).Default(true);
  b.Prop("GroupIndex", &TCustomAction::GetGroupIndex, &TCustomAction::SetGroupIndex).Default(0);
  b.Prop("HelpContext", &TCustomAction::GetHelpContext, &TCustomAction::SetHelpContext).Default(0);
  b.Prop("Hint", &TCustomAction::GetHint, &TCustomAction::SetHint);
  b.Prop("ImageIndex", &TCustomAction::GetImageIndex, &TCustomAction::SetImageIndex)
      .Type(TypeInfoTImageIndex())
      .Default(-1);
  b.Prop("ShortCut", &TCustomAction::GetShortCut, &TCustomAction::SetShortCut).Type(TypeInfoTShortCut()).Default(0);
  b.Prop("Visible", &TCustomAction::GetVisible, &TCustomAction::SetVisible).Default(true);
  b.Prop("OnExecute", &TBasicAction::OnExecute);
  b.Prop("OnUpdate", &TBasicAction::OnUpdate);
}

// ---------------------------------------------------------------------------------------------
// Links. A client owns its link; the link registers with its action.
class TBasicActionLink {
 public:
  TBasicActionLink() = default;
  virtual ~TBasicActionLink();
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;
  TBasicAction* GetAction() const { return FAction; }
  void SetAction(TBasicAction* v);
  virtual bool Execute() { return FAction && FAction->Execute(); }
  virtual bool Update() { return FAction && FAction->Update(); }
  // The action's properties reach the client: all of them, or with checkDefaults only those
  // the client still has at their defaults (while a form loads).
  virtual void ActionChange(bool checkDefaults) { (void)checkDefaults; }
  // Set while the link checks its client: the click that a check box raises on a change of
  // Checked is not the user's, and runs neither the action nor OnClick.
  bool ClicksDisabled = false;

 protected:
  TBasicAction* FAction = nullptr;
};

class TActionLink : public TBasicActionLink {
 public:
  // Whether the client's property follows the action's: true while they are equal.
  virtual bool IsCaptionLinked() const;
  virtual bool IsCheckedLinked() const;
  virtual bool IsEnabledLinked() const;
  virtual bool IsHelpContextLinked() const;
  virtual bool IsHintLinked() const;
  virtual bool IsImageIndexLinked() const;
  virtual bool IsShortCutLinked() const;
  virtual bool IsVisibleLinked() const;
  virtual bool IsOnExecuteLinked() const;
  // Called by the action before it takes the new value; a linked client follows.
  virtual void SetCaption(const std::string& v) { (void)v; }
  virtual void SetChecked(bool v) { (void)v; }
  virtual void SetEnabled(bool v) { (void)v; }
  virtual void SetHelpContext(THelpContext v) { (void)v; }
  virtual void SetHint(const std::string& v) { (void)v; }
  virtual void SetImageIndex(TImageIndex v) { (void)v; }
  virtual void SetShortCut(TShortCut v) { (void)v; }
  virtual void SetVisible(bool v) { (void)v; }

 protected:
  TCustomAction* Custom() const { return Cast<TCustomAction>(FAction); }
  // The client's click handler: linked while empty or the action's own.
  bool ClickLinked(const TNotifyEvent& onClick) const;
};

// A control's link. Checked goes to the client's published Checked or Down, ImageIndex to its
// published ImageIndex, HelpContext to a windowed control's.
class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* client) : FClient(client) {}
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::string& v) override;
  void SetChecked(bool v) override;
  void SetEnabled(bool v) override;
  void SetHelpContext(THelpContext v) override;
  void SetHint(const std::string& v) override;
  void SetImageIndex(TImageIndex v) override;
  void SetVisible(bool v) override;
  void ActionChange(bool checkDefaults) override;

 private:
  void CheckClient(bool v);
  TControl* FClient;
};

class TMenuActionLink : public TActionLink {
 public:
  explicit TMenuActionLink(TMenuItem* client) : FClient(client) {}
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::string& v) override;
  void SetChecked(bool v) override;
  void SetEnabled(bool v) override;
  void SetHelpContext(THelpContext v) override;
  void SetHint(const std::string& v) override;
  void SetImageIndex(TImageIndex v) override;
  void SetShortCut(TShortCut v) override;
  void SetVisible(bool v) override;
  void ActionChange(bool checkDefaults) override;

 private:
  TMenuItem* FClient;
};

// Updates every action that has clients, as the VCL does when the application goes idle.
void UpdateLinkedActions();
// Updates the actions of the menu items under item (before its menu shows).
void UpdateMenuActions(TMenuItem* item);
// The target an action without a handler works on: the focused control of the active form
// (or of form), the form, its showing controls, then the action's DefaultTarget; nullptr when
// none takes it. A data-aware
// control is offered as itself; actions that work on its data source look through it.
TObject* FindActionTarget(TBasicAction* action, TCustomForm* form = nullptr);

void RegisterActnListClasses();
