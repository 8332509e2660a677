// The kvform command-line tool, run as a separate process.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Classes.h"

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

// The inspector's rows: values as the editors show them, sub-properties indented, filtered by kind.
TEST_F(Kvform, InspectListsTheRowsAnInspectorShows) {
  Put("f.dfm",
      "object Form1: TForm1\r\n  Caption = 'Hello'\r\n  Color = clBtnFace\r\n  Font.Style = [fsBold]\r\n"
      "  OnCreate = FormCreate\r\n  object Table1: TTable\r\n    DatabaseName = 'x.db'\r\n  end\r\nend\r\n");
  TRun r = Run({"inspect", Path("f.dfm")});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("\nCaption = Hello  [paMultiSelect,paAutoUpdate]\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("\nColor = clBtnFace  [paValueList,paDialog,paMultiSelect,paRevertable]\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\nFont = (TFont)  [paSubProperties,paDialog,paMultiSelect,paReadOnly]\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\n  Style = [fsBold]  "), std::string::npos);
  EXPECT_NE(r.Out.find("\n    fsBold = True  "), std::string::npos);
  EXPECT_NE(r.Out.find("\nName = Form1  []\n"), std::string::npos);
  EXPECT_EQ(r.Out.find("OnCreate"), std::string::npos);  // events are not in the default kinds

  r = Run({"inspect", Path("f.dfm"), "table1", "--kinds", "$0400"});  // long strings only
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "DatabaseName = x.db  [paMultiSelect]\nIndexFieldNames =   [paMultiSelect]\nIndexName =   [paMultiSelect]\n"
            "Name = Table1  []\nSessionName =   [paMultiSelect]\nTableName =   [paMultiSelect]\n");

  r = Run({"inspect", Path("f.dfm"), "Nope"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("Component Nope not found"), std::string::npos);
  EXPECT_EQ(Run({"inspect", Path("f.dfm"), "--kinds", "lots"}).Status, 2);
}
