// Classes: conversion between the binary form stream and the Delphi text form format.
#include <locale.h>
#include <stdlib.h>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "Classes.h"
#include "Consts.h"

namespace {

// Delphi breaks string literals into ` +` continuation lines after this many characters.
constexpr size_t kLineLength = 64;
constexpr size_t kBinaryBytesPerLine = 32;
constexpr const char* kTooDeepBinary = "Nesting deeper than %d levels at offset %d";
constexpr const char* kTooDeepText = "Nesting deeper than %d levels";
constexpr const char* kInvalidName = "Invalid name at offset %d";
constexpr const char* kNameTooLong = "Name longer than 255 characters: %s...";

// Counts nesting for the lifetime of one recursive call.
class TDepthGuard {
 public:
  TDepthGuard(int& depth, const std::function<void()>& tooDeep) : FDepth(depth) {
    if (++FDepth > MaxFormNesting) {
      --FDepth;
      tooDeep();
    }
  }
  ~TDepthGuard() { --FDepth; }
  TDepthGuard(const TDepthGuard&) = delete;
  TDepthGuard& operator=(const TDepthGuard&) = delete;

 private:
  int& FDepth;
};

// --- Floats ------------------------------------------------------------------------------------

// Delphi's general format of `digits` (a significand without trailing zeros) times 10^(exp10-1)
// at the given precision: fixed notation unless the exponent is out of range, then `1.5E-5`.
std::string GeneralFormat(bool negative, const std::string& digits, int exp10, int precision) {
  std::string s = negative ? "-" : "";
  if (exp10 > precision || exp10 < -3) {
    s += digits[0];
    if (digits.size() > 1) s += "." + digits.substr(1);
    s += "E" + std::to_string(exp10 - 1);
  } else if (exp10 <= 0) {
    s += "0." + std::string(-exp10, '0') + digits;
  } else if (static_cast<int>(digits.size()) <= exp10) {
    s += digits + std::string(exp10 - digits.size(), '0');
  } else {
    s += digits.substr(0, exp10) + "." + digits.substr(exp10);
  }
  return s;
}

// Delphi writes 15 significant digits; where those do not read back to the same bits, the
// shortest text that does (up to 21 digits for an extended). 15 digits always suffice for a
// single; for wider types the shortest digits are what the 15..21 digit search would find.
template <class T>
std::string FloatText(T v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  char buf[64];
  const auto r = std::is_same_v<T, float> ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14)
                                          : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  std::string_view sci(buf, r.ptr - buf);  // [-]d[.ddd]e[+-]xx
  const bool negative = sci[0] == '-';
  if (negative) sci.remove_prefix(1);
  const size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e))
    if (c != '.') digits += c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exp10 = 0;
  std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+'), sci.data() + sci.size(), exp10);
  return GeneralFormat(negative, digits, exp10 + 1, std::max(15, static_cast<int>(digits.size())));
}

// --- Names ------------------------------------------------------------------------------------

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Bytes of multi-byte UTF-8 sequences count as letters, so identifiers may be non-ASCII.
bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || static_cast<uint8_t>(c) >= 0x80;
}
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

enum class TNameKind { Simple, Dotted, SetElement };

// Whether the text parser reads `s` back as one name of this kind.
bool IsNameText(std::string_view s, TNameKind kind) {
  if (s.empty() || !(kind == TNameKind::SetElement ? IsIdentChar(s[0]) : IsIdentStart(s[0]))) return false;
  for (size_t i = 1; i < s.size(); ++i) {
    if (IsIdentChar(s[i])) continue;
    if (kind != TNameKind::Dotted || s[i] != '.' || i + 1 == s.size() || !IsIdentStart(s[i + 1])) return false;
  }
  if (kind == TNameKind::SetElement && IsDigit(s[0])) return std::all_of(s.begin(), s.end(), IsDigit);
  return true;
}

// --- Binary to text ----------------------------------------------------------------------------

class TBinaryToText {
 public:
  explicit TBinaryToText(TStream* input) : FEnd(input->GetSize()), FReader(input, 4096) {}

  std::string Run() {
    try {
      FReader.ReadSignature();
      ConvertObject();
    } catch (EReadError& e) {
      // Some reader errors do not say where they happened; every one of ours should.
      if (e.Message().find("offset") == std::string::npos)
        e.SetMessage(Format("%s at offset %d", e.Message(), FReader.Position()));
      throw;
    }
    return std::move(FOut);
  }

 private:
  void Indent() { FOut.append(2 * static_cast<size_t>(FNesting), ' '); }
  void NewLine() {
    FOut += "\r\n";
    Indent();
  }
  [[noreturn]] void TooDeep() { throw EReadError(Format(kTooDeepBinary, MaxFormNesting, FReader.Position())); }
  TDepthGuard Nest() {
    return TDepthGuard(FDepth, [this] { TooDeep(); });
  }

  // A 32-bit count that must not claim more than `unit` * count bytes of what is left, so a
  // lying length fails before anything is allocated for it.
  uint32_t ReadCount(int64_t unit) {
    const int64_t at = FReader.Position();
    if (FEnd - at < 4) throw EReadError(Format(SStreamTruncated, at));
    uint8_t b[4];
    FReader.Read(b, 4);
    const uint32_t n = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
    if (static_cast<int64_t>(n) * unit > FEnd - at - 4) throw EReadError(Format(SStreamTruncated, at));
    return n;
  }
  // `limit`: the most bytes a string value may hold; other values are bounded by the stream.
  std::string ReadBytes(int64_t unit, int64_t limit = std::numeric_limits<int64_t>::max()) {
    const int64_t at = FReader.Position();
    const int64_t size = ReadCount(unit) * unit;
    if (size > limit) throw EReadError(Format("%s at offset %d", Format(SStringTooLong, limit), at));
    std::string s(static_cast<size_t>(size), '\0');
    FReader.Read(s.data(), size);
    return s;
  }

  // A name the text could not hold (a control character, a blank) is refused here, so that all
  // text this side writes reads back.
  std::string ReadName(TNameKind kind, bool mayBeEmpty = false) {
    const int64_t at = FReader.Position();
    std::string name = FReader.ReadStr();
    if (!(mayBeEmpty && name.empty()) && !IsNameText(name, kind)) throw EReadError(Format(kInvalidName, at));
    return name;
  }

  void ConvertHeader() {
    uint8_t flags = 0;
    int childPos = 0;
    FReader.ReadPrefix(flags, childPos);
    const std::string className = ReadName(TNameKind::Simple);
    const std::string objectName = ReadName(TNameKind::Simple, true);
    Indent();
    FOut += flags & ffInherited ? "inherited " : flags & ffInline ? "inline " : "object ";
    if (!objectName.empty()) FOut += objectName + ": ";
    FOut += className;
    if (flags & ffChildPos) FOut += " [" + std::to_string(childPos) + "]";
    FOut += "\r\n";
  }

  void ConvertObject() {
    auto guard = Nest();
    if (++FObjects > MaxFormComponents) throw EReadError(Format(STooManyComponents, MaxFormComponents));
    ConvertHeader();
    ++FNesting;
    while (!FReader.EndOfList()) ConvertProperty();
    FReader.ReadListEnd();
    while (!FReader.EndOfList()) ConvertObject();
    FReader.ReadListEnd();
    --FNesting;
    Indent();
    FOut += "end\r\n";
  }

  void ConvertProperty() {
    Indent();
    const int64_t at = FReader.Position();
    const std::string name = ReadName(TNameKind::Dotted);
    // These would read back as the end of the object or the start of a child.
    if (SameText(name, "end") || SameText(name, "object") || SameText(name, "inherited") || SameText(name, "inline"))
      throw EReadError(Format(kInvalidName, at));
    FOut += name;
    FOut += " = ";
    ConvertValue();
    FOut += "\r\n";
  }

  // Printable ASCII in quotes, everything else as #code point, in pieces of at most
  // kLineLength characters joined by ` +` line breaks, as Delphi lays string literals out.
  void WriteStringLiteral(const std::u32string& w) {
    const size_t len = w.size();
    if (len == 0) {
      FOut += "''";
      return;
    }
    ++FNesting;
    if (len > kLineLength) NewLine();
    size_t i = 0, lineStart = 0;
    auto quotable = [&](size_t k) { return w[k] >= ' ' && w[k] != '\'' && w[k] <= 127; };
    while (i < len) {
      if (quotable(i)) {
        FOut += '\'';
        do FOut += static_cast<char>(w[i++]);
        while (i < len && quotable(i) && i - lineStart < kLineLength);
        FOut += '\'';
      } else {
        FOut += '#';
        FOut += std::to_string(static_cast<uint32_t>(w[i++]));
      }
      if (i - lineStart >= kLineLength && i < len) {
        FOut += " +";
        NewLine();
        lineStart = i;
      }
    }
    --FNesting;
  }

  // UTF-16 units as code points, lone surrogates kept as they are so that they survive.
  static std::u32string WideToCodePoints(const std::string& bytes) {
    std::u32string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t k) {
      return static_cast<char32_t>(static_cast<uint8_t>(bytes[2 * k]) | static_cast<uint8_t>(bytes[2 * k + 1]) << 8);
    };
    const size_t n = bytes.size() / 2;
    for (size_t k = 0; k < n; ++k) {
      char32_t c = unit(k);
      if (c >= 0xD800 && c <= 0xDBFF && k + 1 < n && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (unit(++k) - 0xDC00);
      out += c;
    }
    return out;
  }

  void ConvertBinary() {
    FReader.ReadValue();
    const std::string data = ReadBytes(1);
    static constexpr char kHex[] = "0123456789ABCDEF";
    FOut += '{';
    ++FNesting;
    const bool multiLine = data.size() >= kBinaryBytesPerLine;
    for (size_t i = 0; i < data.size(); ++i) {
      if (multiLine && i % kBinaryBytesPerLine == 0) NewLine();
      const auto b = static_cast<uint8_t>(data[i]);
      FOut += kHex[b >> 4];
      FOut += kHex[b & 15];
    }
    --FNesting;
    FOut += '}';
  }

  void ConvertCollection() {
    FReader.ReadValue();
    FOut += '<';
    ++FNesting;
    while (!FReader.EndOfList()) {
      NewLine();
      FOut += "item";
      const TValueType v = FReader.NextValue();
      if (v == vaInt8 || v == vaInt16 || v == vaInt32) FOut += " [" + std::to_string(FReader.ReadInteger()) + "]";
      FOut += "\r\n";
      FReader.CheckValue(vaList);
      ++FNesting;
      while (!FReader.EndOfList()) ConvertProperty();
      FReader.ReadListEnd();
      --FNesting;
      Indent();
      FOut += "end";
    }
    FReader.ReadListEnd();
    --FNesting;
    FOut += '>';
  }

  void ConvertValue() {
    auto guard = Nest();
    const int64_t at = FReader.Position();
    const TValueType tag = FReader.NextValue();
    switch (tag) {
      case vaList:
        FReader.ReadValue();
        FOut += '(';
        ++FNesting;
        while (!FReader.EndOfList()) {
          NewLine();
          ConvertValue();
        }
        FReader.ReadListEnd();
        --FNesting;
        FOut += ')';
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32: FOut += std::to_string(FReader.ReadInteger()); break;
      case vaInt64: FOut += std::to_string(FReader.ReadInt64()); break;
      case vaExtended: {
        // A whole number gets ".0" so that it reads back as a float and not as an integer.
        std::string s = FloatText(FReader.ReadFloat());
        if (s.find_first_not_of("-0123456789") == std::string::npos) s += ".0";
        FOut += s;
        break;
      }
      case vaSingle: FOut += FloatText(FReader.ReadSingle()) + "s"; break;
      case vaDate: FOut += FloatText(FReader.ReadDate()) + "d"; break;
      case vaCurrency: FOut += std::to_string(FReader.ReadCurrency()) + "c"; break;
      case vaString:
        FReader.ReadValue();
        WriteStringLiteral(Utf8ToUtf32(AnsiToUtf8(FReader.ReadRawStr())));
        break;
      case vaLString:
        FReader.ReadValue();
        WriteStringLiteral(Utf8ToUtf32(AnsiToUtf8(ReadBytes(1, MaxFormStringSize))));
        break;
      case vaUTF8String:
        FReader.ReadValue();
        WriteStringLiteral(Utf8ToUtf32(ReadBytes(1, MaxFormStringSize)));
        break;
      case vaWString:
        FReader.ReadValue();
        WriteStringLiteral(WideToCodePoints(ReadBytes(2, MaxFormStringSize)));
        break;
      case vaIdent:
        FReader.ReadValue();
        FOut += ReadName(TNameKind::Dotted);
        break;
      case vaFalse:
      case vaTrue:
      case vaNil:
      case vaNull: FOut += FReader.ReadIdent(); break;
      case vaBinary: ConvertBinary(); break;
      case vaSet: {
        FReader.ReadValue();
        FOut += '[';
        for (bool first = true;; first = false) {
          const std::string element = ReadName(TNameKind::SetElement, true);
          if (element.empty()) break;
          if (!first) FOut += ", ";
          FOut += element;
        }
        FOut += ']';
        break;
      }
      case vaCollection: ConvertCollection(); break;
      default: throw EReadError(Format(SInvalidValueTag, static_cast<int>(tag), at));
    }
  }

  const int64_t FEnd;
  TReader FReader;
  std::string FOut;
  int FNesting = 0;
  int FDepth = 0;
  int FObjects = 0;
};

// --- Text to binary ----------------------------------------------------------------------------

enum class TToken { Eof, Symbol, String, Integer, Float, Char };

struct TTokenValue {
  TToken Kind = TToken::Eof;
  int Line = 1;
  std::string Text;    // symbols, and the source text of numbers
  std::u16string Str;  // strings, as UTF-16 so that a lone surrogate survives
  int64_t Int = 0;
  char FloatType = 0;  // 0, 's', 'c' or 'd'
  char Ch = 0;
};

class TLexer {
 public:
  explicit TLexer(std::string text) : FText(std::move(text)) {}

  const TTokenValue& Token() const { return FTok; }
  [[noreturn]] void Error(const std::string& message) const {
    throw EParserError(Format(SParseError, message, FTok.Line));
  }

  void Next() {
    SkipBlanks();
    FTok = TTokenValue();
    FTok.Line = FLine;
    if (FPos >= FText.size()) return;
    const char c = FText[FPos];
    if (IsIdentStart(c)) {
      LexSymbol();
    } else if (c == '\'' || c == '#') {
      LexString();
    } else if (c == '$') {
      LexHex();
    } else if (c == '-' || IsDigit(c)) {
      LexNumber();
    } else {
      FTok.Kind = TToken::Char;
      FTok.Ch = c;
      ++FPos;
    }
  }

  bool IsChar(char c) const { return FTok.Kind == TToken::Char && FTok.Ch == c; }
  bool IsSymbol(std::string_view s) const { return FTok.Kind == TToken::Symbol && SameText(FTok.Text, s); }
  void ExpectChar(char c) const {
    if (!IsChar(c)) Error(Format(SSymbolExpected, std::string("'") + c + "'"));
  }
  void ExpectSymbol() const {
    if (FTok.Kind != TToken::Symbol) Error(SIdentifierExpected);
  }

  // The bytes of a `{...}` block, read straight after its `{`; leaves the `}` as the token.
  std::string HexBlock() {
    std::string out;
    int high = -1;
    for (;; ++FPos) {
      if (FPos >= FText.size()) Error(SInvalidBinary);
      const char c = FText[FPos];
      if (c == '}') break;
      if (c == '\n') ++FLine;
      if (static_cast<uint8_t>(c) <= ' ') continue;
      const int d = HexDigit(c);
      if (d < 0) {
        FTok.Line = FLine;
        Error(SInvalidBinary);
      }
      if (high < 0) {
        high = d;
      } else {
        out += static_cast<char>(high << 4 | d);
        high = -1;
      }
    }
    FTok.Line = FLine;
    if (high >= 0) Error(SInvalidBinary);
    ++FPos;
    FTok.Kind = TToken::Char;
    FTok.Ch = '}';
    return out;
  }

 private:
  static int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  }
  char Peek(size_t ahead = 0) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }

  void SkipBlanks() {
    while (FPos < FText.size() && static_cast<uint8_t>(FText[FPos]) <= ' ') {
      // CR LF, LF and a lone CR each end one line.
      if (FText[FPos] == '\n' || (FText[FPos] == '\r' && Peek(1) != '\n')) ++FLine;
      ++FPos;
    }
  }

  // Identifiers with their dotted parts: `Font.Style`, `Form1.Button1`.
  void LexSymbol() {
    const size_t start = FPos;
    for (;;) {
      ++FPos;
      while (IsIdentChar(Peek())) ++FPos;
      if (Peek() != '.' || !IsIdentStart(Peek(1))) break;
      ++FPos;
    }
    FTok.Kind = TToken::Symbol;
    FTok.Text = FText.substr(start, FPos - start);
  }

  void AppendCode(uint64_t code) {
    if (code > 0x10FFFF) Error(SInvalidString);
    if (code >= 0x10000) {
      code -= 0x10000;
      FTok.Str += static_cast<char16_t>(0xD800 + (code >> 10));
      FTok.Str += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      FTok.Str += static_cast<char16_t>(code);  // a surrogate stays a single unit
    }
  }

  // Quoted runs ('' for a quote) and #nnn / #$hh codes, adjacent without blanks.
  void LexString() {
    FTok.Kind = TToken::String;
    for (;;) {
      if (Peek() == '\'') {
        ++FPos;
        std::string run;
        for (;; ++FPos) {
          if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r') Error(SInvalidString);
          if (FText[FPos] == '\'') {
            if (Peek(1) != '\'') break;
            ++FPos;
          }
          run += FText[FPos];
        }
        ++FPos;
        FTok.Str += Utf8ToUtf16(run);
      } else if (Peek() == '#') {
        ++FPos;
        const bool hex = Peek() == '$';
        if (hex) ++FPos;
        uint64_t code = 0;
        size_t digits = 0;
        for (int d; (d = hex ? HexDigit(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1)) >= 0; ++FPos, ++digits) {
          code = code * (hex ? 16 : 10) + d;
          if (code > 0x10FFFF) Error(SInvalidString);
        }
        if (digits == 0) Error(SInvalidString);
        AppendCode(code);
      } else {
        return;
      }
    }
  }

  void LexHex() {
    const size_t start = FPos++;
    uint64_t v = 0;
    size_t digits = 0;
    for (int d; (d = HexDigit(Peek())) >= 0; ++FPos, ++digits) {
      if (v >> 60) Error(Format(SInvalidInteger, FText.substr(start, FPos + 1 - start)));
      v = v << 4 | d;
    }
    if (digits == 0) Error(SNumberExpected);
    FTok.Kind = TToken::Integer;
    FTok.Int = static_cast<int64_t>(v);
    FTok.Text = FText.substr(start, FPos - start);
  }

  void LexNumber() {
    const size_t start = FPos;
    if (Peek() == '-') ++FPos;
    auto digits = [&] {
      const size_t from = FPos;
      while (IsDigit(Peek())) ++FPos;
      return FPos > from;
    };
    if (!digits()) Error(SNumberExpected);
    bool isFloat = false;
    if (Peek() == '.' && IsDigit(Peek(1))) {
      ++FPos;
      digits();
      isFloat = true;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
      FPos += 2;
      digits();
      isFloat = true;
    }
    FTok.Text = FText.substr(start, FPos - start);
    const char suffix = static_cast<char>(Peek() | 0x20);
    if (suffix == 's' || suffix == 'c' || suffix == 'd') {
      FTok.FloatType = suffix;
      ++FPos;
      isFloat = true;
    }
    FTok.Kind = isFloat ? TToken::Float : TToken::Integer;
    if (!isFloat) {
      auto r = std::from_chars(FTok.Text.data(), FTok.Text.data() + FTok.Text.size(), FTok.Int);
      if (r.ec != std::errc()) Error(Format(SInvalidInteger, FTok.Text));
    }
  }

  std::string FText;
  size_t FPos = 0;
  int FLine = 1;
  TTokenValue FTok;
};

class TTextToBinary {
 public:
  TTextToBinary(std::string text, TStream* output) : FLex(std::move(text)), FWriter(output, 4096) {}

  // Returns the class name of the root.
  std::string Run() {
    FWriter.WriteSignature();
    FLex.Next();
    return ConvertObject();
  }

 private:
  TDepthGuard Nest() {
    return TDepthGuard(FDepth, [this] { FLex.Error(Format(kTooDeepText, MaxFormNesting)); });
  }

  // A short string (name, identifier, set element) as 8-bit text in the ANSI code page.
  void WriteShortString(const std::string& s) {
    std::string bytes;
    if (!TryUtf8ToAnsi(s, bytes)) FLex.Error(SInvalidString);
    if (bytes.size() > static_cast<size_t>(MaxFormNameLength)) FLex.Error(Format(kNameTooLong, s.substr(0, 32)));
    FWriter.WriteRawStr(bytes);
  }

  template <class T>
  T ParseFloat(const TTokenValue& t) {
    const char* first = t.Text.c_str();
    const char* last = first + t.Text.size();
    T v{};
    bool ok;
    if constexpr (std::is_same_v<T, long double>) {
      // from_chars refuses denormal extendeds; strtold reads them exactly (in the C locale, since
      // the host application may have set another).
      static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
      char* end = nullptr;
      v = strtold_l(first, &end, cLocale);
      ok = end == last && !std::isinf(v);
    } else {
      const auto r = std::from_chars(first, last, v);
      ok = r.ptr == last && r.ec == std::errc();
    }
    if (!ok) FLex.Error(Format(SInvalidFloat, t.Text));
    return v;
  }

  void WriteFloat(const TTokenValue& t) {
    switch (t.FloatType) {
      case 's': FWriter.WriteSingle(ParseFloat<float>(t)); break;
      case 'd': FWriter.WriteDate(ParseFloat<double>(t)); break;
      case 'c': {
        // The text holds the value scaled by 10000; whole numbers are taken exactly.
        int64_t scaled = 0;
        const char* last = t.Text.data() + t.Text.size();
        const auto r = std::from_chars(t.Text.data(), last, scaled);
        if (r.ptr != last || r.ec != std::errc()) {
          const long double v = std::nearbyint(ParseFloat<long double>(t));
          if (!(v >= -9223372036854775807.0L && v <= 9223372036854775807.0L)) FLex.Error(Format(SInvalidFloat, t.Text));
          scaled = static_cast<int64_t>(v);
        }
        FWriter.WriteCurrency(scaled);
        break;
      }
      default: FWriter.WriteFloat(ParseFloat<long double>(t));
    }
  }

  void WriteStringValue() {
    std::u16string s;
    for (;;) {
      s += FLex.Token().Str;
      // Half the stored limit in characters: written as UTF-16 or 8-bit text, it reads back.
      if (static_cast<int64_t>(s.size()) > MaxFormTextString) FLex.Error(Format(SStringTooLongText, MaxFormTextString));
      FLex.Next();
      if (!FLex.IsChar('+')) break;
      FLex.Next();
      if (FLex.Token().Kind != TToken::String) FLex.Error(SStringExpected);
    }
    // A lone surrogate has no UTF-8 form; only a wide string carries it.
    bool lone = false;
    for (size_t i = 0; i < s.size() && !lone; ++i) {
      if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) ++i;
      else lone = s[i] >= 0xD800 && s[i] <= 0xDFFF;
    }
    if (lone) FWriter.WriteWideString(s);
    else FWriter.WriteString(Utf16ToUtf8(s));
  }

  void WriteIdent(const std::string& ident) {
    if (SameText(ident, "False")) {
      FWriter.WriteValue(vaFalse);
    } else if (SameText(ident, "True")) {
      FWriter.WriteValue(vaTrue);
    } else if (SameText(ident, "nil")) {
      FWriter.WriteValue(vaNil);
    } else if (SameText(ident, "Null")) {
      FWriter.WriteValue(vaNull);
    } else {
      FWriter.WriteValue(vaIdent);
      WriteShortString(ident);
    }
  }

  void ConvertSet() {
    FWriter.WriteValue(vaSet);
    FLex.Next();
    if (!FLex.IsChar(']')) {
      for (;;) {
        const TTokenValue& t = FLex.Token();
        // A dotted name or a signed or hex number would be written as no binary reader reads it.
        if ((t.Kind != TToken::Symbol && t.Kind != TToken::Integer) || !IsNameText(t.Text, TNameKind::SetElement))
          FLex.Error(SIdentifierExpected);
        WriteShortString(t.Text);
        FLex.Next();
        if (FLex.IsChar(']')) break;
        FLex.ExpectChar(',');
        FLex.Next();
      }
    }
    WriteShortString("");
  }

  void ConvertBinary() {
    const std::string data = FLex.HexBlock();
    FWriter.WriteValue(vaBinary);
    const auto n = static_cast<uint32_t>(data.size());
    const uint8_t count[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                              static_cast<uint8_t>(n >> 24)};
    FWriter.Write(count, 4);
    FWriter.Write(data.data(), static_cast<int64_t>(data.size()));
  }

  // `[n]` after a header or `item`; returns false when there is none.
  bool ConvertOrder(int64_t& order) {
    if (!FLex.IsChar('[')) return false;
    FLex.Next();
    if (FLex.Token().Kind != TToken::Integer) FLex.Error(SNumberExpected);
    order = FLex.Token().Int;
    if (order < INT32_MIN || order > INT32_MAX) FLex.Error(Format(SInvalidInteger, FLex.Token().Text));
    FLex.Next();
    FLex.ExpectChar(']');
    FLex.Next();
    return true;
  }

  void ConvertCollection() {
    FWriter.WriteValue(vaCollection);
    FLex.Next();
    while (!FLex.IsChar('>')) {
      if (!FLex.IsSymbol("item")) FLex.Error(Format(SSymbolExpected, "'item'"));
      FLex.Next();
      int64_t order;
      if (ConvertOrder(order)) FWriter.WriteInteger(order);
      FWriter.WriteListBegin();
      while (!FLex.IsSymbol("end")) ConvertProperty();
      FWriter.WriteListEnd();
      FLex.Next();
    }
    FWriter.WriteListEnd();
  }

  void ConvertValue() {
    auto guard = Nest();
    const TTokenValue& t = FLex.Token();
    switch (t.Kind) {
      case TToken::String: WriteStringValue(); return;  // already past the value
      case TToken::Symbol: WriteIdent(t.Text); break;
      case TToken::Integer: FWriter.WriteInteger(t.Int); break;
      case TToken::Float: WriteFloat(t); break;
      case TToken::Char:
        switch (t.Ch) {
          case '[': ConvertSet(); break;
          case '(':
            FLex.Next();
            FWriter.WriteListBegin();
            while (!FLex.IsChar(')')) {
              if (FLex.Token().Kind == TToken::Eof) FLex.Error(Format(SSymbolExpected, "')'"));
              // Its tag would end the list early.
              if (FLex.IsSymbol("Null")) FLex.Error("Null cannot be a list element");
              ConvertValue();
            }
            FWriter.WriteListEnd();
            break;
          case '{': ConvertBinary(); break;
          case '<': ConvertCollection(); break;
          default: FLex.Error(SInvalidPropertyValue);
        }
        break;
      case TToken::Eof: FLex.Error(SInvalidPropertyValue);
    }
    FLex.Next();
  }

  void ConvertProperty() {
    FLex.ExpectSymbol();
    WriteShortString(FLex.Token().Text);
    FLex.Next();
    FLex.ExpectChar('=');
    FLex.Next();
    ConvertValue();
  }

  // A class or component name: one identifier, without dots.
  std::string HeaderName() {
    FLex.ExpectSymbol();
    std::string name = FLex.Token().Text;
    if (name.find('.') != std::string::npos) FLex.Error(SIdentifierExpected);
    FLex.Next();
    return name;
  }

  bool AtObjectHeader() const {
    return FLex.IsSymbol("object") || FLex.IsSymbol("inherited") || FLex.IsSymbol("inline");
  }

  std::string ConvertObject() {
    auto guard = Nest();
    if (++FObjects > MaxFormComponents) FLex.Error(Format(STooManyComponents, MaxFormComponents));
    uint8_t flags = 0;
    if (FLex.IsSymbol("inherited")) flags = ffInherited;
    else if (FLex.IsSymbol("inline")) flags = ffInline;
    else if (!FLex.IsSymbol("object")) FLex.Error(Format(SSymbolExpected, "'object'"));
    FLex.Next();
    std::string className = HeaderName(), objectName;
    if (FLex.IsChar(':')) {
      FLex.Next();
      objectName = std::move(className);
      className = HeaderName();
    }
    int64_t childPos = 0;
    if (ConvertOrder(childPos)) flags |= ffChildPos;
    FWriter.WritePrefix(flags, static_cast<int>(childPos));
    WriteShortString(className);
    WriteShortString(objectName);
    while (!FLex.IsSymbol("end") && !AtObjectHeader()) ConvertProperty();
    FWriter.WriteListEnd();
    while (!FLex.IsSymbol("end")) {
      if (!AtObjectHeader()) FLex.Error(Format(SSymbolExpected, "'end'"));
      ConvertObject();
    }
    FWriter.WriteListEnd();
    FLex.Next();
    return className;
  }

  TLexer FLex;
  TWriter FWriter;
  int FDepth = 0;
  int FObjects = 0;
};

std::string ReadRest(TStream* input) {
  const int64_t left = input->GetSize() - input->GetPosition();
  std::string s(static_cast<size_t>(std::max<int64_t>(left, 0)), '\0');
  input->ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
  return s;
}

// Text files are UTF-8 (with or without BOM) or, when they are not valid UTF-8, 8-bit text in
// the ANSI code page, as older Delphi versions wrote them.
std::string DecodeFormText(std::string bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  return IsValidUtf8(bytes) ? bytes : AnsiToUtf8(bytes);
}

// Writes the text as binary and returns the root's class name.
std::string TextToBinary(TStream* input, TStream* output) {
  const int64_t size = input->GetSize() - input->GetPosition();
  if (size > MaxFormSize) throw EParserError(Format(SFormTooLarge, size, MaxFormSize));
  return TTextToBinary(DecodeFormText(ReadRest(input)), output).Run();
}

}  // namespace

void ObjectBinaryToText(TStream* input, TStream* output) {
  const std::string text = TBinaryToText(input).Run();
  output->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void ObjectTextToBinary(TStream* input, TStream* output) { TextToBinary(input, output); }

void ObjectResourceToText(TStream* input, TStream* output) {
  try {
    input->ReadResHeader();
  } catch (const EInvalidImage&) {
    throw EReadError(Format("%s: no resource header at offset %d", SInvalidImage, input->GetPosition()));
  }
  ObjectBinaryToText(input, output);
}

void ObjectTextToResource(TStream* input, TStream* output) {
  TMemoryStream binary;
  const std::string className = TextToBinary(input, &binary);
  const int64_t start = output->WriteResourceHeader(UpperCase(className));
  output->WriteBuffer(binary.Memory(), binary.GetSize());
  output->FixupResourceHeader(start);
}

bool StreamHasResourceHeader(TStream* s) {
  const int64_t at = s->GetPosition();
  uint8_t head[3] = {};
  const int64_t n = s->Read(head, 3);
  s->SetPosition(at);
  return n == 3 && head[0] == 0xFF && head[1] == 0x0A && head[2] == 0x00;
}
