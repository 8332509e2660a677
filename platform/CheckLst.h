// CheckLst: the check list box, a list box whose items carry check boxes.
#pragma once

#include "StdCtrls.h"

// The items of a check list box: each one's check state and enabled flag travel with it
// (through inserts, deletes, exchanges and sorting), while Objects stay the user's.
class TCheckListBoxItems : public TCustomListControlItems {
  KV_CLASS(TCheckListBoxItems, TCustomListControlItems)
 public:
  TCheckListBoxItems();
  TObject* GetObject(int i) const override;
  void PutObject(int i, TObject* o) override;
  TCheckBoxState GetState(int i) const;
  void SetState(int i, TCheckBoxState s);
  bool GetItemEnabled(int i) const;
  void SetItemEnabled(int i, bool v);
  // A state or enabled flag changed (the texts did not).
  std::function<void()> OnStatesChanged;

 private:
  struct TItemData;
  TItemData* Data(int i) const;
  TItemData* EnsureData(int i);
};

class TCheckListBox : public TCustomListBox {
  KV_CLASS(TCheckListBox, TCustomListBox)
 public:
  explicit TCheckListBox(TComponent* AOwner);
  void Dispatch(TMessage& message) override;

  bool GetChecked(int i) const { return GetState(i) == cbChecked; }
  void SetChecked(int i, bool v) { SetState(i, v ? cbChecked : cbUnchecked); }
  TCheckBoxState GetState(int i) const { return Items()->GetState(i); }
  void SetState(int i, TCheckBoxState s) { Items()->SetState(i, s); }
  bool GetItemEnabled(int i) const { return Items()->GetItemEnabled(i); }
  void SetItemEnabled(int i, bool v) { Items()->SetItemEnabled(i, v); }
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  // Kept for form files; the toolkit draws its own check boxes.
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v) { FFlat = v; }

  TNotifyEvent OnClickCheck;

 protected:
  virtual void ClickCheck();
  void WindowItemsSet() override;

 private:
  TCheckListBoxItems* Items() const { return static_cast<TCheckListBoxItems*>(GetItems()); }
  bool FAllowGrayed = false;
  bool FFlat = true;
};

void RegisterCheckLstClasses();
