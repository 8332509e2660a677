// ANSI code pages and the UTF conversions.
#include <gtest/gtest.h>

#include <set>

#include "SysUtils.h"

namespace {

constexpr int kPages[] = {1250, 1251, 1252, 1253, 1254, 1257, 28591};

// Selects a page for one test and restores the default afterwards.
class CodePage : public testing::Test {
 protected:
  void TearDown() override { SetAnsiCodePage(1252); }
};

std::string U8(char32_t c) {
  std::string s;
  AppendUtf8(s, c);
  return s;
}

TEST_F(CodePage, DefaultIs1252AndUnsupportedPagesAreRefused) {
  EXPECT_EQ(GetAnsiCodePage(), 1252);
  for (int bad : {0, 437, 1255, 65001}) {
    try {
      SetAnsiCodePage(bad);
      ADD_FAILURE() << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Code page " + std::to_string(bad) + " is not supported");
    }
    EXPECT_EQ(GetAnsiCodePage(), 1252);
  }
}

TEST_F(CodePage, EveryPageMapsAll256BytesOneToOne) {
  for (int page : kPages) {
    SCOPED_TRACE(page);
    SetAnsiCodePage(page);
    EXPECT_EQ(GetAnsiCodePage(), page);
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = AnsiToUtf8(all);
    const std::u32string cps = Utf8ToUtf32(utf8);
    ASSERT_EQ(cps.size(), 256u);
    EXPECT_EQ(std::set<char32_t>(cps.begin(), cps.end()).size(), 256u);
    for (int b = 0; b < 128; ++b) EXPECT_EQ(cps[b], static_cast<char32_t>(b));
    std::string back;
    ASSERT_TRUE(TryUtf8ToAnsi(utf8, back));
    EXPECT_EQ(back, all);
  }
}

TEST_F(CodePage, KnownCharacters) {
  struct Case {
    int Page;
    uint8_t Byte;
    char32_t Cp;
  };
  const Case cases[] = {
      {1252, 0x80, 0x20AC},  {1252, 0x81, 0x0081},  {1252, 0x8D, 0x008D}, {1252, 0x9F, 0x0178}, {1252, 0xE9, 0x00E9},
      {1250, 0x8A, 0x0160},  {1250, 0xF5, 0x0151},  {1250, 0xFF, 0x02D9}, {1250, 0x83, 0x0083}, {1251, 0xC0, 0x0410},
      {1251, 0xFF, 0x044F},  {1251, 0x88, 0x20AC},  {1251, 0xB9, 0x2116}, {1251, 0x98, 0x0098}, {1253, 0xC1, 0x0391},
      {1253, 0xA2, 0x0386},  {1253, 0xD2, 0x00D2},  {1253, 0xFF, 0x00FF}, {1254, 0xD0, 0x011E}, {1254, 0xFD, 0x0131},
      {1254, 0x8E, 0x008E},  {1257, 0xC0, 0x0104},  {1257, 0xA8, 0x00D8}, {1257, 0xFF, 0x02D9}, {1257, 0xA1, 0x00A1},
      {28591, 0x80, 0x0080}, {28591, 0xFF, 0x00FF},
  };
  for (const Case& c : cases) {
    SetAnsiCodePage(c.Page);
    EXPECT_EQ(AnsiToUtf8(std::string(1, static_cast<char>(c.Byte))), U8(c.Cp)) << c.Page << " " << int(c.Byte);
  }
}

TEST_F(CodePage, UnrepresentableCharactersAreDetected) {
  std::string out;
  EXPECT_FALSE(TryUtf8ToAnsi(U8(0x0416), out));  // Cyrillic in 1252
  EXPECT_FALSE(TryUtf8ToAnsi(U8(0x0096), out));  // 0x96 is an en dash in 1252, not U+0096
  EXPECT_FALSE(TryUtf8ToAnsi("ok" + U8(0x1F600), out));
  EXPECT_FALSE(TryUtf8ToAnsi("\xC3", out));  // malformed UTF-8
  EXPECT_TRUE(TryUtf8ToAnsi("caf" + U8(0xE9), out));
  EXPECT_EQ(out, "caf\xE9");
  SetAnsiCodePage(1251);
  EXPECT_TRUE(TryUtf8ToAnsi(U8(0x0416), out));
  EXPECT_EQ(out, "\xC6");
  EXPECT_FALSE(TryUtf8ToAnsi(U8(0x00E9), out));
  SetAnsiCodePage(28591);
  EXPECT_FALSE(TryUtf8ToAnsi(U8(0x20AC), out));
}

TEST(Utf, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("abc" + U8(0x7FF) + U8(0xFFFF) + U8(0x10FFFF)));
  const char* bad[] = {
      "\x80",              // lone continuation
      "\xC0\xAF",          // overlong '/'
      "\xE0\x80\xAF",      // overlong
      "\xED\xA0\x80",      // encoded surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xF5\x80\x80\x80",  // invalid lead
      "\xE2\x82",          // truncated
      "\xFF",
  };
  for (const char* s : bad) EXPECT_FALSE(IsValidUtf8(s)) << testing::PrintToString(s);
}

TEST(Utf, MalformedSequencesDecodeAsReplacement) {
  EXPECT_EQ(Utf8ToUtf32("a\x80"
                        "b"),
            U"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf32("\xE2\x82"
                        "x"),
            U"\uFFFDx");  // a truncated sequence costs one U+FFFD
  EXPECT_EQ(Utf8ToUtf32("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98"), u"\uFFFD");
}

TEST(Utf, Utf16SurrogatePairs) {
  const std::string smile = U8(0x1F600);
  EXPECT_EQ(Utf8ToUtf16("a" + smile), u"a\xD83D\xDE00");
  EXPECT_EQ(Utf16ToUtf8(u"a\xD83D\xDE00"), "a" + smile);
  EXPECT_EQ(Utf16ToUtf8(u"\xD83D"
                        "x"),
            U8(0xFFFD) + "x");                                       // high without low
  EXPECT_EQ(Utf16ToUtf8(u"\xDE00\xD83D"), U8(0xFFFD) + U8(0xFFFD));  // reversed pair
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\0')), std::string(1, '\0'));
}

TEST(Utf, AppendUtf8AtEncodingBoundaries) {
  EXPECT_EQ(U8(0x7F), "\x7F");
  EXPECT_EQ(U8(0x80), "\xC2\x80");
  EXPECT_EQ(U8(0x7FF), "\xDF\xBF");
  EXPECT_EQ(U8(0x800), "\xE0\xA0\x80");
  EXPECT_EQ(U8(0xFFFF), "\xEF\xBF\xBF");
  EXPECT_EQ(U8(0x10000), "\xF0\x90\x80\x80");
  EXPECT_EQ(U8(0x10FFFF), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(U8(0x110000), "\xEF\xBF\xBD");
  EXPECT_EQ(U8(0xD800), "\xEF\xBF\xBD");
  for (char32_t c : {0x41u, 0x7FFu, 0x800u, 0xFFFDu, 0x10000u, 0x10FFFFu})
    EXPECT_EQ(Utf8ToUtf32(U8(c)), std::u32string(1, c));
}

}  // namespace
