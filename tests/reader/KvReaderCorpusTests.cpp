// The reader over the corpus of real form files: whatever the live form does not know comes out
// exactly as it went in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "ReaderTestUtil.h"
#include "TypInfo.h"

namespace fs = std::filesystem;

namespace {

struct TCorpusForm {
  std::string Name;
  std::string ResName;
  std::string Stream;  // after the resource header
};

std::vector<TCorpusForm> BinaryCorpus() {
  std::vector<TCorpusForm> forms;
  const fs::path dir = fs::path(KV_CORPUS_DIR) / "binary";
  if (!fs::is_directory(dir)) return forms;
  for (const auto& e : fs::directory_iterator(dir)) {
    TMemoryStream s;
    s.LoadFromFile(e.path().string());
    s.ReadResHeader();
    const std::string bytes = StreamBytes(s);
    const int64_t start = s.GetPosition();
    forms.push_back({e.path().filename().string(), bytes.substr(3, bytes.find('\0', 3) - 3), bytes.substr(start)});
  }
  std::sort(forms.begin(), forms.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  return forms;
}

bool HasPrefix(const std::string& stream) {
  return stream.size() > 4 && (static_cast<uint8_t>(stream[4]) & 0xF0) == 0xF0;
}

// The reader writes no prefix for a record it reads itself, only for those it copies whole:
// object headers indented by at most `indent` lose "inherited", "inline" and a child position.
std::string WithoutPrefixes(const std::string& text, size_t indent) {
  static const std::regex header("( *)(?:object|inherited|inline) (\\w*: \\w+)(?: \\[\\d+\\])?\r\n");
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    const size_t eol = std::min(text.find("\r\n", pos), text.size() - 2) + 2;
    const std::string line = text.substr(pos, eol - pos);
    pos = eol;
    std::smatch m;
    if (std::regex_match(line, m, header) && m[1].length() <= static_cast<long>(indent))
      out += m[1].str() + "object " + m[2].str() + "\r\n";
    else out += line;
  }
  return out;
}

// Takes the root's handler assignments ("  OnCreate = FormCreate", events of `rootClass`) out
// of a text form, into `taken` ("OnCreate = FormCreate").
std::string WithoutRootHandlers(const std::string& text, TClass rootClass, std::vector<std::string>& taken) {
  static const std::regex assignment("  (\\w+) = (\\w+)\r\n");
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    const size_t eol = std::min(text.find("\r\n", pos), text.size() - 2) + 2;
    const std::string line = text.substr(pos, eol - pos);
    pos = eol;
    std::smatch m;
    if (std::regex_match(line, m, assignment) && m[2] != "nil") {
      PPropInfo p = GetPropInfo(rootClass, m[1].str());
      if (p && p->PropType->Kind == tkMethod) {
        taken.push_back(m[1].str() + " = " + m[2].str());
        continue;
      }
    }
    out += line;
  }
  return out;
}

TEST(KvReaderCorpus, CopyingEverythingReproducesEveryBinaryForm) {
  const auto forms = BinaryCorpus();
  if (forms.empty()) GTEST_SKIP() << "corpus not found";
  for (const TCorpusForm& form : forms) {
    SCOPED_TRACE(form.Name);
    // Without a live form, the root record itself is unknown and copied whole.
    TFilterOptions options;
    options.ResName = form.ResName;
    TFiltered f;
    ASSERT_NO_THROW(f = Filter(nullptr, form.Stream, options));
    EXPECT_EQ(f.OutText(), WithoutPrefixes(BinaryToText(form.Stream), 0));
    const std::string out = StreamBytes(f.Reader->OutStream);
    // Byte for byte, but for the root's prefix, which the output never carries.
    if (!HasPrefix(form.Stream)) {
      EXPECT_TRUE(out.ends_with(form.Stream));
    }
    EXPECT_EQ(out.substr(3, form.ResName.size() + 1), UpperCase(form.ResName) + '\0');
  }
}

TEST(KvReaderCorpus, AFormRootKeepsItsPropertiesAndGivesUpItsHandlers) {
  const auto forms = BinaryCorpus();
  if (forms.empty()) GTEST_SKIP() << "corpus not found";
  int unknownToForms = 0;
  for (const TCorpusForm& form : forms) {
    SCOPED_TRACE(form.Name);
    // The root's properties are read through the form class's run-time type information; the
    // components, all unknown to a fresh form, are copied.
    TForm root(nullptr);
    TFiltered f;
    try {
      f = Filter(&root, form.Stream);
    } catch (const EReadError& e) {
      // A root of a form class with properties of its own (a third-party form's Frame.Color)
      // cannot be designed as a form either.
      EXPECT_NE(e.Message().find("does not exist"), std::string::npos) << e.Message();
      ++unknownToForms;
      continue;
    }
    std::vector<std::string> handlers;
    EXPECT_EQ(f.OutText(),
              WithoutPrefixes(WithoutRootHandlers(BinaryToText(form.Stream), TForm::StaticClass(), handlers), 2));
    std::vector<std::string> events;  // without their parameter lists
    for (int i = 0; i < f.Reader->Events.Count(); ++i)
      events.push_back(f.Reader->Events[i].substr(0, f.Reader->Events[i].find('(')));
    handlers.insert(handlers.begin(), "[" + f.ClassName + "]");
    EXPECT_EQ(events, handlers);
    EXPECT_EQ(f.Reader->Fields.Count(), 0);
  }
  EXPECT_LE(unknownToForms, static_cast<int>(forms.size()) / 10);
}

}  // namespace
