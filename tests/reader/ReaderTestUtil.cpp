#include "ReaderTestUtil.h"

#include "FormText.h"
#include "StdReg.h"

std::string StreamBytes(TMemoryStream& s) {
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize()));
}

namespace {

void Load(TMemoryStream& s, const std::string& bytes) {
  s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
}

}  // namespace

std::string TextToBinary(const std::string& text) {
  TMemoryStream in, out;
  Load(in, text);
  ObjectTextToBinary(&in, &out);
  return StreamBytes(out);
}

std::string BinaryToText(const std::string& bytes) {
  TMemoryStream in, out;
  Load(in, bytes);
  if (StreamHasResourceHeader(&in)) ObjectResourceToText(&in, &out);
  else ObjectBinaryToText(&in, &out);
  return StreamBytes(out);
}

std::unique_ptr<TForm> LoadForm(const std::string& text) {
  RegisterStandardClasses();
  return ReadFormText(text);
}

std::string OutFormStream(TKReader& reader) {
  reader.OutStream.SetPosition(0);
  reader.OutStream.ReadResHeader();
  return StreamBytes(reader.OutStream).substr(reader.OutStream.GetPosition());
}

std::string TFiltered::OutText() const { return BinaryToText(StreamBytes(Reader->OutStream)); }

TFiltered Filter(TComponent* root, const std::string& stream, const TFilterOptions& options) {
  TFiltered result;
  result.Input = std::make_unique<TMemoryStream>();
  Load(*result.Input, stream);
  result.Reader = std::make_unique<TKReader>(result.Input.get(), 4096);
  TKReader& r = *result.Reader;
  r.Listable = options.Listable;
  r.IsStoredProp = options.IsStoredProp;
  r.Initialize(options.ResName, options.Events);
  r.Root = root;
  r.ReadSignature();
  r.ReadComponent(root, options.NewClassName, result.ClassName);
  r.Finalize();
  return result;
}
