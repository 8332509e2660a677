// Property editors over real components, through a recording designer.
#include <gtest/gtest.h>

#include "DsgnIntf.h"
#include "ExtCtrls.h"
#include "Graphics.h"
#include "StdCtrls.h"
#include "TestComponents.h"

namespace {

// A designer over one root: names, references and methods as a form designer would answer.
class TRecordingDesigner : public TFormDesigner {
 public:
  explicit TRecordingDesigner(TComponent* root) : FRoot(root) {}
  bool IsDesignMsg(TControl*, TMessage&) override { return false; }
  void Modified() override { ++ModifiedCount; }
  void Notification(TComponent*, TOperation) override {}
  void PaintGrid() override {}
  void ValidateRename(TComponent*, const std::string&, const std::string&) override {}
  std::string UniqueName(const std::string& base) override { return base + "1"; }
  TComponent* GetRoot() override { return FRoot; }
  std::string GetPrivateDirectory() override { return ""; }
  TMethod CreateMethod(const std::string& name, PTypeInfo) override {
    Created.push_back(name);
    return name.empty() ? TMethod() : FRoot->MethodAddress(name);
  }
  std::string GetMethodName(const TMethod& m) override { return TObject::MethodName(m); }
  void GetMethods(PTypeInfo, const TGetStrProc& proc) override { proc("ItemClick"); }
  void GetSelections(TComponentList*) override {}
  bool MethodExists(const std::string& name) override { return FRoot->MethodAddress(name).Assigned(); }
  void RenameMethod(const std::string& from, const std::string& to) override { Renamed.push_back(from + ">" + to); }
  void SelectComponent(TPersistent*) override {}
  void SetSelections(TComponentList*) override {}
  void ShowMethod(const std::string& name) override { Shown.push_back(name); }
  void GetComponentNames(PTypeInfo type, const TGetStrProc& proc) override {
    for (int i = 0; i < FRoot->ComponentCount(); ++i)
      if (FRoot->Components(i)->InheritsFrom(type->ClassType)) proc(FRoot->Components(i)->GetName());
  }
  TComponent* GetComponent(const std::string& name) override { return FRoot->FindComponent(name); }
  std::string GetComponentName(TComponent* c) override { return c->GetName(); }
  std::string GetObjectName(TPersistent* p) override {
    return Cast<TComponent>(p) ? static_cast<TComponent*>(p)->GetName() : "";
  }
  bool MethodFromAncestor(const TMethod&) override { return false; }
  bool IsComponentLinkable(TComponent*) override { return true; }
  void MakeComponentLinkable(TComponent*) override {}
  void Revert(TPersistent*, PPropInfo) override {}

  int ModifiedCount = 0;
  std::vector<std::string> Created, Renamed, Shown;

 private:
  TComponent* FRoot;
};

// Owns the editors GetComponentProperties hands out and finds them by name.
struct TEditorSet {
  std::vector<std::unique_ptr<TPropertyEditor>> All;
  TPropertyEditor* operator[](const std::string& name) const {
    for (auto& e : All)
      if (e->GetName() == name) return e.get();
    return nullptr;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> r;
    for (auto& e : All) r.push_back(e->GetName());
    return r;
  }
};

TEditorSet Editors(std::initializer_list<TComponent*> comps, TFormDesigner* d, TTypeKinds kinds = 0xFFFF) {
  TComponentList list;
  for (TComponent* c : comps) list.Add(c);
  TEditorSet set;
  GetComponentProperties(&list, kinds, d, [&](TPropertyEditor* e) { set.All.emplace_back(e); });
  return set;
}

TEditorSet SubEditors(TPropertyEditor* parent) {
  TEditorSet set;
  parent->GetProperties([&](TPropertyEditor* e) { set.All.emplace_back(e); });
  return set;
}

std::vector<std::string> Values(TPropertyEditor* e) {
  std::vector<std::string> r;
  e->GetValues([&](const std::string& v) { r.push_back(v); });
  return r;
}

class DsgnIntfTest : public ::testing::Test {
 protected:
  DsgnIntfTest() : Root(nullptr), D(&Root) {
    Root.SetName("Form1");
    A = new TTestItem(&Root);
    A->SetName("ItemA");
    B = new TTestItem(&Root);
    B->SetName("ItemB");
  }
  TTestRoot Root;
  TRecordingDesigner D;
  TTestItem* A;
  TTestItem* B;
};

}  // namespace

TEST_F(DsgnIntfTest, OneEditorPerCommonPropertyInAlphabeticalOrder) {
  auto one = Editors({A}, &D);
  EXPECT_EQ(one.Names(),
            (std::vector<std::string>{"Accel", "Big", "Buddy", "Caption", "Columns", "Count", "Enabled", "Font",
                                      "Lines", "Mode", "Name", "OnClick", "OnKey", "Ratio", "Styles", "Tag"}));
  // Two components: Name cannot be edited for both at once.
  auto two = Editors({A, B}, &D);
  EXPECT_EQ(two["Name"], nullptr);
  EXPECT_NE(two["Count"], nullptr);
  // The filter is a mask of kinds: integers and strings only.
  auto some = Editors({A}, &D, TypeKindBit(tkInteger) | TypeKindBit(tkLString));
  EXPECT_EQ(some.Names(), (std::vector<std::string>{"Big", "Caption", "Count", "Name", "Tag"}));
  TComponentList empty;
  int calls = 0;
  GetComponentProperties(&empty, 0xFFFF, &D, [&](TPropertyEditor* e) {
    ++calls;
    delete e;
  });
  EXPECT_EQ(calls, 0);
}

TEST_F(DsgnIntfTest, TypedValueSetsEverySelectedComponentAndTellsTheDesigner) {
  auto eds = Editors({A, B}, &D);
  TPropertyEditor* count = eds["Count"];
  B->SetCount(5);
  EXPECT_FALSE(count->AllEqual());
  count->SetValue("$10");
  EXPECT_EQ(A->GetCount(), 16);
  EXPECT_EQ(B->GetCount(), 16);
  EXPECT_TRUE(count->AllEqual());
  EXPECT_EQ(count->GetValue(), "16");
  EXPECT_EQ(D.ModifiedCount, 1);
}

TEST_F(DsgnIntfTest, RefusedTextRaisesTheEditorsMessageAndChangesNothing) {
  auto eds = Editors({A}, &D);
  A->SetCount(3);
  try {
    eds["Count"]->SetValue("12abc");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12abc' is not a valid integer value");
  }
  EXPECT_EQ(A->GetCount(), 3);
  try {
    eds["Mode"]->SetValue("cmPink");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Invalid property value");
  }
  EXPECT_THROW(eds["Ratio"]->SetValue("1,5"), EConvertError);
  EXPECT_THROW(eds["Enabled"]->SetValue("maybe"), EPropertyError);
  EXPECT_EQ(D.ModifiedCount, 0);
}

TEST_F(DsgnIntfTest, EnumerationsBooleansAndCharsOfferTheirValues) {
  auto eds = Editors({A}, &D);
  EXPECT_EQ(Values(eds["Mode"]), (std::vector<std::string>{"cmNone", "cmRed", "cmGreen", "cmBlue"}));
  EXPECT_TRUE(eds["Mode"]->GetAttributes().Contains(paValueList));
  eds["Mode"]->SetValue("cmgreen");
  EXPECT_EQ(A->GetMode(), cmGreen);
  EXPECT_EQ(Values(eds["Enabled"]), (std::vector<std::string>{"False", "True"}));
  eds["Enabled"]->Edit();  // a double click steps to the next value
  EXPECT_FALSE(A->GetEnabled());
  eds["Accel"]->SetValue("#9");
  EXPECT_EQ(A->GetAccel(), '\t');
  EXPECT_EQ(eds["Accel"]->GetValue(), "#9");
}

TEST_F(DsgnIntfTest, SetsExpandIntoBooleanElementsThatKeepEachComponentsOtherElements) {
  A->SetStyles(TTestStyles{tsBold});
  B->SetStyles(TTestStyles{tsUnderline});
  auto eds = Editors({A, B}, &D);
  TPropertyEditor* styles = eds["Styles"];
  EXPECT_TRUE(styles->GetAttributes().Contains(paSubProperties));
  EXPECT_EQ(styles->GetValue(), "[tsBold]");
  auto elems = SubEditors(styles);
  EXPECT_EQ(elems.Names(), (std::vector<std::string>{"tsBold", "tsItalic", "tsUnderline", "tsStrikeOut"}));
  elems["tsItalic"]->SetValue("True");
  EXPECT_TRUE(A->GetStyles() == (TTestStyles{tsBold, tsItalic}));
  EXPECT_TRUE(B->GetStyles() == (TTestStyles{tsItalic, tsUnderline}));
  EXPECT_FALSE(elems["tsBold"]->AllEqual());
}

TEST_F(DsgnIntfTest, ObjectsExpandIntoTheirPublishedProperties) {
  auto eds = Editors({A}, &D);
  TPropertyEditor* font = eds["Font"];
  EXPECT_EQ(font->GetValue(), "(TTestFont)");
  auto sub = SubEditors(font);
  EXPECT_EQ(sub.Names(), (std::vector<std::string>{"Name", "Size", "Style"}));
  sub["Size"]->SetValue("14");
  EXPECT_EQ(A->GetFont()->GetSize(), 14);
}

TEST_F(DsgnIntfTest, ComponentReferencesByName) {
  auto eds = Editors({A}, &D);
  TPropertyEditor* buddy = eds["Buddy"];
  EXPECT_EQ(Values(buddy), (std::vector<std::string>{"ItemA", "ItemB"}));
  buddy->SetValue("itemb");
  EXPECT_EQ(A->GetBuddy(), B);
  EXPECT_EQ(buddy->GetValue(), "ItemB");
  EXPECT_THROW(buddy->SetValue("NoSuch"), EPropertyError);
  EXPECT_EQ(A->GetBuddy(), B);
  buddy->SetValue("");
  EXPECT_EQ(A->GetBuddy(), nullptr);
}

TEST_F(DsgnIntfTest, EventsAreCreatedRenamedAndShownThroughTheDesigner) {
  auto eds = Editors({A}, &D);
  TPropertyEditor* click = eds["OnClick"];
  EXPECT_EQ(click->GetValue(), "");
  click->SetValue("ItemClick");  // exists on the root: assigned, not shown
  EXPECT_EQ(TObject::MethodName(A->OnClick.Method()), "ItemClick");
  EXPECT_TRUE(D.Shown.empty());
  click->SetValue("ItemClick2");  // a rename of the assigned handler
  EXPECT_EQ(D.Renamed, (std::vector<std::string>{"ItemClick>ItemClick2"}));
  EXPECT_THROW(click->SetValue("not an identifier"), EPropertyError);
  auto* m = static_cast<TMethodProperty*>(eds["OnKey"]);
  EXPECT_EQ(m->GetFormMethodName(), "ItemAKey");
}

TEST_F(DsgnIntfTest, NameIsValidatedByTheComponent) {
  auto eds = Editors({A}, &D);
  try {
    eds["Name"]->SetValue("ItemB");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named ItemB already exists");
  }
  EXPECT_EQ(A->GetName(), "ItemA");
  eds["Name"]->SetValue("Renamed");
  EXPECT_EQ(Root.FindComponent("Renamed"), A);
}

TEST(PropertyEditorRegistry, LatestMostSpecificRegistrationWins) {
  TTestItem item(nullptr);
  PPropInfo count = GetPropInfo(&item, "Count");
  PPropInfo caption = GetPropInfo(&item, "Caption");
  EXPECT_EQ(GetEditorClass(count, &item), TIntegerProperty::StaticClass());
  RegisterPropertyEditor(TypeInfoInteger(), nullptr, "", TCharProperty::StaticClass());
  EXPECT_EQ(GetEditorClass(count, &item), TCharProperty::StaticClass());
  // Naming the property beats a plain type registration, even an older one against a newer.
  RegisterPropertyEditor(TypeInfoInteger(), nullptr, "Count", TIntegerProperty::StaticClass());
  RegisterPropertyEditor(TypeInfoInteger(), nullptr, "", TCharProperty::StaticClass());
  EXPECT_EQ(GetEditorClass(count, &item), TIntegerProperty::StaticClass());
  // A component class restriction counts too.
  RegisterPropertyEditor(TypeInfoString(), TTestRoot::StaticClass(), "", TCaptionProperty::StaticClass());
  EXPECT_EQ(GetEditorClass(caption, &item), TStringProperty::StaticClass());
  TTestRoot root(nullptr);
  EXPECT_EQ(GetEditorClass(caption, &root), TCaptionProperty::StaticClass());
  // Class-typed registrations reach descendants of the class.
  EXPECT_EQ(GetEditorClass(GetPropInfo(&item, "Buddy"), &item), TComponentProperty::StaticClass());
}

TEST(PropertyEditorRegistry, ColoursAcceptNamesAndNumbers) {
  TTestRoot root(nullptr);
  TRecordingDesigner d(&root);
  auto* font = new TFont;
  std::unique_ptr<TFont> owner(font);
  TEditorSet set;
  GetObjectProperties({font}, 0xFFFF, &d, [&](TPropertyEditor* e) { set.All.emplace_back(e); });
  TPropertyEditor* color = set["Color"];
  ASSERT_NE(color, nullptr);
  color->SetValue("clRed");
  EXPECT_EQ(font->GetColor(), clRed);
  EXPECT_EQ(color->GetValue(), "clRed");
  color->SetValue("$00123456");
  // Font names come from the system's font families, and are edited as plain strings.
  TPropertyEditor* name = set["Name"];
  ASSERT_NE(name, nullptr);
  EXPECT_TRUE(name->GetAttributes().Contains(paValueList));
  EXPECT_FALSE(Values(name).empty());
  name->SetValue("Arial");
  EXPECT_EQ(font->GetName(), "Arial");
  EXPECT_EQ(color->GetValue(), "$00123456");
  auto values = Values(color);
  EXPECT_NE(std::find(values.begin(), values.end(), "clBtnFace"), values.end());
  EXPECT_THROW(color->SetValue("clNoSuchColour"), EConvertError);
}

TEST(PropertyEditorRegistry, ModalResultsAndCursorsByName) {
  TForm form(nullptr);
  TTestRoot root(nullptr);
  TRecordingDesigner d(&root);
  auto* button = new TButton(&form);
  TEditorSet set;
  GetObjectProperties({button}, 0xFFFF, &d, [&](TPropertyEditor* e) { set.All.emplace_back(e); });
  TPropertyEditor* mr = set["ModalResult"];
  ASSERT_NE(mr, nullptr);
  EXPECT_EQ(mr->GetValue(), "mrNone");
  mr->SetValue("mrcancel");
  EXPECT_EQ(button->GetModalResult(), 2);
  mr->SetValue("42");
  EXPECT_EQ(mr->GetValue(), "42");
  EXPECT_EQ(Values(mr).size(), 9u);
  TPropertyEditor* cursor = set["Cursor"];
  auto names = Values(cursor);
  EXPECT_NE(std::find(names.begin(), names.end(), "crHandPoint"), names.end());
  cursor->SetValue("crHandPoint");
  EXPECT_EQ(button->GetCursor(), crHandPoint);
}

TEST(FormDesignerDefaults, CreateComponentNamesAndPlacesTheNewComponentInTheRoot) {
  TForm form(nullptr);
  form.SetName("Form1");
  auto* panel = new TPanel(&form);
  panel->SetName("Panel1");
  panel->SetBounds(10, 10, 200, 100);
  panel->SetParent(&form);
  TRecordingDesigner designer(&form);
  // A control goes into the windowed parent, at the root-client point in its coordinates.
  auto* button = static_cast<TButton*>(designer.CreateComponent(TButton::StaticClass(), panel, 30, 40, 0, 0));
  EXPECT_EQ(button->Owner(), &form);
  EXPECT_EQ(button->GetName(), "TButton1");  // as this designer's UniqueName answers
  EXPECT_EQ(button->GetParent(), panel);
  EXPECT_EQ((TRect{button->GetLeft(), button->GetTop(), button->GetWidth(), button->GetHeight()}),
            (TRect{20, 30, 75, 25}));
  // No parent: the root; a size given replaces the default.
  auto* other = static_cast<TPanel*>(designer.CreateComponent(TPanel::StaticClass(), nullptr, 5, 6, 50, 20));
  EXPECT_EQ(other->GetParent(), &form);
  EXPECT_EQ((TRect{other->GetLeft(), other->GetTop(), other->GetWidth(), other->GetHeight()}), (TRect{5, 6, 50, 20}));
  // A duplicate name fails before anything is left behind.
  EXPECT_THROW(designer.CreateComponent(TButton::StaticClass(), panel, 0, 0, 0, 0), EComponentError);
  EXPECT_EQ(form.ComponentCount(), 3);
}
