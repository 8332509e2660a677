// Db: field definitions and the field classes.
#include <cmath>
#include <cstdio>

#include "Db.h"

using namespace DBConsts;

KV_IMPLEMENT_CLASS(TFieldDef, "Db") {
  b.Prop("Name", &TFieldDef::GetName, &TFieldDef::SetName);
  b.Prop("Attributes", &TFieldDef::GetAttributes, &TFieldDef::SetAttributes).Default(TFieldAttributes{});
  b.Prop("DataType", &TFieldDef::GetDataType, &TFieldDef::SetDataType).Default(ftUnknown);
  b.Prop("Precision", &TFieldDef::GetPrecision, &TFieldDef::SetPrecision).Default(0);
  b.Prop("Required", &TFieldDef::GetRequired, &TFieldDef::SetRequired).Stored(false);
  b.Prop("Size", &TFieldDef::GetSize, &TFieldDef::SetSize).Default(0);
}
KV_IMPLEMENT_CLASS(TFieldDefs, "Db") {}

KV_IMPLEMENT_CLASS(TField, "Db") {
  b.Prop("Alignment", &TField::GetAlignment, &TField::SetAlignment).Default(taLeftJustify);
  b.Prop("Calculated", &TField::GetCalculated, &TField::SetCalculated).Stored(false);
  b.Prop("DisplayLabel", &TField::GetDisplayLabel, &TField::SetDisplayLabel)
      .StoredMethod(&TField::IsDisplayLabelStored);
  b.Prop("DisplayWidth", &TField::GetDisplayWidth, &TField::SetDisplayWidth)
      .StoredMethod(&TField::IsDisplayWidthStored);
  b.Prop("EditMask", &TField::GetEditMask, &TField::SetEditMask);
  b.Prop("FieldKind", &TField::GetFieldKind, &TField::SetFieldKind).Default(fkData);
  b.Prop("FieldName", &TField::GetFieldName, &TField::SetFieldName);
  b.Prop("Index", &TField::GetIndex, &TField::SetIndex).Stored(false);
  b.Prop("ReadOnly", &TField::GetReadOnly, &TField::SetReadOnly).Default(false);
  b.Prop("Required", &TField::GetRequired, &TField::SetRequired).Default(false);
  b.Prop("Visible", &TField::GetVisible, &TField::SetVisible).Default(true);
  b.Prop("OnChange", &TField::OnChange);
  b.Prop("OnGetText", &TField::OnGetText);
  b.Prop("OnSetText", &TField::OnSetText);
  b.Prop("OnValidate", &TField::OnValidate);
}

KV_IMPLEMENT_CLASS(TStringField, "Db") {
  b.Prop("Size", &TField::GetSize, &TField::SetSize).Default(20);
  b.Prop("Transliterate", &TStringField::GetTransliterate, &TStringField::SetTransliterate).Default(true);
}
KV_IMPLEMENT_CLASS(TNumericField, "Db") {
  b.Prop("Alignment", &TField::GetAlignment, &TField::SetAlignment).Default(taRightJustify);
  b.Prop("DisplayFormat", &TNumericField::GetDisplayFormat, &TNumericField::SetDisplayFormat);
  b.Prop("EditFormat", &TNumericField::GetEditFormat, &TNumericField::SetEditFormat);
}
KV_IMPLEMENT_CLASS(TIntegerField, "Db") {
  b.Prop("MaxValue", &TIntegerField::GetMaxValue, &TIntegerField::SetMaxValue).Default(0);
  b.Prop("MinValue", &TIntegerField::GetMinValue, &TIntegerField::SetMinValue).Default(0);
}
KV_IMPLEMENT_CLASS(TSmallintField, "Db") {}
KV_IMPLEMENT_CLASS(TWordField, "Db") {}
KV_IMPLEMENT_CLASS(TAutoIncField, "Db") {}
KV_IMPLEMENT_CLASS(TFloatField, "Db") {
  b.Prop("Currency", &TFloatField::GetCurrency, &TFloatField::SetCurrency).Default(false);
  b.Prop("MaxValue", &TFloatField::GetMaxValue, &TFloatField::SetMaxValue);
  b.Prop("MinValue", &TFloatField::GetMinValue, &TFloatField::SetMinValue);
  b.Prop("Precision", &TFloatField::GetPrecision, &TFloatField::SetPrecision).Default(15);
}
KV_IMPLEMENT_CLASS(TCurrencyField, "Db") {
  b.Prop("Currency", &TFloatField::GetCurrency, &TFloatField::SetCurrency).Default(true);
}
KV_IMPLEMENT_CLASS(TBCDField, "Db") { b.Prop("Size", &TField::GetSize, &TField::SetSize).Default(4); }
KV_IMPLEMENT_CLASS(TBooleanField, "Db") {
  b.Prop("DisplayValues", &TBooleanField::GetDisplayValues, &TBooleanField::SetDisplayValues)
      .StoredMethod(&TBooleanField::IsDisplayValuesStored);
}
KV_IMPLEMENT_CLASS(TDateTimeField, "Db") {
  b.Prop("DisplayFormat", &TDateTimeField::GetDisplayFormat, &TDateTimeField::SetDisplayFormat);
}
KV_IMPLEMENT_CLASS(TDateField, "Db") {}
KV_IMPLEMENT_CLASS(TTimeField, "Db") {}
KV_IMPLEMENT_CLASS(TBytesField, "Db") { b.Prop("Size", &TField::GetSize, &TField::SetSize).Default(16); }
KV_IMPLEMENT_CLASS(TVarBytesField, "Db") {}
KV_IMPLEMENT_CLASS(TBlobField, "Db") {
  b.Prop("BlobType", &TBlobField::GetBlobType, &TBlobField::SetBlobType);
  b.Prop("Size", &TField::GetSize, &TField::SetSize).Default(0);
  b.Prop("Transliterate", &TBlobField::GetTransliterate, &TBlobField::SetTransliterate).Default(false);
}
KV_IMPLEMENT_CLASS(TMemoField, "Db") {
  b.Prop("Transliterate", &TBlobField::GetTransliterate, &TBlobField::SetTransliterate).Default(true);
}
KV_IMPLEMENT_CLASS(TGraphicField, "Db") {}

// =============================================================================================
// Values, dates and formats

bool operator==(const TDbValue& a, const TDbValue& b) {
  if (a.Kind != b.Kind) return false;
  switch (a.Kind) {
    case TDbValue::vkNull: return true;
    case TDbValue::vkInteger: return a.Int == b.Int;
    case TDbValue::vkFloat: return a.Float == b.Float;
    default: return a.Str == b.Str;
  }
}

const char* FieldTypeName(TFieldType t) {
  static const char* const names[] = {"Unknown", "String",     "SmallInt", "Integer",     "Word",  "Boolean",
                                      "Float",   "Currency",   "BCD",      "Date",        "Time",  "DateTime",
                                      "Bytes",   "VarBytes",   "AutoInc",  "Blob",        "Memo",  "Graphic",
                                      "FmtMemo", "ParadoxOle", "DBaseOle", "TypedBinary", "Cursor"};
  return t <= ftCursor ? names[t] : "Unknown";
}

namespace {

constexpr double DbMSecsPerDay = 86400000.0;

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DbDaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void DbCivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr int64_t DbEpochOffset = 25569;  // 1970-01-01 as a TDateTime

struct TDbDateParts {
  int Year = 1899, Month = 12, Day = 30, Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

TDbDateParts DbSplitDateTime(TDateTime v) {
  TDbDateParts p;
  // The integer part counts days, the fraction's magnitude is the time, also before 1899.
  double whole = std::trunc(v);
  int64_t ms = std::llround(std::fabs(v - whole) * DbMSecsPerDay);
  if (ms >= 86400000) {
    ms -= 86400000;
    whole += v < 0 ? -1 : 1;
  }
  DbCivilFromDays(static_cast<int64_t>(whole) - DbEpochOffset, p.Year, p.Month, p.Day);
  p.Hour = static_cast<int>(ms / 3600000);
  p.Min = static_cast<int>(ms / 60000 % 60);
  p.Sec = static_cast<int>(ms / 1000 % 60);
  p.MSec = static_cast<int>(ms % 1000);
  return p;
}

bool DbReadDigits(std::string_view s, size_t& pos, int count, int& out) {
  if (pos + count > s.size()) return false;
  out = 0;
  for (int i = 0; i < count; ++i) {
    char c = s[pos + i];
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  pos += count;
  return true;
}

bool DbReadTime(std::string_view s, size_t& pos, double& fraction) {
  int h, n, sec = 0, ms = 0;
  if (!DbReadDigits(s, pos, 2, h) || pos >= s.size() || s[pos++] != ':' || !DbReadDigits(s, pos, 2, n)) return false;
  if (pos < s.size() && s[pos] == ':') {
    ++pos;
    if (!DbReadDigits(s, pos, 2, sec)) return false;
    if (pos < s.size() && s[pos] == '.') {
      ++pos;
      size_t start = pos;
      int scale = 100;
      while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
        ms += (s[pos] - '0') * scale;
        scale /= 10;
        ++pos;
      }
      if (pos == start) return false;
    }
  }
  if (h > 23 || n > 59 || sec > 59) return false;
  fraction = (((h * 60.0 + n) * 60 + sec) * 1000 + ms) / DbMSecsPerDay;
  return true;
}

std::string DbPad(int v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}

// Delphi's FormatFloat for the common masks: digits '0'/'#', ',' and '.', quoted literals,
// and up to three sections for positive, negative and zero values.
std::string DbFormatFloat(const std::string& mask, double v) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : mask) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  const std::string* sec = &sections[0];
  bool minus = v < 0;
  if (v == 0 && sections.size() > 2 && !sections[2].empty()) {
    sec = &sections[2];
  } else if (minus && sections.size() > 1 && !sections[1].empty()) {
    sec = &sections[1];
    minus = false;
  }
  std::string prefix, suffix;
  int intZeros = 0, decZeros = 0, decDigits = 0;
  bool seenDigit = false, seenPoint = false, thousands = false;
  quote = 0;
  for (char c : *sec) {
    std::string& lit = seenDigit ? suffix : prefix;
    if (quote) {
      if (c == quote) quote = 0;
      else lit += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '0' || c == '#') {
      seenDigit = true;
      suffix.clear();  // literals between digit placeholders are not kept
      if (seenPoint) {
        ++decDigits;
        if (c == '0') decZeros = decDigits;
      } else if (c == '0') {
        ++intZeros;
      }
    } else if (c == '.') {
      seenPoint = true;
    } else if (c == ',') {
      thousands = true;
    } else {
      lit += c;
    }
  }
  // Halves round away from zero, as Delphi's do, not to even as printf's.
  double scale = std::pow(10.0, decDigits);
  double rounded = decDigits <= 15 ? std::round(std::fabs(v) * scale) / scale : std::fabs(v);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decDigits, rounded);
  std::string digits = buf;
  std::string intPart = digits.substr(0, digits.find('.'));
  std::string frac = digits.find('.') == std::string::npos ? "" : digits.substr(digits.find('.') + 1);
  while (static_cast<int>(frac.size()) > decZeros && !frac.empty() && frac.back() == '0') frac.pop_back();
  if (intPart == "0" && intZeros == 0) intPart.clear();
  while (static_cast<int>(intPart.size()) < intZeros) intPart.insert(intPart.begin(), '0');
  if (thousands)
    for (int i = static_cast<int>(intPart.size()) - 3; i > 0; i -= 3) intPart.insert(i, ",");
  bool zeroShown =
      intPart.find_first_not_of("0,") == std::string::npos && frac.find_first_not_of('0') == std::string::npos;
  std::string out = prefix;
  if (minus && !zeroShown) out = "-" + out;
  out += intPart;
  if (!frac.empty()) out += "." + frac;
  return out + suffix;
}

std::string DbFormatDateTime(const std::string& mask, TDateTime v) {
  TDbDateParts p = DbSplitDateTime(v);
  std::string out;
  bool afterHour = false;
  for (size_t i = 0; i < mask.size();) {
    char c = mask[i];
    char lc = static_cast<char>(c | 0x20);
    size_t run = 1;
    while (i + run < mask.size() && (mask[i + run] | 0x20) == lc) ++run;
    if (c == '"' || c == '\'') {
      size_t end = mask.find(c, i + 1);
      if (end == std::string::npos) end = mask.size();
      out += mask.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    switch (lc) {
      case 'y': out += run >= 3 ? DbPad(p.Year, 4) : DbPad(p.Year % 100, 2); break;
      case 'd': out += run >= 2 ? DbPad(p.Day, 2) : std::to_string(p.Day); break;
      case 'h': out += run >= 2 ? DbPad(p.Hour, 2) : std::to_string(p.Hour); break;
      case 'n': out += run >= 2 ? DbPad(p.Min, 2) : std::to_string(p.Min); break;
      case 's': out += run >= 2 ? DbPad(p.Sec, 2) : std::to_string(p.Sec); break;
      case 'z': out += run >= 3 ? DbPad(p.MSec, 3) : std::to_string(p.MSec); break;
      case 'm': {
        int n = afterHour ? p.Min : p.Month;  // 'm' right after an hour means minutes
        out += run >= 2 ? DbPad(n, 2) : std::to_string(n);
        break;
      }
      default: out.append(run, c); break;
    }
    if (lc != ':' && lc != ' ') afterHour = lc == 'h';
    i += run;
  }
  return out;
}

// Number of UTF-8 characters' bytes that make up the first `chars` characters.
size_t DbUtf8Prefix(const std::string& s, int chars) {
  size_t i = 0;
  for (int n = 0; i < s.size() && n < chars; ++n) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  }
  return i;
}

}  // namespace

bool TryIsoToDateTime(std::string_view text, TDateTime& value) {
  std::string t = Trim(text);
  std::string_view s = t;
  size_t pos = 0;
  double date = 0, time = 0;
  bool hasDate = false;
  if (s.size() >= 10 && s[4] == '-') {
    int y, m, d;
    if (!DbReadDigits(s, pos, 4, y) || s[pos++] != '-' || !DbReadDigits(s, pos, 2, m) || s[pos++] != '-' ||
        !DbReadDigits(s, pos, 2, d))
      return false;
    if (m < 1 || m > 12 || d < 1) return false;
    static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > mdays[m - 1] + (m == 2 && leap)) return false;
    date = static_cast<double>(DbDaysFromCivil(y, m, d) + DbEpochOffset);
    hasDate = true;
    if (pos < s.size() && (s[pos] == ' ' || s[pos] == 'T')) ++pos;
    else if (pos == s.size()) {
      value = date;
      return true;
    } else {
      return false;
    }
  }
  if (!DbReadTime(s, pos, time) || pos != s.size()) return false;
  value = hasDate && date < 0 ? date - time : date + time;
  return true;
}

std::string DateTimeToIso(TDateTime value, bool date, bool time) {
  TDbDateParts p = DbSplitDateTime(value);
  std::string out;
  if (date) out = DbPad(p.Year, 4) + "-" + DbPad(p.Month, 2) + "-" + DbPad(p.Day, 2);
  if (time) {
    if (!out.empty()) out += ' ';
    out += DbPad(p.Hour, 2) + ":" + DbPad(p.Min, 2) + ":" + DbPad(p.Sec, 2);
    if (p.MSec) out += "." + DbPad(p.MSec, 3);
  }
  return out;
}

// =============================================================================================
// TFieldDef / TFieldDefs

TClass DefaultFieldClass(TFieldType t) {
  switch (t) {
    case ftString: return TStringField::StaticClass();
    case ftSmallint: return TSmallintField::StaticClass();
    case ftInteger: return TIntegerField::StaticClass();
    case ftWord: return TWordField::StaticClass();
    case ftBoolean: return TBooleanField::StaticClass();
    case ftFloat: return TFloatField::StaticClass();
    case ftCurrency: return TCurrencyField::StaticClass();
    case ftBCD: return TBCDField::StaticClass();
    case ftDate: return TDateField::StaticClass();
    case ftTime: return TTimeField::StaticClass();
    case ftDateTime: return TDateTimeField::StaticClass();
    case ftBytes: return TBytesField::StaticClass();
    case ftVarBytes: return TVarBytesField::StaticClass();
    case ftAutoInc: return TAutoIncField::StaticClass();
    case ftBlob:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary: return TBlobField::StaticClass();
    case ftMemo: return TMemoField::StaticClass();
    case ftGraphic: return TGraphicField::StaticClass();
    default: return nullptr;
  }
}

void TFieldDef::SetRequired(bool v) {
  if (v) FAttributes.Include(faRequired);
  else FAttributes.Exclude(faRequired);
}

TField* TFieldDef::CreateField(TComponent* owner, TDataSet* dataSet) const {
  TClass cls = DefaultFieldClass(FDataType);
  if (!cls) throw EDatabaseError(Format(SFieldAccessError, FName, FieldTypeName(FDataType)));
  auto* f = static_cast<TField*>(cls->Create(owner));
  try {
    if (auto* blob = Cast<TBlobField>(f)) blob->SetBlobType(FDataType);
    if (f->Is<TStringField>() || f->Is<TBytesField>() || f->Is<TBCDField>()) f->SetSize(FSize);
    if (auto* fl = Cast<TFloatField>(f); fl && FPrecision > 0 && !f->Is<TBCDField>()) fl->SetPrecision(FPrecision);
    f->SetFieldName(FName);
    f->SetRequired(Required());
    f->SetReadOnly(FAttributes.Contains(faReadonly));
    f->SetVisible(!FAttributes.Contains(faHiddenCol));
    f->SetDataSet(dataSet);
  } catch (...) {
    delete f;
    throw;
  }
  return f;
}

TFieldDef* TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
  if (IndexOf(name) >= 0) throw EDatabaseError(Format(SDuplicateFieldName, name));
  auto* d = static_cast<TFieldDef*>(TCollection::Add());
  d->SetName(name);
  d->SetDataType(type);
  d->SetSize(size);
  if (required) d->SetAttributes(TFieldAttributes{faRequired});
  return d;
}

int TFieldDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->GetName(), name)) return i;
  return -1;
}

TFieldDef* TFieldDefs::Find(std::string_view name) const {
  int i = IndexOf(name);
  if (i < 0) throw EDatabaseError(Format(SFieldNotFound, name));
  return Items(i);
}

// =============================================================================================
// TField

TField::TField(TComponent* owner) : TComponent(owner) {}

TField::~TField() {
  Destroying();
  SetDataSet(nullptr);
}

void TField::SetDataSet(TDataSet* ds) {
  if (ds == FDataSet) return;
  if (FDataSet) FDataSet->RemoveField(this);
  if (ds) ds->AddField(this);
}

TComponent* TField::GetParentComponent() const { return FDataSet; }

void TField::SetParentComponent(TComponent* value) { SetDataSet(As<TDataSet>(value)); }

void TField::SetFieldName(const std::string& v) {
  if (v == FFieldName) return;
  if (FDataSet) {
    FDataSet->CheckInactive();
    TField* other = FDataSet->FindField(v);
    if (other && other != this) throw EDatabaseError(Format(SDuplicateFieldName, v));
  }
  FFieldName = v;
  PropertyChanged(true);
}

void TField::SetSize(int v) {
  if (FDataSet) FDataSet->CheckInactive();
  FSize = v;
}

void TField::SetDisplayLabel(const std::string& v) {
  FDisplayLabel = v == FFieldName ? "" : v;
  PropertyChanged(true);
}

void TField::SetDisplayWidth(int v) {
  FDisplayWidth = v;
  PropertyChanged(true);
}

void TField::SetAlignment(TAlignment v) {
  FAlignment = v;
  PropertyChanged(false);
}

void TField::SetVisible(bool v) {
  FVisible = v;
  PropertyChanged(true);
}

void TField::SetFieldKind(TFieldKind v) {
  if (FDataSet) FDataSet->CheckInactive();
  FFieldKind = v;
}

void TField::PropertyChanged(bool layout) {
  if (FDataSet && FDataSet->GetActive()) FDataSet->DataEvent(layout ? deLayoutChange : deDataSetChange);
}

int TField::GetIndex() const { return FDataSet ? FDataSet->FFields.IndexOf(this) : -1; }

void TField::SetIndex(int i) {
  if (!FDataSet) return;
  auto& list = FDataSet->FFields.FList;
  int cur = GetIndex();
  i = std::clamp(i, 0, static_cast<int>(list.size()) - 1);
  if (i == cur) return;
  list.erase(list.begin() + cur);
  list.insert(list.begin() + i, this);
  PropertyChanged(true);
}

bool TField::GetCanModify() const { return !FReadOnly && FDataSet && FDataSet->CanModify() && FFieldKind == fkData; }

void TField::FocusControl() {
  if (FDataSet) FDataSet->DataEvent(deFocusControl, this);
}

void TField::AccessError(const char* typeName) const {
  throw EDatabaseError(Format(SFieldAccessError, GetDisplayLabel(), typeName));
}

void TField::ConvertError(const char* fmt, const std::string& text) const {
  throw EConvertError(Format(fmt, text, GetDisplayLabel()));
}

const TDbValue& TField::GetValue() const {
  static const TDbValue null;
  return FDataSet ? FDataSet->FieldValue(this) : null;
}

void TField::SetValue(const TDbValue& v) {
  if (!FDataSet) throw EDatabaseError(Format(SFieldAccessError, FFieldName, "value"));
  FDataSet->SetFieldValue(this, v);
}

std::string TField::GetAsString() const {
  const TDbValue& v = GetValue();
  switch (v.Kind) {
    case TDbValue::vkNull: return "";
    case TDbValue::vkInteger: return IntToStr(v.Int);
    case TDbValue::vkFloat: return FloatToStr(v.Float);
    default: return v.Str;
  }
}

void TField::SetAsString(const std::string& v) { SetValue(TDbValue::Text(v)); }

int64_t TField::GetAsInteger() const {
  const TDbValue& v = GetValue();
  switch (v.Kind) {
    case TDbValue::vkNull: return 0;
    case TDbValue::vkInteger: return v.Int;
    case TDbValue::vkFloat: return std::llround(v.Float);
    case TDbValue::vkText: {
      int64_t r;
      if (!TryStrToInt64(v.Str, r)) ConvertError(SInvalidIntegerValue, v.Str);
      return r;
    }
    default: AccessError("Integer");
  }
}

void TField::SetAsInteger(int64_t v) { SetAsString(IntToStr(v)); }

double TField::GetAsFloat() const {
  const TDbValue& v = GetValue();
  switch (v.Kind) {
    case TDbValue::vkNull: return 0;
    case TDbValue::vkInteger: return static_cast<double>(v.Int);
    case TDbValue::vkFloat: return v.Float;
    case TDbValue::vkText: {
      long double r;
      if (!TryStrToFloat(v.Str, r)) ConvertError(SInvalidFloatValue, v.Str);
      return static_cast<double>(r);
    }
    default: AccessError("Float");
  }
}

void TField::SetAsFloat(double v) { SetAsString(FloatToStr(v)); }

bool TField::GetAsBoolean() const {
  const TDbValue& v = GetValue();
  switch (v.Kind) {
    case TDbValue::vkNull: return false;
    case TDbValue::vkInteger: return v.Int != 0;
    case TDbValue::vkFloat: return v.Float != 0;
    case TDbValue::vkText: {
      std::string t = UpperCase(Trim(v.Str));
      if (t == "TRUE" || t == "T" || t == "YES" || t == "Y" || t == "1") return true;
      if (t == "FALSE" || t == "F" || t == "NO" || t == "N" || t == "0") return false;
      ConvertError(SInvalidBoolValue, v.Str);
    }
    default: AccessError("Boolean");
  }
}

void TField::SetAsBoolean(bool v) { SetAsString(v ? "True" : "False"); }

TDateTime TField::GetAsDateTime() const {
  const TDbValue& v = GetValue();
  TDateTime r = 0;
  switch (v.Kind) {
    case TDbValue::vkNull: return 0;
    case TDbValue::vkInteger: return static_cast<double>(v.Int);
    case TDbValue::vkFloat: return v.Float;
    case TDbValue::vkText:
      if (!TryIsoToDateTime(v.Str, r)) throw EConvertError(Format(SInvalidDateTime, v.Str));
      return r;
    default: AccessError("DateTime");
  }
}

void TField::SetAsDateTime(TDateTime v) { SetAsString(DateTimeToIso(v)); }

void TField::GetTextValue(std::string& text, bool) const { text = GetAsString(); }

std::string TField::GetDisplayText() const {
  std::string t;
  if (OnGetText) OnGetText(const_cast<TField*>(this), t, true);
  else GetTextValue(t, true);
  return t;
}

std::string TField::GetText() const {
  std::string t;
  if (OnGetText) OnGetText(const_cast<TField*>(this), t, false);
  else GetTextValue(t, false);
  return t;
}

void TField::SetText(const std::string& v) {
  if (OnSetText) OnSetText(this, v);
  else SetTextValue(v);
}

// =============================================================================================
// Strings

TStringField::TStringField(TComponent* owner) : TField(owner) {
  SetDataType(ftString);
  TField::SetSize(20);
}

std::string TStringField::GetAsString() const {
  const TDbValue& v = GetValue();
  return v.Kind == TDbValue::vkText ? v.Str : TField::GetAsString();
}

void TStringField::SetAsString(const std::string& v) {
  SetValue(TDbValue::Text(GetSize() > 0 ? v.substr(0, DbUtf8Prefix(v, GetSize())) : v));
}

// =============================================================================================
// Numbers

TNumericField::TNumericField(TComponent* owner) : TField(owner) { SetAlignment(taRightJustify); }

void TNumericField::SetDisplayFormat(const std::string& v) {
  FDisplayFormat = v;
  PropertyChanged(false);
}

void TNumericField::GetTextValue(std::string& text, bool displayText) const {
  const std::string& mask = displayText || FEditFormat.empty() ? FDisplayFormat : FEditFormat;
  if (IsNull()) text.clear();
  else if (mask.empty()) text = GetAsString();
  else text = DbFormatFloat(mask, GetAsFloat());
}

TIntegerField::TIntegerField(TComponent* owner) : TIntegerField(owner, ftInteger, INT32_MIN, INT32_MAX, 11) {}

TIntegerField::TIntegerField(TComponent* owner, TFieldType type, int64_t lo, int64_t hi, int width)
    : TNumericField(owner), FMinRange(lo), FMaxRange(hi), FWidth(width) {
  SetDataType(type);
}

int64_t TIntegerField::GetAsInteger() const { return TField::GetAsInteger(); }

void TIntegerField::SetAsInteger(int64_t v) {
  int64_t lo = FMinRange, hi = FMaxRange;
  if (FMinValue != 0 || FMaxValue != 0) {
    lo = FMinValue;
    hi = FMaxValue;
  }
  if (v < lo || v > hi)
    throw ERangeError(Format(SFieldRangeError, IntToStr(v), GetDisplayLabel(), IntToStr(lo), IntToStr(hi)));
  SetValue(TDbValue::Integer(v));
}

void TIntegerField::SetAsFloat(double v) { SetAsInteger(std::llround(v)); }

std::string TIntegerField::GetAsString() const { return IsNull() ? "" : IntToStr(GetAsInteger()); }

void TIntegerField::SetAsString(const std::string& v) {
  if (Trim(v).empty()) return Clear();
  int64_t i;
  if (!TryStrToInt64(v, i)) ConvertError(SInvalidIntegerValue, v);
  SetAsInteger(i);
}

TAutoIncField::TAutoIncField(TComponent* owner) : TIntegerField(owner, ftAutoInc, INT32_MIN, INT32_MAX, 11) {}

TFloatField::TFloatField(TComponent* owner) : TFloatField(owner, ftFloat) {}

TFloatField::TFloatField(TComponent* owner, TFieldType type) : TNumericField(owner) { SetDataType(type); }

double TFloatField::GetAsFloat() const { return TField::GetAsFloat(); }

int64_t TFloatField::GetAsInteger() const { return std::llround(GetAsFloat()); }

void TFloatField::SetAsFloat(double v) {
  if ((FMinValue != 0 || FMaxValue != 0) && (v < FMinValue || v > FMaxValue))
    throw ERangeError(
        Format(SFieldRangeError, FloatToStr(v), GetDisplayLabel(), FloatToStr(FMinValue), FloatToStr(FMaxValue)));
  SetValue(TDbValue::Real(v));
}

std::string TFloatField::GetAsString() const {
  if (IsNull()) return "";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*g", std::clamp(FPrecision, 1, 17), GetAsFloat());
  long double back;
  // Through FloatToStr when it reads back the same, for Delphi's look ("1E20", no "+").
  std::string s = FloatToStr(std::strtod(buf, nullptr));
  return TryStrToFloat(s, back) ? s : buf;
}

void TFloatField::SetAsString(const std::string& v) {
  if (Trim(v).empty()) return Clear();
  long double d;
  if (!TryStrToFloat(v, d)) ConvertError(SInvalidFloatValue, v);
  SetAsFloat(static_cast<double>(d));
}

void TFloatField::SetCurrency(bool v) {
  FCurrency = v;
  PropertyChanged(false);
}

void TFloatField::SetPrecision(int v) {
  FPrecision = std::clamp(v, 2, 17);
  PropertyChanged(false);
}

void TFloatField::GetTextValue(std::string& text, bool displayText) const {
  bool masked = !GetDisplayFormat().empty() || (!displayText && !GetEditFormat().empty());
  if (IsNull() || masked || !FCurrency) return TNumericField::GetTextValue(text, displayText);
  // Money without a locale: two decimals, thousands grouped only for showing.
  text = DbFormatFloat(displayText ? "#,##0.00" : "0.00", GetAsFloat());
}

TCurrencyField::TCurrencyField(TComponent* owner) : TFloatField(owner, ftCurrency) { SetCurrency(true); }

TBCDField::TBCDField(TComponent* owner) : TFloatField(owner, ftBCD) { TField::SetSize(4); }

// =============================================================================================
// Booleans

TBooleanField::TBooleanField(TComponent* owner) : TField(owner) { SetDataType(ftBoolean); }

bool TBooleanField::GetAsBoolean() const { return TField::GetAsBoolean(); }

void TBooleanField::SetAsBoolean(bool v) { SetValue(TDbValue::Integer(v ? 1 : 0)); }

std::string TBooleanField::GetAsString() const {
  if (IsNull()) return "";
  return GetAsBoolean() ? FTrueText : FFalseText;
}

void TBooleanField::SetAsString(const std::string& v) {
  if (v.empty()) return Clear();
  if (SameText(v, FFalseText.substr(0, v.size()))) SetAsBoolean(false);
  else if (SameText(v, FTrueText.substr(0, v.size()))) SetAsBoolean(true);
  else ConvertError(SInvalidBoolValue, v);
}

void TBooleanField::SetDisplayValues(const std::string& v) {
  size_t semi = v.find(';');
  FDisplayValues = v;
  FTrueText = v.substr(0, semi);
  FFalseText = semi == std::string::npos ? "" : v.substr(semi + 1);
  PropertyChanged(true);
}

int TBooleanField::GetDefaultWidth() const { return static_cast<int>(std::max(FTrueText.size(), FFalseText.size())); }

// =============================================================================================
// Dates and times

TDateTimeField::TDateTimeField(TComponent* owner) : TDateTimeField(owner, ftDateTime) {}

TDateTimeField::TDateTimeField(TComponent* owner, TFieldType type) : TField(owner) { SetDataType(type); }

int TDateTimeField::GetDefaultWidth() const { return GetDataType() == ftDateTime ? 18 : 10; }

TDateTime TDateTimeField::GetAsDateTime() const {
  TDateTime v = TField::GetAsDateTime();
  if (!HasTime()) return std::trunc(v);
  if (!HasDate()) return std::fabs(v - std::trunc(v));
  return v;
}

void TDateTimeField::SetAsDateTime(TDateTime v) { SetValue(TDbValue::Text(DateTimeToIso(v, HasDate(), HasTime()))); }

std::string TDateTimeField::GetAsString() const {
  const TDbValue& v = GetValue();
  if (v.IsNull()) return "";
  TDateTime d;
  // Text that is not ISO is shown as the database holds it rather than refused.
  if (v.Kind == TDbValue::vkText && !TryIsoToDateTime(v.Str, d)) return v.Str;
  return DateTimeToIso(GetAsDateTime(), HasDate(), HasTime());
}

void TDateTimeField::SetAsString(const std::string& v) {
  if (Trim(v).empty()) return Clear();
  TDateTime d;
  if (!TryIsoToDateTime(v, d)) {
    const char* fmt = !HasTime() ? SInvalidDate : !HasDate() ? SInvalidTime : SInvalidDateTime;
    throw EConvertError(Format(fmt, v));
  }
  SetAsDateTime(d);
}

void TDateTimeField::SetDisplayFormat(const std::string& v) {
  FDisplayFormat = v;
  PropertyChanged(false);
}

void TDateTimeField::GetTextValue(std::string& text, bool displayText) const {
  if (displayText && !FDisplayFormat.empty() && !IsNull()) {
    TDateTime d;
    const TDbValue& v = GetValue();
    if (v.Kind != TDbValue::vkText || TryIsoToDateTime(v.Str, d)) {
      text = DbFormatDateTime(FDisplayFormat, GetAsDateTime());
      return;
    }
  }
  text = GetAsString();
}

// =============================================================================================
// Bytes and blobs

TBytesField::TBytesField(TComponent* owner) : TBytesField(owner, ftBytes) {}

TBytesField::TBytesField(TComponent* owner, TFieldType type) : TField(owner) {
  SetDataType(type);
  TField::SetSize(16);
}

void TBytesField::SetAsString(const std::string& v) {
  SetValue(TDbValue::Blob(GetSize() > 0 && v.size() > static_cast<size_t>(GetSize()) ? v.substr(0, GetSize()) : v));
}

TBlobField::TBlobField(TComponent* owner) : TBlobField(owner, ftBlob) {}

TBlobField::TBlobField(TComponent* owner, TFieldType type) : TField(owner) { SetDataType(type); }

void TBlobField::SetAsString(const std::string& v) {
  SetValue(GetDataType() == ftMemo ? TDbValue::Text(v) : TDbValue::Blob(v));
}

void TBlobField::GetTextValue(std::string& text, bool) const {
  std::string name = FieldTypeName(GetDataType());
  text = "(" + (IsNull() || GetValue().Str.empty() ? name : UpperCase(name)) + ")";
}

void TBlobField::LoadFromStream(TStream* s) {
  std::string data(static_cast<size_t>(s->GetSize() - s->GetPosition()), '\0');
  s->ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  SetAsString(data);
}

void TBlobField::SaveToStream(TStream* s) const {
  std::string data = GetAsString();
  s->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TBlobField::LoadFromFile(const std::string& fileName) { SetAsString(ReadFileBytes(fileName)); }

void TBlobField::SaveToFile(const std::string& fileName) const {
  TFileStream f(fileName, fmCreate);
  SaveToStream(&f);
}

TMemoField::TMemoField(TComponent* owner) : TBlobField(owner, ftMemo) { SetTransliterate(true); }
