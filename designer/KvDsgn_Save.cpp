// KvDsgn: saving a design as a form file and, on request, a unit source. The live form, read
// by the filtering reader, gives the unit's uses list, fields and handlers and the form file's
// contents; the stored form image gives the form's class name.
#include "KvDsgn.h"

#include "KvFormMerge.h"
#include "KvFormUnit.h"
#include "KvReader.h"
#include "SysUtils.h"

namespace {

// Base (with folder, without extension) and unit name of a file name: the extension starts at
// the first '.' of the name part, which follows the last folder separator ('\\', '/') or ':'.
// The files are written as .DFM and .PAS, in lower case when the given extension is lower case,
// so that on a case-sensitive file system saving Unit1.dfm replaces Unit1.dfm.
void KvSaveSplitName(const std::string& fileName, std::string& base, std::string& unitName, bool& lowerCaseExt) {
  size_t nameStart = fileName.find_last_of("\\/:");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  size_t dot = fileName.find('.', nameStart);
  base = fileName.substr(0, dot);
  unitName = fileName.substr(nameStart, dot == std::string::npos ? std::string::npos : dot - nameStart);
  const std::string ext = dot == std::string::npos ? "" : fileName.substr(dot);
  lowerCaseExt = ext == LowerCase(ext) && ext != UpperCase(ext);
}

}  // namespace

// A design that began as a plain TForm (a new blank form) declares a class of its own named
// after the form, as Delphi does (TForm1 for Form1): `TForm = class(TForm)` does not compile.
// A loaded form keeps the class its file names.
std::string TKFormDesigner::UnitClassName(const std::string& imageClassName) const {
  if (!SameText(imageClassName, TForm::StaticClass()->Name) || FForm->GetName().empty()) return imageClassName;
  return "T" + FForm->GetName();
}

std::string TKFormDesigner::FilterFormStream(TKReader& reader, const TStrings* events,
                                             const std::string& newClassName) {
  reader.Listable = [this](TComponent* c) { return Listable(c); };
  reader.IsStoredProp = [this](TPersistent* i, PPropInfo p) { return IsStoredProp(i, p); };
  reader.OnFindMethod = [this](TReader* r, const std::string& name, const TMethodEntry*& address, bool& error) {
    FindMethod(r, name, address, error);
  };
  reader.Initialize(FResName, events);
  reader.Root = FForm;
  reader.ReadSignature();
  std::string className;
  reader.ReadComponent(FForm, newClassName, className);
  reader.Finalize();
  return className;
}

std::string TKFormDesigner::ImageClassName() {
  FFormStream->SetPosition(0);
  FFormStream->ReadResHeader();
  return KvReadStreamObject(FFormStream).ClassName;
}

void TKFormDesigner::WriteLiveImage(TMemoryStream& image, const std::function<void(TKReader&)>& onScan) {
  TMemoryStream live;
  live.WriteComponent(FForm);
  live.SetPosition(0);
  TKReader collect(&live, 4096);
  FilterFormStream(collect, nullptr, FFormClassName);
  live.SetPosition(0);
  TKReader apply(&live, 4096);
  FilterFormStream(apply, &collect.Events, FFormClassName);
  image.Clear();
  image.LoadFromStream(&apply.OutStream);
  if (onScan) onScan(collect);
}

namespace {
namespace KV_UNIT {

TKvStreamObject ImageObject(TMemoryStream& image) {
  image.SetPosition(0);
  image.ReadResHeader();
  return KvReadStreamObject(&image);
}

// A root's property set to an integer, as the platform writer stores it.
void SetInteger(TKvStreamObject& root, const char* name, int value) {
  TMemoryStream bytes;
  {
    TWriter writer(&bytes, 16);
    writer.WriteInteger(value);
  }
  for (TKvStreamProp& p : root.Props)
    if (SameText(p.Name, name)) p.Value.assign(reinterpret_cast<const char*>(bytes.Memory()), bytes.GetSize());
}

std::string Text(TMemoryStream& s) {
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize()));
}

}  // namespace KV_UNIT
}  // namespace

// A loaded design keeps its file as it was read, with the user's changes merged in (KvFormMerge);
// a new or live form is its live image. A file without changes, saved in its own format, is
// written as its own bytes; a text file keeps its own lines for what did not change, and its
// line ends.
std::string TKFormDesigner::SavedFormFile(TMemoryStream& current) {
  TMemoryStream binary;
  std::string text;
  if (FBaseline.GetSize() > 0) {
    const TKvStreamObject original = KV_UNIT::ImageObject(*FFormStream);
    TKvStreamObject now = KV_UNIT::ImageObject(current);
    KV_UNIT::SetInteger(now, "Left", FFormPos.X);
    KV_UNIT::SetInteger(now, "Top", FFormPos.Y);
    const TKvStreamObject merged = KvMergeStreamObject(original, KV_UNIT::ImageObject(FBaseline), now);
    TMemoryStream form;
    KvWriteStreamObject(merged, &form);
    FFormStream->SetPosition(0);
    FFormStream->ReadResHeader();
    const std::string read = KV_UNIT::Text(*FFormStream).substr(static_cast<size_t>(FFormStream->GetPosition()));
    const bool readAsText = !FFileText.empty();
    if (FTextForm == readAsText && read == KV_UNIT::Text(form)) return readAsText ? FFileText : KV_UNIT::Text(*FFormStream);
    if (FTextForm && readAsText) text = KvMergedText(merged, original, FFileText);
    const int64_t start = binary.WriteResourceHeader(FResName);
    binary.CopyFrom(&form, 0);
    binary.FixupResourceHeader(start);
  } else {
    binary.LoadFromStream(&current);
  }
  if (!FTextForm) return KV_UNIT::Text(binary);
  if (text.empty()) {
    binary.SetPosition(0);
    TMemoryStream converted;
    ObjectResourceToText(&binary, &converted);
    text = KV_UNIT::Text(converted);
  }
  if (!FFileText.empty() && FFileText.find("\r\n") == std::string::npos) text = StringReplaceAll(text, "\r\n", "\n");
  return text;
}

// The form file of the design as it stands, in the design's format, and with unitText the unit's
// source for unitName. The stored image gives the form's class name (a loaded file's own); the
// live form gives the units, fields and event sections of what the design holds now,
// components inserted since the design began and handlers given since included.
std::string TKFormDesigner::FormFileImage(const std::string& unitName, std::string* unitText) {
  const std::string imageClassName = ImageClassName();
  FFormClassName = UnitClassName(imageClassName);
  // A program finds a form's resource by its class name.
  if (FFormClassName != imageClassName) FResName = UpperCase(FFormClassName);
  TMemoryStream live;
  WriteLiveImage(live, [&](TKReader& scan) {
    if (unitText) *unitText = FormUnitText(unitName, FFormClassName, scan.Units, scan.Fields, scan.Events);
  });
  return SavedFormFile(live);
}

// Each file is written whole to a temporary file and renamed over the old one, so a failed save
// never leaves a half-written file in place of a good one.
void TKFormDesigner::WriteUnits(const std::string& fileName, bool writeUnit) {
  std::string base, unitName;
  bool lowerCaseExt;
  KvSaveSplitName(fileName, base, unitName, lowerCaseExt);
  std::string unitText;
  const std::string form = FormFileImage(unitName, writeUnit ? &unitText : nullptr);
  const std::string formFile = base + (lowerCaseExt ? ".dfm" : ".DFM");
  if (writeUnit) {
    TStringList unitLines;
    unitLines.SetText(unitText);
    unitLines.SaveToFile(base + (lowerCaseExt ? ".pas" : ".PAS"));
  }
  WriteFileAtomic(formFile, form);
  FHasFileName = true;
  FModified = false;
  FUndo.MarkSaved();
  // The design's file is the form file, also after Generate Unit As was given the unit's name.
  FFileName = formFile;
}

void TKFormDesigner::WriteFormCopy(const std::string& fileName) { WriteFileAtomic(fileName, FormFileImage("", nullptr)); }
