// KvStub: what a design holds in place of a component whose class this application does not
// register. It is made where the component was read, shows its name and class (a grey frame
// for a control, an icon otherwise), can be selected, moved and deleted, and writes back the
// record it was read from: class, properties and children exactly as they stood, with its
// position and size as they are now.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"
#include "KvFormMerge.h"

// The record a stub was read from, less what the stub itself holds.
class TKvStubRecord {
 public:
  std::string ClassName;
  std::vector<TKvStreamProp> Props;
  std::vector<TKvStreamObject> Children;

  // Reads the properties and children after the record's header; `own` takes the properties
  // the stub holds itself (position, size) and answers whether it did.
  void Read(TReader* reader, const std::function<bool(const std::string& name, int value)>& own);
  // Writes the whole record under `name`; `own` writes the stub's own properties.
  void Write(TWriter* writer, const std::string& name, const std::function<void()>& own) const;
};

// A control of an unregistered class: a grey frame with its name and class.
class TKvControlStub : public TCustomControl {
  KV_CLASS(TKvControlStub, TCustomControl)
 public:
  explicit TKvControlStub(TComponent* owner);
  void ReadState(TReader* reader) override;
  void WriteState(TWriter* writer) override;
  TKvStubRecord Record;

 protected:
  void Paint() override;
};

// A non-visual component of an unregistered class, shown as an icon.
class TKvComponentStub : public TComponent {
  KV_CLASS(TKvComponentStub, TComponent)
 public:
  using TComponent::TComponent;
  void ReadState(TReader* reader) override;
  void WriteState(TWriter* writer) override;
  TKvStubRecord Record;
};

// The stub class for the record the reader is about to read the properties of (a control
// when it stores a size or is read into a control other than the root); a stub of that class for a component of class `className` (nil for
// any class but the stubs').
TClass KvStubClass(TReader* reader);
TComponent* KvCreateStub(TClass stubClass, TComponent* owner, const std::string& className);
// The class a component is stored under: a stub's class as read, else its own.
std::string KvStreamedClassName(const TComponent* component);
bool KvIsStub(const TComponent* component);
