// KvDsgn: loading a form file into the designed form, and the stored form image that saving
// scans again for unit names and field declarations.
#include "KvDsgn.h"

#include <cstring>

#include "Consts.h"
#include "KvFormMerge.h"
#include "KvStub.h"
#include "TypInfo.h"

void TKFormDesigner::WriteFormImage() {
  FResName = UpperCase(FForm->ClassName());
  FFormStream->SetSize(0);
  FFormStream->WriteComponentRes(FResName, FForm);
}

bool TKFormDesigner::ReadComponents(const std::string& fileName) {
  if (ExistFormInScreen(fileName, FFormName)) return false;
  // A text form file is designed as the binary image it converts to and saved back as text.
  TMemoryStream file;
  file.LoadFromFile(fileName);
  FTextForm = !StreamHasResourceHeader(&file);
  FFormStream->Clear();
  if (FTextForm) {
    FFileText.assign(reinterpret_cast<const char*>(file.Memory()), static_cast<size_t>(file.GetSize()));
    ObjectTextToResource(&file, FFormStream);
  } else {
    FFormStream->LoadFromStream(&file);
  }
  TMemoryStream copy;
  copy.LoadFromStream(FFormStream);

  char header[80] = {};
  copy.Read(header, 79);
  FResName = std::string(header + 3, strnlen(header + 3, 76));
  copy.SetPosition(0);
  copy.ReadResHeader();
  // A malformed stream is refused before anything is made of it; what remains to go wrong is
  // what this library lacks or this machine does not have.
  const int64_t start = copy.GetPosition();
  KvReadStreamObject(&copy);
  copy.SetPosition(start);

  TReader reader(&copy, 4096);
  reader.Root = FForm;
  reader.Owner = FForm->GetOwner();
  reader.Parent = FForm->GetParent();
  reader.OnFindMethod = [this](TReader* r, const std::string& name, const TMethodEntry*& address, bool& error) {
    FindMethod(r, name, address, error);
  };
  // An unregistered class, a property this library lacks, a component that cannot finish
  // loading: each is one problem, and the rest of the form still loads. Saving writes back
  // what was not read as it stands in the file.
  reader.OnError = [this](TReader* r, const std::string& message, bool& handled) {
    FLoadProblems.Add(ReaderComponentPath(r, FForm) + ": " + message);
    handled = true;
  };
  // A component of a class this application lacks is held by a stub that keeps its record.
  std::string stubOf;
  reader.OnFindComponentClass = [&](TReader* r, const std::string& className, TClass& cls) {
    if (GetClass(className)) return;
    FLoadProblems.Add(ReaderComponentPath(r, FForm) + ": " + Format(SClassNotFound, className));
    cls = KvStubClass(r);
    stubOf = className;
  };
  reader.OnCreateComponent = [&](TReader* r, TClass cls, TComponent*& made) { made = KvCreateStub(cls, r->Owner, stubOf); };
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
