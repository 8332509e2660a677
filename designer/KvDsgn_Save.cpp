// KvDsgn: saving a design as a form file and, on request, a unit source. The live form, read
// by the filtering reader, gives the unit's uses list, fields and handlers and the form file's
// contents; the stored form image gives the form's class name.
#include "KvDsgn.h"

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

// The form file of the design as it stands, and with unitName its unit's text. The stored image
// gives the form's class name (a loaded file's own); the live form gives the units, fields and
// event sections of what the design holds now, components inserted since the design began and
// handlers given since included.
std::string TKFormDesigner::FormFileImage(const std::string& unitName, std::string* unitText) {
  TStringList events;
  FFormStream->SetPosition(0);
  FFormStream->ReadResHeader();
  {
    TKReader scan(FFormStream, 4096);
    FFormClassName = FilterFormStream(scan, nullptr, "");
  }
  TMemoryStream live;
  live.WriteComponent(FForm);
  {
    live.SetPosition(0);
    TKReader scan(&live, 4096);
    FilterFormStream(scan, nullptr, FFormClassName);
    events.Assign(&scan.Events);
    if (unitText) *unitText = FormUnitText(unitName, FFormClassName, scan.Units, scan.Fields, events);
  }
  // Put the handler names back into the live form's stream.
  live.SetPosition(0);
  TKReader apply(&live, 4096);
  FilterFormStream(apply, &events, FFormClassName);
  return std::string(reinterpret_cast<const char*>(apply.OutStream.Memory()), apply.OutStream.GetSize());
}

// Each file is written whole to a temporary file and renamed over the old one, so a failed save
// never leaves a half-written file in place of a good one.
void TKFormDesigner::WriteUnits(const std::string& fileName, bool writeUnit) {
  std::string base, unitName;
  bool lowerCaseExt;
  KvSaveSplitName(fileName, base, unitName, lowerCaseExt);
  std::string unitText;
  const std::string form = FormFileImage(unitName, writeUnit ? &unitText : nullptr);
  if (writeUnit) {
    TStringList unitLines;
    unitLines.SetText(unitText);
    unitLines.SaveToFile(base + (lowerCaseExt ? ".pas" : ".PAS"));
  }
  WriteFileAtomic(base + (lowerCaseExt ? ".dfm" : ".DFM"), form);
  FHasFileName = true;
  FModified = false;
  FUndo.MarkSaved();
  FFileName = fileName;
}

void TKFormDesigner::WriteFormCopy(const std::string& fileName) { WriteFileAtomic(fileName, FormFileImage("", nullptr)); }
