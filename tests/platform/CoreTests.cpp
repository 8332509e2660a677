// Objects, run-time type information, components and string lists.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "Classes.h"
#include "Consts.h"
#include "TestComponents.h"

TEST(Metaclass, NamesParentsUnitsAndVirtualConstruction) {
  TClass c = TTestRoot::StaticClass();
  EXPECT_STREQ(c->Name, "TTestRoot");
  EXPECT_EQ(c->Parent, TTestItem::StaticClass());
  EXPECT_STREQ(c->UnitName, "TestUnit");
  EXPECT_TRUE(c->InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(c->InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(c));

  TComponent owner(nullptr);
  TObject* made = c->Create(&owner);  // by class reference, with the class's defaults
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ClassName(), "TTestRoot");
  EXPECT_EQ(static_cast<TComponent*>(made)->Owner(), &owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_THROW(TStrings::StaticClass()->Create(nullptr), EInvalidCast);  // abstract
  EXPECT_THROW(As<TTestItem>(&owner), EInvalidCast);
  EXPECT_EQ(Cast<TTestItem>(&owner), nullptr);
}

TEST(ClassRegistry, FindsRegisteredClassesIgnoringCase) {
  RegisterTestClasses();
  EXPECT_EQ(FindClass("ttestitem"), TTestItem::StaticClass());
  EXPECT_EQ(GetClass("TNotThere"), nullptr);
  try {
    FindClass("TNotThere");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNotThere not found");
  }
}

TEST(Rtti, PropertiesInPublishingOrderWithInheritedFirst) {
  auto props = GetPropList(TTestRoot::StaticClass());
  ASSERT_GE(props.size(), 3u);
  EXPECT_EQ(props[0]->Name, "Name");
  EXPECT_EQ(props[1]->Name, "Tag");
  EXPECT_EQ(props[2]->Name, "Count");
  EXPECT_EQ(GetPropInfo(TTestRoot::StaticClass(), "CAPTION")->Name, "Caption");
  EXPECT_EQ(GetPropInfo(TTestRoot::StaticClass(), "Nope"), nullptr);
  // The filter takes kinds as a 16-bit mask: events only.
  auto events = GetPropList(TTestRoot::StaticClass(), TypeKindBit(tkMethod));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0]->Name, "OnClick");
}

TEST(Rtti, TypeDataOfEachKind) {
  PPropInfo mode = GetPropInfo(TTestItem::StaticClass(), "Mode");
  EXPECT_EQ(mode->PropType->Kind, tkEnumeration);
  EXPECT_EQ(mode->PropType->Name, "TTestColorMode");
  EXPECT_EQ(GetEnumName(mode->PropType, 2), "cmGreen");
  EXPECT_EQ(GetEnumValue(mode->PropType, "CMBLUE"), 3);
  EXPECT_EQ(GetEnumValue(mode->PropType, "cmPink"), -1);
  EXPECT_EQ(mode->Default, cmNone);

  PPropInfo styles = GetPropInfo(TTestItem::StaticClass(), "Styles");
  EXPECT_EQ(styles->PropType->Kind, tkSet);
  EXPECT_EQ(styles->PropType->CompType->Name, "TTestStyle");
  EXPECT_EQ(SetToString(styles->PropType, 0b101), "[tsBold,tsUnderline]");
  EXPECT_EQ(StringToSet(styles->PropType, "[tsItalic, tsStrikeOut]"), 0b1010u);
  EXPECT_THROW(StringToSet(styles->PropType, "[tsWavy]"), EPropertyError);

  PPropInfo font = GetPropInfo(TTestItem::StaticClass(), "Font");
  EXPECT_EQ(font->PropType->Kind, tkClass);
  EXPECT_EQ(font->PropType->ClassType, TTestFont::StaticClass());
  EXPECT_EQ(font->PropType->UnitName, "TestUnit");

  PPropInfo key = GetPropInfo(TTestItem::StaticClass(), "OnKey");
  ASSERT_EQ(key->PropType->Kind, tkMethod);
  const auto& params = key->PropType->Params;
  ASSERT_EQ(params.size(), 3u);
  EXPECT_EQ(params[0].Name, "Sender");
  EXPECT_EQ(params[0].TypeName, "TObject");
  EXPECT_EQ(params[1].Flags, pfVar);
  EXPECT_EQ(params[1].TypeName, "Word");
  EXPECT_EQ(params[2].Flags, pfConst);

  EXPECT_EQ(GetPropInfo(TTestItem::StaticClass(), "Enabled")->PropType->Kind, tkEnumeration);
  EXPECT_EQ(GetPropInfo(TTestItem::StaticClass(), "Accel")->PropType->Kind, tkChar);
  EXPECT_EQ(GetPropInfo(TTestItem::StaticClass(), "Caption")->PropType->Kind, tkLString);
  EXPECT_EQ(GetPropInfo(TTestItem::StaticClass(), "Ratio")->PropType->Kind, tkFloat);
  EXPECT_EQ(GetPropInfo(TTestItem::StaticClass(), "Count")->Default, 0);
  EXPECT_EQ(GetPropInfo(TTestItem::StaticClass(), "Ratio")->Default, NoDefault);
}

TEST(Rtti, TypedAccessAndItsErrors) {
  TTestItem item(nullptr);
  SetOrdProp(&item, "Count", 42);
  EXPECT_EQ(item.GetCount(), 42);
  SetStrProp(&item, "caption", "Hello");
  EXPECT_EQ(GetStrProp(&item, "Caption"), "Hello");
  SetFloatProp(&item, GetPropInfo(&item, "Ratio"), 2.5L);
  EXPECT_EQ(item.GetRatio(), 2.5L);
  EXPECT_EQ(GetOrdProp(&item, "Font"), reinterpret_cast<intptr_t>(item.GetFont()));
  EXPECT_EQ(GetPropValueText(&item, GetPropInfo(&item, "Mode")), "cmNone");
  try {
    GetOrdProp(&item, "Missing");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Property Missing does not exist");
  }
  EXPECT_THROW(GetStrProp(&item, "Count"), EPropertyError);
  TTestItem other(nullptr);
  EXPECT_THROW(SetObjectProp(&item, GetPropInfo(&item, "Buddy"), item.GetFont()), EPropertyError);
  SetObjectProp(&item, GetPropInfo(&item, "Buddy"), &other);
  EXPECT_EQ(item.GetBuddy(), &other);
}

TEST(Rtti, StoredSpecifiers) {
  TTestItem item(nullptr);
  PPropInfo caption = GetPropInfo(&item, "Caption");
  EXPECT_EQ(caption->StoredKind, skVirtualMethod);
  item.SetCaption("default");
  EXPECT_FALSE(IsStoredProp(&item, caption));
  item.SetCaption("x");
  EXPECT_TRUE(IsStoredProp(&item, caption));
  EXPECT_FALSE(IsStoredProp(&item, GetPropInfo(&item, "Name")));  // stored False
  EXPECT_TRUE(IsStoredProp(&item, GetPropInfo(&item, "Count")));
}

TEST(Events, PublishedMethodsClosuresAndComparison) {
  TTestRoot root(nullptr);
  TTestItem item(&root);
  TMethod m = root.MethodAddress("itemclick");
  ASSERT_TRUE(m.Assigned());
  EXPECT_EQ(TObject::MethodName(m), "ItemClick");
  SetMethodProp(&item, GetPropInfo(&item, "OnClick"), m);
  item.OnClick(&item);
  EXPECT_EQ(root.Clicks.size(), 1u);
  EXPECT_TRUE(GetMethodProp(&item, GetPropInfo(&item, "OnClick")) == m);
  // A handler of another signature is refused.
  EXPECT_THROW(SetMethodProp(&item, GetPropInfo(&item, "OnKey"), m), EInvalidCast);
  // C++ closures and member functions.
  int calls = 0;
  item.OnClick = [&](TObject*) { ++calls; };
  item.OnClick(&item);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(TObject::MethodName(item.OnClick.Method()), "");
  item.OnClick = TNotifyEvent(&root, &TTestRoot::ItemClick);
  item.OnClick(nullptr);
  EXPECT_EQ(root.Clicks.size(), 2u);
  item.OnClick = nullptr;
  EXPECT_FALSE(item.OnClick);
  EXPECT_FALSE(root.MethodAddress("Nope").Assigned());
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwnerIgnoringCase) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("Button1");
  auto* b = new TComponent(&owner);
  try {
    b->SetName("BUTTON1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named BUTTON1 already exists");
  }
  try {
    b->SetName("1abc");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "'1abc' is not a valid component name");
  }
  a->SetName("button1");  // a case change of its own name is fine
  EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
  b->SetName("");
  b->SetName("Label1");
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_EQ(b->GetComponentIndex(), 1);
  b->SetComponentIndex(0);
  EXPECT_EQ(owner.Components(0), b);
}

TEST(Component, OwnerFreesOwnedAndNotificationsClearReferences) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TTestItem(owner);
  auto* b = new TTestItem(owner);
  auto* outsider = new TTestItem(nullptr);
  outsider->SetBuddy(a);  // watches a through FreeNotification
  b->SetBuddy(a);
  delete a;
  EXPECT_EQ(outsider->GetBuddy(), nullptr);
  EXPECT_EQ(b->GetBuddy(), nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  outsider->SetBuddy(b);
  delete owner;  // frees b, which tells the outsider
  EXPECT_EQ(outsider->GetBuddy(), nullptr);
  delete outsider;
}

TEST(Component, PublishedFieldsFollowNameInsertionAndRemoval) {
  TTestRoot root(nullptr);
  auto* item = new TTestItem(&root);
  EXPECT_EQ(root.ItemA, nullptr);
  item->SetName("itema");  // found ignoring case
  EXPECT_EQ(root.ItemA, item);
  item->SetName("Other");
  EXPECT_EQ(root.ItemA, nullptr);
  item->SetName("ItemA");
  delete item;
  EXPECT_EQ(root.ItemA, nullptr);
  // A component of an unrelated class never lands in the field.
  auto* plain = new TComponent(&root);
  plain->SetName("ItemA");
  EXPECT_EQ(root.ItemA, nullptr);
}

TEST(Component, DesigningStateSpreadsToOwnedComponents) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(a->InState(csDesigning));
  auto* late = new TComponent(&owner);  // inserted later: designing too
  EXPECT_TRUE(late->InState(csDesigning));
  owner.SetDesigning(false);
  EXPECT_FALSE(a->InState(csDesigning));
}

TEST(StringList, SortedDuplicatesAndCaseInsensitiveSearch) {
  TStringList l;
  l.SetSorted(true);
  l.Add("beta");
  l.Add("Alpha");
  l.Add("gamma");
  EXPECT_EQ(l.Get(0), "Alpha");
  EXPECT_EQ(l.Add("ALPHA"), 0);  // dupIgnore: the existing index
  EXPECT_EQ(l.Count(), 3);
  l.SetDuplicates(dupError);
  try {
    l.Add("Beta");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  int i;
  EXPECT_TRUE(l.Find("GAMMA", i));
  EXPECT_EQ(i, 2);
  EXPECT_FALSE(l.Find("delta", i));
  EXPECT_EQ(i, 2);  // where it would go
  EXPECT_THROW(l.Insert(0, "x"), EStringListError);
  l.SetDuplicates(dupAccept);
  l.Add("beta");
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(l.IndexOf("BETA"), 1);
  try {
    l.Get(4);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (4)");
  }
}

TEST(StringList, TextCommaTextObjectsAndChangeEvents) {
  TStringList l;
  int changes = 0;
  l.OnChange = [&](TObject*) { ++changes; };
  l.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(changes, 1);  // one notification for the whole update
  EXPECT_EQ(l.GetText(), "a\r\nb\r\nc\r\nd\r\n");
  l.SetCommaText("one, \"two words\",\"say \"\"hi\"\"\",,last");
  ASSERT_EQ(l.Count(), 5);
  EXPECT_EQ(l.Get(1), "two words");
  EXPECT_EQ(l.Get(2), "say \"hi\"");
  EXPECT_EQ(l.Get(3), "");
  EXPECT_EQ(l.GetCommaText(), "one,\"two words\",\"say \"\"hi\"\"\",\"\",last");
  l.SetValue("key", "v");
  EXPECT_EQ(l.Values("KEY"), "v");
  TComponent obj(nullptr);
  l.AddObject("withobj", &obj);
  EXPECT_EQ(l.IndexOfObject(&obj), 6);
  l.Move(6, 0);
  EXPECT_EQ(l.GetObject(0), &obj);
}

TEST(StringList, FilesUseCrLfAndTheAnsiCodePage) {
  std::string path = testing::TempDir() + "lines.txt";
  TStringList l;
  l.Add("caf\xC3\xA9");
  l.Add("");
  l.Add("end");
  l.SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), "caf\xE9\r\n\r\nend\r\n");
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Equals(&l));
  EXPECT_THROW(back.LoadFromFile(path + ".missing"), EFOpenError);
  EXPECT_THROW(l.SaveToFile("/nonexistent-dir/x.txt"), EFCreateError);
  DeleteFile(path);
}

TEST(SysUtils, ConversionsAcceptWhatDelphiAcceptsAndNameTheBadText) {
  EXPECT_EQ(StrToInt(" -12"), -12);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  try {
    StrToInt("2147483648");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2147483648' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
  EXPECT_EQ(FloatToStr(0.5), "0.5");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
  EXPECT_EQ(FloatToStr(-1234.25), "-1234.25");
  EXPECT_EQ(FloatToStr(1.0L / 3), "0.333333333333333");
  EXPECT_EQ(Format("%s has %d items (%5.2f%%) %x", "list", 3, 42.126, 255), "list has 3 items (42.13%) FF");
  EXPECT_EQ(Format("%-4s|%3d|%.3d", "ab", 7, 5), "ab  |  7|005");
  EXPECT_EQ(ChangeFileExt("C:\\work\\my.form.dfm", ".pas"), "C:\\work\\my.form.pas");
  EXPECT_EQ(ExtractFileName("/a/b/c.dfm"), "c.dfm");
  EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
  EXPECT_TRUE(IsValidIdent("_Form1"));
  EXPECT_FALSE(IsValidIdent("Form 1"));
}

TEST(Streams, FileStreamsMemoryStreamsAndAtomicWrites) {
  std::string path = testing::TempDir() + "stream.bin";
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("hello", 5);
  }
  WriteFileAtomic(path, "replaced");
  EXPECT_EQ(ReadFileBytes(path), "replaced");
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(m.GetSize(), 8);
  char buf[16];
  EXPECT_THROW(m.ReadBuffer(buf, 9), EReadError);
  EXPECT_THROW(TFileStream("/no/such/file", fmOpenRead), EFOpenError);
  EXPECT_THROW(WriteFileAtomic("/no/such/dir/file", "x"), EFCreateError);
  DeleteFile(path);
}

// A save replaces the file a link points to and keeps the link and the file's permissions; a
// leftover temporary file of a killed save, or a link planted where one would go, is never
// written through; nothing but the saved file is left in the folder.
TEST(Streams, AtomicWritesKeepLinksPermissionsAndStrangers) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(testing::TempDir()) / ("atomic-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "real");
  const std::string target = (dir / "real" / "Unit1.dfm").string(), link = (dir / "Unit1.dfm").string();
  WriteFileAtomic(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real/Unit1.dfm", link);
  const std::string victim = (dir / "victim").string();
  WriteFileAtomic(victim, "untouched");
  fs::create_symlink(victim, target + ".tmp~");

  WriteFileAtomic(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(ReadFileBytes(victim), "untouched");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 2);  // the saved file and the planted link
  fs::remove_all(dir);
}
