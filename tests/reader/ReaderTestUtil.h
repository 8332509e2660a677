// Helpers of the form stream reader tests: streams written as Delphi text, live forms loaded
// from them as the designer loads a form file, and one filtering pass over a stream.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Classes.h"
#include "Forms.h"
#include "reader/KvReader.h"

// The bare form stream ("TPF0" ...) of a Delphi text form.
std::string TextToBinary(const std::string& text);
// Delphi text of a form stream, bare or framed by a resource header.
std::string BinaryToText(const std::string& bytes);
std::string StreamBytes(TMemoryStream& s);
// The form stream of the reader's output, without its resource header.
std::string OutFormStream(TKReader& reader);

// A live form read from a text form (the standard classes registered); handler names need no code.
std::unique_ptr<TForm> LoadForm(const std::string& text);

struct TFilterOptions {
  const TStrings* Events = nullptr;  // apply mode with these sections; collect mode without
  std::string NewClassName;
  std::function<bool(TComponent*)> Listable;
  std::function<bool(TPersistent*, PPropInfo)> IsStoredProp;
  std::string ResName = "TFORM1";
};

// One pass of the reader over `stream` (bare form stream) with `root` as the live form,
// finalized; the class name that ReadComponent gave back in ClassName.
struct TFiltered {
  std::unique_ptr<TMemoryStream> Input;  // outlives the reader, which repositions it when freed
  std::unique_ptr<TKReader> Reader;
  std::string ClassName;
  std::string OutText() const;  // the output as Delphi text
};
TFiltered Filter(TComponent* root, const std::string& stream, const TFilterOptions& options = {});
