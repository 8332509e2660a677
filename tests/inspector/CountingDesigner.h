// A form designer that only counts the modifications reported to it.
#pragma once

#include "DsgnIntf.h"

class TCountingDesigner : public TFormDesigner {
 public:
  void Modified() override { ++ModifiedCount; }
  int ModifiedCount = 0;

  bool IsDesignMsg(TControl*, TMessage&) override { return false; }
  void Notification(TComponent*, TOperation) override {}
  void PaintGrid() override {}
  void ValidateRename(TComponent*, const std::string&, const std::string&) override {}
  std::string UniqueName(const std::string& base) override { return base; }
  TComponent* GetRoot() override { return nullptr; }
  TMethod CreateMethod(const std::string&, PTypeInfo) override { return {}; }
  std::string GetMethodName(const TMethod&) override { return ""; }
  void GetMethods(PTypeInfo, const TGetStrProc&) override {}
  std::string GetPrivateDirectory() override { return ""; }
  void GetSelections(TComponentList*) override {}
  bool MethodExists(const std::string&) override { return false; }
  void RenameMethod(const std::string&, const std::string&) override {}
  void SelectComponent(TPersistent*) override {}
  void SetSelections(TComponentList*) override {}
  void ShowMethod(const std::string&) override {}
  void GetComponentNames(PTypeInfo, const TGetStrProc&) override {}
  TComponent* GetComponent(const std::string&) override { return nullptr; }
  std::string GetComponentName(TComponent*) override { return ""; }
  std::string GetObjectName(TPersistent*) override { return ""; }
  bool MethodFromAncestor(const TMethod&) override { return false; }
  bool IsComponentLinkable(TComponent*) override { return false; }
  void MakeComponentLinkable(TComponent*) override {}
  void Revert(TPersistent*, PPropInfo) override {}
};
