// The kvform command-line tool, run as a separate process.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "Classes.h"
#include "DbTables.h"

namespace fs = std::filesystem;

namespace {

std::string EnvOr(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v ? v : fallback;
}

#ifndef KV_BIN_DIR
#define KV_BIN_DIR ""
#endif
#ifndef KV_CORPUS_DIR
#define KV_CORPUS_DIR ""
#endif

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

class Kvform : public testing::Test {
 protected:
  void SetUp() override {
    FExe = fs::path(EnvOr("KV_BIN_DIR", KV_BIN_DIR)) / "kvform";
    if (!fs::exists(FExe)) GTEST_SKIP() << "kvform not built at " << FExe;
    FDir = fs::temp_directory_path() / ("kvform-test-" + std::to_string(::getpid()) + "-" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(FDir);
  }
  void TearDown() override {
    std::error_code ec;
    if (!FDir.empty()) fs::remove_all(FDir, ec);
  }

  static std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  }

  TRun Run(const std::vector<std::string>& args) {
    std::string cmd = Quote(FExe.string());
    for (const auto& a : args) cmd += " " + Quote(a);
    const fs::path out = FDir / "stdout", err = FDir / "stderr";
    cmd += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    TRun r;
    const int raw = std::system(cmd.c_str());
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = ReadFileBytes(out.string());
    r.Err = ReadFileBytes(err.string());
    return r;
  }

  std::string Path(const char* name) const { return (FDir / name).string(); }
  void Put(const char* name, std::string_view data) const { std::ofstream(FDir / name, std::ios::binary) << data; }

  fs::path FExe, FDir;
};

const char* kText = "object Form1: TForm1\r\n  Caption = 'Hi'\r\n  object Button1: TButton\r\n  end\r\nend\r\n";

TEST_F(Kvform, TextToResourceAndBack) {
  Put("in.txt", kText);
  const TRun toBin = Run({"tobinary", Path("in.txt"), Path("out.dfm")});
  ASSERT_EQ(toBin.Status, 0) << toBin.Err;
  const std::string bin = ReadFileBytes(Path("out.dfm"));
  EXPECT_EQ(bin.substr(0, 10), std::string("\xFF\x0A\x00TFORM1\x00", 10));

  const TRun toStdout = Run({"totext", Path("out.dfm")});
  ASSERT_EQ(toStdout.Status, 0) << toStdout.Err;
  EXPECT_EQ(toStdout.Out, kText);
  EXPECT_EQ(toStdout.Err, "");

  // A bare stream starting at "TPF0" converts as well.
  Put("bare.bin", bin.substr(bin.find("TPF0")));
  ASSERT_EQ(Run({"totext", Path("bare.bin"), Path("bare.txt")}).Status, 0);
  EXPECT_EQ(ReadFileBytes(Path("bare.txt")), kText);
}

// The conversions run on the core library alone; the commands that need live forms load the rest
// (and Qt) when they run. The dynamic loader's own log says what a run loaded.
TEST_F(Kvform, ConversionsLoadNoGuiLibraryAndFormCommandsLoadThemOnDemand) {
  Put("in.txt", kText);
  setenv("LD_DEBUG", "libs", 1);
  const TRun convert = Run({"tobinary", Path("in.txt"), Path("out.dfm")});
  const TRun check = Run({"check", Path("out.dfm")});
  unsetenv("LD_DEBUG");
  ASSERT_EQ(convert.Status, 0) << convert.Err;
  EXPECT_NE(convert.Err.find("libKvCore.so"), std::string::npos) << convert.Err;
  for (const char* lib : {"libKvVcl.so", "libKvKit.so", "libQt6", "libsqlite3"})
    EXPECT_EQ(convert.Err.find(lib), std::string::npos) << lib;
  ASSERT_EQ(check.Status, 0) << check.Err;
  EXPECT_NE(check.Out.find(": ok"), std::string::npos) << check.Out;
  for (const char* lib : {"kvform-gui.so", "libKvKit.so", "libQt6Widgets"})
    EXPECT_NE(check.Err.find(lib), std::string::npos) << lib;
}

TEST_F(Kvform, CorpusFileRoundTripsByteForByte) {
  const fs::path f = fs::path(EnvOr("KV_CORPUS_DIR", KV_CORPUS_DIR)) / "binary" / "006_scrgrab_UNIT1.dfm";
  if (!fs::exists(f)) GTEST_SKIP() << "no corpus";
  ASSERT_EQ(Run({"totext", f.string(), Path("a.txt")}).Status, 0);
  ASSERT_EQ(Run({"tobinary", Path("a.txt"), Path("a.dfm")}).Status, 0);
  EXPECT_EQ(ReadFileBytes(Path("a.dfm")), ReadFileBytes(f.string()));
}

TEST_F(Kvform, MalformedInputFailsWithOneLineAndLeavesOutputAlone) {
  Put("bad.dfm", std::string("TPF0\x01T\x01X\x01P\x63", 11));
  Put("keep.txt", "old");
  const TRun bin = Run({"totext", Path("bad.dfm"), Path("keep.txt")});
  EXPECT_EQ(bin.Status, 1);
  EXPECT_EQ(bin.Err, "kvform: " + Path("bad.dfm") + ": Invalid value tag 99 at offset 10\n");
  EXPECT_EQ(ReadFileBytes(Path("keep.txt")), "old");

  Put("bad.txt", "object X: T\n  Left = ?\nend\n");
  const TRun txt = Run({"tobinary", Path("bad.txt"), Path("new.dfm")});
  EXPECT_EQ(txt.Status, 1);
  EXPECT_EQ(txt.Err, "kvform: " + Path("bad.txt") + ": Invalid property value on line 2\n");
  EXPECT_FALSE(fs::exists(Path("new.dfm")));
  EXPECT_EQ(std::distance(fs::directory_iterator(FDir), fs::directory_iterator()), 5);  // no temporaries left

  const TRun missing = Run({"totext", Path("none.dfm")});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_TRUE(missing.Err.starts_with("kvform: " + Path("none.dfm") + ": ")) << missing.Err;
}

TEST_F(Kvform, UsageErrorsExitWith2) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"totext"}, {"totext", "a", "b", "c"}, {"tobinary", "a"}}) {
    const TRun r = Run(args);
    EXPECT_EQ(r.Status, 2) << testing::PrintToString(args);
    EXPECT_NE(r.Err.find("usage"), std::string::npos);
  }
  EXPECT_EQ(Run({"--help"}).Status, 0);
}

}  // namespace

// The inspector window's rows: captions with their marks, values as the editors show them,
// sub-properties only when expanded, filtered by kind.
TEST_F(Kvform, InspectListsTheRowsTheInspectorWindowShows) {
  Put("f.dfm",
      "object Form1: TForm1\r\n  Caption = 'Hello'\r\n  Color = clBtnFace\r\n  Font.Style = [fsBold]\r\n"
      "  OnCreate = FormCreate\r\n  object Table1: TTable\r\n    DatabaseName = 'x.db'\r\n  end\r\nend\r\n");
  TRun r = Run({"inspect", Path("f.dfm")});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("\n  Caption = Hello\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("\n  Color = clBtnFace\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\n+Font = (TFont)\n"), std::string::npos);
  EXPECT_EQ(r.Out.find("Style = [fsBold]"), std::string::npos);  // collapsed, as a new selection shows it
  EXPECT_NE(r.Out.find("\n  Name = Form1\n"), std::string::npos);
  EXPECT_EQ(r.Out.find("OnCreate"), std::string::npos);  // events are not in the default kinds

  r = Run({"inspect", Path("f.dfm"), "--expand"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("\n- Font = (TFont)\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("\n  - Style = [fsBold]\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\n      fsBold = True\n"), std::string::npos);

  r = Run({"inspect", Path("f.dfm"), "table1", "--kinds", "$0400"});  // long strings only
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "  DatabaseName = x.db\n  IndexFieldNames = \n  IndexName = \n  MasterFields = \n  Name = Table1\n"
            "  SessionName = \n  TableName = \n");

  r = Run({"inspect", Path("f.dfm"), "Nope"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("Component Nope not found"), std::string::npos);
  EXPECT_EQ(Run({"inspect", Path("f.dfm"), "--kinds", "lots"}).Status, 2);
}

// --- kvform glyph: the pictures of the kit's windows come from the art files in forms/art.

#include "Buttons.h"
#include "StdReg.h"

namespace {

// The lines of text with their leading blanks removed, so that indentation does not count.
std::vector<std::string> GlyphTestLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t eol = text.find('\n', at);
    if (eol == std::string::npos) eol = text.size();
    std::string line = text.substr(at, eol - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line.substr(std::min(line.size(), line.find_first_not_of(' '))));
    at = eol + 1;
  }
  return lines;
}

}  // namespace

TEST_F(Kvform, GlyphDataLoadsBackAsTheArtsPixels) {
  Put("a.txt", "# two by three\nproperty Glyph\n. clFuchsia\nr clRed\nb clNavy\npixels\nrb\n.r\n..\n");
  const TRun r = Run({"glyph", Path("a.txt"), "--indent", "4"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(r.Out.starts_with("    Glyph.Data = {")) << r.Out;
  RegisterStandardClasses();
  const std::string form = "object Form1: TForm\n  object B: TSpeedButton\n" + r.Out + "  end\nend\n";
  TMemoryStream text, binary;
  text.Write(form.data(), static_cast<int64_t>(form.size()));
  text.SetPosition(0);
  ObjectTextToBinary(&text, &binary);
  binary.SetPosition(0);
  TForm loaded(nullptr);
  binary.ReadComponent(&loaded);
  TBitmap* glyph = static_cast<TSpeedButton*>(loaded.FindComponent("B"))->GetGlyph();
  ASSERT_EQ(glyph->GetWidth(), 2);
  ASSERT_EQ(glyph->GetHeight(), 3);
  EXPECT_EQ(glyph->GetPixelFormat(), pf4bit);
  EXPECT_EQ(glyph->GetTransparentColor() & 0xFFFFFF, clFuchsia);
  TCanvas* c = glyph->Canvas();
  EXPECT_EQ(c->GetPixel(0, 0), clRed);
  EXPECT_EQ(c->GetPixel(1, 0), clNavy);
  EXPECT_EQ(c->GetPixel(1, 1), clRed);
  EXPECT_EQ(c->GetPixel(0, 2), clFuchsia);

  Put("p.txt", "property Picture\nw clWhite\npixels\nw\n");
  const TRun p = Run({"glyph", Path("p.txt")});
  ASSERT_EQ(p.Status, 0) << p.Err;
  EXPECT_TRUE(p.Out.starts_with("    Picture.Data = {\n      07544269746D6170"))
      << "the class name TBitmap leads: " << p.Out;
}

TEST_F(Kvform, GlyphRefusesArtItCannotStore) {
  const std::pair<const char*, const char*> bad[] = {
      {"property Glyph\nk clBlack\npixels\nkx\n", "Unknown key 'x' on line 4"},
      {"property Glyph\nk clBlack\npixels\nkk\nk\n", "Rows differ in width on line 5"},
      {"property Glyph\nk clBtnFace\npixels\nk\n",
       "Expected a key character and a colour of the 16-colour palette on line 2"},
      {"property Glyph\nk $00123456\npixels\nk\n",
       "Expected a key character and a colour of the 16-colour palette on line 2"},
      {"property Icon\n", "Property must be Glyph or Picture on line 1"},
      {"k clBlack\npixels\nk\n", "No property line on line 3"},
      {"property Glyph\nk clBlack\npixels\n\n", "No pixels on line 4"},
  };
  for (auto [art, message] : bad) {
    Put("bad.txt", art);
    const TRun r = Run({"glyph", Path("bad.txt")});
    EXPECT_EQ(r.Status, 1) << art;
    EXPECT_EQ(r.Err, "kvform: " + Path("bad.txt") + ": " + message + "\n");
    EXPECT_EQ(r.Out, "");
  }
  EXPECT_EQ(Run({"glyph"}).Status, 2);
  EXPECT_EQ(Run({"glyph", Path("bad.txt"), "--indent", "x"}).Status, 2);
}

// forms/art/<Unit>.<Component>.txt is the picture of that component in forms/<Unit>.dfm.
TEST_F(Kvform, EveryArtFileIsWhatItsFormHolds) {
  const fs::path source = EnvOr("KV_SOURCE_DIR", KV_SOURCE_DIR);
  int checked = 0;
  for (const auto& entry : fs::directory_iterator(source / "forms" / "art")) {
    const std::string stem = entry.path().stem().string();
    const size_t dot = stem.find('.');
    ASSERT_NE(dot, std::string::npos) << stem;
    const fs::path form = source / "forms" / (stem.substr(0, dot) + ".dfm");
    if (!fs::exists(form)) continue;  // a window whose layout is still to come
    const TRun r = Run({"glyph", entry.path().string()});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::vector<std::string> want = GlyphTestLines(r.Out), have = GlyphTestLines(ReadFileBytes(form.string()));
    const std::string component = stem.substr(dot + 1);
    auto object = std::find_if(have.begin(), have.end(),
                               [&](const std::string& l) { return l.starts_with("object " + component + ":"); });
    ASSERT_NE(object, have.end()) << stem;
    // The component's own properties end where its children or its end begin.
    auto last = std::find_if(object + 1, have.end(),
                             [](const std::string& l) { return l.starts_with("object ") || l == "end"; });
    auto data = std::search(object + 1, last, want.begin(), want.end());
    EXPECT_NE(data, last) << stem << " differs from its art; run kvform glyph " << entry.path().string();
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// --- kvform resave / unit: a form file through a design's loading and saving.

TEST_F(Kvform, ResaveKeepsHandlersAndUnitPrintsWhatSavingWrites) {
  Put("in.txt",
      "object Form2: TForm2\r\n  Caption = 'Two'\r\n  object Button1: TButton\r\n    Caption = 'OK'\r\n"
      "    OnClick = Button1Click\r\n  end\r\nend\r\n");
  ASSERT_EQ(Run({"tobinary", Path("in.txt"), Path("Unit2.dfm")}).Status, 0);
  const TRun resave = Run({"resave", Path("Unit2.dfm"), Path("Out.dfm"), "--unit"});
  ASSERT_EQ(resave.Status, 0) << resave.Err;
  const TRun text = Run({"totext", Path("Out.dfm")});
  ASSERT_EQ(text.Status, 0) << text.Err;
  EXPECT_NE(text.Out.find("    OnClick = Button1Click\r\n  end\r\n"), std::string::npos) << text.Out;
  EXPECT_TRUE(ReadFileBytes(Path("Out.pas")).starts_with("unit Out;\r\n"));

  const TRun unit = Run({"unit", Path("Unit2.dfm")});
  ASSERT_EQ(unit.Status, 0) << unit.Err;
  const std::string expected = ReadFileBytes(Path("Out.pas"));
  EXPECT_EQ(unit.Out, "unit Unit2;" + expected.substr(expected.find("\r\n")));
  EXPECT_NE(unit.Out.find("    procedure Button1Click(Sender: TObject);\r\n"), std::string::npos);

  // Without --unit only the form file; a file that is no form file fails with its name.
  ASSERT_EQ(Run({"resave", Path("Unit2.dfm"), Path("Bare.dfm")}).Status, 0);
  EXPECT_TRUE(fs::exists(Path("Bare.dfm")));
  EXPECT_FALSE(fs::exists(Path("Bare.pas")));
  // A text form file saves back as text.
  ASSERT_EQ(Run({"resave", Path("in.txt"), Path("Text.dfm")}).Status, 0);
  EXPECT_EQ(ReadFileBytes(Path("Text.dfm")), ReadFileBytes(Path("in.txt")));
  Put("junk.txt", "no form\r\n");
  const TRun bad = Run({"resave", Path("junk.txt"), Path("x.dfm")});
  EXPECT_EQ(bad.Status, 1);
  EXPECT_NE(bad.Err.find("kvform: " + Path("junk.txt") + ": "), std::string::npos) << bad.Err;
  EXPECT_EQ(Run({"resave", Path("Unit2.dfm")}).Status, 2);
  EXPECT_EQ(Run({"unit"}).Status, 2);
}

// --- Hostile form files: each once crashed kvform or ran a side effect.

TEST_F(Kvform, WindowedControlInsideAnEditChecksRendersAndResaves) {
  Put("shown.txt",
      "object Form1: TForm\n  Visible = True\n  object P1: TEdit\n    object Button1: TButton\n"
      "    end\n  end\nend\n");
  Put("hidden.txt", "object Form1: TForm\n  object P1: TEdit\n    object Button1: TButton\n    end\n  end\nend\n");
  const TRun check = Run({"check", Path("shown.txt")});
  EXPECT_EQ(check.Status, 0) << check.Err;
  EXPECT_EQ(check.Out, Path("shown.txt") + ": ok\n");
  const TRun render = Run({"render", Path("hidden.txt"), Path("out.png")});
  EXPECT_EQ(render.Status, 0) << render.Err;
  EXPECT_TRUE(fs::exists(Path("out.png")));
  ASSERT_EQ(Run({"tobinary", Path("hidden.txt"), Path("hidden.dfm")}).Status, 0);
  const TRun resave = Run({"resave", Path("hidden.dfm"), Path("out.dfm")});
  EXPECT_EQ(resave.Status, 0) << resave.Err;
}

TEST_F(Kvform, CheckingAFormLeavesTheDatabaseItNamesAlone) {
  const std::string db = Path("data.db");
  CreateDatabaseFile(db);
  {
    TQuery q(nullptr);
    q.SetDatabaseName(db);
    q.GetSQL()->SetText("CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1); INSERT INTO t VALUES (2);");
    q.ExecSQL();
  }
  Put("query.txt", "object Form1: TForm\n  object Query1: TQuery\n    Active = True\n    DatabaseName = '" + db +
                       "'\n    SQL.Strings = (\n      'DELETE FROM t RETURNING a')\n  end\nend\n");
  const TRun check = Run({"check", Path("query.txt")});
  EXPECT_EQ(check.Status, 1);
  EXPECT_EQ(check.Out, Path("query.txt") +
                           ": Form1.Query1: A dataset opens only statements that read data: "
                           "DELETE FROM t RETURNING a\n");
  TQuery q(nullptr);
  q.SetDatabaseName(db);
  q.GetSQL()->SetText("SELECT a FROM t");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 2);
}

TEST_F(Kvform, RenderBlamesTheOutputItCannotWriteAndSaysWhy) {
  Put("in.txt", "object Form1: TForm\n  object Button1: TButton\n  end\nend\n");
  fs::create_directories(Path("dir.png"));
  for (const std::string& out : {Path("dir.png"), Path("missing/out.png")}) {
    const TRun r = Run({"render", Path("in.txt"), out});
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("kvform: " + out + ": Cannot create file " + out + ": "), std::string::npos) << r.Err;
    EXPECT_EQ(r.Err.find(Path("in.txt")), std::string::npos) << r.Err;
  }
}

namespace {

// A form of n buttons as text: about 60 bytes per component.
std::string ButtonsForm(int n) {
  std::string text = "object Form1: TForm1\r\n";
  for (int i = 1; i <= n; ++i)
    text += "  object Button" + std::to_string(i) + ": TButton\r\n    Left = " + std::to_string(i % 700) +
            "\r\n    Caption = 'Press " + std::to_string(i) + "'\r\n  end\r\n";
  return text + "end\r\n";
}

}  // namespace

// Kills a save at 100 random moments of its run: the file it replaces is each time either the
// old one or the new one, whole. Both must be seen, or the moments missed the save.
TEST_F(Kvform, SavesKilledAtRandomMomentsLeaveTheOldFileOrTheNewOneWhole) {
  Put("big.txt", ButtonsForm(40000));
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(Run({"tobinary", Path("big.txt"), Path("new.dfm")}).Status, 0);
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
  const std::string fresh = ReadFileBytes(Path("new.dfm")), old = "the old form file";

  std::mt19937 random(20261208);
  std::uniform_int_distribution<long> moment(span.count() / 2, span.count() * 5 / 4);
  int olds = 0, news = 0, interrupted = 0;
  for (int i = 0; i < 100; ++i) {
    Put("out.dfm", old);
    const std::string exe = FExe.string(), in = Path("big.txt"), out = Path("out.dfm");
    const char* argv[] = {exe.c_str(), "tobinary", in.c_str(), out.c_str(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &quiet, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&quiet);
    const long at = moment(random);
    std::this_thread::sleep_for(std::chrono::microseconds(at));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    const std::string now = ReadFileBytes(out);
    EXPECT_TRUE(now == old || now == fresh) << "killed after " << at << " us: " << now.size() << " bytes";
    olds += now == old;
    news += now == fresh;
    for (const auto& entry : fs::directory_iterator(FDir))
      if (entry.path().filename().string().ends_with(".tmp~")) {
        ++interrupted;
        fs::remove(entry.path());
      }
  }
  EXPECT_GT(olds, 0);
  EXPECT_GT(news, 0);
  RecordProperty("interrupted_while_writing", interrupted);
}

// A write that fails part way (the file-size limit here, a full disk below) leaves the old file,
// no temporary file, and says why.
TEST_F(Kvform, FailedWritesLeaveTheOldFileAndSayWhy) {
  Put("big.txt", ButtonsForm(20000));
  Put("out.dfm", "old");
  const std::string cmd = "trap '' XFSZ; ulimit -f 64; exec " + Quote(FExe.string()) + " tobinary " +
                          Quote(Path("big.txt")) + " " + Quote(Path("out.dfm")) + " 2>" + Quote(Path("err"));
  const int raw = std::system(("sh -c " + Quote(cmd)).c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
  EXPECT_EQ(ReadFileBytes(Path("err")),
            "kvform: " + Path("out.dfm") + ": Cannot create file " + Path("out.dfm") + ": File too large\n");
  EXPECT_EQ(ReadFileBytes(Path("out.dfm")), "old");

  const fs::path disk = FDir / "disk";
  fs::create_directories(disk);
  if (std::system(("mount -t tmpfs -o size=256k tmpfs " + Quote(disk.string()) + " 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  std::ofstream(disk / "out.dfm") << "old";
  const TRun full = Run({"tobinary", Path("big.txt"), (disk / "out.dfm").string()});
  EXPECT_EQ(full.Status, 1);
  EXPECT_NE(full.Err.find("No space left on device"), std::string::npos) << full.Err;
  EXPECT_EQ(ReadFileBytes((disk / "out.dfm").string()), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(disk), fs::directory_iterator()), 1);
  EXPECT_EQ(std::system(("umount " + Quote(disk.string())).c_str()), 0);
}
