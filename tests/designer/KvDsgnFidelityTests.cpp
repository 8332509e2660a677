// How far a form file survives being opened in a design and saved untouched, measured on the
// corpus of real form files: whether each opens (binary and text), the share of lines of its
// text form that the save changes, and the property values it loses. Prints the figures and
// fails below the targets.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>

#include "ComCtrls.h"
#include "KvDsgn.h"
#include "KvStub.h"
#include "StdReg.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string line = text.substr(pos, eol - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = eol + 1;
  }
  return lines;
}

// The text form of a form file: a binary one converted, a text one as it stands.
std::string TextForm(const fs::path& file) {
  TMemoryStream in, out;
  in.LoadFromFile(file.string());
  if (!StreamHasResourceHeader(&in)) return std::string(reinterpret_cast<const char*>(in.Memory()), in.GetSize());
  ObjectResourceToText(&in, &out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize()));
}

// Lines removed plus lines added by the shortest edit script from a to b (Myers).
size_t EditDistance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  const long n = static_cast<long>(a.size()), m = static_cast<long>(b.size()), max = n + m;
  std::vector<long> v(2 * max + 2, 0);
  for (long d = 0; d <= max; ++d) {
    for (long k = -d; k <= d; k += 2) {
      long x = (k == -d || (k != d && v[max + k - 1] < v[max + k + 1])) ? v[max + k + 1] : v[max + k - 1] + 1;
      long y = x - k;
      while (x < n && y < m && a[x] == b[y]) ++x, ++y;
      v[max + k] = x;
      if (x >= n && y >= m) return static_cast<size_t>(d);
    }
  }
  return static_cast<size_t>(max);
}

// Each property of a text form by object path and name, with its whole value (continuation
// lines included); and the class of each object.
struct TValues {
  std::map<std::string, std::string> Classes;
  std::map<std::string, std::string> Props;  // "Form1.Button1|Caption" -> value text
};

TValues Values(const std::vector<std::string>& lines) {
  static const std::regex header(R"(( *)(?:object|inherited|inline) (?:(\w*): )?(\w+).*)");
  static const std::regex property(R"(( *)([\w.]+) = (.*))");
  TValues r;
  std::vector<std::string> path;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    if (std::regex_match(lines[i], m, header)) {
      path.resize(m[1].length() / 2);
      path.push_back(m[2].length() ? m[2].str() : m[3].str());
      std::string key;
      for (const auto& p : path) key += (key.empty() ? "" : ".") + p;
      r.Classes[key] = m[3].str();
    } else if (std::regex_match(lines[i], m, property) && m[1].length() / 2 == static_cast<long>(path.size())) {
      std::string key, value = m[3].str();
      for (const auto& p : path) key += (key.empty() ? "" : ".") + p;
      const size_t indent = m[1].length();
      while (i + 1 < lines.size() && lines[i + 1].find_first_not_of(' ') > indent) value += "\n" + lines[++i];
      r.Props[key + "|" + m[2].str()] = value;
    }
  }
  return r;
}

bool AllRegistered(const TValues& v) {
  for (const auto& [path, cls] : v.Classes)
    if (path.find('.') != std::string::npos && !GetClass(cls)) return false;
  return true;
}

// The first control of the form that is placed by its Left alone (neither aligned nor a stub),
// on a form that does not size itself to its controls.
TControl* FreeControl(TCustomForm* form) {
  if (form->GetAutoSize()) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TControl*>(form->Components(i));
    if (c && c->GetAlign() == alNone && !KvIsStub(c) && c->GetParent() == form && !c->GetName().empty()) return c;
  }
  return nullptr;
}

struct TTally {
  int Forms = 0, Opened = 0;
  size_t Lines = 0, Changed = 0, Values = 0, Lost = 0;
  int ChangedForms = 0;
};

TEST(KvDsgnFidelity, CorpusFormsOpenAndSaveUnchanged) {
  const fs::path corpus(KV_CORPUS_DIR);
  if (!fs::is_directory(corpus / "binary")) GTEST_SKIP() << "corpus not found";
  RegisterStandardClasses();
  const fs::path dir = fs::temp_directory_path() / ("kvdsgn-fidelity-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::map<std::string, TTally> tally;  // by format, and whether every class is registered
  for (const char* format : {"binary", "text"}) {
    for (const auto& e : fs::directory_iterator(corpus / format)) {
      const std::vector<std::string> before = Lines(TextForm(e.path()));
      const TValues old = Values(before);
      const bool registered = AllRegistered(old);
      TTally& t = tally[std::string(format) + (registered ? "" : ", unregistered classes")];
      SCOPED_TRACE(e.path().filename().string());
      ++t.Forms;
      const fs::path saved = dir / "Saved.dfm", moved = dir / "Moved.dfm";
      try {
        TKFormDesigner design(nullptr, nullptr, e.path().string(), nullptr);
        design.WriteUnits(saved.string(), false);
        ++t.Opened;
        // A control moved by the user is one line out and one in.
        if (TControl* c = FreeControl(design.GetForm())) {
          c->SetLeft(c->GetLeft() + 8);
          design.WriteUnits(moved.string(), false);
          EXPECT_EQ(EditDistance(before, Lines(TextForm(moved))), 2u) << c->GetName();
        }
      } catch (const Exception& x) {
        ADD_FAILURE() << "does not open and save: " << x.Message();
        continue;
      }
      EXPECT_TRUE(ReadFileBytes(saved.string()) == ReadFileBytes(e.path().string())) << "not the file's own bytes";
      const std::vector<std::string> after = Lines(TextForm(saved));
      const size_t changed = EditDistance(before, after);
      t.Lines += before.size() + after.size();
      t.Changed += changed;
      t.ChangedForms += changed > 0;
      const TValues now = Values(after);
      for (const auto& [key, value] : old.Props) {
        ++t.Values;
        const auto kept = now.Props.find(key);
        if (kept == now.Props.end() || kept->second != value) {
          ++t.Lost;
          ADD_FAILURE() << "value not written back: " << key << " = " << value.substr(0, 60);
        }
      }
    }
  }
  size_t lines = 0, changed = 0;
  for (const auto& [kind, t] : tally) {
    std::printf("[ fidelity ] %s: %d of %d forms open and save; %zu of %zu lines changed (%.2f%%) in %d forms; "
                "%zu of %zu property values lost (%.2f%%)\n",
                kind.c_str(), t.Opened, t.Forms, t.Changed, t.Lines, t.Lines ? 100.0 * t.Changed / t.Lines : 0.0,
                t.ChangedForms, t.Lost, t.Values, t.Values ? 100.0 * t.Lost / t.Values : 0.0);
    if (kind.find(',') != std::string::npos) continue;
    lines += t.Lines;
    changed += t.Changed;
  }
  // Changed lines of the forms whose classes are all registered: removed plus added, over the
  // lines of both texts.
  EXPECT_LE(100.0 * changed / std::max<size_t>(lines, 1), 1.0);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

// A form file of the text format in a folder of its own, opened in a design.
class FidelityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStandardClasses();
    Dir = fs::temp_directory_path() / ("kvdsgn-fidelity-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
  }
  void TearDown() override {
    Design.reset();
    std::error_code ec;
    fs::remove_all(Dir, ec);
  }
  void Open(const std::string& text) {
    File = Dir / "Unit1.dfm";
    WriteFileAtomic(File.string(), text);
    Design = std::make_unique<TKFormDesigner>(nullptr, nullptr, File.string(), nullptr);
  }
  std::string Save() {
    const fs::path saved = Dir / "Saved.dfm";
    Design->WriteUnits(saved.string(), false);
    return ReadFileBytes(saved.string());
  }
  TComponent* Find(const std::string& name) { return Design->GetForm()->FindComponent(name); }

  fs::path Dir, File;
  std::unique_ptr<TKFormDesigner> Design;
};

// Lines the way an old editor left them (LF only), properties in the original library's order,
// a reference into a data module that is not loaded, and a client size.
const char* const kTextForm =
    "object Form1: TForm1\n"
    "  Left = 200\n"
    "  Top = 100\n"
    "  Caption = 'Students'\n"
    "  ClientHeight = 180\n"
    "  ClientWidth = 320\n"
    "  Color = clWindow\n"
    "  Position = poScreenCenter\n"
    "  object DBEdit1: TDBEdit\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    Width = 121\n"
    "    Height = 21\n"
    "    DataField = 'NOM'\n"
    "    DataSource = Data.DEtudiants\n"
    "    TabOrder = 0\n"
    "  end\n"
    "  object Button1: TButton\n"
    "    Left = 8\n"
    "    Top = 40\n"
    "    Width = 75\n"
    "    Height = 25\n"
    "    Caption = 'OK'\n"
    "    TabOrder = 1\n"
    "  end\n"
    "end\n";

TEST_F(FidelityTest, TextFormSavesBackAsReadAndAChangeIsOneLine) {
  Open(kTextForm);
  EXPECT_TRUE(Design->FTextForm);
  EXPECT_TRUE(Design->FLoadProblems.Count() == 0) << Design->FLoadProblems.GetText();
  EXPECT_EQ(Save(), kTextForm);
  // Where the window system puts the form is not stored; where the user puts it is.
  TCustomForm* form = Design->GetForm();
  form->UpdateBoundsFromWindow(Rect(300, 20, 300 + form->GetWidth(), 20 + form->GetHeight()));
  EXPECT_EQ(Save(), kTextForm);
  form->SetLeft(250);
  EXPECT_NE(Save().find("  Left = 250\n  Top = 100\n"), std::string::npos);
  form->SetLeft(200);

  static_cast<TControl*>(Find("Button1"))->SetLeft(16);
  const std::vector<std::string> before = Lines(kTextForm), after = Lines(Save());
  EXPECT_EQ(EditDistance(before, after), 2u);  // one line out, one in
  EXPECT_EQ(Save().find('\r'), std::string::npos);
  EXPECT_NE(Save().find("    Left = 16\n    Top = 40\n"), std::string::npos);

  Design->FTextForm = false;  // saved as binary on request
  EXPECT_EQ(static_cast<uint8_t>(Save()[0]), 0xFF);
}

TEST_F(FidelityTest, ProblemsAreListedOnceAndWhatWasNotReadIsWrittenBack) {
  Open("object Form1: TForm1\n"
       "  object Fancy1: TEnhancedEdit\n"
       "    Left = 8\n"
       "    Top = 8\n"
       "    Width = 120\n"
       "    Height = 24\n"
       "    Flat = True\n"
       "    object Label9: TLabel\n"
       "      Caption = 'inside'\n"
       "    end\n"
       "  end\n"
       "  object StatusBar1: TStatusBar\n"
       "    UseSystemFont = False\n"
       "  end\n"
       "  object Timer9: TFancyTimer\n"
       "    Interval = 5\n"
       "    Left = 40\n"
       "    Top = 48\n"
       "  end\n"
       "end\n");
  ASSERT_EQ(Design->FLoadProblems.Count(), 3) << Design->FLoadProblems.GetText();
  EXPECT_EQ(Design->FLoadProblems[0], "Form1: Class TEnhancedEdit not found");
  EXPECT_NE(Design->FLoadProblems[1].find("UseSystemFont"), std::string::npos);
  EXPECT_EQ(Design->FLoadProblems[2], "Form1: Class TFancyTimer not found");

  auto* fancy = dynamic_cast<TKvControlStub*>(Find("Fancy1"));
  ASSERT_NE(fancy, nullptr);
  EXPECT_EQ(fancy->BoundsRect(), Rect(8, 8, 128, 32));
  EXPECT_EQ(KvStreamedClassName(fancy), "TEnhancedEdit");
  auto* timer = dynamic_cast<TKvComponentStub*>(Find("Timer9"));
  ASSERT_NE(timer, nullptr);
  EXPECT_NE(Design->IconOf(timer), nullptr);

  fancy->SetLeft(24);  // moved
  delete timer;        // deleted
  EXPECT_EQ(Save(),
            "object Form1: TForm1\n"
            "  object Fancy1: TEnhancedEdit\n"
            "    Left = 24\n"
            "    Top = 8\n"
            "    Width = 120\n"
            "    Height = 24\n"
            "    Flat = True\n"
            "    object Label9: TLabel\n"
            "      Caption = 'inside'\n"
            "    end\n"
            "  end\n"
            "  object StatusBar1: TStatusBar\n"
            "    UseSystemFont = False\n"
            "  end\n"
            "end\n");
}

}  // namespace
