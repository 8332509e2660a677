// Writing live components to form streams and reading them back.
#include <gtest/gtest.h>
#include <cstring>

#include "Classes.h"
#include "Consts.h"
#include "StreamCheck.h"
#include "TestComponents.h"

namespace {

std::string WriteRoot(TComponent* root) {
  TMemoryStream s;
  s.WriteComponent(root);
  return std::string(reinterpret_cast<const char*>(s.Memory()), s.GetSize());
}

void ReadInto(const std::string& bytes, TComponent* root, TReader** readerOut = nullptr,
              const std::function<void(TReader&)>& setup = nullptr) {
  TMemoryStream s;
  s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
  TReader r(&s, 4096);
  if (setup) setup(r);
  if (readerOut) *readerOut = &r;
  r.ReadRootComponent(root);
}

// A root with two children, one of them nested, and every kind of value set.
std::unique_ptr<TTestRoot> MakeSample() {
  auto root = std::make_unique<TTestRoot>(nullptr);
  root->SetName("Root1");
  auto* a = new TTestItem(root.get());
  a->SetName("ItemA");
  a->SetCount(-40000);
  a->SetBig(int64_t(1) << 40);
  a->SetEnabled(false);
  a->SetMode(cmBlue);
  a->SetStyles(TTestStyles{tsBold, tsUnderline});
  a->SetCaption(std::string(300, 'x') + "\xC3\xA9");  // long, with an accented letter
  a->SetAccel('Z');
  a->SetRatio(1.0L / 3);
  a->GetFont()->SetSize(12);
  a->GetFont()->SetStyle(TTestStyles{tsItalic});
  a->GetLines()->SetText("one\r\ntwo\r\n\xE2\x82\xAC three");
  auto* col = static_cast<TTestColumn*>(a->GetColumns()->Add());
  col->SetCaption("First");
  col->SetWidth(100);
  a->GetColumns()->Add();
  a->OnClick.SetMethod(root->MethodAddress("ItemClick"));
  a->OnKey.SetMethod(root->MethodAddress("ItemKey"));
  auto* b = new TTestItem(root.get());
  b->SetName("ItemB");
  b->SetBuddy(a);
  b->SetDesignInfo((20 << 16) | 10);
  return root;
}

}  // namespace

class StreamingTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
};

TEST_F(StreamingTest, WriteReadRoundTripRestoresEveryKindOfValue) {
  auto src = MakeSample();
  std::string bytes = WriteRoot(src.get());
  ASSERT_EQ(bytes.substr(0, 4), "TPF0");

  TTestRoot dst(nullptr);
  ReadInto(bytes, &dst);
  EXPECT_EQ(dst.GetName(), "Root1");
  ASSERT_EQ(dst.ComponentCount(), 2);
  auto* a = As<TTestItem>(dst.FindComponent("itema"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetCount(), -40000);
  EXPECT_EQ(a->GetBig(), int64_t(1) << 40);
  EXPECT_FALSE(a->GetEnabled());
  EXPECT_EQ(a->GetMode(), cmBlue);
  EXPECT_TRUE(a->GetStyles() == (TTestStyles{tsBold, tsUnderline}));
  EXPECT_EQ(a->GetCaption(), std::string(300, 'x') + "\xC3\xA9");
  EXPECT_EQ(a->GetAccel(), 'Z');
  EXPECT_EQ(a->GetRatio(), 1.0L / 3);  // 80 bits survive exactly
  EXPECT_EQ(a->GetFont()->GetSize(), 12);
  EXPECT_TRUE(a->GetFont()->GetStyle() == TTestStyles{tsItalic});
  EXPECT_EQ(a->GetLines()->Count(), 3);
  EXPECT_EQ(a->GetLines()->Get(2), "\xE2\x82\xAC three");
  ASSERT_EQ(a->GetColumns()->Count(), 2);
  EXPECT_EQ(static_cast<TTestColumn*>(a->GetColumns()->Items(0))->GetWidth(), 100);
  EXPECT_EQ(static_cast<TTestColumn*>(a->GetColumns()->Items(1))->GetWidth(), 64);
  EXPECT_EQ(TObject::MethodName(a->OnClick.Method()), "ItemClick");
  a->OnClick(a);
  ASSERT_EQ(dst.Clicks.size(), 1u);
  EXPECT_EQ(dst.Clicks[0], a);
  uint16_t key = 13;
  a->OnKey(a, key, 0);
  EXPECT_EQ(key, 0);
  auto* b = As<TTestItem>(dst.FindComponent("ItemB"));
  EXPECT_EQ(b->GetBuddy(), a);  // resolved by fix-up after loading
  EXPECT_EQ(b->GetDesignInfo(), (20 << 16) | 10);
  EXPECT_EQ(a->LoadedCount, 1);
  EXPECT_EQ(dst.LoadedCount, 1);
  EXPECT_FALSE(a->InState(csLoading));

  // Writing what was read gives the same bytes.
  EXPECT_EQ(WriteRoot(&dst), bytes);
}

TEST_F(StreamingTest, DefaultsAndUnstoredValuesAreOmitted) {
  TTestRoot root(nullptr);
  root.SetName("R");
  root.SetCaption("default");  // the stored method says no
  std::string bytes = WriteRoot(&root);
  // Signature, class, name, the one non-empty string (strings have no default), end of
  // properties, end of children.
  std::string expected = std::string("TPF0") + "\x09TTestRoot" + "\x01R" +
                         "\x09"
                         "Font.Name" +
                         "\x06\x0DMS Sans Serif" + '\0' + '\0';
  EXPECT_EQ(bytes, expected);
}

TEST_F(StreamingTest, WriterUsesSmallestIntegerTagsAndNamedIdentifiers) {
  TMemoryStream s;
  {
    TWriter w(&s, 16);
    for (int64_t v :
         {int64_t(-128), int64_t(127), int64_t(128), int64_t(-32769), int64_t(INT32_MAX), int64_t(INT32_MAX) + 1})
      w.WriteInteger(v);
    w.WriteIdent("true");
    w.WriteIdent("NIL");
    w.WriteIdent("alClient");
    w.WriteString(std::string(256, 'a'));
    w.WriteString("\xD0\x96");  // Cyrillic: not in windows-1252, so a wide string
    w.WriteChar('c');
  }
  const uint8_t* m = s.Memory();
  std::vector<int> tags;
  TReader r(&s, 8);
  r.SetPosition(0);
  EXPECT_EQ(m[0], vaInt8);
  EXPECT_EQ(r.ReadInteger(), -128);
  EXPECT_EQ(r.NextValue(), vaInt8);
  EXPECT_EQ(r.ReadInteger(), 127);
  EXPECT_EQ(r.NextValue(), vaInt16);
  EXPECT_EQ(r.ReadInteger(), 128);
  EXPECT_EQ(r.NextValue(), vaInt32);
  EXPECT_EQ(r.ReadInteger(), -32769);
  EXPECT_EQ(r.NextValue(), vaInt32);
  EXPECT_EQ(r.ReadInteger(), INT32_MAX);
  EXPECT_EQ(r.NextValue(), vaInt64);
  EXPECT_EQ(r.ReadInt64(), int64_t(INT32_MAX) + 1);
  EXPECT_EQ(r.NextValue(), vaTrue);
  EXPECT_EQ(r.ReadIdent(), "True");
  EXPECT_EQ(r.NextValue(), vaNil);
  r.SkipValue();
  EXPECT_EQ(r.NextValue(), vaIdent);
  EXPECT_EQ(r.ReadIdent(), "alClient");
  EXPECT_EQ(r.NextValue(), vaLString);
  EXPECT_EQ(r.ReadString(), std::string(256, 'a'));
  EXPECT_EQ(r.NextValue(), vaWString);
  EXPECT_EQ(r.ReadString(), "\xD0\x96");
  EXPECT_EQ(r.NextValue(), vaString);
  EXPECT_EQ(r.ReadChar(), 'c');
}

TEST_F(StreamingTest, UnknownPropertyAndClassReachTheErrorHookAndCanBeSkipped) {
  // Build a stream by hand: a root with an unknown property and an unregistered child class.
  TMemoryStream s;
  {
    TWriter w(&s, 64);
    w.WriteSignature();
    w.WriteStr("TTestRoot");
    w.WriteStr("R");
    w.WriteStr("Foo");
    w.WriteInteger(3);
    w.WriteStr("Count");
    w.WriteInteger(7);
    w.WriteListEnd();
    w.WriteStr("TNoSuchClass");
    w.WriteStr("X1");
    w.WriteStr("Lines.Strings");
    w.WriteListBegin();
    w.WriteString("a");
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();  // X1's children
    w.WriteStr("TTestItem");
    w.WriteStr("Y1");
    w.WriteStr("Mode");
    w.WriteIdent("cmPurple");
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();  // root's children
  }
  std::string bytes(reinterpret_cast<const char*>(s.Memory()), s.GetSize());

  // Without a hook the first problem raises, naming component and property.
  {
    TTestRoot root(nullptr);
    try {
      ReadInto(bytes, &root);
      FAIL() << "expected EReadError";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Error reading R.Foo: Property Foo does not exist");
    }
  }
  // With a hook every problem is reported and reading goes on.
  TTestRoot root(nullptr);
  std::vector<std::string> errors;
  ReadInto(bytes, &root, nullptr, [&](TReader& r) {
    r.OnError = [&](TReader*, const std::string& msg, bool& handled) {
      errors.push_back(msg);
      handled = true;
    };
  });
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[1], "Class TNoSuchClass not found");
  EXPECT_EQ(errors[2], "Error reading Y1.Mode: Invalid property value");
  EXPECT_EQ(root.GetCount(), 7);
  EXPECT_EQ(root.ComponentCount(), 1);
  EXPECT_NE(root.FindComponent("Y1"), nullptr);
}

TEST_F(StreamingTest, UnknownHandlerNamesCanBeToleratedThroughFindMethod) {
  auto src = MakeSample();
  std::string bytes = WriteRoot(src.get());
  // A plain TTestItem root has no published methods at all.
  TTestItem root(nullptr);
  EXPECT_THROW(ReadInto(bytes, &root), EReadError);
  TTestItem tolerant(nullptr);
  std::vector<std::string> asked;
  ReadInto(bytes, &tolerant, nullptr, [&](TReader& r) {
    r.OnFindMethod = [&](TReader*, const std::string& name, const TMethodEntry*& address, bool& error) {
      asked.push_back(name);
      address = nullptr;
      error = false;
    };
  });
  EXPECT_EQ(asked, (std::vector<std::string>{"ItemClick", "ItemKey"}));
  auto* a = As<TTestItem>(tolerant.FindComponent("ItemA"));
  EXPECT_FALSE(a->OnClick);
  EXPECT_EQ(a->GetCount(), -40000);
}

TEST_F(StreamingTest, TruncationAtEveryByteRaisesReadErrorAndLeaksNothing) {
  auto src = MakeSample();
  std::string bytes = WriteRoot(src.get());
  for (size_t n = 0; n < bytes.size(); ++n) {
    TTestRoot root(nullptr);
    EXPECT_THROW(ReadInto(bytes.substr(0, n), &root), EReadError) << "cut at " << n;
  }
}

TEST_F(StreamingTest, HostileLengthsAndTagsAreRefusedWithoutAllocating) {
  auto bad = [](std::string tail) {
    std::string s = std::string("TPF0") + "\x09TTestRoot" + "\x01R" +
                    "\x07"
                    "Caption" +
                    tail;
    TTestRoot root(nullptr);
    try {
      ReadInto(s, &root);
    } catch (const EReadError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_NE(bad(std::string("\x0C\xFF\xFF\xFF\xFF", 5)).find("Unexpected end of stream"), std::string::npos);
  EXPECT_NE(bad(std::string("\x12\xFF\xFF\xFF\x7F", 5)).find("Unexpected end of stream"), std::string::npos);
  EXPECT_NE(bad(std::string("\x63", 1)).find("Invalid value tag 99"), std::string::npos);
  // Lists nested far deeper than any form: refused, not a stack overflow.
  std::string deep = std::string("TPF0") + "\x09TTestRoot" + "\x01R" +
                     "\x03"
                     "Foo";
  deep += std::string(100000, '\x01');
  TTestRoot root(nullptr);
  EXPECT_THROW(ReadInto(deep, &root), EReadError);
}

TEST_F(StreamingTest, ResourceFramedFilesRoundTrip) {
  auto src = MakeSample();
  TMemoryStream s;
  s.WriteComponentRes("TTestRoot", src.get());
  const uint8_t* m = s.Memory();
  EXPECT_EQ(m[0], 0xFF);
  EXPECT_EQ(m[1], 10);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m) + 3), "TTESTROOT");
  uint32_t size;
  std::memcpy(&size, m + 3 + 10 + 2, 4);
  EXPECT_EQ(size, s.GetSize() - (3 + 10 + 2 + 4));
  s.SetPosition(0);
  TTestRoot dst(nullptr);
  s.ReadComponentRes(&dst);
  EXPECT_EQ(dst.ComponentCount(), 2);

  TMemoryStream junk;
  junk.Write("TPF0", 4);
  junk.SetPosition(0);
  EXPECT_THROW(junk.ReadResHeader(), EInvalidImage);
}

TEST_F(StreamingTest, RootNameIsMadeUniqueAmongGlobalComponents) {
  TTestRoot existing(nullptr);
  existing.SetName("Root1");
  auto* saved = FindGlobalComponent;
  static TComponent* global = nullptr;
  global = &existing;
  FindGlobalComponent = [](const std::string& n) -> TComponent* {
    return SameText(n, global->GetName()) ? global : nullptr;
  };
  auto src = MakeSample();
  std::string bytes = WriteRoot(src.get());
  TTestRoot dst(nullptr);
  ReadInto(bytes, &dst);
  FindGlobalComponent = saved;
  EXPECT_EQ(dst.GetName(), "Root1_1");
}

TEST_F(StreamingTest, NamesThatCannotBeWrittenWholeAreRefused) {
  TMemoryStream s;
  TWriter w(&s, 64);
  EXPECT_THROW(w.WriteStr(std::string(256, 'N')), EWriteError);
  EXPECT_THROW(w.WriteStr("\xD0\x96name"), EWriteError);  // no byte for it in windows-1252
  w.WriteStr(std::string(255, 'N'));
  w.FlushBuffer();
  EXPECT_EQ(s.GetSize(), 256);
}

TEST_F(StreamingTest, SharedRoundTripCheckSeesEveryPublishedValue) {
  auto root = MakeSample();
  auto* a = As<TTestItem>(root->FindComponent("ItemA"));
  std::string text = ExpectRoundTrip(root.get(), a);
  EXPECT_NE(text.find("Mode = cmBlue"), std::string::npos);
  auto* b = As<TTestItem>(root->FindComponent("ItemB"));
  ExpectDefaultsOmitted(b, text);  // Enabled True, Mode cmNone, Count 0: none written
  EXPECT_EQ(text.find("    Enabled = True"), std::string::npos);
}
