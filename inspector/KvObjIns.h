// KvObjIns: the object inspector component. It carries the inspector's settings, forwards to
// its window and can attach an engine of its own to a live form (EditForm).
//
// The inspector window itself (rows, in-place editors, component list) is not part of the
// library yet: until it is, Form() is nil and the forwarding operations have nothing to reach,
// which is the state the component is in anyway once the application has freed its window.
#pragma once

#include "Classes.h"
#include "Forms.h"
#include "KvDsgn.h"

constexpr TTypeKinds KvInspectorTypeKinds = 0x047E;

class TKvObjectInspector : public TComponent, public IKInspectorHost {
  KV_CLASS(TKvObjectInspector, TComponent)
 public:
  explicit TKvObjectInspector(TComponent* AOwner);
  ~TKvObjectInspector() override;

  TTypeKinds GetTypeKinds() const override { return FTypeKinds; }
  void SetTypeKinds(TTypeKinds v) { FTypeKinds = v; }
  bool GetCanDelete() const override { return FCanDelete; }
  void SetCanDelete(bool v) { FCanDelete = v; }

  void Show();
  void Hide();
  TForm* Form() const { return FForm; }
  void SelectDesigner(TFormDesigner* designer);
  void RefreshGrid();
  void FormNotification(TComponent* component, TOperation operation) override;
  // Posted to the window, which handles them after the engine's current message.
  void ObjectChanged(TKFormDesigner* designer) override;
  void ObjectModified(TKFormDesigner* designer) override;
  // Attaches an engine of this component's own to a live form, ending the previous one.
  void EditForm(TForm* form);
  TKFormDesigner* EditDesigner() const { return FEditDesigner; }

  TTypeKinds FTypeKinds = KvInspectorTypeKinds;
  bool FCanDelete = false;
  TNotifyEvent FOnDestroy;

 private:
  bool DesignerClosing(TObject* sender);

  TKFormDesigner* FEditDesigner = nullptr;
  TForm* FForm = nullptr;
};
