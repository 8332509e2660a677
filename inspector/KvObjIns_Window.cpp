// KvObjIns: the inspector window: its rows, the column and panel geometry, window sizing, the
// component list and the engine's two messages.
#include "KvObjIns.h"

#include "KvTbNtBk.h"
#include "StdReg.h"
#include "SysUtils.h"
#include "Windows.h"

int RowPitch = 0;
int SizeOverhead = 0;

KV_IMPLEMENT_CLASS(TfmKvObjIns, "KvObjIns") {
  b.Field("ComponentPanel", &TfmKvObjIns::ComponentPanel);
  b.Field("ComponentList", &TfmKvObjIns::ComponentList);
  b.Field("ComponentPath", &TfmKvObjIns::ComponentPath);
  b.Field("KvTabbedNotebook1", &TfmKvObjIns::KvTabbedNotebook1);
  b.Field("GridPanel1", &TfmKvObjIns::GridPanel1);
  b.Field("PropertyGrid", &TfmKvObjIns::PropertyGrid);
  b.Field("NamePanel", &TfmKvObjIns::NamePanel);
  b.Field("ValuePanel", &TfmKvObjIns::ValuePanel);
  b.Field("SeperatorPanel", &TfmKvObjIns::SeperatorPanel);
  b.Field("ValueEdit", &TfmKvObjIns::ValueEdit);
  b.Field("ValueList", &TfmKvObjIns::ValueList);
  b.Field("EditButton", &TfmKvObjIns::EditButton);
  b.Method("FormCreate", &TfmKvObjIns::FormCreate);
  b.Method("FormDestroy", &TfmKvObjIns::FormDestroy);
  b.Method("FormResize", &TfmKvObjIns::FormResize);
  b.Method("FormShow", &TfmKvObjIns::FormShow);
  b.Method("ComponentListChange", &TfmKvObjIns::ComponentListChange);
  b.Method("ComponentListDropDown", &TfmKvObjIns::ComponentListDropDown);
  b.Method("PropertyGridSelectCell", &TfmKvObjIns::PropertyGridSelectCell);
  b.Method("PropertyGridTopLeftChanged", &TfmKvObjIns::PropertyGridTopLeftChanged);
  b.Method("NamePanelClick", &TfmKvObjIns::NamePanelClick);
  b.Method("NamePanelDblClick", &TfmKvObjIns::NamePanelDblClick);
  b.Method("SeperatorPanelMouseDown", &TfmKvObjIns::SeperatorPanelMouseDown);
  b.Method("SeperatorPanelMouseMove", &TfmKvObjIns::SeperatorPanelMouseMove);
  b.Method("SeperatorPanelMouseUp", &TfmKvObjIns::SeperatorPanelMouseUp);
  b.Method("ValueEditChanged", &TfmKvObjIns::ValueEditChanged);
  b.Method("ValueEditExit", &TfmKvObjIns::ValueEditExit);
  b.Method("ValueEditKeyDown", &TfmKvObjIns::ValueEditKeyDown);
  b.Method("ValueListChange", &TfmKvObjIns::ValueListChange);
  b.Method("ValueListClick", &TfmKvObjIns::ValueListClick);
  b.Method("ValueListDropDown", &TfmKvObjIns::ValueListDropDown);
  b.Method("ValueListExit", &TfmKvObjIns::ValueListExit);
  b.Method("ValueListKeyDown", &TfmKvObjIns::ValueListKeyDown);
  b.Method("EditButtonClick", &TfmKvObjIns::EditButtonClick);
}

namespace {
constexpr int KvObjInsMinColumn = 36;
}  // namespace

TfmKvObjIns::TfmKvObjIns(TComponent* AOwner) : TForm(AOwner) {
  RegisterStandardClasses();
  RegisterKvTbNtBkClasses();
  // A host may have an inspector without a designer component, which registers the notebook.
  RegisterClass(TKvTabbedNotebook::StaticClass());
  InitInheritedComponent(this, TForm::StaticClass());
}

TfmKvObjIns::~TfmKvObjIns() {
  // OnDestroy would run in TCustomForm's destructor, after this one: the rows go while the
  // window is whole, and the component learns that its window is gone.
  if (FEditors) FormDestroy(this);
  OnDestroy = {};
}

// ---------------------------------------------------------------------------------------------
// Messages.

void TfmKvObjIns::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case KM_OBJECTCHANGED:
      if (!InState(csDestroying)) {
        // The engine named may have gone since it posted; its own message with 0 follows.
        void* engine = reinterpret_cast<void*>(message.LParam);
        SelectDesigner(engine && TKFormDesigner::Exists(engine) ? static_cast<TKFormDesigner*>(engine) : nullptr);
      }
      return;
    case KM_OBJECTMODIFIED:
      if (!InState(csDestroying) && !DesignerGone()) RefreshGrid();
      return;
    case KM_SHOWMETHOD:
      if (!InState(csDestroying) && !DesignerGone() && message.LParam == reinterpret_cast<intptr_t>(FDesigner))
        ShowMethod(FMethodToShow);
      return;
    case WM_SIZING: WMSizing(message); return;
    default: TForm::Dispatch(message);
  }
}

void TfmKvObjIns::WMSizing(TMessage& message) {
  message.Result = 1;
  if (RowPitch <= 0) return;  // not measured yet: nothing to snap to
  auto* r = reinterpret_cast<TRect*>(message.LParam);
  int h = r->Bottom - r->Top;
  if (h < SizeOverhead) r->Bottom = r->Top + SizeOverhead;
  else r->Bottom = r->Top + SizeOverhead + KvRoundHalfEven(static_cast<double>(h - SizeOverhead) / RowPitch) * RowPitch;
}

// ---------------------------------------------------------------------------------------------
// Window events.

void TfmKvObjIns::FormCreate(TObject*) {
  FEditors = new TKvInspectorRows();
  SetLeft(0);
  SetBounds(0, 100, GetWidth(), GetHeight());
  PlaceRowPanels(0, 0);
  SelectRow(-1);
}

void TfmKvObjIns::FormDestroy(TObject*) {
  delete FEditors;
  FEditors = nullptr;
  FInspected.clear();
  if (FInspector) FInspector->FForm = nullptr;
  FInspector = nullptr;
}

void TfmKvObjIns::FormShow(TObject*) {
  RowPitch = PropertyGrid->RowHeights(0) + 1;
  SizeOverhead = GetHeight() - PropertyGrid->GetHeight() + 3 * RowPitch;
  SetHeight(KvRoundHalfEven(static_cast<double>(GetHeight() - SizeOverhead) / RowPitch) * RowPitch + SizeOverhead);
}

void TfmKvObjIns::FormResize(TObject*) {
  if (!FEditors) return;
  ComponentList->SetWidth(ComponentPanel->GetWidth() - 6);
  ComponentPath->SetWidth(ComponentPanel->GetWidth() - 26);
  SeperatorPanel->SetHeight(PropertyGrid->GetHeight());
  ArrangeColumns(SeperatorPanel->GetLeft(), PropertyGrid->GetRow());
}

// ---------------------------------------------------------------------------------------------
// The designer and the rows.

TKFormDesigner* TfmKvObjIns::Engine() const { return static_cast<TKFormDesigner*>(FDesigner); }

// The engine may have been freed without telling the window (its message about that is still
// queued, or it was not the active design): its address is checked before anything reads it.
bool TfmKvObjIns::DesignerGone() const {
  return !FDesigner || !TKFormDesigner::Exists(FDesigner) || Engine()->IsTornDown();
}

void TfmKvObjIns::ClearEditors() {
  FInspected.clear();
  if (FEditors) FEditors->Clear();
}

void TfmKvObjIns::HideGrid() {
  ComponentPath->SetCaption("");
  for (TControl* c : std::initializer_list<TControl*>{PropertyGrid, SeperatorPanel, NamePanel, ValuePanel})
    c->SetVisible(false);
}

void TfmKvObjIns::SelectDesigner(TFormDesigner* designer) {
  // Only engines are inspected: a designer of another kind is taken as none.
  FDesigner = designer && TKFormDesigner::Exists(designer) ? designer : nullptr;
  FSelected = nullptr;
  ClearEditors();
  if (InState(csDestroying) || !FEditors || DesignerGone()) {
    HideGrid();
    return;
  }
  {
    TComponentList list;
    FDesigner->GetSelections(&list);
    if (list.Count() == 1) FSelected = list[0];
    for (int i = 0; i < list.Count(); ++i) FInspected.push_back(list[i]);
    FEditors->Build(&list, FInspector ? FInspector->GetTypeKinds() : KvInspectorTypeKinds, FDesigner);
  }
  int r = RefreshGrid();
  FRow = -1;
  if (r == PropertyGrid->GetRow()) {
    ArrangeColumns(SeperatorPanel->GetLeft(), r);
    PlaceRowPanels(PropertyGrid->GetCol(), PropertyGrid->GetRow());
  } else {
    PropertyGrid->SetRow(r);
  }
}

void TfmKvObjIns::ShowMethod(const std::string& name) {
  if (!FEditors || name.empty()) return;
  for (int i = 0; i < FEditors->Count(); ++i) {
    if (FEditors->Level(i) != 0 || FEditors->Editor(i)->GetPropType()->Kind != tkMethod) continue;
    if (!SameText(GetRowValue(i, false), name)) continue;
    if (i != PropertyGrid->GetRow()) PropertyGrid->SetRow(i);
    return;
  }
}

int TfmKvObjIns::RefreshGrid() {
  if (!FDesigner || !FEditors) return 0;
  // The path follows a rename typed into the Name row.
  ComponentPath->SetCaption(FSelected ? FSelected->GetName() + ": " + FSelected->ClassName() : "");
  const std::string old = StripRowMarks(PropertyGrid->Cells(0, PropertyGrid->GetRow()));
  int found = -1, before = 0;
  const int n = FEditors->Count();
  if (n != PropertyGrid->GetRowCount()) PropertyGrid->SetRowCount(n);
  for (int i = 0; i < n; ++i) {
    std::string name;
    PropertyGrid->SetCells(0, i, FEditors->Caption(i, name));
    PropertyGrid->SetCells(1, i, GetRowValue(i, false));
    if (name < old) before = i;
    if (found < 0 && name == old) found = i;
  }
  return found >= 0 ? found : before;
}

void TfmKvObjIns::FormNotification(TComponent* component, TOperation operation) {
  if (operation != opRemove || FInspected.empty()) return;
  if (std::find(FInspected.begin(), FInspected.end(), component) == FInspected.end()) return;
  // The rows' editors point at the component: they go now, the rows with them. The engine's
  // message about its new selection rebuilds them.
  FSelected = nullptr;
  ClearEditors();
  FRow = -1;
  FReady = false;
  HideGrid();
}

// ---------------------------------------------------------------------------------------------
// Expansion.

void TfmKvObjIns::NamePanelDblClick(TObject*) {
  if (DesignerGone() || FEditors->Count() == 0) return;
  int d = FEditors->Toggle(PropertyGrid->GetRow());
  if (d != 0) RefreshGrid();
  if (d > 0) {
    int current = PropertyGrid->GetRow();
    int rel = current - PropertyGrid->GetTopRow();
    int below = PropertyGrid->VisibleRowCount() - 1 - rel;
    int k = std::min(d - below, rel);
    if (k > 0) {
      FScrolling = true;
      try {
        PropertyGrid->SetRow(current + below + k);
        PropertyGrid->SetRow(current);
      } catch (...) {
        FScrolling = false;
        throw;
      }
      FScrolling = false;
      PlaceRowPanels(PropertyGrid->GetCol(), PropertyGrid->GetRow());
    }
  }
  // The value of an expanded row does not change, but a collapsed row may have held the
  // current editor: set it up again for the row now current.
  if (d < 0) FRow = -1;
  ArrangeColumns(SeperatorPanel->GetLeft(), PropertyGrid->GetRow());
}

// ---------------------------------------------------------------------------------------------
// Geometry.

int TfmKvObjIns::Pitch() const { return RowPitch > 0 ? RowPitch : PropertyGrid->GetDefaultRowHeight() + 1; }

void TfmKvObjIns::ArrangeColumns(int x, int row) {
  const int w = PropertyGrid->GetWidth(), h = PropertyGrid->GetHeight();
  const int n = PropertyGrid->GetRowCount(), top = PropertyGrid->GetTopRow();
  const int pitch = Pitch();
  const int reserve = n * pitch - 1 > h ? pitch : 0;
  const int height = std::min((n - top) * pitch, h);
  const int avail = w - reserve - 3;
  if (avail - x < KvObjInsMinColumn) x = avail - KvObjInsMinColumn;
  if (x < KvObjInsMinColumn) x = KvObjInsMinColumn;
  if (x != SeperatorPanel->GetLeft() || height != SeperatorPanel->GetHeight())
    SeperatorPanel->SetBounds(x, SeperatorPanel->GetTop(), SeperatorPanel->GetWidth(), height);
  if (PropertyGrid->ColWidths(0) != x - 2) PropertyGrid->SetColWidths(0, x - 2);
  if (PropertyGrid->ColWidths(1) != w - reserve - x - 1) PropertyGrid->SetColWidths(1, w - reserve - x - 1);
  if (NamePanel->GetWidth() != x) NamePanel->SetWidth(x);
  SelectRow(row);
  const int v = w - reserve - x;
  const int b = EditButton->GetVisible() ? EditButton->GetWidth() : 0;
  ValuePanel->SetBounds(x, ValuePanel->GetTop(), v + 2, ValuePanel->GetHeight());
  ValueList->SetBounds(0, ValueList->GetTop(), v + 4, ValueList->GetHeight());
  ValueEdit->SetBounds(2, ValueEdit->GetTop(), v - b - 1, ValueEdit->GetHeight());
  EditButton->SetBounds(v - EditButton->GetWidth() + 1, EditButton->GetTop(), EditButton->GetWidth(),
                        EditButton->GetHeight());
}

void TfmKvObjIns::PlaceRowPanels(int col, int row) {
  TRect r = PropertyGrid->CellRect(col, row);
  const int half = PropertyGrid->RowHeights(0) / 2;
  const bool visible = r.Bottom > 0 && r.Height() - half > 0;
  for (TPanel* p : {NamePanel, ValuePanel}) {
    p->SetVisible(visible);
    p->SetTop(r.Top + 1);
  }
}

void TfmKvObjIns::PropertyGridSelectCell(TObject*, int col, int row, bool& canSelect) {
  canSelect = true;
  if (FScrolling) return;
  try {
    if (row != FRow) {
      ArrangeColumns(SeperatorPanel->GetLeft(), row);
      PlaceRowPanels(col, row);
    }
  } catch (const Exception&) {
    canSelect = false;
  }
}

void TfmKvObjIns::PropertyGridTopLeftChanged(TObject*) {
  PlaceRowPanels(PropertyGrid->GetCol(), PropertyGrid->GetRow());
}

void TfmKvObjIns::NamePanelClick(TObject*) { FocusValueEditor(); }

void TfmKvObjIns::SeperatorPanelMouseDown(TObject*, TMouseButton, TShiftState, int, int) { FSplitting = true; }

void TfmKvObjIns::SeperatorPanelMouseMove(TObject*, TShiftState, int x, int y) {
  if (!FSplitting) return;
  TPoint p = PropertyGrid->ScreenToClient(SeperatorPanel->ClientToScreen({x, y}));
  ArrangeColumns(p.X, PropertyGrid->GetRow());
  SeperatorPanel->Repaint();
}

void TfmKvObjIns::SeperatorPanelMouseUp(TObject*, TMouseButton, TShiftState, int, int) { FSplitting = false; }

// ---------------------------------------------------------------------------------------------
// The component list.

void TfmKvObjIns::ComponentListDropDown(TObject*) {
  const int prev = ComponentList->GetItemIndex();
  ComponentList->SetText("");
  ComponentList->GetItems()->Clear();
  TKFormDesigner* engine = Engine();
  TComponent* root = DesignerGone() ? nullptr : FDesigner->GetRoot();
  if (!root) {
    SelectRow(-1);
    return;
  }
  TStrings* items = ComponentList->GetItems();
  items->BeginUpdate();
  items->AddObject(root->GetName(), root);
  for (int i = 0; i < root->ComponentCount(); ++i) {
    TComponent* c = root->Components(i);
    if (!c->GetName().empty() && engine->Listable(c)) items->AddObject(c->GetName(), c);
  }
  items->EndUpdate();
  if (!FSelected) return;
  int index = items->IndexOf(FSelected->GetName());
  if (index < 0) index = std::min(prev, items->Count() - 1);
  ComponentList->SetItemIndex(index);
}

void TfmKvObjIns::ComponentListChange(TObject*) {
  const int index = ComponentList->GetItemIndex();
  if (index < 0 || DesignerGone()) return;
  // The entry may name a component deleted since the list dropped down: only one that the form
  // still holds is selected.
  const TObject* chosen = ComponentList->GetItems()->GetObject(index);
  TComponent* root = FDesigner->GetRoot();
  if (!root) return;
  if (chosen == root) {
    FDesigner->SelectComponent(root);
    return;
  }
  for (int i = 0; i < root->ComponentCount(); ++i)
    if (root->Components(i) == chosen) {
      FDesigner->SelectComponent(root->Components(i));
      return;
    }
}
