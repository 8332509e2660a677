// KvDsgn: creating and naming components, what the engine lists and lets the user pick, the
// icons of non-visual components, and the drop of database fields.
#include "KvDsgn.h"

#include "DBCtrls.h"
#include "Db.h"
#include "SysUtils.h"
#include "TypInfo.h"

// ---------------------------------------------------------------------------------------------
// Creation and naming.

TComponent* TKFormDesigner::CreateComponent(TClass componentClass, TComponent* parent, int left, int top, int, int) {
  auto* c = static_cast<TComponent*>(componentClass->Create(FForm));
  TKvIcon* icon = nullptr;
  try {
    c->SetName(UniqueName(c->ClassName()));
    ClearSaveList(0);
    TComponent* item = c;
    if (auto* control = dynamic_cast<TControl*>(c)) {
      auto* container = dynamic_cast<TWinControl*>(parent);
      if (!container) container = FForm;
      TPoint p = container->ScreenToClient(FForm->ClientToScreen({left, top}));
      control->SetBounds(p.X, p.Y, control->GetWidth(), control->GetHeight());
      control->SetParent(container);
      if (container == FForm) BringToFrontIcons();
    } else if ((icon = CreateIcon(c))) {
      icon->SetBounds(left, top, icon->GetWidth(), icon->GetHeight());
      item = icon;
    }
    // The first main menu of a form becomes its menu bar, as the VCL's forms take it.
    if (auto* menu = dynamic_cast<TMainMenu*>(c); menu && !FForm->GetMenu()) FForm->SetMenu(menu);
    FTarget = item;
    AddUndo(c);
    SelectComponent(item);
  } catch (...) {
    if (icon) {
      DestroyIcon(icon);
      delete icon;
    } else {
      delete c;
    }
    throw;
  }
  return c;
}

std::string TKFormDesigner::UniqueName(const std::string& baseName) {
  std::string stem = !baseName.empty() && baseName[0] == 'T' ? baseName.substr(1) : baseName;
  for (int i = 1;; ++i) {
    std::string name = stem + IntToStr(i);
    if ((!Application || !Application->FindComponent(name)) && !FForm->FindComponent(name)) return name;
  }
}

void TKFormDesigner::GetComponentNames(PTypeInfo classType, const TGetStrProc& proc) {
  TClass cls = classType ? classType->ClassType : nullptr;
  for (int i = 0; i < FForm->ComponentCount(); ++i) {
    TComponent* c = FForm->Components(i);
    if (Listable(c) && (!cls || c->InheritsFrom(cls))) proc(c->GetName());
  }
}

TComponent* TKFormDesigner::GetComponent(const std::string& name) {
  std::function<TComponent*(TComponent*)> search = [&](TComponent* owner) -> TComponent* {
    for (int i = owner->ComponentCount() - 1; i >= 0; --i) {
      TComponent* c = owner->Components(i);
      if (c->GetName() == name) return c;
      if (dynamic_cast<TControl*>(c))
        if (TComponent* found = search(c)) return found;
    }
    return nullptr;
  };
  return search(FForm);
}

std::string TKFormDesigner::GetComponentName(TComponent* component) { return component ? component->GetName() : ""; }

bool TKFormDesigner::Listable(TComponent* c) const {
  return !dynamic_cast<TKvIcon*>(c) && !dynamic_cast<TKvDot*>(c) && !dynamic_cast<TKLabel*>(c);
}

bool TKFormDesigner::Selectable(TComponent* c) const {
  return c && !dynamic_cast<TKvDot*>(c) && !dynamic_cast<TKLabel*>(c) && !IsNoIcon(c) && dynamic_cast<TControl*>(c) &&
         !c->InState(csDestroying);
}

// ---------------------------------------------------------------------------------------------
// Icons.

TKvIcon* TKFormDesigner::CreateIcon(TComponent* component) {
  if (IsNoIcon(component) || dynamic_cast<TControl*>(component)) return nullptr;
  auto* icon = new TKvIcon(FForm);
  FIcons->Add(icon);
  FIconComponents->Add(component);
  icon->SetVisible(false);
  icon->SetParent(FForm);
  icon->SetComponent(component);
  icon->GetGlyph()->Assign(GetComponentBitmap(component->ClassType()));
  return icon;
}

void TKFormDesigner::DestroyIcon(TKvIcon* icon) {
  if (TComponent* component = icon->Component(); component && !component->InState(csDestroying)) {
    delete component;  // the icon hears of it and lets go of it
  }
  int i = FIcons->IndexOf(icon);
  if (i >= 0) {
    FIcons->Delete(i);
    FIconComponents->Delete(i);
  }
}

void TKFormDesigner::CreateIcons() {
  int count = FForm->ComponentCount();
  std::vector<TComponent*> existing;
  existing.reserve(count);
  for (int i = 0; i < count; ++i) existing.push_back(FForm->Components(i));
  for (TComponent* c : existing) CreateIcon(c);
}

void TKFormDesigner::BringToFrontIcons() {
  for (int i = 0; i < FForm->ComponentCount(); ++i)
    if (auto* icon = dynamic_cast<TKvIcon*>(FForm->Components(i))) icon->BringToFront();
}

// ---------------------------------------------------------------------------------------------
// Dropping database fields.

intptr_t TKFormDesigner::HandleDrag(int dragMessage, TDragRec* dragRec) {
  switch (dragMessage) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragCancel: return 1;
    case dmDragMove: return dynamic_cast<TKvDragField*>(dragRec->Source) ? 1 : 0;
    case dmDragDrop:
      if (auto* source = dynamic_cast<TKvDragField*>(dragRec->Source)) DropFields(source, dragRec->Pos);
      return 0;
    // The form claims the drop itself. The platform keeps the answer as the drag's target
    // control and asks it for client coordinates, so it must be a control: the form.
    case dmFindTarget: return reinterpret_cast<intptr_t>(static_cast<TControl*>(FForm));
    default: return 0;
  }
}

void TKFormDesigner::DropFields(TKvDragField* source, const TPoint& screenPoint) {
  TKUndoScope undo(this, "Insert", {}, true);
  TPoint at = FForm->ScreenToClient(screenPoint);
  int x = at.X, y = at.Y;
  // Dropped over an edit box or an icon, the controls go to the container around it.
  TControl* parent = InsertionParent(ControlAt(FForm, screenPoint));
  // One data source per data set: a field of another data set never binds to the last one.
  TDataSource* dataSource = nullptr;
  auto sourceFor = [&](TField* field) {
    if (dataSource && dataSource->GetDataSet() == field->GetDataSet()) return dataSource;
    dataSource = nullptr;
    for (int i = 0; i < FForm->ComponentCount() && !dataSource; ++i)
      if (auto* ds = dynamic_cast<TDataSource*>(FForm->Components(i)); ds && ds->GetDataSet() == field->GetDataSet())
        dataSource = ds;
    if (!dataSource) {
      dataSource = static_cast<TDataSource*>(
          CreateComponent(TDataSource::StaticClass(), FForm, FForm->GetWidth() / 2, FForm->GetHeight() / 2, 0, 0));
      dataSource->SetDataSet(field->GetDataSet());
    }
    return dataSource;
  };

  bool created = false;
  for (int f = 0; f < source->FieldList->Count(); ++f) {
    auto* field = static_cast<TField*>(source->FieldList->Get(f));
    TClass dataClass = nullptr;
    bool labelled = true;
    switch (field->GetDataType()) {
      case ftUnknown:
      case ftParadoxOle:
      case ftDBaseOle: continue;
      case ftBoolean:
        dataClass = TDBCheckBox::StaticClass();
        labelled = false;
        break;
      case ftBlob:
      case ftGraphic:
      case ftTypedBinary:
      case ftCursor: dataClass = TDBImage::StaticClass(); break;
      case ftMemo:
      case ftFmtMemo: dataClass = TDBMemo::StaticClass(); break;
      default: dataClass = TDBEdit::StaticClass(); break;
    }
    TLabel* label = nullptr;
    if (labelled) {
      label = static_cast<TLabel*>(CreateComponent(TLabel::StaticClass(), parent, x, y, 0, 0));
      label->SetCaption(field->GetFieldName());
      y += label->GetHeight() + 3;
    }
    auto* control = static_cast<TControl*>(CreateComponent(dataClass, parent, x, y, 0, 0));
    if (auto* check = dynamic_cast<TDBCheckBox*>(control)) check->SetCaption(field->GetFieldName());
    if (auto* edit = dynamic_cast<TDBEdit*>(control))
      edit->SetWidth(FForm->Canvas()->TextWidth("#") * field->GetDisplayWidth());
    // Every data control publishes DataSource and DataField.
    SetObjectProp(control, GetPropInfo(control, "DataSource"), sourceFor(field));
    SetStrProp(control, "DataField", field->GetFieldName());
    y += control->GetHeight() + 7;
    if (label)
      if (auto* windowed = dynamic_cast<TWinControl*>(control)) label->SetFocusControl(windowed);
    created = true;
  }
  // New controls are unsaved work: closing the design must offer to save them.
  if (created) Modified();
}
