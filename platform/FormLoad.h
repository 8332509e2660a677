// FormLoad: a saved form as a live form of the host. The file (binary .dfm with or without its
// resource header, or text) becomes a TForm with its components; each event whose handler name
// the host's table holds runs the host's code, and the names it could not bind are listed.
//
//   TFormLoad load;
//   load.Handlers.Add("Button1Click", TNotifyEvent([](TObject* sender) { ... }));
//   std::unique_ptr<TForm> form = LoadForm("Unit1.dfm", load);
//   for (const std::string& missing : load.Unbound) ...   // "Form1.Button2.OnClick = Button2Click"
//   form->ShowModal();
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "SysUtils.h"

class TForm;

// The host's event handlers by the names form files give them (matched without regard to case,
// as Pascal names are). A handler is a value of the event's own type (TNotifyEvent, TKeyEvent,
// ...); an event of another type does not take it.
class TFormHandlers {
 public:
  template <class E>
  TFormHandlers& Add(const std::string& name, const E& handler) {
    FMethods[UpperCase(name)] = handler.Method();
    return *this;
  }
  const TMethod* Find(const std::string& name) const {
    auto it = FMethods.find(UpperCase(name));
    return it == FMethods.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, TMethod> FMethods;
};

// One problem met while reading: the component path ("Form1.Panel1.Button1") and the message.
using TLoadProblemProc = std::function<void(const std::string& path, const std::string& message)>;

struct TFormLoad {
  TFormHandlers Handlers;
  // Every recoverable problem (an unknown property, a component that cannot finish loading);
  // reading goes on. Unset, the first problem raises.
  TLoadProblemProc OnProblem;
  // Filled by the load: "Path.Event = Name" for each handler name with no handler of the event's
  // type in Handlers. Such events stay unassigned.
  std::vector<std::string> Unbound;
};

// The form stream of a file or stream, without its resource header; text is converted.
// EReadError / EParserError for what is no form.
void ReadFormStream(TStream* input, TMemoryStream& formStream);

std::unique_ptr<TForm> LoadForm(TStream* input, TFormLoad& load);
std::unique_ptr<TForm> LoadForm(const std::string& fileName, TFormLoad& load);  // EFOpenError
