// Palette bitmaps: lookups by class and by name, and the component resource file reader on
// files built here, on real files of the corpus and on the library's own KvStd.dcr.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "DBCtrls.h"
#include "Forms.h"
#include "KvClass.h"
#include "StdReg.h"

namespace {
class TPalBmpA : public TComponent {
  KV_CLASS(TPalBmpA, TComponent)
 public:
  using TComponent::TComponent;
};
class TPalBmpChild : public TPalBmpA {
  KV_CLASS(TPalBmpChild, TPalBmpA)
 public:
  using TPalBmpA::TPalBmpA;
};
}  // namespace
KV_IMPLEMENT_CLASS(TPalBmpA, "KvClassDcrTests") {}
KV_IMPLEMENT_CLASS(TPalBmpChild, "KvClassDcrTests") {}

namespace {
// A 32-bit resource file built entry by entry.
class TDcrBuilder {
 public:
  TDcrBuilder() : Bytes(std::string("\0\0\0\0\x20\0\0\0\xFF\xFF\0\0\xFF\xFF\0\0", 16)) { Bytes.resize(32); }
  std::string Bytes;

  // type and name: an ordinal (0xFFFF, number) when name is empty.
  TDcrBuilder& Entry(uint16_t type, const std::string& name, const std::string& data, uint16_t ordinal = 1) {
    std::string header;
    W16(header, 0xFFFF), W16(header, type);
    if (name.empty()) {
      W16(header, 0xFFFF), W16(header, ordinal);
    } else {
      for (char c : name) W16(header, static_cast<uint8_t>(c));
      W16(header, 0);
    }
    while ((header.size() + 8) % 4) header += '\0';
    header.append(16, '\0');
    W32(Bytes, static_cast<uint32_t>(data.size())), W32(Bytes, static_cast<uint32_t>(header.size() + 8));
    Bytes += header + data;
    while (Bytes.size() % 4) Bytes += '\0';
    return *this;
  }
  TDcrBuilder& Bitmap(const std::string& name, TColor color, int size = 24) { return Entry(2, name, Dib(color, size)); }

  // A 16-colour bitmap filled with one colour, as a resource holds it (no file header).
  static std::string Dib(TColor color, int size = 24) {
    TBitmap b;
    b.SetSize(size, size);
    b.Canvas()->GetBrush()->SetColor(color);
    b.Canvas()->FillRect(Rect(0, 0, size, size));
    b.SetPixelFormat(pf4bit);
    TMemoryStream s;
    b.SaveToStream(&s);
    return std::string(reinterpret_cast<const char*>(s.Memory()) + 14, s.GetSize() - 14);
  }
  static void W16(std::string& s, uint16_t v) { s += char(v & 0xFF), s += char(v >> 8); }
  static void W32(std::string& s, uint32_t v) { W16(s, v & 0xFFFF), W16(s, v >> 16); }
};

// Each test starts with no bitmaps and gives back those that were there.
struct KvClassBitmaps : ::testing::Test {
  std::vector<std::pair<std::string, TObject*>> Saved;
  void SetUp() override {
    for (int i = 0; i < ComponentBitmaps->Count(); ++i)
      Saved.emplace_back(ComponentBitmaps->Get(i), ComponentBitmaps->GetObject(i));
    ComponentBitmaps->OwnsObjects = false;
    ComponentBitmaps->Clear();
    ComponentBitmaps->OwnsObjects = true;
  }
  void TearDown() override {
    ComponentBitmaps->Clear();
    for (auto& [name, bitmap] : Saved) ComponentBitmaps->AddObject(name, bitmap);
  }
  std::string Write(const std::string& bytes, const std::string& tag = "") {
    std::string path = testing::TempDir() + "kvclass_" + std::to_string(getpid()) + "_" +
                       testing::UnitTest::GetInstance()->current_test_info()->name() + tag + ".dcr";
    WriteFileAtomic(path, bytes);
    Files.push_back(path);
    return path;
  }
  ~KvClassBitmaps() override {
    for (auto& f : Files) DeleteFile(f);
  }
  std::vector<std::string> Files;

  static TColor Colour(TBitmap* b) { return b ? b->Canvas()->GetPixel(1, 1) : clNone; }
  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 0; i < ComponentBitmaps->Count(); ++i) names.push_back(ComponentBitmaps->Get(i));
    return names;
  }
};

TEST_F(KvClassBitmaps, ClassesShowTheirNearestAncestorsBitmapThenTheUnknownOne) {
  // Nothing at all: the empty default bitmap by class, nothing by name.
  EXPECT_EQ(GetComponentBitmap(TPalBmpChild::StaticClass()), DefaultBitmap);
  EXPECT_TRUE(DefaultBitmap->Empty());
  EXPECT_EQ(GetComponentBitmapByName("TPalBmpChild"), nullptr);

  ReadDCRFile(Write(TDcrBuilder().Bitmap("TPALBMPA", clRed).Bytes));
  EXPECT_EQ(Colour(GetComponentBitmap(TPalBmpChild::StaticClass())), clRed);
  EXPECT_EQ(Colour(GetComponentBitmapByName("tPalBmpA")), clRed);
  EXPECT_EQ(GetComponentBitmap(TComponent::StaticClass()), DefaultBitmap);

  ReadDCRFile(Write(TDcrBuilder().Bitmap("KVUNKNOWN", clBlue).Bitmap("TCOMPONENT", clLime).Bytes, "2"));
  EXPECT_EQ(Colour(GetComponentBitmap(TPalBmpChild::StaticClass())), clRed);  // nearest ancestor first
  EXPECT_EQ(Colour(GetComponentBitmap(TPersistent::StaticClass())), clBlue);
  EXPECT_EQ(Colour(GetComponentBitmapByName("TPalBmpChild")), clBlue);
  EXPECT_EQ(Colour(GetComponentBitmap(nullptr)), clBlue);
}

TEST_F(KvClassBitmaps, LaterFilesReplaceBitmapsOfTheSameNameInAnyCase) {
  ReadDCRFile(Write(TDcrBuilder().Bitmap("TPALBMPA", clRed).Bitmap("TOTHER", clLime).Bytes, "1"));
  ReadDCRFile(Write(TDcrBuilder().Bitmap("tpalbmpa", clBlue).Bytes, "2"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"TOTHER", "tpalbmpa"}));
  EXPECT_EQ(Colour(GetComponentBitmap(TPalBmpA::StaticClass())), clBlue);
}

TEST_F(KvClassBitmaps, OnlyNamedBitmapsAreTakenAndOtherResourcesPassedOver) {
  ReadDCRFile(Write(TDcrBuilder().Bytes, "lead"));
  EXPECT_EQ(ComponentBitmaps->Count(), 0);
  ReadDCRFile(Write(TDcrBuilder().Entry(6, "", std::string(40, 'x')).Bytes, "strings"));
  EXPECT_EQ(ComponentBitmaps->Count(), 0);

  // A string table, an icon with its group, a bitmap named by number, each sized by its header,
  // and between them bitmaps of odd sizes and a long name.
  const std::string longName(300, 'N');
  ReadDCRFile(Write(TDcrBuilder()
                        .Entry(6, "", std::string(37, 'x'))
                        .Bitmap("TFIRST", clRed, 20)
                        .Entry(3, "", std::string(744, '\1'))
                        .Entry(14, "TFIRST", std::string(20, '\2'))
                        .Entry(2, "", TDcrBuilder::Dib(clLime))
                        .Bitmap(longName, clBlue, 25)
                        .Bytes));
  EXPECT_EQ(Names(), (std::vector<std::string>{"TFIRST", longName}));
  EXPECT_EQ(GetComponentBitmapByName("TFIRST")->GetWidth(), 20);
  EXPECT_EQ(GetComponentBitmapByName(longName)->GetWidth(), 25);
  EXPECT_EQ(Colour(GetComponentBitmapByName(longName)), clBlue);
}

TEST_F(KvClassBitmaps, MalformedFilesRaiseAndKeepWhatCameBefore) {
  const std::string good = TDcrBuilder().Bitmap("TGOOD", clRed).Bytes;
  auto withEntry = [&](const std::string& raw) { return good + raw; };
  const struct {
    const char* What;
    std::string Bytes;
  } cases[] = {
      {"empty file", ""},
      {"a 16-bit resource file",
       std::string("\xFF\x02\x00TGOOD\x00\x30\x10\x88\x01\x00\x00", 15) + std::string(392, '\0')},
      {"data running past the end", good.substr(0, good.size() - 10)},
      {"a partial header at the end", withEntry(std::string("\x10\0\0", 3))},
      {"a header running past the end", withEntry(std::string("\0\0\0\0\xFF\0\0\0", 8))},
      {"a header shorter than its sizes", withEntry(std::string("\0\0\0\0\4\0\0\0", 8))},
      {"a name without its terminator", withEntry(std::string("\0\0\0\0\x10\0\0\0\xFF\xFF\2\0A\0B\0", 16))},
      {"a type cut inside the header", withEntry(std::string("\0\0\0\0\x0A\0\0\0\xFF\xFF", 10))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    ComponentBitmaps->Clear();
    EXPECT_THROW(ReadDCRFile(Write(c.Bytes, "m")), EReadError);
  }
  // The bitmap before a faulty entry stays.
  EXPECT_EQ(Names(), std::vector<std::string>{"TGOOD"});

  ComponentBitmaps->Clear();
  EXPECT_THROW(ReadDCRFile(Write(TDcrBuilder().Bitmap("TGOOD", clRed).Entry(2, "TBAD", "not a bitmap").Bytes, "b")),
               EInvalidGraphic);
  EXPECT_EQ(Names(), std::vector<std::string>{"TGOOD"});
  EXPECT_THROW(ReadDCRFile(testing::TempDir() + "kvclass_no_such_file.dcr"), EFOpenError);
}

TEST_F(KvClassBitmaps, DamagedFilesNeverReadOutOfBounds) {
  const std::string good = TDcrBuilder()
                               .Bitmap("TPALBMPA", clRed)
                               .Entry(3, "", std::string(100, '\1'))
                               .Bitmap("TPALBMPCHILD", clBlue, 16)
                               .Bytes;
  const std::string path = Write("", "cut");
  for (size_t n = 0; n <= good.size(); ++n) {
    WriteFileAtomic(path, std::string_view(good).substr(0, n));
    try {
      ReadDCRFile(path);
    } catch (const Exception&) {}
  }
  std::mt19937 random(20240611);
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    for (int k = 0; k < 4; ++k) bytes[random() % bytes.size()] = static_cast<char>(random());
    WriteFileAtomic(path, bytes);
    try {
      ReadDCRFile(path);
    } catch (const Exception&) {}
  }
  // Whatever was read is a whole bitmap.
  for (int i = 0; i < ComponentBitmaps->Count(); ++i)
    EXPECT_FALSE(static_cast<TBitmap*>(ComponentBitmaps->GetObject(i))->Empty());
}

std::string Corpus(const std::string& file) { return std::string(KV_CORPUS_DIR) + "/" + file; }

TEST_F(KvClassBitmaps, RealComponentResourceFilesLoad) {
  if (!std::filesystem::exists(Corpus("dcr"))) GTEST_SKIP() << "no corpus";
  for (const auto& entry : std::filesystem::directory_iterator(Corpus("dcr"))) {
    SCOPED_TRACE(entry.path().string());
    EXPECT_NO_THROW(ReadDCRFile(entry.path().string()));
  }
  // Icons with and without their group entry are passed over; odd sizes and depths load.
  for (const char* name : {"TSSLWSOCKET", "TWSOCKET", "TMXOUTLOOKBARPRO", "TGLCAMERA", "TCALENDARPAD", "TNOTEPAD",
                           "TCOMPORT", "TPOWERCONTROL", "TFLATPANEL", "DUMMY", "TSLIDERSAVEDIALOG"}) {
    SCOPED_TRACE(name);
    const int i = ComponentBitmaps->IndexOf(name);
    ASSERT_GE(i, 0);
    EXPECT_FALSE(static_cast<TBitmap*>(ComponentBitmaps->GetObject(i))->Empty());
  }
  EXPECT_EQ(GetComponentBitmapByName("TCalendarPad")->GetWidth(), 25);
  EXPECT_EQ(GetComponentBitmapByName("TGLCamera")->GetPixelFormat(), pf24bit);
  EXPECT_EQ(GetComponentBitmapByName("TComPort")->GetHeight(), 20);

  const int count = ComponentBitmaps->Count();
  for (const auto& entry : std::filesystem::directory_iterator(Corpus("dcr16"))) {
    SCOPED_TRACE(entry.path().string());
    EXPECT_THROW(ReadDCRFile(entry.path().string()), EReadError);
  }
  EXPECT_EQ(ComponentBitmaps->Count(), count);
}

TEST_F(KvClassBitmaps, TheLibrarysOwnFileHasABitmapForEveryStandardComponent) {
  ReadDCRFile(std::string(KV_BIN_DIR) + "/KvStd.dcr");
  RegisterStandardComponents();
  for (const char* page : {"Standard", "Additional", "Win32", "System", "Data Access", "Data Controls", "Dialogs"}) {
    const auto* classes = static_cast<const TList*>(RegisteredPages->GetObject(RegisteredPages->IndexOf(page)));
    for (int i = 0; i < classes->Count(); ++i) {
      const std::string name = UpperCase(ClassItem(classes, i)->Name);
      SCOPED_TRACE(name);
      const int at = ComponentBitmaps->IndexOf(name);
      ASSERT_GE(at, 0);
      auto* b = static_cast<TBitmap*>(ComponentBitmaps->GetObject(at));
      EXPECT_EQ(b->GetWidth(), 24);
      EXPECT_EQ(b->GetHeight(), 24);
      EXPECT_EQ(b->GetPixelFormat(), pf4bit);
    }
  }
  for (const char* name : {"KVUNKNOWN", "KvPointer", "KvLeftScroll", "KvRightScroll"})
    EXPECT_GE(ComponentBitmaps->IndexOf(name), 0) << name;
  // A data-aware control has a picture of its own, not its ancestor's.
  EXPECT_NE(GetComponentBitmap(TDBEdit::StaticClass()), GetComponentBitmap(TEdit::StaticClass()));
  EXPECT_EQ(GetComponentBitmap(TForm::StaticClass()), GetComponentBitmapByName("KVUNKNOWN"));
}
}  // namespace
