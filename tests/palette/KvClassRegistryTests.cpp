// The component registry: pages and classes, no-icon classes, the standard package's
// registration. The registry is process-wide, so each test registers classes and pages of its
// own and looks at differences, never at totals.
#include <gtest/gtest.h>

#include "DBCtrls.h"
#include "Forms.h"
#include "KvClass.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace {
#define PAL_TEST_CLASS(Name, Base) \
  class Name : public Base {       \
    KV_CLASS(Name, Base)           \
   public:                         \
    using Base::Base;              \
  };
PAL_TEST_CLASS(TPalRegA, TComponent)
PAL_TEST_CLASS(TPalRegB, TComponent)
PAL_TEST_CLASS(TPalRegStreamOnly, TComponent)
PAL_TEST_CLASS(TPalRegNoIcon, TComponent)
PAL_TEST_CLASS(TPalRegNoIconChild, TPalRegNoIcon)
PAL_TEST_CLASS(TPalRegRejected, TComponent)
}  // namespace

KV_IMPLEMENT_CLASS(TPalRegA, "KvClassRegistryTests") {}
KV_IMPLEMENT_CLASS(TPalRegB, "KvClassRegistryTests") {}
KV_IMPLEMENT_CLASS(TPalRegStreamOnly, "KvClassRegistryTests") {}
KV_IMPLEMENT_CLASS(TPalRegNoIcon, "KvClassRegistryTests") {}
KV_IMPLEMENT_CLASS(TPalRegNoIconChild, "KvClassRegistryTests") {}
KV_IMPLEMENT_CLASS(TPalRegRejected, "KvClassRegistryTests") {}

namespace {
TList* PageClasses(const std::string& page) {
  int i = RegisteredPages->IndexOf(page);
  return i < 0 ? nullptr : static_cast<TList*>(RegisteredPages->GetObject(i));
}

std::vector<std::string> ClassNames(const TList* classes) {
  std::vector<std::string> names;
  for (int i = 0; classes && i < classes->Count(); ++i) names.push_back(ClassItem(classes, i)->Name);
  return names;
}

TEST(KvClassRegistry, LibraryRegistrationLandsInTheRegistryOncePerPage) {
  const int32_t before = RegisteredComponentCount;
  const int pagesBefore = RegisteredPages->Count();
  RegisterComponents("PalReg Page", {TPalRegA::StaticClass(), TPalRegB::StaticClass()});
  // Again, with the page named in other letter case: the same page, nothing new.
  RegisterComponents("PALREG page", {TPalRegA::StaticClass()});
  EXPECT_EQ(RegisteredComponentCount, before + 2);
  ASSERT_EQ(RegisteredPages->Count(), pagesBefore + 1);
  EXPECT_EQ(RegisteredPages->Get(pagesBefore), "PalReg Page");  // the spelling first given
  EXPECT_EQ(ClassNames(PageClasses("palreg page")), (std::vector<std::string>{"TPalRegA", "TPalRegB"}));
  EXPECT_EQ(GetClass("TPalRegB"), TPalRegB::StaticClass());

  // The same class on a second page counts again.
  KRegisterComponents("PalReg Other", {TPalRegA::StaticClass()});
  EXPECT_EQ(RegisteredComponentCount, before + 3);
  EXPECT_EQ(ClassNames(PageClasses("PalReg Other")), (std::vector<std::string>{"TPalRegA"}));
}

TEST(KvClassRegistry, EmptyPageRegistersForStreamingOnly) {
  const int32_t before = RegisteredComponentCount;
  const int pagesBefore = RegisteredPages->Count();
  KRegisterComponents("", {TPalRegStreamOnly::StaticClass()});
  EXPECT_EQ(GetClass("TPalRegStreamOnly"), TPalRegStreamOnly::StaticClass());
  EXPECT_EQ(RegisteredComponentCount, before);
  EXPECT_EQ(RegisteredPages->Count(), pagesBefore);
}

TEST(KvClassRegistry, NonComponentClassesAreRefusedBeforeAnythingIsRegistered) {
  const int32_t before = RegisteredComponentCount;
  EXPECT_THROW(KRegisterComponents("PalReg Refused", {TPalRegRejected::StaticClass(), TStringList::StaticClass()}),
               EComponentError);
  EXPECT_THROW(KRegisterComponents("PalReg Refused", {nullptr}), EComponentError);
  EXPECT_THROW(KRegisterNoIconProc({TPalRegRejected::StaticClass(), TBitmap::StaticClass()}), EComponentError);
  EXPECT_EQ(RegisteredComponentCount, before);
  EXPECT_EQ(PageClasses("PalReg Refused"), nullptr);
  EXPECT_EQ(GetClass("TPalRegRejected"), nullptr);
  EXPECT_EQ(NoIconClasses->IndexOf(TPalRegRejected::StaticClass()), -1);
}

TEST(KvClassRegistry, NoIconCoversDescendantsAndIsListedOnce) {
  RegisterNoIcon({TPalRegNoIcon::StaticClass()});
  const int listed = NoIconClasses->Count();
  TPalRegNoIcon plain(nullptr);
  TPalRegNoIconChild child(nullptr);
  TPalRegA other(nullptr);
  EXPECT_TRUE(IsNoIcon(&plain));
  EXPECT_TRUE(IsNoIcon(&child));
  EXPECT_FALSE(IsNoIcon(&other));
  EXPECT_FALSE(IsNoIcon(nullptr));

  // A class listed already is left alone, not even registered for streaming again.
  UnRegisterClass(TPalRegNoIcon::StaticClass());
  KRegisterNoIconProc({TPalRegNoIcon::StaticClass()});
  EXPECT_EQ(NoIconClasses->Count(), listed);
  EXPECT_EQ(GetClass("TPalRegNoIcon"), nullptr);
  RegisterClass(TPalRegNoIcon::StaticClass());
}

TEST(KvClassRegistry, InstalledOnceForTheProcess) {
  EXPECT_EQ(RegisterComponentsProc, &KRegisterComponents);
  EXPECT_EQ(RegisterNoIconProc, &KRegisterNoIconProc);

  // A second holder would replace the lists under the palette's feet.
  TStringList* pages = RegisteredPages;
  EXPECT_THROW(TD80Class second(nullptr), EComponentError);
  EXPECT_EQ(RegisteredPages, pages);
  EXPECT_EQ(RegisterComponentsProc, &KRegisterComponents);
}

TEST(KvClassRegistry, StandardPackageFillsDelphisPagesInOrder) {
  RegisterStandardComponents();
  const int32_t count = RegisteredComponentCount;
  RegisterStandardComponents();  // a second load of the package adds nothing
  EXPECT_EQ(RegisteredComponentCount, count);

  int last = -1;
  for (const char* page : {"Standard", "Additional", "Win32", "System", "Data Access", "Data Controls", "Dialogs"}) {
    SCOPED_TRACE(page);
    const int i = RegisteredPages->IndexOf(page);
    ASSERT_GT(i, last);
    last = i;
  }
  const auto standard = ClassNames(PageClasses("Standard"));
  ASSERT_GE(standard.size(), 14u);
  EXPECT_EQ(std::vector<std::string>(standard.begin(), standard.begin() + 6),
            (std::vector<std::string>{"TMainMenu", "TPopupMenu", "TLabel", "TEdit", "TMemo", "TButton"}));
  EXPECT_EQ(ClassNames(PageClasses("Data Access")).front(), "TDataSource");
  EXPECT_EQ(ClassNames(PageClasses("Data Controls")).front(), "TDBGrid");

  // Parts of other components get no icon on a designed form; components do.
  TMainMenu menu(nullptr);
  TMenuItem item(nullptr);
  TStringField field(nullptr);
  EXPECT_TRUE(IsNoIcon(&item));
  EXPECT_TRUE(IsNoIcon(&field));
  EXPECT_FALSE(IsNoIcon(&menu));
}
}  // namespace
