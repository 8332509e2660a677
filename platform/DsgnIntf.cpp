#include "DsgnIntf.h"

#include <algorithm>
#include <memory>

#include "Consts.h"
#include "Dialogs.h"
#include "Graphics.h"

KV_IMPLEMENT_CLASS(TComponentList, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TPropertyEditor, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TOrdinalProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TIntegerProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TCharProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TEnumProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TBoolProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TFloatProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TStringProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TCaptionProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TSetElementProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TSetProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TClassProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TComponentProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TComponentNameProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TMethodProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TIntegerConstProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TModalResultProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TFontNameProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TColorProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TFontProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TTabOrderProperty, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TComponentEditor, "DsgnIntf") {}
KV_IMPLEMENT_CLASS(TDefaultEditor, "DsgnIntf") {}

namespace {
constexpr const char* SOutOfRange = "Value must be between %d and %d";
constexpr const char* SCannotCreateName = "Cannot create a method for an unnamed component";
constexpr const char* SUnknownValue = "(Unknown)";
// Every kind but events and the unknown kind: what an object's sub-rows show.
constexpr TTypeKinds kSubPropertyKinds = 0xFFFF & ~TypeKindBit(tkMethod) & ~TypeKindBit(tkUnknown);

[[noreturn]] void InvalidValue() { throw EPropertyError(SInvalidPropertyValue); }
}  // namespace

// ---------------------------------------------------------------------------------------------
// TComponentList

TComponent* TComponentList::Items(int i) const {
  if (i < 0 || i >= Count()) throw EListError(Format(SListIndexError, i));
  return FItems[i];
}

int TComponentList::Add(TComponent* c) {
  FItems.push_back(c);
  return Count() - 1;
}

void TComponentList::Insert(int i, TComponent* c) {
  if (i < 0 || i > Count()) throw EListError(Format(SListIndexError, i));
  FItems.insert(FItems.begin() + i, c);
}

void TComponentList::Delete(int i) {
  Items(i);
  FItems.erase(FItems.begin() + i);
}

int TComponentList::Remove(TComponent* c) {
  int i = IndexOf(c);
  if (i >= 0) Delete(i);
  return i;
}

int TComponentList::IndexOf(const TComponent* c) const {
  auto it = std::find(FItems.begin(), FItems.end(), c);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

bool TComponentList::Equals(const TComponentList* other) const { return other && FItems == other->FItems; }

// ---------------------------------------------------------------------------------------------
// TPropertyEditor

void TPropertyEditor::Setup(TFormDesigner* designer, int propCount) {
  FDesigner = designer;
  FProps.assign(propCount, Entry{nullptr, nullptr});
}

void TPropertyEditor::SetPropEntry(int i, TPersistent* instance, PPropInfo prop) { FProps.at(i) = {instance, prop}; }

TPersistent* TPropertyEditor::GetComponent(int i) const { return FProps.at(i).Instance; }

bool TPropertyEditor::AllEqual() { return PropCount() == 1; }

// Without a dialog, editing steps to the next value of the list, as a double click does.
void TPropertyEditor::Edit() {
  TStringList values;
  values.SetSorted(GetAttributes().Contains(paSortList));
  GetValues([&](const std::string& v) { values.Add(v); });
  if (values.Count() == 0) return;
  int i = values.IndexOf(GetValue()) + 1;
  if (i == values.Count()) i = 0;
  SetValue(values.Get(i));
}

TPropertyAttributes TPropertyEditor::GetAttributes() { return {paMultiSelect, paRevertable}; }

int TPropertyEditor::GetEditLimit() { return 255; }

std::string TPropertyEditor::GetName() { return FProps[0].Prop->Name; }

void TPropertyEditor::GetProperties(const TGetPropEditProc&) {}

std::string TPropertyEditor::GetValue() { return SUnknownValue; }

void TPropertyEditor::GetValues(const TGetStrProc&) {}

void TPropertyEditor::SetValue(const std::string&) {}

// An editor whose value cannot even be read is not offered.
bool TPropertyEditor::ValueAvailable() {
  try {
    GetValue();
    AllEqual();
  } catch (const Exception&) {
    return false;
  }
  return true;
}

void TPropertyEditor::Revert() {
  if (!FDesigner) return;
  for (auto& e : FProps) FDesigner->Revert(e.Instance, e.Prop);
}

std::string TPropertyEditor::PrivateDirectory() { return FDesigner ? FDesigner->GetPrivateDirectory() : ""; }

int64_t TPropertyEditor::GetOrdValueAt(int i) const { return GetOrdProp(FProps.at(i).Instance, FProps.at(i).Prop); }
std::string TPropertyEditor::GetStrValueAt(int i) const { return GetStrProp(FProps.at(i).Instance, FProps.at(i).Prop); }
long double TPropertyEditor::GetFloatValueAt(int i) const {
  return GetFloatProp(FProps.at(i).Instance, FProps.at(i).Prop);
}
TMethod TPropertyEditor::GetMethodValueAt(int i) const {
  return GetMethodProp(FProps.at(i).Instance, FProps.at(i).Prop);
}
TObject* TPropertyEditor::GetObjectValueAt(int i) const {
  return GetObjectProp(FProps.at(i).Instance, FProps.at(i).Prop);
}

void TPropertyEditor::SetOrdValue(int64_t v) {
  for (auto& e : FProps) SetOrdProp(e.Instance, e.Prop, v);
  Modified();
}

void TPropertyEditor::SetStrValue(const std::string& v) {
  for (auto& e : FProps) SetStrProp(e.Instance, e.Prop, v);
  Modified();
}

void TPropertyEditor::SetFloatValue(long double v) {
  for (auto& e : FProps) SetFloatProp(e.Instance, e.Prop, v);
  Modified();
}

void TPropertyEditor::SetMethodValue(const TMethod& v) {
  for (auto& e : FProps) SetMethodProp(e.Instance, e.Prop, v);
  Modified();
}

void TPropertyEditor::Modified() {
  if (FDesigner) FDesigner->Modified();
}

// ---------------------------------------------------------------------------------------------
// Ordinals

bool TOrdinalProperty::AllEqual() {
  int64_t v = GetOrdValue();
  for (int i = 1; i < PropCount(); ++i)
    if (GetOrdValueAt(i) != v) return false;
  return true;
}

std::string TIntegerProperty::GetValue() { return IntToStr(GetOrdValue()); }

void TIntegerProperty::SetValue(const std::string& value) {
  int64_t v = StrToInt64(value);
  PTypeInfo t = GetPropType();
  if (v < t->MinValue || v > t->MaxValue) throw EPropertyError(Format(SOutOfRange, t->MinValue, t->MaxValue));
  SetOrdValue(v);
}

std::string TCharProperty::GetValue() {
  auto ch = static_cast<unsigned char>(GetOrdValue());
  if (ch > ' ' && ch < 128) return std::string(1, static_cast<char>(ch));
  return "#" + IntToStr(ch);
}

void TCharProperty::SetValue(const std::string& value) {
  int64_t v;
  if (value.empty()) v = 0;
  else if (value.size() == 1) v = static_cast<unsigned char>(value[0]);
  else if (value[0] == '#') v = StrToInt(value.substr(1));
  else InvalidValue();
  PTypeInfo t = GetPropType();
  if (v < t->MinValue || v > t->MaxValue) throw EPropertyError(Format(SOutOfRange, t->MinValue, t->MaxValue));
  SetOrdValue(v);
}

std::string TEnumProperty::GetValue() {
  int64_t v = GetOrdValue();
  std::string name = GetEnumName(GetPropType(), static_cast<int>(v));
  return name.empty() ? IntToStr(v) : name;
}

void TEnumProperty::GetValues(const TGetStrProc& proc) {
  for (const std::string& n : GetPropType()->NameList) proc(n);
}

void TEnumProperty::SetValue(const std::string& value) {
  int v = GetEnumValue(GetPropType(), Trim(value));
  if (v < 0) InvalidValue();
  SetOrdValue(v);
}

// ---------------------------------------------------------------------------------------------
// Floats and strings

bool TFloatProperty::AllEqual() {
  long double v = GetFloatValue();
  for (int i = 1; i < PropCount(); ++i)
    if (GetFloatValueAt(i) != v) return false;
  return true;
}

std::string TFloatProperty::GetValue() { return FloatToStr(GetFloatValue()); }

void TFloatProperty::SetValue(const std::string& value) { SetFloatValue(StrToFloat(value)); }

bool TStringProperty::AllEqual() {
  std::string v = GetStrValue();
  for (int i = 1; i < PropCount(); ++i)
    if (GetStrValueAt(i) != v) return false;
  return true;
}

// Long strings have no limit: a caption longer than 255 characters must not be cut short by
// merely being edited.
int TStringProperty::GetEditLimit() { return GetPropType()->Kind == tkString ? 255 : 0; }

// ---------------------------------------------------------------------------------------------
// Sets

bool TSetElementProperty::AllEqual() {
  bool v = GetOrdValue() & (int64_t(1) << FElement);
  for (int i = 1; i < PropCount(); ++i)
    if (static_cast<bool>(GetOrdValueAt(i) & (int64_t(1) << FElement)) != v) return false;
  return true;
}

std::string TSetElementProperty::GetName() { return GetEnumName(GetPropType()->CompType, FElement); }

std::string TSetElementProperty::GetValue() { return (GetOrdValue() & (int64_t(1) << FElement)) ? "True" : "False"; }

void TSetElementProperty::GetValues(const TGetStrProc& proc) {
  proc("False");
  proc("True");
}

// Each selected component keeps its other elements: only this one is switched.
void TSetElementProperty::SetValue(const std::string& value) {
  bool on;
  if (SameText(value, "True")) on = true;
  else if (SameText(value, "False")) on = false;
  else InvalidValue();
  int64_t bit = int64_t(1) << FElement;
  for (int i = 0; i < PropCount(); ++i) {
    int64_t v = GetOrdValueAt(i);
    SetOrdProp(GetComponent(i), GetPropInfo(), on ? (v | bit) : (v & ~bit));
  }
  Modified();
}

void TSetProperty::GetProperties(const TGetPropEditProc& proc) {
  PTypeInfo elem = GetPropType()->CompType;
  for (int e = 0; e < static_cast<int>(elem->NameList.size()) && e < 32; ++e) {
    auto* ed = new TSetElementProperty;
    ed->Setup(Designer(), PropCount());
    for (int i = 0; i < PropCount(); ++i) ed->SetPropEntry(i, GetComponent(i), GetPropInfo());
    ed->SetElement(e);
    proc(ed);
  }
}

std::string TSetProperty::GetValue() { return SetToString(GetPropType(), static_cast<uint32_t>(GetOrdValue())); }

// ---------------------------------------------------------------------------------------------
// Objects and components

void TClassProperty::GetProperties(const TGetPropEditProc& proc) {
  std::vector<TPersistent*> objects;
  for (int i = 0; i < PropCount(); ++i) {
    auto* p = Cast<TPersistent>(GetObjectValueAt(i));
    if (!p) return;  // one component without the object: nothing common to show
    objects.push_back(p);
  }
  GetObjectProperties(objects, kSubPropertyKinds, Designer(), proc);
}

std::string TClassProperty::GetValue() { return "(" + GetPropType()->Name + ")"; }

std::string TComponentProperty::GetValue() {
  auto* c = Cast<TComponent>(GetObjectValue());
  if (!c) return "";
  return Designer() ? Designer()->GetComponentName(c) : c->GetName();
}

void TComponentProperty::GetValues(const TGetStrProc& proc) {
  if (Designer()) Designer()->GetComponentNames(GetPropType(), proc);
}

void TComponentProperty::SetValue(const std::string& value) {
  TComponent* c = nullptr;
  if (!value.empty()) {
    c = Designer() ? Designer()->GetComponent(value) : nullptr;
    TClass want = GetPropType()->ClassType;
    if (!c || (want && !c->InheritsFrom(want))) InvalidValue();
  }
  SetOrdValue(reinterpret_cast<intptr_t>(static_cast<TObject*>(c)));
}

// ---------------------------------------------------------------------------------------------
// Events

void TComponentNameProperty::SetValue(const std::string& value) {
  if (value.empty()) InvalidValue();
  TStringProperty::SetValue(value);
}

bool TMethodProperty::AllEqual() {
  TMethod v = GetMethodValue();
  for (int i = 1; i < PropCount(); ++i) {
    TMethod t = GetMethodValueAt(i);
    if (t.Code != v.Code || t.Data != v.Data) return false;
  }
  return true;
}

void TMethodProperty::Edit() {
  if (!Designer()) return;
  std::string name = GetValue();
  if (name.empty() || Designer()->MethodFromAncestor(GetMethodValue())) {
    if (name.empty()) name = GetFormMethodName();
    if (name.empty()) throw EPropertyError(SCannotCreateName);
    std::string base = name;
    for (int i = 1; Designer()->MethodExists(name); ++i) name = base + IntToStr(i);
    SetValue(name);
  }
  Designer()->ShowMethod(name);
}

std::string TMethodProperty::GetValue() {
  TMethod m = GetMethodValue();
  if (!m.Assigned()) return "";
  return Designer() ? Designer()->GetMethodName(m) : TObject::MethodName(m);
}

void TMethodProperty::GetValues(const TGetStrProc& proc) {
  if (Designer()) Designer()->GetMethods(GetPropType(), proc);
}

void TMethodProperty::SetValue(const std::string& value) {
  if (!value.empty() && !IsValidIdent(value)) InvalidValue();
  if (!Designer()) InvalidValue();
  std::string cur = GetValue();
  if (!cur.empty() && !value.empty() && (SameText(cur, value) || !Designer()->MethodExists(value)) &&
      !Designer()->MethodFromAncestor(GetMethodValue())) {
    Designer()->RenameMethod(cur, value);
    return;
  }
  bool isNew = !value.empty() && !Designer()->MethodExists(value);
  SetMethodValue(Designer()->CreateMethod(value, GetPropType()));
  if (isNew) Designer()->ShowMethod(value);
}

std::string TMethodProperty::GetFormMethodName() {
  TPersistent* owner = GetComponent(0);
  std::string name;
  if (Designer() && owner == Designer()->GetRoot()) name = "Form";
  else if (Designer()) name = Designer()->GetObjectName(owner);
  else if (auto* c = Cast<TComponent>(owner)) name = c->GetName();
  name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
  if (name.empty()) return "";
  return name + GetTrimmedEventName();
}

std::string TMethodProperty::GetTrimmedEventName() {
  std::string name = GetName();
  if (name.size() >= 2 && (name[0] == 'O' || name[0] == 'o') && (name[1] == 'N' || name[1] == 'n')) name.erase(0, 2);
  return name;
}

// ---------------------------------------------------------------------------------------------
// Integer constants and colours

std::string TIntegerConstProperty::GetValue() {
  int64_t v = GetOrdValue();
  std::string ident;
  TIntToIdent toIdent = FindIntToIdent(GetPropType());
  if (toIdent && toIdent(static_cast<int32_t>(v), ident)) return ident;
  return IntToStr(v);
}

void TIntegerConstProperty::GetValues(const TGetStrProc& proc) {
  if (const auto* names = FindIntegerConstNames(GetPropType()))
    for (const std::string& n : *names) proc(n);
}

void TIntegerConstProperty::SetValue(const std::string& value) {
  int32_t v;
  TIdentToInt toInt = FindIdentToInt(GetPropType());
  if (toInt && toInt(Trim(value), v)) SetOrdValue(v);
  else TIntegerProperty::SetValue(value);
}

std::string TColorProperty::GetValue() { return ColorToString(static_cast<TColor>(GetOrdValue())); }

void TColorProperty::SetValue(const std::string& value) { SetOrdValue(StringToColor(Trim(value))); }

void TColorProperty::Edit() {
  TColorDialog dialog(nullptr);
  dialog.SetColor(static_cast<TColor>(GetOrdValue()));
  if (dialog.Execute()) SetOrdValue(dialog.GetColor());
}

void TFontProperty::Edit() {
  TFontDialog dialog(nullptr);
  dialog.GetFont()->Assign(As<TFont>(GetObjectValue()));
  dialog.SetOptions(dialog.GetOptions() + TFontDialogOptions{fdForceFontExist});
  if (!dialog.Execute()) return;
  for (int i = 0; i < PropCount(); ++i)
    if (auto* font = Cast<TFont>(GetObjectValueAt(i))) font->Assign(dialog.GetFont());
  Modified();
}

namespace {
constexpr const char* kModalResults[] = {"mrNone",   "mrOk",  "mrCancel", "mrAbort", "mrRetry",
                                         "mrIgnore", "mrYes", "mrNo",     "mrAll"};
}

std::string TModalResultProperty::GetValue() {
  int64_t v = GetOrdValue();
  return v >= 0 && v < static_cast<int64_t>(std::size(kModalResults)) ? kModalResults[v] : IntToStr(v);
}

void TModalResultProperty::GetValues(const TGetStrProc& proc) {
  for (const char* n : kModalResults) proc(n);
}

void TModalResultProperty::SetValue(const std::string& value) {
  for (size_t i = 0; i < std::size(kModalResults); ++i)
    if (SameText(Trim(value), kModalResults[i])) return SetOrdValue(static_cast<int64_t>(i));
  TIntegerProperty::SetValue(value);
}

// ---------------------------------------------------------------------------------------------
// Editor registry

namespace {

struct TEditorRec {
  PTypeInfo PropertyType;
  TClass ComponentClass;
  std::string PropertyName;
  TPropertyEditorClass EditorClass;
};

std::vector<TEditorRec>& EditorList() {
  static std::vector<TEditorRec> list;
  return list;
}

bool ClassTypeMatches(PTypeInfo registered, PTypeInfo actual) {
  return registered->Kind == tkClass && actual->Kind == tkClass && registered->ClassType && actual->ClassType &&
         actual->ClassType->InheritsFrom(registered->ClassType);
}

// Whether registration p says more about the property than c does.
bool MoreSpecific(const TEditorRec& p, const TEditorRec& c, PTypeInfo propType) {
  if (!c.ComponentClass && p.ComponentClass) return true;
  if (c.PropertyName.empty() && !p.PropertyName.empty()) return true;
  if (c.PropertyType != propType && p.PropertyType == propType) return true;
  if (p.PropertyType != c.PropertyType && ClassTypeMatches(c.PropertyType, p.PropertyType)) return true;
  return p.ComponentClass && c.ComponentClass && p.ComponentClass != c.ComponentClass &&
         p.ComponentClass->InheritsFrom(c.ComponentClass);
}

TPropertyEditorClass DefaultEditorFor(PTypeInfo type) {
  if (type == TypeInfoBoolean()) return TBoolProperty::StaticClass();
  switch (type->Kind) {
    case tkInteger: return TIntegerProperty::StaticClass();
    case tkChar: return TCharProperty::StaticClass();
    case tkEnumeration: return TEnumProperty::StaticClass();
    case tkFloat: return TFloatProperty::StaticClass();
    case tkString:
    case tkLString:
    case tkWString: return TStringProperty::StaticClass();
    case tkSet: return TSetProperty::StaticClass();
    case tkClass: return TClassProperty::StaticClass();
    case tkMethod: return TMethodProperty::StaticClass();
    default: return nullptr;
  }
}

void RegisterStandardEditors() {
  static bool done = false;
  if (done) return;
  done = true;
  auto& l = EditorList();
  auto add = [&](PTypeInfo t, TClass comp, const char* name, TClass ed) { l.insert(l.begin(), {t, comp, name, ed}); };
  // Inserted at the front: a host's own registrations, made later, stay more recent.
  add(TComponent::StaticClass()->TypeInfo(), nullptr, "", TComponentProperty::StaticClass());
  add(TypeInfoString(), TComponent::StaticClass(), "Name", TComponentNameProperty::StaticClass());
  add(TypeInfoTColor(), nullptr, "", TColorProperty::StaticClass());
  add(TFont::StaticClass()->TypeInfo(), nullptr, "", TFontProperty::StaticClass());
  add(TypeInfoTFontCharset(), nullptr, "", TIntegerConstProperty::StaticClass());
  add(TypeInfoTFontName(), nullptr, "", TFontNameProperty::StaticClass());
  add(TypeInfoTCursor(), nullptr, "", TIntegerConstProperty::StaticClass());
  add(TypeInfoTModalResult(), nullptr, "", TModalResultProperty::StaticClass());
  add(TypeInfoTCaption(), nullptr, "", TCaptionProperty::StaticClass());
  add(TypeInfoTTabOrder(), TControl::StaticClass(), "", TTabOrderProperty::StaticClass());
}

TPropertyEditor* NewEditor(TPropertyEditorClass cls, TFormDesigner* designer, int count) {
  auto* ed = static_cast<TPropertyEditor*>(cls->Create(nullptr));
  ed->Setup(designer, count);
  return ed;
}

bool SameProp(PPropInfo a, PPropInfo b) { return a->PropType == b->PropType && SameText(a->Name, b->Name); }

}  // namespace

void RegisterPropertyEditor(PTypeInfo propertyType, TClass componentClass, const std::string& propertyName,
                            TPropertyEditorClass editorClass) {
  RegisterStandardEditors();
  EditorList().push_back({propertyType, componentClass, propertyName, editorClass});
}

TPropertyEditorClass GetEditorClass(PPropInfo prop, TObject* instance) {
  RegisterStandardEditors();
  PTypeInfo type = prop->PropType;
  const TEditorRec* best = nullptr;
  auto& l = EditorList();
  for (auto it = l.rbegin(); it != l.rend(); ++it) {
    const TEditorRec& p = *it;
    bool typeOk = p.PropertyType == type || ClassTypeMatches(p.PropertyType, type);
    bool compOk = !p.ComponentClass || instance->InheritsFrom(p.ComponentClass);
    bool nameOk = p.PropertyName.empty() || SameText(p.PropertyName, prop->Name);
    if (typeOk && compOk && nameOk && (!best || MoreSpecific(p, *best, type))) best = &p;
  }
  return best ? best->EditorClass : DefaultEditorFor(type);
}

void GetObjectProperties(const std::vector<TPersistent*>& instances, TTypeKinds filter, TFormDesigner* designer,
                         const TGetPropEditProc& proc) {
  if (instances.empty()) return;
  TPersistent* first = instances[0];
  std::vector<std::vector<PPropInfo>> lists;
  for (TPersistent* p : instances) lists.push_back(GetSortedPropList(p->ClassType(), filter));
  for (PPropInfo prop : lists[0]) {
    TPropertyEditorClass cls = GetEditorClass(prop, first);
    if (!cls) continue;
    // Only what can be read, and written unless it is an object edited through its parts.
    if (!prop->HasGetter() || (prop->PropType->Kind != tkClass && !prop->HasSetter())) continue;
    std::vector<PPropInfo> matched{prop};
    for (size_t j = 1; j < lists.size(); ++j) {
      auto it = std::find_if(lists[j].begin(), lists[j].end(), [&](PPropInfo q) { return SameProp(prop, q); });
      if (it == lists[j].end()) break;
      matched.push_back(*it);
    }
    if (matched.size() != instances.size()) continue;
    std::unique_ptr<TPropertyEditor> ed(NewEditor(cls, designer, static_cast<int>(instances.size())));
    for (size_t j = 0; j < instances.size(); ++j) ed->SetPropEntry(static_cast<int>(j), instances[j], matched[j]);
    ed->Initialize();
    if (instances.size() > 1 && !ed->GetAttributes().Contains(paMultiSelect)) continue;
    if (!ed->ValueAvailable()) continue;
    proc(ed.release());
  }
}

void GetComponentProperties(TComponentList* components, TTypeKinds filter, TFormDesigner* designer,
                            const TGetPropEditProc& proc) {
  std::vector<TPersistent*> instances;
  for (int i = 0; i < components->Count(); ++i) instances.push_back(components->Items(i));
  GetObjectProperties(instances, filter, designer, proc);
}

// ---------------------------------------------------------------------------------------------
// Component editors

TComponent* TFormDesigner::CreateComponent(TClass componentClass, TComponent* parent, int left, int top, int width,
                                           int height) {
  TComponent* root = GetRoot();
  std::unique_ptr<TComponent> c(static_cast<TComponent*>(componentClass->Create(root)));
  c->SetName(UniqueName(c->ClassName()));
  if (auto* control = dynamic_cast<TControl*>(c.get())) {
    auto* container = dynamic_cast<TWinControl*>(parent);
    if (!container) container = dynamic_cast<TWinControl*>(root);
    auto* rootControl = dynamic_cast<TControl*>(root);
    if (container && rootControl && container != root) {
      TPoint p = container->ScreenToClient(rootControl->ClientToScreen({left, top}));
      left = p.X;
      top = p.Y;
    }
    control->SetBounds(left, top, width ? width : control->GetWidth(), height ? height : control->GetHeight());
    control->SetParent(container);
  }
  return c.release();
}

namespace {
std::vector<std::pair<TClass, TComponentEditorClass>>& ComponentEditorList() {
  static std::vector<std::pair<TClass, TComponentEditorClass>> list;
  return list;
}
}  // namespace

void TComponentEditor::Setup(TComponent* component, TFormDesigner* designer) {
  FComponent = component;
  FDesigner = designer;
}

void TComponentEditor::Edit() {
  if (GetVerbCount() > 0) ExecuteVerb(0);
}

void TDefaultEditor::Edit() {
  if (GetVerbCount() > 0) return ExecuteVerb(0);
  TComponentList list;
  list.Add(Component());
  // The event a Delphi user meets first: OnCreate of a form, OnChange of an edit or a combo box,
  // OnClick of a button, else the first one.
  static const char* const kPreferred[] = {"OnCreate", "OnChange", "OnClick"};
  auto rank = [](const std::string& name) {
    int r = 0;
    while (r < 3 && !SameText(name, kPreferred[r])) ++r;
    return r;
  };
  TPropertyEditor* chosen = nullptr;
  std::vector<std::unique_ptr<TPropertyEditor>> editors;
  GetComponentProperties(&list, TypeKindBit(tkMethod), Designer(), [&](TPropertyEditor* ed) {
    editors.emplace_back(ed);
    if (!chosen || rank(ed->GetName()) < rank(chosen->GetName())) chosen = ed;
  });
  if (chosen) chosen->Edit();
}

void RegisterComponentEditor(TClass componentClass, TComponentEditorClass editorClass) {
  ComponentEditorList().push_back({componentClass, editorClass});
}

TComponentEditor* GetComponentEditor(TComponent* component, TFormDesigner* designer) {
  TComponentEditorClass best = nullptr;
  TClass bestFor = nullptr;
  for (auto& [cls, ed] : ComponentEditorList())
    if (component->InheritsFrom(cls) && (!bestFor || cls->InheritsFrom(bestFor))) {
      best = ed;
      bestFor = cls;
    }
  auto* editor = static_cast<TComponentEditor*>((best ? best : TDefaultEditor::StaticClass())->Create(nullptr));
  editor->Setup(component, designer);
  return editor;
}
