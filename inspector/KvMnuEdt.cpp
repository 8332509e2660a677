#include "KvMnuEdt.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "StdReg.h"
#include "SysUtils.h"
#include "Windows.h"

TfmKvMnuEdt* fmKvMnuEdt = nullptr;

KV_IMPLEMENT_CLASS(TMenuEditor, "KvMnuEdt") {}

KV_IMPLEMENT_CLASS(TfmKvMnuEdt, "KvMnuEdt") {
  b.Field("ItemList", &TfmKvMnuEdt::ItemList);
  b.Field("CaptionLabel", &TfmKvMnuEdt::CaptionLabel);
  b.Field("CaptionEdit", &TfmKvMnuEdt::CaptionEdit);
  b.Field("ShortCutLabel", &TfmKvMnuEdt::ShortCutLabel);
  b.Field("ShortCutCombo", &TfmKvMnuEdt::ShortCutCombo);
  b.Field("CheckedBox", &TfmKvMnuEdt::CheckedBox);
  b.Field("EnabledBox", &TfmKvMnuEdt::EnabledBox);
  b.Field("InsertButton", &TfmKvMnuEdt::InsertButton);
  b.Field("AddButton", &TfmKvMnuEdt::AddButton);
  b.Field("SubMenuButton", &TfmKvMnuEdt::SubMenuButton);
  b.Field("DeleteButton", &TfmKvMnuEdt::DeleteButton);
  b.Field("UpButton", &TfmKvMnuEdt::UpButton);
  b.Field("DownButton", &TfmKvMnuEdt::DownButton);
  b.Method("FormCreate", &TfmKvMnuEdt::FormCreate);
  b.Method("ItemListClick", &TfmKvMnuEdt::ItemListClick);
  b.Method("ItemListKeyDown", &TfmKvMnuEdt::ItemListKeyDown);
  b.Method("CaptionEditChange", &TfmKvMnuEdt::CaptionEditChange);
  b.Method("ShortCutComboChange", &TfmKvMnuEdt::ShortCutComboChange);
  b.Method("CheckedBoxClick", &TfmKvMnuEdt::CheckedBoxClick);
  b.Method("EnabledBoxClick", &TfmKvMnuEdt::EnabledBoxClick);
  b.Method("InsertButtonClick", &TfmKvMnuEdt::InsertButtonClick);
  b.Method("AddButtonClick", &TfmKvMnuEdt::AddButtonClick);
  b.Method("SubMenuButtonClick", &TfmKvMnuEdt::SubMenuButtonClick);
  b.Method("DeleteButtonClick", &TfmKvMnuEdt::DeleteButtonClick);
  b.Method("UpButtonClick", &TfmKvMnuEdt::UpButtonClick);
  b.Method("DownButtonClick", &TfmKvMnuEdt::DownButtonClick);
}

namespace {

std::string KvMnuEdtStem(const std::string& caption) {
  std::string stem;
  for (unsigned char ch : caption)
    if (ch < 0x80 && (std::isalnum(ch) || ch == '_')) stem += static_cast<char>(ch);
  if (stem.empty() || std::isdigit(static_cast<unsigned char>(stem[0]))) return "N";
  return stem;
}

// The stem followed by digits only: a name the designer gave, which a new caption may replace.
bool KvMnuEdtNamedFrom(const std::string& name, const std::string& stem) {
  if (name.size() <= stem.size() || !SameText(name.substr(0, stem.size()), stem)) return false;
  for (size_t i = stem.size(); i < name.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

std::string KvMnuEdtLine(const TMenuItem* item, int depth) {
  std::string text(4 * depth, ' ');
  text += item->GetCaption().empty() ? "[" + item->GetName() + "]" : item->GetCaption();
  if (item->GetShortCut()) text += "   " + ShortCutToText(item->GetShortCut());
  if (item->Count() > 0) text += "  >";
  return text;
}

}  // namespace

std::string MenuItemName(TFormDesigner* designer, const std::string& caption) {
  // The designer takes a class name: its leading T goes.
  return designer->UniqueName("T" + KvMnuEdtStem(caption));
}

// ---------------------------------------------------------------------------------------------
// TMenuEditor

void TMenuEditor::ExecuteVerb(int index) {
  if (index == 0)
    if (auto* menu = dynamic_cast<TMenu*>(Component())) ShowMenuDesigner(menu);
}

// ---------------------------------------------------------------------------------------------
// TfmKvMnuEdt

TfmKvMnuEdt::TfmKvMnuEdt(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  InitInheritedComponent(this, TForm::StaticClass());
  fmKvMnuEdt = this;
}

TfmKvMnuEdt::~TfmKvMnuEdt() {
  ReleaseMenu();
  if (fmKvMnuEdt == this) fmKvMnuEdt = nullptr;
}

void TfmKvMnuEdt::FormCreate(TObject*) {
  TShortCutProperty shortCuts;
  shortCuts.GetValues([this](const std::string& s) { ShortCutCombo->GetItems()->Add(s); });
  UpdateFields();
}

void TfmKvMnuEdt::ReleaseMenu() {
  if (!FMenu) return;
  FMenu->OnChange = {};
  FMenu->RemoveFreeNotification(this);
  FMenu = nullptr;
}

void TfmKvMnuEdt::SetMenu(TMenu* menu) {
  if (menu == FMenu) return;
  ReleaseMenu();
  FMenu = menu;
  FSelected = nullptr;
  if (FMenu) {
    FMenu->FreeNotification(this);
    FMenu->OnChange = [this](TObject* sender, TMenuItem* source, bool rebuild) { MenuChange(sender, source, rebuild); };
    TComponent* owner = FMenu->Owner();
    SetCaption((owner ? owner->GetName() + "." : std::string()) + FMenu->GetName());
  }
  UpdateList();
}

void TfmKvMnuEdt::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation != opRemove || !FMenu || component != FMenu) return;
  FMenu = nullptr;
  FSelected = nullptr;
  if (!InState(csDestroying)) {
    UpdateList();
    Hide();
  }
}

TFormDesigner* TfmKvMnuEdt::Designer() const {
  auto* form = FMenu ? dynamic_cast<TCustomForm*>(FMenu->Owner()) : nullptr;
  return form ? dynamic_cast<TFormDesigner*>(form->GetDesigner()) : nullptr;
}

void TfmKvMnuEdt::Modified() {
  if (TFormDesigner* designer = Designer()) designer->Modified();
}

void TfmKvMnuEdt::MenuChange(TObject*, TMenuItem*, bool) {
  if (!FUpdating) UpdateList();
}

void TfmKvMnuEdt::UpdateList() {
  FEntries.clear();
  TStringList lines;
  std::function<void(TMenuItem*, int)> walk = [&](TMenuItem* parent, int depth) {
    for (int i = 0; i < parent->Count(); ++i) {
      TMenuItem* item = parent->Items(i);
      FEntries.push_back(item);
      lines.Add(KvMnuEdtLine(item, depth));
      walk(item, depth + 1);
    }
  };
  if (FMenu) walk(FMenu->Items(), 0);
  auto it = std::find(FEntries.begin(), FEntries.end(), FSelected);
  if (it == FEntries.end()) FSelected = nullptr;
  FUpdating = true;
  ItemList->GetItems()->Assign(&lines);
  ItemList->SetItemIndex(FSelected ? static_cast<int>(it - FEntries.begin()) : -1);
  FUpdating = false;
  UpdateFields();
}

void TfmKvMnuEdt::UpdateFields() {
  const bool has = FSelected != nullptr;
  FUpdating = true;
  if (!has || CaptionEdit->GetText() != FSelected->GetCaption()) CaptionEdit->SetText(has ? FSelected->GetCaption() : "");
  std::string shortCut = has && FSelected->GetShortCut() ? ShortCutToText(FSelected->GetShortCut()) : "";
  if (ShortCutCombo->GetText() != shortCut) ShortCutCombo->SetText(shortCut);
  CheckedBox->SetChecked(has && FSelected->GetChecked());
  EnabledBox->SetChecked(has && FSelected->GetEnabled());
  FUpdating = false;
  for (TControl* c : std::initializer_list<TControl*>{CaptionEdit, ShortCutCombo, CheckedBox, EnabledBox,
                                                       SubMenuButton, DeleteButton, UpButton, DownButton})
    c->SetEnabled(has);
  InsertButton->SetEnabled(FMenu != nullptr);
  AddButton->SetEnabled(FMenu != nullptr);
}

void TfmKvMnuEdt::SelectItem(TMenuItem* item) {
  FSelected = item;
  auto it = std::find(FEntries.begin(), FEntries.end(), item);
  if (it == FEntries.end()) FSelected = nullptr;
  FUpdating = true;
  ItemList->SetItemIndex(FSelected ? static_cast<int>(it - FEntries.begin()) : -1);
  FUpdating = false;
  UpdateFields();
  if (TFormDesigner* designer = Designer()) designer->SelectComponent(FSelected ? static_cast<TPersistent*>(FSelected) : FMenu);
}

void TfmKvMnuEdt::ItemListClick(TObject*) {
  if (FUpdating) return;
  int i = ItemList->GetItemIndex();
  SelectItem(i >= 0 && i < static_cast<int>(FEntries.size()) ? FEntries[i] : nullptr);
}

void TfmKvMnuEdt::ItemListKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key == VK_INSERT) InsertButtonClick(this);
  else if (Key == VK_DELETE) DeleteButtonClick(this);
  else return;
  Key = 0;
}

TMenuItem* TfmKvMnuEdt::NewMenuItem(TMenuItem* parent, int index) {
  TFormDesigner* designer = Designer();
  if (!designer) return nullptr;
  auto* item = static_cast<TMenuItem*>(designer->CreateComponent(TMenuItem::StaticClass(), nullptr, 0, 0, 0, 0));
  FUpdating = true;
  try {
    item->SetName(MenuItemName(designer, ""));
    parent->Insert(index, item);
  } catch (...) {
    FUpdating = false;
    delete item;
    throw;
  }
  FUpdating = false;
  UpdateList();
  SelectItem(item);
  Modified();
  return item;
}

void TfmKvMnuEdt::InsertButtonClick(TObject*) {
  if (!FMenu) return;
  if (FSelected) NewMenuItem(FSelected->Parent(), FSelected->GetMenuIndex());
  else NewMenuItem(FMenu->Items(), 0);
}

void TfmKvMnuEdt::AddButtonClick(TObject*) {
  if (!FMenu) return;
  if (FSelected) NewMenuItem(FSelected->Parent(), FSelected->GetMenuIndex() + 1);
  else NewMenuItem(FMenu->Items(), FMenu->Items()->Count());
}

void TfmKvMnuEdt::SubMenuButtonClick(TObject*) {
  if (FSelected) NewMenuItem(FSelected, FSelected->Count());
}

void TfmKvMnuEdt::DeleteButtonClick(TObject*) {
  if (!FSelected || !Designer()) return;
  TMenuItem* doomed = FSelected;
  TMenuItem* parent = doomed->Parent();
  const int index = doomed->GetMenuIndex();
  // The design lets go of the item before it goes, then the neighbour takes its place.
  SelectItem(nullptr);
  delete doomed;
  TMenuItem* next = parent->Count() == 0                ? (parent->Parent() ? parent : nullptr)
                    : index < parent->Count()           ? parent->Items(index)
                                                        : parent->Items(parent->Count() - 1);
  SelectItem(next);
  Modified();
}

void TfmKvMnuEdt::MoveSelected(int delta) {
  if (!FSelected || !Designer()) return;
  const int index = FSelected->GetMenuIndex() + delta;
  if (index < 0 || index >= FSelected->Parent()->Count()) return;
  FSelected->SetMenuIndex(index);
  Modified();
}

void TfmKvMnuEdt::UpButtonClick(TObject*) { MoveSelected(-1); }
void TfmKvMnuEdt::DownButtonClick(TObject*) { MoveSelected(1); }

void TfmKvMnuEdt::CaptionEditChange(TObject*) {
  TFormDesigner* designer = Designer();
  if (FUpdating || !FSelected || !designer) return;
  const std::string caption = CaptionEdit->GetText();
  const std::string oldStem = KvMnuEdtStem(FSelected->GetCaption());
  FSelected->SetCaption(caption);
  if (KvMnuEdtStem(caption) != oldStem && KvMnuEdtNamedFrom(FSelected->GetName(), oldStem))
    FSelected->SetName(MenuItemName(designer, caption));
  Modified();
}

void TfmKvMnuEdt::ShortCutComboChange(TObject*) {
  if (FUpdating || !FSelected || !Designer()) return;
  // Text that names no key (half typed, or "(None)") clears the short cut.
  FSelected->SetShortCut(TextToShortCut(ShortCutCombo->GetText()));
  Modified();
}

void TfmKvMnuEdt::CheckedBoxClick(TObject*) {
  if (FUpdating || !FSelected || !Designer()) return;
  FSelected->SetChecked(CheckedBox->GetChecked());
  Modified();
}

void TfmKvMnuEdt::EnabledBoxClick(TObject*) {
  if (FUpdating || !FSelected || !Designer()) return;
  FSelected->SetEnabled(EnabledBox->GetChecked());
  Modified();
}

// ---------------------------------------------------------------------------------------------

TfmKvMnuEdt* ShowMenuDesigner(TMenu* menu) {
  if (!fmKvMnuEdt) new TfmKvMnuEdt(Application);
  fmKvMnuEdt->SetMenu(menu);
  fmKvMnuEdt->Show();
  return fmKvMnuEdt;
}

void RegisterMenuEditor() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterComponentEditor(TMenu::StaticClass(), TMenuEditor::StaticClass());
}
