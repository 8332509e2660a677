#include "InspectorFixture.h"

#include "KvReg.h"
#include "StdReg.h"
#include "Windows.h"

void InspectorTest::SetUp() {
  RegisterStandardClasses();
  KvReg::Register();
  MessageBoxHook = [this](const std::string& text, const std::string&, int) {
    Boxes.push_back(text);
    return IDOK;
  };
  Host = new TForm(Application);
  Host->SetName("HostForm");
  Designer = new TKvFormDesigner(Host);
  Designer->SetName("KvFormDesigner1");
  Designer->SetRecoveryFolder("");
  Designer->NewForm();
  Engine = Designer->FDesignerWindow->CurrentDesigner();
  ASSERT_NE(Engine, nullptr);
  Inspector = Designer->ObjectInspector();
  ASSERT_NE(Inspector, nullptr);
  Window = Inspector->Form();
  ASSERT_NE(Window, nullptr);
  Inspector->SetTypeKinds(Designer->GetTypeKinds());
  Inspector->Show();
  Pump();
}

void InspectorTest::TearDown() {
  Designer->FDesignerWindow->CloseAllDesigners();
  delete Host;
  Pump();
  MessageBoxHook = nullptr;
}

void InspectorTest::Pump() { Application->ProcessMessages(); }

void InspectorTest::Select(std::initializer_list<TComponent*> components) {
  TComponentList list;
  for (TComponent* c : components) list.Add(c);
  Engine->SetSelections(&list);
  Pump();
}

int InspectorTest::RowOf(const std::string& name) const {
  for (int i = 0; i < Window->Rows()->Count(); ++i)
    if (StripRowMarks(Cell(0, i)) == name) return i;
  return -1;
}

bool InspectorTest::GoTo(const std::string& name) {
  int row = RowOf(name);
  if (row < 0) return false;
  Window->PropertyGrid->SetRow(row);
  return Window->PropertyGrid->GetRow() == row;
}

std::vector<std::string> InspectorTest::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < Window->Rows()->Count(); ++i) names.push_back(StripRowMarks(Cell(0, i)));
  return names;
}

void InspectorTest::Type(const std::string& text) {
  Window->ValueEdit->SelectAll();
  Key(VK_BACK);
  for (char c : text) Key(static_cast<uint16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
}

void InspectorTest::Key(uint16_t vk) {
  TWinControl* target = Window->ValueList->GetVisible() ? static_cast<TWinControl*>(Window->ValueList)
                                                        : static_cast<TWinControl*>(Window->ValueEdit);
  SendInput(target, WM_KEYDOWN, {}, 0, vk);
  SendInput(target, WM_KEYUP, {}, 0, vk);
}

void InspectorTest::Leave() {
  Window->PropertyGrid->SetFocus();
  Pump();
}
