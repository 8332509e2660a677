// Conversion between binary form streams and the text form format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>

#include "Classes.h"

namespace {

// Hand-assembles binary form streams.
class TBin {
 public:
  TBin() { S = "TPF0"; }
  TBin& Byte(uint8_t b) {
    S += static_cast<char>(b);
    return *this;
  }
  TBin& Bytes(std::string_view b) {
    S += b;
    return *this;
  }
  template <class T>
  TBin& Le(T v) {
    S.append(reinterpret_cast<const char*>(&v), sizeof v);
    return *this;
  }
  TBin& Short(std::string_view s) { return Byte(static_cast<uint8_t>(s.size())).Bytes(s); }
  TBin& Tag(TValueType t) { return Byte(t); }
  TBin& Prop(std::string_view name) { return Short(name); }
  TBin& Obj(std::string_view cls, std::string_view name) { return Short(cls).Short(name); }
  TBin& End() { return Byte(0); }
  TBin& Ext(long double v) {
    S.append(reinterpret_cast<const char*>(&v), 10);
    return *this;
  }
  TBin& Counted(TValueType t, std::string_view data, uint32_t units) { return Tag(t).Le(units).Bytes(data); }
  // An integer with the smallest tag that holds it, as writers produce them.
  TBin& Int(int64_t v) {
    if (v >= INT8_MIN && v <= INT8_MAX) return Tag(vaInt8).Le(static_cast<int8_t>(v));
    if (v >= INT16_MIN && v <= INT16_MAX) return Tag(vaInt16).Le(static_cast<int16_t>(v));
    if (v >= INT32_MIN && v <= INT32_MAX) return Tag(vaInt32).Le(static_cast<int32_t>(v));
    return Tag(vaInt64).Le(v);
  }
  std::string S;
};

std::string Str(TMemoryStream& m) {
  return {reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.GetSize())};
}

TMemoryStream* Load(TMemoryStream& m, std::string_view bytes) {
  m.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  m.SetPosition(0);
  return &m;
}

std::string ToText(std::string_view binary) {
  TMemoryStream in, out;
  ObjectBinaryToText(Load(in, binary), &out);
  return Str(out);
}

std::string ToBinary(std::string_view text) {
  TMemoryStream in, out;
  ObjectTextToBinary(Load(in, text), &out);
  return Str(out);
}

// Binary -> text -> binary must give the same bytes; returns the text.
std::string ExpectRoundTrip(const std::string& binary) {
  std::string text = ToText(binary);
  EXPECT_EQ(ToBinary(text), binary) << text;
  return text;
}

std::string Crlf(std::string_view lf) {
  std::string s;
  for (char c : lf) {
    if (c == '\n') s += '\r';
    s += c;
  }
  return s;
}

template <class E>
std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no exception";
  return "";
}

// --- Layout -----------------------------------------------------------------------------------

TEST(TextConvert, WritesDelphiLayout) {
  TBin b;
  b.Obj("TForm1", "Form1")
      .Prop("Left")
      .Tag(vaInt8)
      .Byte(10)
      .Prop("Caption")
      .Tag(vaString)
      .Short("It's")
      .Prop("Hint")
      .Tag(vaString)
      .Short("")
      .Prop("Font.Style")
      .Tag(vaSet)
      .Short("fsBold")
      .Short("fsItalic")
      .Short("")
      .Prop("Empty")
      .Tag(vaSet)
      .Short("")
      .Prop("Visible")
      .Tag(vaFalse)
      .Prop("Lines.Strings")
      .Tag(vaList)
      .Tag(vaString)
      .Short("a")
      .Tag(vaList)
      .Tag(vaInt8)
      .Byte(1)
      .End()
      .End()
      .Prop("Tiny.Data")
      .Tag(vaBinary)
      .Le<uint32_t>(2)
      .Bytes("\x0A\xFF")
      .Prop("Columns")
      .Tag(vaCollection)
      .Tag(vaList)
      .Prop("Width")
      .Tag(vaInt8)
      .Byte(5)
      .End()
      .Tag(vaInt8)
      .Byte(3)
      .Tag(vaList)
      .End()
      .End()
      .Prop("Ratio")
      .Tag(vaExtended)
      .Ext(0.5L)
      .End()
      .Obj("TButton", "")
      .Prop("Tag")
      .Tag(vaInt8)
      .Byte(0xFF)
      .End()
      .End()
      .End();
  EXPECT_EQ(ExpectRoundTrip(b.S), Crlf("object Form1: TForm1\n"
                                       "  Left = 10\n"
                                       "  Caption = 'It'#39's'\n"
                                       "  Hint = ''\n"
                                       "  Font.Style = [fsBold, fsItalic]\n"
                                       "  Empty = []\n"
                                       "  Visible = False\n"
                                       "  Lines.Strings = (\n"
                                       "    'a'\n"
                                       "    (\n"
                                       "      1))\n"
                                       "  Tiny.Data = {0AFF}\n"
                                       "  Columns = <\n"
                                       "    item\n"
                                       "      Width = 5\n"
                                       "    end\n"
                                       "    item [3]\n"
                                       "    end>\n"
                                       "  Ratio = 0.5\n"
                                       "  object TButton\n"
                                       "    Tag = -1\n"
                                       "  end\n"
                                       "end\n"));
}

TEST(TextConvert, BreaksLongStringsAndBinaryLikeDelphi) {
  const std::string longStr(70, 'x');
  std::string data(40, '\0');
  for (int i = 0; i < 40; ++i) data[i] = static_cast<char>(i);
  TBin b;
  b.Obj("TMemo", "M").Prop("S").Tag(vaString).Short(longStr).Prop("D").Counted(vaBinary, data, 40).End().End();
  EXPECT_EQ(ExpectRoundTrip(b.S), Crlf("object M: TMemo\n"
                                       "  S = \n"
                                       "    'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx' +\n"
                                       "    'xxxxxx'\n"
                                       "  D = {\n"
                                       "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
                                       "    2021222324252627}\n"
                                       "end\n"));
}

TEST(TextConvert, HeadersCarryPrefixes) {
  TBin b;
  b.Byte(0xF1)
      .Obj("TForm2", "Form2")
      .End()
      .Byte(0xF2)
      .Tag(vaInt8)
      .Byte(3)
      .Obj("TLabel", "L")
      .End()
      .End()
      .Byte(0xF4)
      .Obj("TFrame1", "Frame")
      .End()
      .Byte(0xF3)
      .Tag(vaInt16)
      .Le<int16_t>(300)
      .Obj("TEdit", "E")
      .End()
      .End()
      .End()
      .Obj("TTimer", "")
      .End()
      .End()
      .End();
  EXPECT_EQ(ExpectRoundTrip(b.S), Crlf("inherited Form2: TForm2\n"
                                       "  object L: TLabel [3]\n"
                                       "  end\n"
                                       "  inline Frame: TFrame1\n"
                                       "    inherited E: TEdit [300]\n"
                                       "    end\n"
                                       "  end\n"
                                       "  object TTimer\n"
                                       "  end\n"
                                       "end\n"));
}

// --- Values -----------------------------------------------------------------------------------

TEST(TextConvert, IntegersKeepTheirValueAndSmallestTag) {
  const int64_t values[] = {0,
                            -128,
                            127,
                            128,
                            -129,
                            32767,
                            -32768,
                            -32769,
                            32768,
                            INT32_MAX,
                            INT32_MIN,
                            int64_t(INT32_MAX) + 1,
                            int64_t(INT32_MIN) - 1,
                            INT64_MAX,
                            INT64_MIN};
  for (int64_t v : values) {
    TBin b;
    b.Obj("T", "X").Prop("V").Int(v).End().End();
    EXPECT_NE(ExpectRoundTrip(b.S).find("V = " + std::to_string(v) + "\r\n"), std::string::npos) << v;
  }
  // A wider tag than needed reads back as the narrowest one, with the same value.
  TBin wide;
  wide.Obj("T", "X").Prop("V").Tag(vaInt32).Le<int32_t>(5).End().End();
  TBin narrow;
  narrow.Obj("T", "X").Prop("V").Tag(vaInt8).Byte(5).End().End();
  EXPECT_EQ(ToBinary(ToText(wide.S)), narrow.S);
}

TEST(TextConvert, FloatsSurviveBitForBit) {
  const long double extendeds[] = {0.5L,
                                   12.25L,
                                   1e20L,
                                   1.5e-5L,
                                   0.1L,
                                   1.0L / 3,
                                   -2.5L,
                                   0.0L,
                                   -0.0L,
                                   100.0L,
                                   std::nextafter(1.0L, 2.0L),
                                   std::numeric_limits<long double>::max(),
                                   std::numeric_limits<long double>::min(),
                                   std::numeric_limits<long double>::denorm_min(),
                                   123456789012345678.0L};
  for (long double v : extendeds) {
    TBin b;
    b.Obj("T", "X").Prop("F").Tag(vaExtended).Ext(v).End().End();
    ExpectRoundTrip(b.S);
  }
  TBin b;
  b.Obj("T", "X")
      .Prop("A")
      .Tag(vaExtended)
      .Ext(0.5L)
      .Prop("B")
      .Tag(vaExtended)
      .Ext(1e20L)
      .Prop("C")
      .Tag(vaExtended)
      .Ext(1.5e-5L)
      .Prop("D")
      .Tag(vaExtended)
      .Ext(0.0001L)
      .Prop("E")
      .Tag(vaExtended)
      .Ext(std::nextafter(1.0L, 2.0L))
      .Prop("F")
      .Tag(vaExtended)
      .Ext(100.0L)
      .Prop("G")
      .Tag(vaSingle)
      .Le(0.1f)
      .Prop("H")
      .Tag(vaCurrency)
      .Le<int64_t>(125000)
      .Prop("I")
      .Tag(vaDate)
      .Le(37117.9257672454)
      .Prop("J")
      .Tag(vaCurrency)
      .Le<int64_t>(INT64_MIN)
      .Prop("K")
      .Tag(vaSingle)
      .Le(std::numeric_limits<float>::denorm_min())
      .Prop("L")
      .Tag(vaDate)
      .Le(-std::numeric_limits<double>::denorm_min())
      .End()
      .End();
  const std::string text = ExpectRoundTrip(b.S);
  EXPECT_NE(text.find("A = 0.5\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("B = 1E20\r\n"), std::string::npos);
  EXPECT_NE(text.find("C = 1.5E-5\r\n"), std::string::npos);
  EXPECT_NE(text.find("D = 0.0001\r\n"), std::string::npos);
  EXPECT_NE(text.find("E = 1.0000000000000000001\r\n"), std::string::npos);  // needs 20 digits
  EXPECT_NE(text.find("F = 100.0\r\n"), std::string::npos);                  // stays a float, not an integer
  EXPECT_NE(text.find("G = 0.100000001490116s\r\n"), std::string::npos);
  EXPECT_NE(text.find("H = 125000c\r\n"), std::string::npos);
  EXPECT_NE(text.find("I = 37117.9257672454d\r\n"), std::string::npos);
}

TEST(TextConvert, StringsOfEveryTag) {
  std::string all8bit;
  for (int c = 1; c < 256; ++c) all8bit += static_cast<char>(c);
  const std::string longStr(300, 'q');
  const std::u16string wide = u"\u0416\u20AC\U0001F600";  // not in code page 1252
  const std::u16string loneSurrogate = u"a\xD800z";
  TBin b;
  b.Obj("T", "X")
      .Prop("Ansi")
      .Tag(vaString)
      .Short(all8bit.substr(0, 255))
      .Prop("Last")
      .Tag(vaString)
      .Short(all8bit.substr(254))
      .Prop("Long")
      .Counted(vaLString, longStr, 300)
      .Prop("Wide")
      .Counted(vaWString, std::string_view(reinterpret_cast<const char*>(wide.data()), 8), 4)
      .Prop("Lone")
      .Counted(vaWString, std::string_view(reinterpret_cast<const char*>(loneSurrogate.data()), 6), 3)
      .Prop("Nul")
      .Tag(vaString)
      .Short(std::string("a\0b", 3))
      .Prop("C1")
      .Tag(vaString)
      .Short("\x80\x81\x82")
      .End()
      .End();
  const std::string text = ExpectRoundTrip(b.S);
  EXPECT_NE(text.find("Wide = #1046#8364#128512\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Lone = 'a'#55296'z'\r\n"), std::string::npos);
  EXPECT_NE(text.find("Nul = 'a'#0'b'\r\n"), std::string::npos);
  EXPECT_NE(text.find("C1 = #8364#129#8218\r\n"), std::string::npos);  // as code page 1252 maps them
}

TEST(TextConvert, StringTagsTheTextCannotTellApartKeepTheirMeaning) {
  const std::string utf8 =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x82\xAC";  // "Grüße €", all in code page 1252
  const std::u16string ascii = u"plain";
  TBin b;
  b.Obj("T", "X")
      .Prop("U")
      .Counted(vaUTF8String, utf8, static_cast<uint32_t>(utf8.size()))
      .Prop("W")
      .Counted(vaWString, std::string_view(reinterpret_cast<const char*>(ascii.data()), 10), 5)
      .Prop("L")
      .Counted(vaLString, "short", 5)
      .End()
      .End();
  const std::string text = ToText(b.S);
  EXPECT_NE(text.find("U = 'Gr'#252#223'e '#8364"), std::string::npos) << text;
  TBin expected;
  expected.Obj("T", "X")
      .Prop("U")
      .Tag(vaString)
      .Short(
          "Gr\xFC\xDF"
          "e \x80")
      .Prop("W")
      .Tag(vaString)
      .Short("plain")
      .Prop("L")
      .Tag(vaString)
      .Short("short")
      .End()
      .End();
  EXPECT_EQ(ToBinary(text), expected.S);
}

TEST(TextConvert, IdentifiersAndSpecialValues) {
  TBin b;
  b.Obj("T", "X")
      .Prop("Color")
      .Tag(vaIdent)
      .Short("clBtnFace")
      .Prop("PopupMenu")
      .Tag(vaIdent)
      .Short("Form1.Popup")
      .Prop("Yes")
      .Tag(vaTrue)
      .Prop("No")
      .Tag(vaFalse)
      .Prop("Ref")
      .Tag(vaNil)
      .Prop("Value")
      .Tag(vaNull)
      .Prop("Nested")
      .Tag(vaList)
      .Tag(vaList)
      .Tag(vaList)
      .End()
      .End()
      .Tag(vaIdent)
      .Short("a")
      .End()
      .Prop("Empty")
      .Tag(vaCollection)
      .End()
      .Prop("NoBytes")
      .Counted(vaBinary, "", 0)
      .End()
      .End();
  const std::string text = ExpectRoundTrip(b.S);
  EXPECT_NE(text.find("PopupMenu = Form1.Popup\r\n  Yes = True\r\n  No = False\r\n  Ref = nil\r\n  Value = Null\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Empty = <>\r\n  NoBytes = {}\r\n"), std::string::npos);
}

// --- Generated forms --------------------------------------------------------------------------

// Random forms in canonical encodings (smallest integer tags, 8-bit strings where the code page
// holds them), which must survive the round trip byte for byte.
class TFormGen {
 public:
  explicit TFormGen(unsigned seed) : FRng(seed) {}
  std::string Form() {
    TBin b;
    Component(b, 0);
    return b.S;
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRng); }
  std::string Name() {
    std::string s(1, static_cast<char>('A' + Pick(26)));
    for (int n = Pick(12); n > 0; --n) s += "abcxyz_019"[Pick(10)];
    return s;
  }
  void String(TBin& b) {
    std::string s;
    for (int n = Pick(4) == 0 ? 200 + Pick(200) : Pick(80); n > 0; --n)
      s += static_cast<char>(Pick(3) == 0 ? Pick(256) : 'a' + Pick(26));
    if (s.size() <= 255) b.Tag(vaString).Short(s);
    else b.Counted(vaLString, s, static_cast<uint32_t>(s.size()));
  }
  void Value(TBin& b, int depth) {
    switch (Pick(depth > 3 ? 12 : 15)) {
      case 0: b.Int(static_cast<int64_t>(FRng()) >> Pick(64)); break;
      case 1: b.Tag(vaExtended).Ext(std::ldexp(static_cast<long double>(FRng()) * FRng(), Pick(200) - 100)); break;
      case 2: b.Tag(vaSingle).Le(static_cast<float>(FRng()) / (1 + Pick(1000))); break;
      case 3: b.Tag(vaCurrency).Le(static_cast<int64_t>(FRng()) - (1ll << 31)); break;
      case 4: b.Tag(vaDate).Le(static_cast<double>(FRng()) / 65536.0); break;
      case 5: String(b); break;
      case 6: b.Tag(vaIdent).Short(Name()); break;
      case 7: b.Tag(Pick(2) ? vaTrue : vaFalse); break;
      case 8: b.Tag(vaNil); break;
      case 9: {
        std::string data(Pick(3) == 0 ? 0 : Pick(100), '\0');
        for (char& c : data) c = static_cast<char>(Pick(256));
        b.Counted(vaBinary, data, static_cast<uint32_t>(data.size()));
        break;
      }
      case 10: {
        b.Tag(vaSet);
        for (int n = Pick(4); n > 0; --n) b.Short(Name());
        b.Short("");
        break;
      }
      case 11: {
        std::u16string w = u"\u0416";
        for (int n = Pick(70); n > 0; --n) w += static_cast<char16_t>(Pick(2) ? 0x400 + Pick(256) : 'a' + Pick(26));
        b.Counted(vaWString, std::string_view(reinterpret_cast<const char*>(w.data()), w.size() * 2),
                  static_cast<uint32_t>(w.size()));
        break;
      }
      case 12:
      case 13: {
        b.Tag(vaList);
        for (int n = Pick(5); n > 0; --n) Value(b, depth + 1);
        b.End();
        break;
      }
      case 14: {
        b.Tag(vaCollection);
        for (int n = Pick(4); n > 0; --n) {
          if (Pick(2)) b.Int(Pick(1000));
          b.Tag(vaList);
          for (int p = Pick(4); p > 0; --p) {
            b.Prop(Name());
            Value(b, depth + 1);
          }
          b.End();
        }
        b.End();
        break;
      }
    }
  }
  void Component(TBin& b, int depth) {
    const int kind = Pick(8);
    if (kind == 0) b.Byte(0xF1);
    if (kind == 1) b.Byte(0xF4);
    if (kind == 2) {
      b.Byte(0xF2);
      b.Int(Pick(2000) - 5);
    }
    b.Obj("T" + Name(), Pick(6) ? Name() : "");
    for (int n = Pick(8); n > 0; --n) {
      b.Prop(Pick(3) ? Name() : Name() + "." + Name());
      Value(b, 0);
    }
    b.End();
    for (int n = depth < 3 ? Pick(4) : 0; n > 0; --n) Component(b, depth + 1);
    b.End();
  }
  std::mt19937_64 FRng;
};

TEST(TextConvert, GeneratedFormsRoundTrip) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    const std::string binary = TFormGen(seed).Form();
    ASSERT_EQ(ToBinary(ToText(binary)), binary) << "seed " << seed << "\n" << ToText(binary);
  }
}

// --- Real files -------------------------------------------------------------------------------

std::filesystem::path CorpusDir() {
  if (const char* env = std::getenv("KV_CORPUS_DIR")) return env;
#ifdef KV_CORPUS_DIR
  return KV_CORPUS_DIR;
#else
  return {};
#endif
}

std::vector<std::filesystem::path> CorpusFiles(const char* sub) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(CorpusDir() / sub, ec))
    if (e.path().extension() == ".dfm") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string ResourceToText(std::string_view bytes) {
  TMemoryStream in, out;
  Load(in, bytes);
  EXPECT_TRUE(StreamHasResourceHeader(&in));
  ObjectResourceToText(&in, &out);
  return Str(out);
}

std::string TextToResource(std::string_view text) {
  TMemoryStream in, out;
  ObjectTextToResource(Load(in, text), &out);
  return Str(out);
}

// Every binary file comes back byte for byte, or (where it uses a string tag or integer width
// the text cannot express) with exactly the same text.
TEST(TextConvertCorpus, BinaryFilesRoundTrip) {
  const auto files = CorpusFiles("binary");
  if (files.empty()) GTEST_SKIP() << "no corpus";
  int identical = 0;
  for (const auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    const std::string original = ReadFileBytes(f.string());
    const std::string text = ResourceToText(original);
    const std::string rebuilt = TextToResource(text);
    if (rebuilt == original) ++identical;
    else EXPECT_EQ(ResourceToText(rebuilt), text);
  }
  EXPECT_GE(identical, static_cast<int>(files.size()) - 6);
}

std::string NormaliseLineEnds(std::string s) {
  if (s.compare(0, 3, "\xEF\xBB\xBF") == 0) s.erase(0, 3);
  std::erase(s, '\r');
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

// Text files reach a fixed point after one conversion; those in today's layout (plain ASCII,
// floats as Delphi writes them) come back unchanged but for line ends.
TEST(TextConvertCorpus, TextFilesRoundTrip) {
  const auto files = CorpusFiles("text");
  if (files.empty()) GTEST_SKIP() << "no corpus";
  int unchanged = 0;
  for (const auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    const std::string original = ReadFileBytes(f.string());
    const std::string binary = ToBinary(original);
    const std::string text = ToText(binary);
    EXPECT_EQ(ToBinary(text), binary);
    const bool canonical = std::all_of(original.begin(), original.end(), [](char c) { return c > 0; }) &&
                           original.find(".000000000000000000") == std::string::npos;
    if (canonical) {
      EXPECT_EQ(NormaliseLineEnds(text), NormaliseLineEnds(original));
      ++unchanged;
    }
  }
  EXPECT_GE(unchanged, 10);
}

// --- Malformed input --------------------------------------------------------------------------

std::string Sample() {
  TBin b;
  b.Byte(0xF2)
      .Tag(vaInt8)
      .Byte(1)
      .Obj("TForm1", "Form1")
      .Prop("Caption")
      .Tag(vaString)
      .Short("Hi")
      .Prop("L")
      .Counted(vaLString, "long", 4)
      .Prop("W")
      .Counted(vaWString, std::string("a\0", 2), 1)
      .Prop("U")
      .Counted(vaUTF8String, "u", 1)
      .Prop("B")
      .Counted(vaBinary, "\x01\x02", 2)
      .Prop("S")
      .Tag(vaSet)
      .Short("a")
      .Short("")
      .Prop("X")
      .Tag(vaExtended)
      .Ext(1.5L)
      .Prop("Y")
      .Tag(vaSingle)
      .Le(1.5f)
      .Prop("C")
      .Tag(vaCurrency)
      .Le<int64_t>(1)
      .Prop("D")
      .Tag(vaDate)
      .Le(1.0)
      .Prop("I")
      .Tag(vaInt64)
      .Le<int64_t>(1ll << 40)
      .Prop("J")
      .Tag(vaInt16)
      .Le<int16_t>(1000)
      .Prop("K")
      .Tag(vaInt32)
      .Le<int32_t>(100000)
      .Prop("Z")
      .Tag(vaCollection)
      .Tag(vaInt8)
      .Byte(0)
      .Tag(vaList)
      .Prop("A")
      .Tag(vaNil)
      .End()
      .End()
      .Prop("M")
      .Tag(vaList)
      .Tag(vaTrue)
      .Tag(vaFalse)
      .Tag(vaIdent)
      .Short("x")
      .End()
      .End()
      .Obj("TButton", "B1")
      .End()
      .End()
      .End();
  return b.S;
}

TEST(TextConvertMalformed, EveryTruncationRaisesReadErrorWithOffset) {
  const std::string sample = Sample();
  ASSERT_NO_THROW(ToText(sample));
  for (size_t n = 0; n < sample.size(); ++n) {
    const std::string msg = MessageOf<EReadError>([&] { ToText(sample.substr(0, n)); });
    EXPECT_NE(msg.find("offset"), std::string::npos) << n << ": " << msg;
  }
}

TEST(TextConvertMalformed, UnknownTagNamesItsOffset) {
  TBin b;
  b.Obj("T", "X").Prop("P").Byte(99).End().End();
  const size_t at = b.S.size() - 3;
  EXPECT_EQ(MessageOf<EReadError>([&] { ToText(b.S); }), "Invalid value tag 99 at offset " + std::to_string(at));
}

TEST(TextConvertMalformed, LyingLengthsFailBeforeAllocating) {
  for (TValueType tag : {vaLString, vaWString, vaUTF8String, vaBinary}) {
    for (uint32_t len : {0xFFFFFFFFu, 0x80000000u, 5u}) {
      TBin b;
      b.Obj("T", "X").Prop("P").Tag(tag).Le(len).Bytes("abcd").End().End();
      SCOPED_TRACE(testing::Message() << int(tag) << " " << len);
      EXPECT_NE(MessageOf<EReadError>([&] { ToText(b.S); }).find("offset"), std::string::npos);
    }
  }
}

// Names the text form could not carry are refused rather than written unreadably.
TEST(TextConvertMalformed, NamesTheTextCannotHold) {
  auto form = [](std::string_view cls, std::string_view prop, TValueType tag, std::string_view value) {
    TBin b;
    b.Obj(cls, "X").Prop(prop).Tag(tag).Short(value);
    if (tag == vaSet) b.Short("");
    return b.End().End().S;
  };
  EXPECT_EQ(MessageOf<EReadError>([&] { ToText(form("T\x04", "P", vaIdent, "a")); }), "Invalid name at offset 4");
  EXPECT_EQ(MessageOf<EReadError>([&] { ToText(form("T", "Icon Data", vaIdent, "a")); }), "Invalid name at offset 8");
  EXPECT_EQ(MessageOf<EReadError>([&] { ToText(form("T", "end", vaIdent, "a")); }), "Invalid name at offset 8");
  EXPECT_EQ(MessageOf<EReadError>([&] { ToText(form("T", "P", vaIdent, "a.")); }), "Invalid name at offset 11");
  EXPECT_EQ(MessageOf<EReadError>([&] { ToText(form("T", "P", vaSet, "1a")); }), "Invalid name at offset 11");
  ExpectRoundTrip(form("T", "Font.Style", vaSet, "12"));
  ExpectRoundTrip(form("T", "P", vaIdent, "Form1.Button_2"));
}

TEST(TextConvertMalformed, DeepNestingIsRefused) {
  TBin lists;
  lists.Obj("T", "X").Prop("P");
  for (int i = 0; i < 100000; ++i) lists.Tag(vaList);
  EXPECT_NE(MessageOf<EReadError>([&] { ToText(lists.S); }).find("offset"), std::string::npos);

  TBin objects;
  for (int i = 0; i < 100000; ++i) objects.Obj("T", "X").End();
  EXPECT_NE(MessageOf<EReadError>([&] { ToText(objects.S); }).find("offset"), std::string::npos);

  EXPECT_NE(
      MessageOf<EParserError>([&] { ToBinary("object X: T\n  P = " + std::string(100000, '(')); }).find("on line 2"),
      std::string::npos);
}

TEST(TextConvertMalformed, BadSignatureAndResourceHeader) {
  EXPECT_NE(MessageOf<EReadError>([&] { ToText(std::string("TPF1\x01T\x01X\0\0", 10)); }).find("offset"),
            std::string::npos);
  TMemoryStream in, out;
  Load(in, std::string("\xFF\x0A\x00NAME", 7));
  EXPECT_TRUE(StreamHasResourceHeader(&in));
  EXPECT_EQ(in.GetPosition(), 0);
  EXPECT_NE(MessageOf<EReadError>([&] { ObjectResourceToText(&in, &out); }).find("offset"), std::string::npos);
  TMemoryStream bare;
  Load(bare, Sample());
  EXPECT_FALSE(StreamHasResourceHeader(&bare));
}

// --- Text input -------------------------------------------------------------------------------

TEST(TextParse, AcceptsWhatDelphiAccepts) {
  const std::string text =
      "\xEF\xBB\xBF"
      "inherited Form1: TForm1 [2]\n"
      "        Color = $FF\n"
      "Neg = -5\n"
      "\tExp = 1.5e3\r\n"
      "  S = 'a' + #$41#66\n"
      "  +   'It''s'\n"
      "  Sgl = 2s\n"
      "  Cur = 1.5C\n"
      "  Font.Style = [fsBold,fsItalic]\n"
      "  Ref = Form2.Button1\n"
      "  Items = <\n"
      "    item [7] Width = 3 end>\n"
      "  inline F: TFrame\n"
      "  end\n"
      "end\n"
      "\x1A";
  TBin b;
  b.Byte(0xF3)
      .Tag(vaInt8)
      .Byte(2)
      .Obj("TForm1", "Form1")
      .Prop("Color")
      .Tag(vaInt16)
      .Le<int16_t>(255)
      .Prop("Neg")
      .Tag(vaInt8)
      .Byte(0xFB)
      .Prop("Exp")
      .Tag(vaExtended)
      .Ext(1500.0L)
      .Prop("S")
      .Tag(vaString)
      .Short("aABIt's")
      .Prop("Sgl")
      .Tag(vaSingle)
      .Le(2.0f)
      .Prop("Cur")
      .Tag(vaCurrency)
      .Le<int64_t>(2)
      .Prop("Font.Style")
      .Tag(vaSet)
      .Short("fsBold")
      .Short("fsItalic")
      .Short("")
      .Prop("Ref")
      .Tag(vaIdent)
      .Short("Form2.Button1")
      .Prop("Items")
      .Tag(vaCollection)
      .Tag(vaInt8)
      .Byte(7)
      .Tag(vaList)
      .Prop("Width")
      .Tag(vaInt8)
      .Byte(3)
      .End()
      .End()
      .End()
      .Byte(0xF4)
      .Obj("TFrame", "F")
      .End()
      .End()
      .End();
  EXPECT_EQ(ToBinary(text), b.S);
}

TEST(TextParse, NonUtf8TextIsReadInTheAnsiCodePage) {
  TBin b;
  b.Obj("T", "X").Prop("Caption").Tag(vaString).Short("K\xE9s\x80").End().End();
  EXPECT_EQ(ToBinary("object X: T\r\n  Caption = 'K\xE9s\x80'\r\nend\r\n"), b.S);
  EXPECT_EQ(ToBinary("object X: T\r\n  Caption = 'K\xC3\xA9s\xE2\x82\xAC'\r\nend\r\n"), b.S);
  // Characters outside the code page become a wide string.
  TBin w;
  const std::u16string zh = u"\u6C49";
  w.Obj("T", "X")
      .Prop("Caption")
      .Counted(vaWString, std::string_view(reinterpret_cast<const char*>(zh.data()), 2), 1)
      .End()
      .End();
  EXPECT_EQ(ToBinary("object X: T\n  Caption = #27721\nend\n"), w.S);
}

TEST(TextParse, ErrorsNameTheirLine) {
  const std::pair<const char*, int> cases[] = {
      {"", 1},
      {"thing X: T\nend\n", 1},
      {"object X: T\n  Left 5\nend\n", 2},
      {"object X: T\n  Caption = 'open\nend\n", 2},
      {"object X: T\n\n  Data = {0A0\n  }\nend\n", 4},
      {"object X: T\n  Data = {0AZZ}\nend\n", 2},
      {"object X: T\n  Big = 99999999999999999999\nend\n", 2},
      {"object X: T\n  Char = #1114112\nend\n", 2},
      {"object X: T\n  S = 'a' +\n  5\nend\n", 3},
      {"object X: T\n  Items = <\n    thing\n  >\nend\n", 3},
      {"object X: T\n  Set = [a b]\nend\n", 2},
      {"object X: T\n  List = (1\n  2\n", 4},
      {"object X: T\n  P = 1\n", 3},
      {"object X: T [x]\nend\n", 1},
      {"object X: T\n  object A.B\n  end\nend\n", 2},
      {"object X: T\n  P = @\nend\n", 2},
      {"object X: T\n  P = -\nend\n", 2},
      {"object X: T\n  P = 1\n  42\nend\n", 3},
      {"object X: T\n  object 5\nend\n", 2},
      {"object X: T\n  P = 1e5000\nend\n", 2},
      {"object X: T\n  P = 1e99s\nend\n", 2},
      {"object X: T\n  L = (\n    1\n    Null)\nend\n", 4},
  };
  for (const auto& c : cases) {
    const char* text = c.first;
    const int line = c.second;
    const std::string msg = MessageOf<EParserError>([&] { ToBinary(text); });
    EXPECT_TRUE(msg.ends_with(" on line " + std::to_string(line))) << text << "\n -> " << msg;
  }
}

TEST(TextParse, ResourceFramingUsesTheRootClassName) {
  const std::string res = TextToResource("object Form1: TMainForm\n  Tag = 1\nend\n");
  const std::string head("\xFF\x0A\x00TMAINFORM\x00\x30\x10", 15);
  ASSERT_EQ(res.substr(0, head.size()), head);
  uint32_t size;
  std::memcpy(&size, res.data() + head.size(), 4);
  EXPECT_EQ(size, res.size() - head.size() - 4);
  EXPECT_EQ(res.substr(head.size() + 4, 4), "TPF0");
  EXPECT_EQ(ResourceToText(res), Crlf("object Form1: TMainForm\n  Tag = 1\nend\n"));
}

}  // namespace
