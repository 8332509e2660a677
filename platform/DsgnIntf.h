// DsgnIntf: the form-designer interface, property editors and component editors.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Forms.h"
#include "TypInfo.h"

class TPropertyEditor;
class TComponentEditor;

// An ordered list of components (the designer's selection).
class TComponentList : public TObject {
  KV_CLASS(TComponentList, TObject)
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TComponent* Items(int i) const;
  TComponent* operator[](int i) const { return Items(i); }
  int Add(TComponent* c);
  void Insert(int i, TComponent* c);
  void Delete(int i);
  int Remove(TComponent* c);
  int IndexOf(const TComponent* c) const;
  void Clear() { FItems.clear(); }
  bool Equals(const TComponentList* other) const;
  void Assign(const TComponentList* other) { FItems = other->FItems; }

 private:
  std::vector<TComponent*> FItems;
};

using TGetStrProc = std::function<void(const std::string&)>;

// What a designer offers the property and component editors.
class TFormDesigner : public TDesigner {
 public:
  virtual TMethod CreateMethod(const std::string& name, PTypeInfo typeData) = 0;
  virtual std::string GetMethodName(const TMethod& method) = 0;
  virtual void GetMethods(PTypeInfo typeData, const TGetStrProc& proc) = 0;
  virtual std::string GetPrivateDirectory() = 0;
  virtual void GetSelections(TComponentList* list) = 0;
  virtual bool MethodExists(const std::string& name) = 0;
  virtual void RenameMethod(const std::string& curName, const std::string& newName) = 0;
  virtual void SelectComponent(TPersistent* instance) = 0;
  virtual void SetSelections(TComponentList* list) = 0;
  virtual void ShowMethod(const std::string& name) = 0;
  virtual std::string UniqueName(const std::string& baseName) = 0;
  // Names of the components of the design whose class is `classType` or a descendant.
  virtual void GetComponentNames(PTypeInfo classType, const TGetStrProc& proc) = 0;
  virtual TComponent* GetComponent(const std::string& name) = 0;
  virtual std::string GetComponentName(TComponent* component) = 0;
  virtual std::string GetObjectName(TPersistent* instance) = 0;
  virtual bool MethodFromAncestor(const TMethod& method) = 0;
  virtual bool IsComponentLinkable(TComponent* component) = 0;
  virtual void MakeComponentLinkable(TComponent* component) = 0;
  virtual TComponent* GetRoot() = 0;
  virtual void Revert(TPersistent* instance, PPropInfo prop) = 0;
  // A new component of the design, owned by the root, uniquely named; a control goes into
  // parent (the root when parent is no windowed control) at left, top in root-client
  // coordinates, with a non-zero width and height replacing its class default. Component
  // editors make their sub-components (pages, menu items) this way.
  virtual TComponent* CreateComponent(TClass componentClass, TComponent* parent, int left, int top, int width,
                                      int height);
};

// ---------------------------------------------------------------------------------------------
// Property editors.
KV_ENUM(TPropertyAttribute, paValueList, paSubProperties, paDialog, paMultiSelect, paAutoUpdate, paSortList, paReadOnly,
        paRevertable)
KV_SET(TPropertyAttributes, TPropertyAttribute)

using TGetPropEditProc = std::function<void(TPropertyEditor*)>;

// Edits one property of every selected component at once. Created by GetComponentProperties,
// owned by whoever receives it.
class TPropertyEditor : public TObject {
  KV_CLASS(TPropertyEditor, TObject)
 public:
  TPropertyEditor() = default;
  void Setup(TFormDesigner* designer, int propCount);
  void SetPropEntry(int i, TPersistent* instance, PPropInfo prop);

  virtual bool AllEqual();
  virtual void Edit();
  virtual TPropertyAttributes GetAttributes();
  virtual int GetEditLimit();
  virtual std::string GetName();
  virtual void GetProperties(const TGetPropEditProc& proc);
  virtual std::string GetValue();
  virtual void GetValues(const TGetStrProc& proc);
  virtual void Initialize() {}
  virtual void SetValue(const std::string& value);
  bool ValueAvailable();
  void Revert();

  TPersistent* GetComponent(int i) const;
  PPropInfo GetPropInfo() const { return FProps[0].Prop; }
  PTypeInfo GetPropType() const { return FProps[0].Prop->PropType; }
  int PropCount() const { return static_cast<int>(FProps.size()); }
  TFormDesigner* Designer() const { return FDesigner; }
  std::string PrivateDirectory();

 protected:
  // Typed access to the first component's value (or the i-th), and setters that apply to
  // every selected component and then tell the designer.
  int64_t GetOrdValue() const { return GetOrdValueAt(0); }
  int64_t GetOrdValueAt(int i) const;
  std::string GetStrValue() const { return GetStrValueAt(0); }
  std::string GetStrValueAt(int i) const;
  long double GetFloatValue() const { return GetFloatValueAt(0); }
  long double GetFloatValueAt(int i) const;
  TMethod GetMethodValue() const { return GetMethodValueAt(0); }
  TMethod GetMethodValueAt(int i) const;
  TObject* GetObjectValue() const { return GetObjectValueAt(0); }
  TObject* GetObjectValueAt(int i) const;
  void SetOrdValue(int64_t v);
  void SetStrValue(const std::string& v);
  void SetFloatValue(long double v);
  void SetMethodValue(const TMethod& v);
  void Modified();

 private:
  struct Entry {
    TPersistent* Instance;
    PPropInfo Prop;
  };
  TFormDesigner* FDesigner = nullptr;
  std::vector<Entry> FProps;
};
using TPropertyEditorClass = TClass;

class TOrdinalProperty : public TPropertyEditor {
  KV_CLASS(TOrdinalProperty, TPropertyEditor)
 public:
  bool AllEqual() override;
  int GetEditLimit() override { return 63; }
};

class TIntegerProperty : public TOrdinalProperty {
  KV_CLASS(TIntegerProperty, TOrdinalProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect}; }
  std::string GetValue() override;
  void SetValue(const std::string& value) override;
};

class TCharProperty : public TOrdinalProperty {
  KV_CLASS(TCharProperty, TOrdinalProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect}; }
  std::string GetValue() override;
  void SetValue(const std::string& value) override;
};

class TEnumProperty : public TOrdinalProperty {
  KV_CLASS(TEnumProperty, TOrdinalProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paSortList}; }
  std::string GetValue() override;
  void GetValues(const TGetStrProc& proc) override;
  void SetValue(const std::string& value) override;
};

class TBoolProperty : public TEnumProperty {
  KV_CLASS(TBoolProperty, TEnumProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList}; }
};

class TFloatProperty : public TPropertyEditor {
  KV_CLASS(TFloatProperty, TPropertyEditor)
 public:
  bool AllEqual() override;
  TPropertyAttributes GetAttributes() override { return {paMultiSelect}; }
  std::string GetValue() override;
  void SetValue(const std::string& value) override;
};

class TStringProperty : public TPropertyEditor {
  KV_CLASS(TStringProperty, TPropertyEditor)
 public:
  bool AllEqual() override;
  TPropertyAttributes GetAttributes() override { return {paMultiSelect}; }
  int GetEditLimit() override;
  std::string GetValue() override { return GetStrValue(); }
  void SetValue(const std::string& value) override { SetStrValue(value); }
};

// Caption and Text: applied as the user types.
class TCaptionProperty : public TStringProperty {
  KV_CLASS(TCaptionProperty, TStringProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paAutoUpdate}; }
};

// One element of a set, shown as a Boolean sub-row of the set's row.
class TSetElementProperty : public TPropertyEditor {
  KV_CLASS(TSetElementProperty, TPropertyEditor)
 public:
  void SetElement(int element) { FElement = element; }
  bool AllEqual() override;
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paSortList}; }
  std::string GetName() override;
  std::string GetValue() override;
  void GetValues(const TGetStrProc& proc) override;
  void SetValue(const std::string& value) override;

 private:
  int FElement = 0;
};

class TSetProperty : public TOrdinalProperty {
  KV_CLASS(TSetProperty, TOrdinalProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paSubProperties, paReadOnly}; }
  void GetProperties(const TGetPropEditProc& proc) override;
  std::string GetValue() override;
};

// An object-valued property: its value reads "(TFont)"; its sub-rows are the object's properties.
class TClassProperty : public TPropertyEditor {
  KV_CLASS(TClassProperty, TPropertyEditor)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paSubProperties, paReadOnly}; }
  void GetProperties(const TGetPropEditProc& proc) override;
  std::string GetValue() override;
};

// A reference to another component of the design, chosen by name.
class TComponentProperty : public TPropertyEditor {
  KV_CLASS(TComponentProperty, TPropertyEditor)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paSortList}; }
  int GetEditLimit() override { return 127; }
  std::string GetValue() override;
  void GetValues(const TGetStrProc& proc) override;
  void SetValue(const std::string& value) override;
};

// The Name property: validated as an identifier unique in the owner; never multi-select.
class TComponentNameProperty : public TStringProperty {
  KV_CLASS(TComponentNameProperty, TStringProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {}; }
  int GetEditLimit() override { return 63; }
  // A designed component keeps a name: the form file and the unit refer to it by that name.
  void SetValue(const std::string& value) override;
};

// An event: its value is the handler's name.
class TMethodProperty : public TPropertyEditor {
  KV_CLASS(TMethodProperty, TPropertyEditor)
 public:
  bool AllEqual() override;
  void Edit() override;
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paSortList}; }
  int GetEditLimit() override { return 63; }
  std::string GetValue() override;
  void GetValues(const TGetStrProc& proc) override;
  void SetValue(const std::string& value) override;
  virtual std::string GetFormMethodName();
  std::string GetTrimmedEventName();
};

// Integer properties with named values (cursors, modal results, charsets: whatever type has
// integer constants registered with names): the names are offered in a list, and either a name
// or a number is accepted.
class TIntegerConstProperty : public TIntegerProperty {
  KV_CLASS(TIntegerConstProperty, TIntegerProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList}; }
  std::string GetValue() override;
  void GetValues(const TGetStrProc& proc) override;
  void SetValue(const std::string& value) override;
};

// Colours: by name or as $00BBGGRR; the dialog is the colour dialog.
class TColorProperty : public TIntegerConstProperty {
  KV_CLASS(TColorProperty, TIntegerConstProperty)
 public:
  void Edit() override;
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paDialog, paValueList, paRevertable}; }
  std::string GetValue() override;
  void SetValue(const std::string& value) override;
};

// Fonts: sub-rows, and the font dialog, whose choice every selected component takes.
class TFontProperty : public TClassProperty {
  KV_CLASS(TFontProperty, TClassProperty)
 public:
  void Edit() override;
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paSubProperties, paDialog, paReadOnly}; }
};

// Modal results by name (mrOk, ...), as the editor offers them; streams keep the numbers, as
// Delphi's form files do.
class TModalResultProperty : public TIntegerProperty {
  KV_CLASS(TModalResultProperty, TIntegerProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList}; }
  std::string GetValue() override;
  void GetValues(const TGetStrProc& proc) override;
  void SetValue(const std::string& value) override;
};

class TFontNameProperty : public TStringProperty {
  KV_CLASS(TFontNameProperty, TStringProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paSortList}; }
  void GetValues(const TGetStrProc& proc) override { GetFontNames(proc); }
};

class TTabOrderProperty : public TIntegerProperty {
  KV_CLASS(TTabOrderProperty, TIntegerProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {}; }
};

// Registers an editor class for properties of `propertyType` (for class types, also of its
// descendants), optionally only on components of `componentClass` and only for `propertyName`.
// The latest and most specific registration wins.
void RegisterPropertyEditor(PTypeInfo propertyType, TClass componentClass, const std::string& propertyName,
                            TPropertyEditorClass editorClass);
TPropertyEditorClass GetEditorClass(PPropInfo prop, TObject* instance);

// Calls `proc` with one new editor per property that every component of `components` publishes
// (same name, same type) and whose kind is in `filter`, in alphabetical order. `proc` owns it.
void GetComponentProperties(TComponentList* components, TTypeKinds filter, TFormDesigner* designer,
                            const TGetPropEditProc& proc);

// Editors for the sub-properties of an object-valued property held by `instances`.
void GetObjectProperties(const std::vector<TPersistent*>& instances, TTypeKinds filter, TFormDesigner* designer,
                         const TGetPropEditProc& proc);

// ---------------------------------------------------------------------------------------------
// Component editors: what double-clicking a component does, and its context verbs.
class TComponentEditor : public TObject {
  KV_CLASS(TComponentEditor, TObject)
 public:
  TComponentEditor() = default;
  void Setup(TComponent* component, TFormDesigner* designer);
  virtual void Edit();
  virtual void ExecuteVerb(int index) { (void)index; }
  virtual std::string GetVerb(int index) {
    (void)index;
    return "";
  }
  virtual int GetVerbCount() { return 0; }
  virtual void Copy() {}
  TComponent* Component() const { return FComponent; }
  TFormDesigner* Designer() const { return FDesigner; }

 private:
  TComponent* FComponent = nullptr;
  TFormDesigner* FDesigner = nullptr;
};

// Double-click runs the first verb, or else edits the component's main event (OnCreate, else
// OnChange, else OnClick, else the first event), which the designer creates and shows.
class TDefaultEditor : public TComponentEditor {
  KV_CLASS(TDefaultEditor, TComponentEditor)
 public:
  void Edit() override;
};
using TComponentEditorClass = TClass;

void RegisterComponentEditor(TClass componentClass, TComponentEditorClass editorClass);
// A new editor for the component (the most specific registration, else TDefaultEditor).
TComponentEditor* GetComponentEditor(TComponent* component, TFormDesigner* designer);
