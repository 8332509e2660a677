// KvFormMerge: form stream records, and the merge that saves a design over the file it was
// opened from.
#include "KvFormMerge.h"

#include <algorithm>
#include <map>

#include "SysUtils.h"

namespace {
namespace KV_UNIT {

// The bytes the reader consumed since `from`; the reader stands after them again.
std::string Bytes(TReader& r, int64_t from) {
  const int64_t to = r.Position();
  std::string bytes(static_cast<size_t>(to - from), '\0');
  r.SetPosition(from);
  r.Read(bytes.data(), to - from);
  return bytes;
}

void AppendProp(const TKvStreamProp& p, std::string& out) {
  out += static_cast<char>(static_cast<uint8_t>(p.Name.size()));
  out += p.Name;
  out += p.Value;
}

void AppendObject(const TKvStreamObject& o, std::string& out) {
  out += o.Header;
  for (const TKvStreamProp& p : o.Props) AppendProp(p, out);
  out += '\0';
  for (const TKvStreamObject& c : o.Children) AppendObject(c, out);
  out += '\0';
}

// A form's outer and client sizes say the same thing: when one changes, a stored other one is
// stale.
const char* Partner(const std::string& name) {
  static const std::pair<const char*, const char*> pairs[] = {
      {"Width", "ClientWidth"}, {"ClientWidth", "Width"}, {"Height", "ClientHeight"}, {"ClientHeight", "Height"}};
  for (const auto& [a, b] : pairs)
    if (SameText(name, a)) return b;
  return nullptr;
}

const std::string* FindProp(const std::vector<TKvStreamProp>* props, const std::string& name) {
  if (props)
    for (const TKvStreamProp& p : *props)
      if (SameText(p.Name, name)) return &p.Value;
  return nullptr;
}

struct TPlace {
  const TKvStreamObject* Record;
  std::string Parent;  // the upper-case name of the record it is a child of
};
using TIndex = std::map<std::string, TPlace>;

// Named components by upper-case name, at any depth, with their parents.
void IndexNamed(const TKvStreamObject& o, TIndex& index) {
  for (const TKvStreamObject& c : o.Children) {
    if (!c.Name.empty()) index.emplace(UpperCase(c.Name), TPlace{&c, UpperCase(o.Name)});
    IndexNamed(c, index);
  }
}

class TMerge {
 public:
  TMerge(const TKvStreamObject& original, const TKvStreamObject& baseline, const TKvStreamObject& current) {
    IndexNamed(original, FOriginal);
    IndexNamed(baseline, FBaseline);
    IndexNamed(current, FCurrent);
  }

  TKvStreamObject Object(const TKvStreamObject* o, const TKvStreamObject* b, const TKvStreamObject& c) const {
    if (!o) return c;
    TKvStreamObject out;
    out.Header = o->Header;
    out.ClassName = o->ClassName;
    out.Name = o->Name;
    out.Source = o;
    out.Props = Props(o->Props, b ? &b->Props : nullptr, c.Props);
    out.Children = Children(*o, b, c);
    return out;
  }

 private:
  TIndex FOriginal, FBaseline, FCurrent;

  static std::vector<TKvStreamProp> Props(const std::vector<TKvStreamProp>& o, const std::vector<TKvStreamProp>* b,
                                          const std::vector<TKvStreamProp>& c) {
    auto changed = [&](const std::string& name) {
      const std::string *bv = FindProp(b, name), *cv = FindProp(&c, name);
      return bv ? !cv || *bv != *cv : cv != nullptr;
    };
    std::vector<TKvStreamProp> out;
    for (const TKvStreamProp& p : o) {
      if (!changed(p.Name)) {
        const char* partner = Partner(p.Name);
        if (!(partner && changed(partner) && !FindProp(&c, p.Name))) out.push_back(p);
      } else if (const std::string* now = FindProp(&c, p.Name)) {
        out.push_back({p.Name, *now});
      }
    }
    for (size_t j = 0; j < c.size(); ++j) {
      if (FindProp(&o, c[j].Name) || !changed(c[j].Name)) continue;
      size_t at = 0;  // after the nearest property written before it now
      for (size_t i = j; i-- > 0 && at == 0;)
        for (size_t k = 0; k < out.size(); ++k)
          if (SameText(out[k].Name, c[i].Name)) at = k + 1;
      out.insert(out.begin() + static_cast<long>(at), c[j]);
    }
    return out;
  }

  // The record of `o`'s kind in `parent`: by name, or an unnamed one by its place among the
  // unnamed records of its class.
  static const TKvStreamObject* Find(const TKvStreamObject* parent, const TKvStreamObject& owner,
                                     const TKvStreamObject& o) {
    if (!parent) return nullptr;
    int nth = 0;
    if (o.Name.empty())
      for (const TKvStreamObject& s : owner.Children) {
        if (&s == &o) break;
        nth += s.Name.empty() && SameText(s.ClassName, o.ClassName);
      }
    for (const TKvStreamObject& s : parent->Children) {
      if (!o.Name.empty() ? SameText(s.Name, o.Name) : s.Name.empty() && SameText(s.ClassName, o.ClassName) && nth-- == 0)
        return &s;
    }
    return nullptr;
  }

  static TKvStreamObject Kept(const TKvStreamObject& o) {
    TKvStreamObject out = o;
    out.Source = &o;
    out.Children.clear();
    for (const TKvStreamObject& c : o.Children) out.Children.push_back(Kept(c));
    return out;
  }

  static const TPlace* Named(const TIndex& index, const TKvStreamObject& o) {
    if (o.Name.empty()) return nullptr;
    auto i = index.find(UpperCase(o.Name));
    return i == index.end() ? nullptr : &i->second;
  }
  static const TKvStreamObject* Record(const TPlace* place) { return place ? place->Record : nullptr; }

  // Whether the user gave a named component another parent: then it is written where it is
  // now, otherwise where the file had it (a component the live form writes elsewhere than the
  // file, a field of an unregistered class among the root's components, stays put).
  bool Moved(const TKvStreamObject& o) const {
    const TPlace *b = Named(FBaseline, o), *c = Named(FCurrent, o);
    return b && c && b->Parent != c->Parent;
  }

  std::vector<TKvStreamObject> Children(const TKvStreamObject& o, const TKvStreamObject* b,
                                        const TKvStreamObject& c) const {
    std::vector<TKvStreamObject> out;
    std::vector<const TKvStreamObject*> from;  // the current record each output record follows
    for (const TKvStreamObject& oc : o.Children) {
      const bool named = !oc.Name.empty();
      const TKvStreamObject* bc = named ? Record(Named(FBaseline, oc)) : Find(b, o, oc);
      const TKvStreamObject* cc = named ? Record(Named(FCurrent, oc)) : Find(&c, o, oc);
      if (cc && !Moved(oc)) {
        out.push_back(Object(&oc, bc, *cc));
        from.push_back(cc);
      } else if (!bc) {
        out.push_back(Kept(oc));  // never loaded: as it was read
        from.push_back(nullptr);
      }
      // else deleted since the design began, or moved to another parent and written there
    }
    for (size_t j = 0; j < c.Children.size(); ++j) {
      const TKvStreamObject& cc = c.Children[j];
      const TKvStreamObject* oc = Record(Named(FOriginal, cc));
      if (std::find(from.begin(), from.end(), &cc) != from.end() || (oc && !Moved(*oc))) continue;
      size_t at = 0;
      for (size_t i = j; i-- > 0 && at == 0;)
        for (size_t k = 0; k < from.size(); ++k)
          if (from[k] == &c.Children[i]) at = k + 1;
      out.insert(out.begin() + static_cast<long>(at), Object(oc, Record(Named(FBaseline, cc)), cc));
      from.insert(from.begin() + static_cast<long>(at), &cc);
    }
    return out;
  }
};

}  // namespace KV_UNIT
}  // namespace

std::string KvReadStreamValue(TReader& reader) {
  const int64_t start = reader.Position();
  reader.SkipValue();
  return KV_UNIT::Bytes(reader, start);
}

void KvReadStreamBody(TReader& reader, TKvStreamObject& o) {
  while (!reader.EndOfList()) {
    TKvStreamProp p;
    p.Name = reader.ReadRawStr();
    p.Value = KvReadStreamValue(reader);
    o.Props.push_back(std::move(p));
  }
  reader.ReadListEnd();
  while (!reader.EndOfList()) o.Children.push_back(KvReadStreamRecord(reader));
  reader.ReadListEnd();
}

TKvStreamObject KvReadStreamRecord(TReader& reader) {
  TReaderDepth depth(&reader);
  TKvStreamObject o;
  const int64_t start = reader.Position();
  uint8_t flags;
  int childPos;
  reader.ReadPrefix(flags, childPos);
  o.ClassName = reader.ReadRawStr();
  o.Name = reader.ReadRawStr();
  o.Header = KV_UNIT::Bytes(reader, start);
  KvReadStreamBody(reader, o);
  return o;
}

TKvStreamObject KvReadStreamObject(TStream* stream) {
  TReader reader(stream, 4096);
  reader.ReadSignature();
  return KvReadStreamRecord(reader);
}

std::string KvStreamPropBytes(const TKvStreamProp& prop) {
  std::string out;
  KV_UNIT::AppendProp(prop, out);
  return out;
}

std::string KvStreamRecordBytes(const TKvStreamObject& o) {
  std::string out;
  KV_UNIT::AppendObject(o, out);
  return out;
}

void KvWriteStreamObject(const TKvStreamObject& root, TStream* stream) {
  const std::string bytes = "TPF0" + KvStreamRecordBytes(root);
  stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

TKvStreamObject KvMergeStreamObject(const TKvStreamObject& original, const TKvStreamObject& baseline,
                                    const TKvStreamObject& current) {
  return KV_UNIT::TMerge(original, baseline, current).Object(&original, &baseline, current);
}

// --- Text -------------------------------------------------------------------------------------

namespace {
namespace KV_UNIT {

// A text form's lines grouped as its records: the header line, each property with its
// continuation lines (those indented deeper), the children, the "end" line.
struct TTextRecord {
  std::string Header;
  std::vector<std::string> Props;  // each property's lines, joined by CR LF
  std::vector<TTextRecord> Children;
  std::string End;
};

size_t Indent(const std::string& line) { return std::min(line.find_first_not_of(' '), line.size()); }

bool IsHeader(const std::string& line) {
  const std::string_view s = std::string_view(line).substr(Indent(line));
  return s.starts_with("object ") || s.starts_with("inherited ") || s.starts_with("inline ");
}

// Parses the record whose header is lines[i]; false when the text is not shaped as expected.
bool ParseText(const std::vector<std::string>& lines, size_t& i, TTextRecord& r, int depth) {
  if (depth > 256 || i >= lines.size() || !IsHeader(lines[i])) return false;
  const size_t indent = Indent(lines[i]);
  r.Header = lines[i++];
  while (i < lines.size()) {
    const std::string& line = lines[i];
    if (Indent(line) == indent && line.substr(indent) == "end") {
      r.End = lines[i++];
      return true;
    }
    if (Indent(line) != indent + 2) return false;
    if (IsHeader(line)) {
      r.Children.emplace_back();
      if (!ParseText(lines, i, r.Children.back(), depth + 1)) return false;
      continue;
    }
    std::string prop = lines[i++];
    while (i < lines.size() && Indent(lines[i]) > indent + 2) prop += "\r\n" + lines[i++];
    r.Props.push_back(std::move(prop));
  }
  return false;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t pos = 0; pos < text.size();) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string line = text.substr(pos, eol - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = eol + 1;
  }
  return lines;
}

// The platform's text of one record, each line indented by `indent` more.
std::string ConvertedRecord(const TKvStreamObject& o, size_t indent) {
  TMemoryStream in, out;
  const std::string bytes = "TPF0" + KvStreamRecordBytes(o);
  in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  in.SetPosition(0);
  ObjectBinaryToText(&in, &out);
  std::string text;
  for (const std::string& line : SplitLines(std::string(reinterpret_cast<const char*>(out.Memory()), out.GetSize())))
    text += std::string(indent, ' ') + line + "\r\n";
  return text;
}

// The platform's text of one property of a record at `indent`.
std::string ConvertedProp(const TKvStreamProp& p, size_t indent) {
  TKvStreamObject holder;
  holder.Header = std::string("\x01T\x01X", 4);
  holder.Props.push_back(p);
  const std::vector<std::string> lines = SplitLines(ConvertedRecord(holder, indent));
  std::string text;
  for (size_t i = 1; i + 1 < lines.size(); ++i) text += lines[i] + "\r\n";  // between header and end
  return text;
}

class TTextWriter {
 public:
  explicit TTextWriter(std::string& out) : FOut(out) {}

  // Pairs the file's records with their text, shape for shape; a record whose text does not
  // match its record's shape is left unpaired and converted.
  void Pair(const TKvStreamObject& o, const TTextRecord& t) {
    if (o.Props.size() != t.Props.size() || o.Children.size() != t.Children.size()) return;
    FText[&o] = &t;
    for (size_t i = 0; i < o.Children.size(); ++i) Pair(o.Children[i], t.Children[i]);
  }

  void Write(const TKvStreamObject& m, size_t indent) {
    auto found = m.Source ? FText.find(m.Source) : FText.end();
    if (found == FText.end()) {
      FOut += ConvertedRecord(m, indent);
      return;
    }
    const TKvStreamObject& o = *m.Source;
    const TTextRecord& t = *found->second;
    FOut += t.Header + "\r\n";
    for (const TKvStreamProp& p : m.Props) {
      size_t k = 0;
      while (k < o.Props.size() && !(o.Props[k].Name == p.Name && o.Props[k].Value == p.Value)) ++k;
      FOut += k < o.Props.size() ? t.Props[k] + "\r\n" : ConvertedProp(p, indent);
    }
    for (const TKvStreamObject& c : m.Children) Write(c, indent + 2);
    FOut += t.End + "\r\n";
  }

 private:
  std::string& FOut;
  std::map<const TKvStreamObject*, const TTextRecord*> FText;
};

}  // namespace KV_UNIT
}  // namespace

std::string KvMergedText(const TKvStreamObject& merged, const TKvStreamObject& original,
                         const std::string& originalText) {
  std::string out;
  KV_UNIT::TTextWriter writer(out);
  const std::vector<std::string> lines = KV_UNIT::SplitLines(originalText);
  size_t i = 0;
  KV_UNIT::TTextRecord root;
  if (KV_UNIT::ParseText(lines, i, root, 0)) writer.Pair(original, root);
  writer.Write(merged, 0);
  return out;
}
