#include "KvFormUnit.h"

#include <algorithm>

namespace {

// "Handler(params);" for every handler of the event sections, in order of first use. A handler
// shared by several events is declared once: a unit cannot declare a name twice.
void AddHandlerHeadings(const TStrings& events, TStrings& headings) {
  TStringList handlers;
  for (int i = 0; i < events.Count(); ++i) {
    const std::string e = events.Get(i);
    const size_t eq = e.find(" = ");
    if (e.empty() || e[0] == '[' || eq == std::string::npos) continue;
    const std::string heading = e.substr(eq + 3);
    const std::string handler = heading.substr(0, heading.find('('));
    if (handlers.IndexOf(handler) >= 0) continue;  // names compared ignoring case
    handlers.Add(handler);
    headings.Add(heading + ";");
  }
}

void AddUsesClause(const TStrings& units, TStrings& lines) {
  if (units.Count() == 0) return;
  lines.Add("uses");
  std::string line = "  ";
  for (int i = 0; i < units.Count(); ++i) {
    line += units.Get(i) + ", ";
    if (i != units.Count() - 1 && line.size() > 70) {
      lines.Add(line.substr(0, line.size() - 1));
      line = "  ";
    }
  }
  lines.Add(line.substr(0, line.size() - 2) + ";");
  lines.Add("");
}

}  // namespace

std::string FormUnitText(const std::string& unitName, const std::string& formClassName, const TStrings& units,
                         const TStrings& fields, const TStrings& events) {
  TStringList headings, lines;
  AddHandlerHeadings(events, headings);
  lines.Add("unit " + unitName + ";");
  for (const char* l : {"", "interface", ""}) lines.Add(l);
  AddUsesClause(units, lines);
  lines.Add("type");
  lines.Add("  " + formClassName + " = class(TForm)");
  lines.AddStrings(&fields);
  for (int i = 0; i < headings.Count(); ++i) lines.Add("    procedure " + headings.Get(i));
  for (const char* l : {"  private", "  protected", "  public", "  end;", "", "var"}) lines.Add(l);
  lines.Add("  " + formClassName.substr(std::min<size_t>(1, formClassName.size())) + ": " + formClassName + ";");
  for (const char* l : {"", "implementation", "", "{$R *.DFM}", ""}) lines.Add(l);
  for (int i = 0; i < headings.Count(); ++i) {
    lines.Add("procedure " + formClassName + "." + headings.Get(i));
    for (const char* l : {"begin", "  {}", "end;", ""}) lines.Add(l);
  }
  lines.Add("end.");
  return lines.GetText();
}
