// KvDsgn: saving a design as a form file and, on request, a unit source. The live form, read
// by the filtering reader, gives the unit's uses list, fields and handlers and the form file's
// contents; the stored form image gives the form's class name.
#include "KvDsgn.h"

#include "KvReader.h"
#include "SysUtils.h"

namespace {

// Base (with folder, without extension) and unit name of a file name: the extension starts at
// the first '.' of the name part, which follows the last folder separator ('\\', '/') or ':'.
// The files are written as .DFM and .PAS, in lower case when the given extension is lower case,
// so that on a case-sensitive file system saving Unit1.dfm replaces Unit1.dfm.
void KvSaveSplitName(const std::string& fileName, std::string& base, std::string& unitName,
                     bool& lowerCaseExt) {
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
  reader.OnFindMethod = [this](TReader* r, const std::string& name, const TMethodEntry*& address,
                               bool& error) { FindMethod(r, name, address, error); };
  reader.Initialize(FResName, events);
  reader.Root = FForm;
  reader.ReadSignature();
  std::string className;
  reader.ReadComponent(FForm, newClassName, className);
  reader.Finalize();
  return className;
}

void TKFormDesigner::WriteUnits(const std::string& fileName, bool writeUnit) {
  std::string base, unitName;
  bool lowerCaseExt;
  KvSaveSplitName(fileName, base, unitName, lowerCaseExt);
  TStringList units, events, fields, handlers, headings, lines;
  lines.Add("unit " + unitName + ";");
  lines.Add("");
  lines.Add("interface");
  lines.Add("");

  // The stored image gives the form's class name (a loaded file's own); the live form gives the
  // units, fields and event sections of what the design holds now, components inserted since
  // the design began and handlers given since included.
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
    units.Assign(&scan.Units);
    fields.Assign(&scan.Fields);
    events.Assign(&scan.Events);
  }
  // A handler shared by several events is declared once: a unit cannot declare a name twice.
  for (int i = 0; i < events.Count(); ++i) {
    const std::string e = events.Get(i);
    size_t eq = e.find(" = ");
    if (e.empty() || e[0] == '[' || eq == std::string::npos) continue;
    const std::string heading = e.substr(eq + 3);
    const std::string handler = heading.substr(0, heading.find('('));
    if (handlers.IndexOf(handler) >= 0) continue;  // names compared ignoring case
    handlers.Add(handler);
    headings.Add(heading + ";");
  }

  lines.Add("uses");
  std::string line = "  ";
  for (int i = 0; i < units.Count(); ++i) {
    line += units.Get(i) + ", ";
    if (i != units.Count() - 1 && line.size() > 70) {
      lines.Add(line.substr(0, line.size() - 1));
      line = "  ";
    }
  }
  lines.Add(line.substr(0, line.size() >= 2 ? line.size() - 2 : 0) + ";");

  lines.Add("");
  lines.Add("type");
  lines.Add("  " + FFormClassName + " = class(TForm)");
  for (int i = 0; i < fields.Count(); ++i) lines.Add(fields.Get(i));
  for (int i = 0; i < headings.Count(); ++i) lines.Add("    procedure " + headings.Get(i));
  for (const char* l : {"  private", "  protected", "  public", "  end;", "", "var"}) lines.Add(l);
  lines.Add("  " + FFormClassName.substr(std::min<size_t>(1, FFormClassName.size())) + ": " +
            FFormClassName + ";");
  for (const char* l : {"", "implementation", "", "{$R *.DFM}", ""}) lines.Add(l);
  for (int i = 0; i < headings.Count(); ++i) {
    lines.Add("procedure " + FFormClassName + "." + headings.Get(i));
    for (const char* l : {"begin", "  {}", "end;", ""}) lines.Add(l);
  }
  lines.Add("end.");

  // Put the handler names back into the live form's stream and write the form file. Each file
  // is written whole to a temporary file and renamed over the old one, so a failed save never
  // leaves a half-written file in place of a good one.
  live.SetPosition(0);
  TKReader apply(&live, 4096);
  FilterFormStream(apply, &events, FFormClassName);

  if (writeUnit) lines.SaveToFile(base + (lowerCaseExt ? ".pas" : ".PAS"));
  apply.OutStream.SaveToFile(base + (lowerCaseExt ? ".dfm" : ".DFM"));
  FHasFileName = true;
  FModified = false;
  FFileName = fileName;
}
