#include "FormLoad.h"

#include <cstring>

#include "Forms.h"
#include "StdReg.h"
#include "TypInfo.h"

namespace {

std::string InstancePath(TPersistent* instance, TComponent* root) {
  auto* c = dynamic_cast<TComponent*>(instance);
  if (!c || c == root) return root->GetName();
  return root->GetName() + "." + (c->GetName().empty() ? c->ClassName() : c->GetName());
}

}  // namespace

void ReadFormStream(TStream* input, TMemoryStream& formStream) {
  TMemoryStream in;
  in.CopyFrom(input, input->GetSize() - input->GetPosition());
  in.SetPosition(0);
  const bool bare = in.GetSize() >= 4 && std::memcmp(in.Memory(), "TPF0", 4) == 0;
  if (StreamHasResourceHeader(&in)) {
    in.ReadResHeader();
    formStream.CopyFrom(&in, in.GetSize() - in.GetPosition());
  } else if (bare) {
    formStream.LoadFromStream(&in);
  } else {
    ObjectTextToBinary(&in, &formStream);
  }
  formStream.SetPosition(0);
}

std::unique_ptr<TForm> LoadForm(TStream* input, TFormLoad& load) {
  RegisterStandardClasses();
  TMemoryStream stream;
  ReadFormStream(input, stream);
  auto form = std::make_unique<TForm>(nullptr);
  TReader reader(&stream, 4096);
  reader.OnBindMethod = [&](TPersistent* instance, PPropInfo prop, const std::string& name) {
    const TMethod* handler = load.Handlers.Find(name);
    try {
      if (handler) SetMethodProp(instance, prop, *handler);
    } catch (const EInvalidCast&) {
      handler = nullptr;  // a handler of another event type
    }
    if (!handler) load.Unbound.push_back(InstancePath(instance, form.get()) + "." + prop->Name + " = " + name);
    return true;
  };
  if (load.OnProblem)
    reader.OnError = [&](TReader* r, const std::string& message, bool& handled) {
      load.OnProblem(ReaderComponentPath(r, form.get()), message);
      handled = true;
    };
  reader.ReadRootComponent(form.get());
  return form;
}

std::unique_ptr<TForm> LoadForm(const std::string& fileName, TFormLoad& load) {
  TFileStream file(fileName, fmOpenRead);
  return LoadForm(&file, load);
}
