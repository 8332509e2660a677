// StdActns: the standard actions of edit controls, hints and windows.
//
// An edit action works on the focused edit control (or only on Control, when set) and is
// enabled while it has something to do there; without a focused edit it is disabled.
#pragma once

#include "ActnList.h"
#include "StdCtrls.h"

class TEditAction : public TAction {
  KV_CLASS(TEditAction, TAction)
 public:
  using TAction::TAction;
  ~TEditAction() override;
  TCustomEdit* GetControl() const { return FControl; }
  void SetControl(TCustomEdit* v);
  bool HandlesTarget(TObject* target) override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  static TCustomEdit* EditOf(TObject* target) { return static_cast<TCustomEdit*>(target); }

 private:
  TCustomEdit* FControl = nullptr;
};

class TEditCut : public TEditAction {
  KV_CLASS(TEditCut, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

class TEditCopy : public TEditAction {
  KV_CLASS(TEditCopy, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

class TEditPaste : public TEditAction {
  KV_CLASS(TEditPaste, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

class TEditSelectAll : public TEditAction {
  KV_CLASS(TEditSelectAll, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

class TEditUndo : public TEditAction {
  KV_CLASS(TEditUndo, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

class TEditDelete : public TEditAction {
  KV_CLASS(TEditDelete, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

// Shows its Hint on the status bars with AutoHint of the form; never disabled for want of one.
class THintAction : public TCustomAction {
  KV_CLASS(THintAction, TCustomAction)
 public:
  explicit THintAction(TComponent* AOwner);
  bool HandlesTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

// Closes the form it finds as its target (the active one).
class TWindowClose : public TAction {
  KV_CLASS(TWindowClose, TAction)
 public:
  using TAction::TAction;
  bool HandlesTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

void RegisterStdActnsClasses();
