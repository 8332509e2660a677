// KvDsgn: loading a form file into the designed form, and the stored form image that saving
// scans again for unit names and field declarations.
#include "KvDsgn.h"

#include <cstring>

#include "TypInfo.h"

void TKFormDesigner::WriteFormImage() {
  FResName = UpperCase(FForm->ClassName());
  FFormStream->SetSize(0);
  FFormStream->WriteComponentRes(FResName, FForm);
}

bool TKFormDesigner::ReadComponents(const std::string& fileName) {
  if (ExistFormInScreen(fileName, FFormName)) return false;
  FFormStream->LoadFromFile(fileName);
  TMemoryStream copy;
  copy.LoadFromFile(fileName);

  char header[80] = {};
  copy.Read(header, 79);
  FResName = std::string(header + 3, strnlen(header + 3, 76));
  copy.SetPosition(0);
  copy.ReadResHeader();

  TReader reader(&copy, 4096);
  reader.Root = FForm;
  reader.Owner = FForm->GetOwner();
  reader.Parent = FForm->GetParent();
  reader.OnFindMethod = [this](TReader* r, const std::string& name, const TMethodEntry*& address, bool& error) {
    FindMethod(r, name, address, error);
  };
  reader.ReadRootComponent(FForm);
  FForm->SetName(FFormName);
  return true;
}

// Handlers named by the file need not exist in the host, and a design runs none of the host's
// code: each event takes the handler's name only (KvDsgn_Methods.cpp), which saving writes back.
void TKFormDesigner::FindMethod(TReader*, const std::string& methodName, const TMethodEntry*& address, bool& error) {
  error = false;
  address = HandlerEntry(methodName);
}

bool TKFormDesigner::IsStoredProp(TPersistent* instance, PPropInfo prop) {
  switch (prop->StoredKind) {
    case skConstant: return prop->StoredConst;
    case skField: return prop->StoredProc(instance);
    case skVirtualMethod: return prop->StoredProc(instance);
    default: return true;  // a static method is not called
  }
}
