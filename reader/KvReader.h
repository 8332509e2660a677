// KvReader: the filtering form stream reader. It reads the form stream of a designed form
// against the live form and writes a cleaned copy, framed by a resource header, into OutStream:
// components and properties that the form does not know are copied unchanged, components that
// the engine does not list are dropped with their children, and event assignments are taken out
// into Events (collect mode) or put back from an event list (apply mode). On the way it gathers
// what the unit text needs: the uses clause, the field declarations and the event sections.
//
// Calling order: construct on the stream (positioned at "TPF0"); set the engine's questions;
// Initialize; set Root to the designed form; ReadSignature; ReadComponent with the form;
// Finalize; then take OutStream, Units, Events, Fields and the class name ReadComponent gave.
//
// Event sections: a header "[key]" (the root's class name, or a component's name) followed by
// lines "OnClick = Button1Click(Sender: TObject)". Field lines: "    Button1: TButton;".
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Classes.h"

class TKReader : public TReader {
  KV_CLASS(TKReader, TReader)
 public:
  explicit TKReader(TStream* stream, int bufSize = 4096);
  ~TKReader() override;

  // The engine's questions: whether it lists a component (its own handles, icons and labels are
  // never saved), and whether a published property of an instance is stored. Unset: yes.
  std::function<bool(TComponent*)> Listable;
  std::function<bool(TPersistent*, PPropInfo)> IsStoredProp;
  // False: collect mode (events are taken out into Events); true: apply mode (set by Initialize).
  bool ApplyEvents = false;
  TMemoryStream OutStream;  // the cleaned copy with its resource header
  TStringList Units;        // unit names of the uses clause
  TStringList Events;       // event sections
  TStringList Fields;       // field declaration lines

  // Starts the output: resource header under `resName` and the signature. With `events` the
  // reader works in apply mode and writes those assignments back; without, in collect mode.
  void Initialize(const std::string& resName, const TStrings* events);
  // Reads one component record and its subtree. `component` is the live component (the root
  // for the first call; nil to look it up in Root by name). A non-empty `newClassName` replaces
  // the class name in the output; `className` receives the class name written.
  void ReadComponent(TComponent* component, const std::string& newClassName, std::string& className);
  // Ends the output and fills in the size field of the resource header.
  void Finalize();

  void ReadData(TComponent* instance) override;
  void ReadProperty(TPersistent* instance);
  void ReadPropValue(TPersistent* instance, PPropInfo prop);
  void ReadSet(PTypeInfo setType);
  void ReadCollection(TCollection* collection);

  // Consume input and write it unchanged.
  void CopyComponent(bool withHeader);
  void CopyProperty();
  void CopyValue();

 private:
  // Writes the bytes that `read` consumes, so every value is reproduced exactly as it stands.
  void CopyRead(const std::function<void()>& read);
  void AddUnit(const std::string& unitName);
  void AddClassUnits(TClass cls);
  void AddEvent(PPropInfo prop, const std::string& handler);
  void WriteEvents(const std::string& key);
  // Events and the sections name the root by its class and any other component by its name.
  const std::string& SectionKey() const;
  TComponent* FindComponentInRoot() const;
  bool Saved(TComponent* component) const;

  std::unique_ptr<TWriter> FWriter;
  std::string FClassName;            // class name of the component being read (possibly replaced)
  std::string FCompName;             // name of the component being read
  std::string FPropPath;             // full, possibly dotted, name of the property being read
  TPersistent* FInstance = nullptr;  // the component whose own properties are being read
  int FLevel = 0;                    // component nesting; 1 is the root
  int64_t FDataStart = 0;            // OutStream position just after the resource header
};
