// KvDsgn: the engine object, its attachment to and detachment from the form, the message
// dispatch, the grid, renaming and the trivial parts of the designer interface.
#include "KvDsgn.h"

#include <algorithm>
#include <cmath>

#include "Dialogs.h"
#include "SysUtils.h"
#include "Windows.h"

KV_IMPLEMENT_CLASS(TKLabel, "KvDsgn") {}
KV_IMPLEMENT_CLASS(TKPopupMenu, "KvDsgn") {}
KV_IMPLEMENT_CLASS(TKFormDesigner, "KvDsgn") {}

int KvRoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

namespace {

std::unordered_set<const void*>& KvLiveEngines() {
  static std::unordered_set<const void*> engines;
  return engines;
}

// The dots stay at multiples of the grid step in the form's unscrolled coordinates.
int KvDsgnGridOffset(int scrollPos, int step) { return (step - scrollPos % step) % step; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and teardown.

TKFormDesigner::TKFormDesigner(IKDesignerHost* formDesigner, IKInspectorHost* objectInspector,
                               const std::string& fileName, TForm* liveForm)
    : FState{dsAttaching},
      FFileName(fileName),
      FHasFileName(!fileName.empty()),
      FIsLiveForm(liveForm != nullptr),
      FFormDesigner(formDesigner),
      FObjectInspector(objectInspector),
      FLiveForm(liveForm) {
  KvLiveEngines().insert(this);
  FSelections = new TComponentList();
  FSaveList = new TList();
  FIcons = new TList();
  FIconComponents = new TList();
  FFormStream = new TMemoryStream();
  FGridBitmap = new TBitmap();
  FSortList = new TStringList();
  FSortList->SetSorted(true);
  FSortList->SetDuplicates(dupAccept);

  FForm = liveForm ? static_cast<TCustomForm*>(liveForm) : new TForm(Application);
  Form = FForm;
  FCaptureLabel = new TKLabel(FForm);
  FCaptureLabel->SetParent(FForm);
  FCaptureLabel->SetVisible(false);
  FCaptureLabel->SetBounds(0, 0, 0, 0);

  FPopupMenu = new TKPopupMenu(nullptr);
  auto item = [this](const char* caption, void (TKFormDesigner::*action)(TObject*)) {
    TNotifyEvent onClick;
    if (action) onClick = [this, action](TObject* sender) { (this->*action)(sender); };
    return NewItem(caption, 0, false, true, onClick, 0, "");
  };
  for (TMenuItem* i :
       {item("Align To &Grid", &TKFormDesigner::AlignToGrid), item("Bring To &Front", &TKFormDesigner::BringToFront),
        item("Send To &Back", &TKFormDesigner::SendToBack), NewLine(), item("&Align...", &TKFormDesigner::Align),
        item("&Size...", &TKFormDesigner::Size)})
    FPopupMenu->Items()->Add(i);

  try {
    if (fileName.empty()) {
      FModified = false;
      if (!liveForm) {
        int top = FFormDesigner ? FFormDesigner->NewDesignTop() : 200;
        FForm->SetBounds(200, top, KvRoundHalfEven(0.68 * GetSystemMetrics(SM_CXFULLSCREEN)),
                         KvRoundHalfEven(0.63 * GetSystemMetrics(SM_CYFULLSCREEN)));
        FForm->SetVisible(true);
        FForm->Loaded();
        FModified = true;
        FUndo.MarkUnsaved();  // a blank design is unsaved work even with every step undone
      }
      if (FForm->GetName().empty()) FForm->SetName(UniqueName(FForm->ClassName()));
      WriteFormImage();
      FFileName = FForm->GetName() + ".DFM";
    } else if (!ReadComponents(FFileName)) {
      TearDown();
      Abort();
    } else if (FFormDesigner && FForm->GetTop() < FFormDesigner->NewDesignTop()) {
      // Stored over the top of the screen (or with no place at all), the form would hide the
      // designer window's menu and speed bar.
      FForm->SetTop(FFormDesigner->NewDesignTop());
    }

    TWinControl* activeControl = FForm->GetActiveControl();
    TWindowState windowState = FForm->GetWindowState();
    bool visible = FForm->GetVisible();
    FForm->SetActiveControl(nullptr);
    FForm->SetWindowState(wsNormal);
    FForm->Show();
    CreateIcons();
    FForm->SetDesigning(true);
    FForm->SetDesigner(this);
    FForm->SetActiveControl(activeControl);
    FForm->SetWindowState(windowState);
    FForm->SetVisible(visible);
    BuildGridBitmap();
    FActive = true;
    FShowHandles = true;
    FForm->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
    SelectComponent(FForm);
    if (!fileName.empty()) {
      FFormClassName = ImageClassName();
      FFormPos = FFormLivePos = {FForm->GetLeft(), FForm->GetTop()};
      WriteLiveImage(FBaseline);
    }
    FState.Exclude(dsAttaching);
    // No shell file drops are registered: nothing here would handle them.
  } catch (...) {
    KvLiveEngines().erase(this);
    TearDown();
    throw;
  }
}

TKFormDesigner::~TKFormDesigner() {
  KvLiveEngines().erase(this);
  if (!FCanClose) QueryDestroy();
  TearDown();
}

bool TKFormDesigner::Exists(const void* designer) { return KvLiveEngines().count(designer) > 0; }

bool TKFormDesigner::QueryDestroy() {
  FCanClose = false;
  if (OnDesignerDestroy && !OnDesignerDestroy(this)) return false;
  FCanClose = true;
  return true;
}

void TKFormDesigner::TearDown() {
  if (FState.Contains(dsTornDown)) return;
  FState.Include(dsTornDown);
  delete FSortList;
  FSortList = nullptr;
  delete FGridBitmap;
  FGridBitmap = nullptr;
  delete FPopupMenu;
  FPopupMenu = nullptr;
  ClipCursor(nullptr);
  delete FFormStream;
  FFormStream = nullptr;

  if (FForm && !FForm->InState(csDestroying)) {
    ClearSaveList(0);
    for (int i = FIcons->Count() - 1; i >= 0; --i) delete static_cast<TKvIcon*>(FIcons->Get(i));
    FIcons->Clear();
    FIconComponents->Clear();
    delete FCaptureLabel;
    FCaptureLabel = nullptr;
    FForm->SetDesigner(nullptr);
    FForm->SetDesigning(false);
    if (!FLiveForm) {
      delete FForm;
    } else {
      FForm->Perform(CM_VISIBLECHANGED, 0, 0);
      // Closing the application's main form would end the host: that one stays up.
      if (!Application || Application->MainForm() != FForm) FForm->Close();
    }
    FForm = nullptr;
    Form = nullptr;
  } else {
    // The form goes by itself: its handles and icons go with it.
    for (int i = FSaveList->Count() - 1; i >= 0; --i) Marker(i)->FDestroying = true;
    for (int i = FSaveList->Count() - 1; i >= 0; --i) delete Marker(i);
    FSaveList->Clear();
  }
  delete FSaveList;
  FSaveList = nullptr;
  delete FIcons;
  FIcons = nullptr;
  delete FIconComponents;
  FIconComponents = nullptr;
  delete FSelections;
  FSelections = nullptr;
}

void TKFormDesigner::FormClose() {
  if (!QueryDestroy()) return;
  if (FActive && FObjectInspector) FObjectInspector->ObjectChanged(nullptr);
  FModified = false;
  Destroy();
}

bool TKFormDesigner::Activate() {
  if (FState.Contains(dsTornDown)) return true;
  FActive = true;
  // The platform may report the activation after the press that caused it: a press underway
  // keeps its point, or its band would start at the form's corner.
  if (FDrag == kdNone) FDownPos = {0, 0};
  if (FFormDesigner) FFormDesigner->DesignerChanged(this);
  if (FObjectInspector) FObjectInspector->ObjectChanged(this);
  return true;
}

bool TKFormDesigner::Deactivate() {
  FActive = false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Settings: never stored, read on every use.

bool TKFormDesigner::GetCanInsert() const { return FFormDesigner && FFormDesigner->GetCanInsert(); }

bool TKFormDesigner::GetCanDelete() const {
  if (FFormDesigner) return FFormDesigner->GetCanDelete();
  return FObjectInspector && FObjectInspector->GetCanDelete();
}

bool TKFormDesigner::GetSnapToGrid() const { return FFormDesigner && FFormDesigner->GetSnapToGrid(); }

bool TKFormDesigner::GetDisplayGrid() const { return FFormDesigner && FFormDesigner->GetDisplayGrid(); }

TPoint TKFormDesigner::GetGridXY() const {
  if (FFormDesigner) return {FFormDesigner->GetGridX(), FFormDesigner->GetGridY()};
  return {1, 1};
}

TTypeKinds TKFormDesigner::GetTypeKinds() const {
  if (FFormDesigner) return FFormDesigner->GetTypeKinds();
  if (FObjectInspector) return FObjectInspector->GetTypeKinds();
  return KvEngineTypeKinds;
}

TPoint TKFormDesigner::SnapStep(TPoint d) const {
  if (!GetSnapToGrid()) return d;
  TPoint g = GetGridXY();
  return {KvRoundHalfEven(static_cast<double>(d.X) / g.X) * g.X, KvRoundHalfEven(static_cast<double>(d.Y) / g.Y) * g.Y};
}

// ---------------------------------------------------------------------------------------------
// Notifications.

void TKFormDesigner::Modified() {
  ShowSelect();
  if (FObjectInspector) FObjectInspector->ObjectModified(this);
  FModified = true;
  if (!FFormDesigner) return;
  FFormDesigner->DesignerChanged(this);
  FFormDesigner->DesignModified(this);
}

void TKFormDesigner::Notification(TComponent* component, TOperation operation) {
  if (dynamic_cast<TKvDot*>(component)) return;
  if (FAlive && operation == opRemove) FAlive->erase(component);
  if (FUndoDepth > 0 && operation == opRemove)
    std::replace(FUndoItems.begin(), FUndoItems.end(), component, static_cast<TComponent*>(nullptr));
  if (FObjectInspector) FObjectInspector->FormNotification(component, operation);
}

// ---------------------------------------------------------------------------------------------
// Message dispatch.

// Where the window system puts the form is no change to the form's stored position: a
// coordinate is stored when something else (the object inspector, the code) changes it.
void TKFormDesigner::FormMoved() {
  const TPoint live{FForm->GetLeft(), FForm->GetTop()};
  if (!FForm->BoundsFromWindow()) {
    if (live.X != FFormLivePos.X) FFormPos.X = live.X;
    if (live.Y != FFormLivePos.Y) FFormPos.Y = live.Y;
  }
  FFormLivePos = live;
}

bool TKFormDesigner::IsDesignMsg(TControl* sender, TMessage& message) {
  if (FState.Contains(dsAttaching) || FState.Contains(dsTornDown)) return false;
  switch (message.Msg) {
    case WM_MOVE:
    case WM_SIZE:
      if (message.Msg == WM_MOVE && sender == FForm) FormMoved();
      if (FDrag == kdNone) {
        if (sender == FForm) Modified();
        else if (sender == FSelectedComponent) ShowSelect();
      }
      return false;
    case WM_ACTIVATE:
      if (sender != FForm) return false;
      return TWMActivate(message).Active() == WA_INACTIVE ? Deactivate() : Activate();
    case WM_CLOSE:
      if (sender != FForm) return false;
      FormClose();
      return true;
    case WM_ERASEBKGND: return GetDisplayGrid() && sender == FForm;
    case WM_SETCURSOR: return KeepCursor();
    case WM_NCMOUSEMOVE:
      if (FDrag != kdNone) MouseMove(sender);
      return false;
    case WM_NCLBUTTONUP:
      if (FDrag != kdNone) MouseUp(message);
      return false;
    case WM_KEYDOWN: return KeyDown(sender, static_cast<uint16_t>(message.WParam));
    case WM_HSCROLL:
    case WM_VSCROLL: sender->Dispatch(message); return true;
    case WM_MENUSELECT: return MenuSelect(sender, message);
    case WM_MOUSEMOVE: return MouseMove(sender);
    case WM_LBUTTONDOWN: return MouseDown(sender, mbLeft, message);
    case WM_LBUTTONUP: MouseUp(message); return false;
    case WM_LBUTTONDBLCLK: return DoubleClick(message);
    case WM_RBUTTONDOWN: return MouseDown(sender, mbRight, message);
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return true;
    case CM_PARENTFONTCHANGED:
    case CM_PARENTCOLORCHANGED:
    case CM_PARENTCTL3DCHANGED:
    case CM_SHOWINGCHANGED:
    case CM_PARENTSHOWHINTCHANGED: return dynamic_cast<TKvDot*>(sender) != nullptr;
    case CM_COLORCHANGED:
      if (GetDisplayGrid() && sender == FForm) BuildGridBitmap();
      return false;
    case CM_CONTROLLISTCHANGE:
    case CM_CONTROLCHANGE: return FState.Contains(dsBusy);
    case CM_DRAG: {
      TCMDrag drag(message);
      message.Result = HandleDrag(drag.DragMessage(), drag.DragRec());
      return true;
    }
    default: return false;
  }
}

// ---------------------------------------------------------------------------------------------
// The grid.

void TKFormDesigner::PaintGrid() {
  if (!GetDisplayGrid() || FState.Contains(dsBusy) || !FGridBitmap) return;
  FState.Include(dsBusy);
  TPoint g = GetGridXY();
  int ox = KvDsgnGridOffset(FForm->GetHorzScrollBar()->GetPosition(), g.X);
  int oy = KvDsgnGridOffset(FForm->GetVertScrollBar()->GetPosition(), g.Y);
  TCanvas* canvas = FForm->Canvas();
  canvas->SetCopyMode(cmSrcCopy);
  canvas->Draw(ox, oy, FGridBitmap);
  FState.Exclude(dsBusy);
}

void TKFormDesigner::BuildGridBitmap() {
  if (!GetDisplayGrid()) return;
  int w = GetSystemMetrics(SM_CXFULLSCREEN), h = GetSystemMetrics(SM_CYFULLSCREEN);
  TPoint g = GetGridXY();
  FGridBitmap->SetSize(w, h);
  TCanvas* canvas = FGridBitmap->Canvas();
  canvas->GetBrush()->SetColor(FForm->GetColor());
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(Rect(0, 0, w, h));
  for (int y = 0; y < h; y += g.Y)
    for (int x = 0; x < w; x += g.X) canvas->SetPixel(x, y, clBlack);
}

// ---------------------------------------------------------------------------------------------
// Renaming and the trivial interface operations.

void TKFormDesigner::ValidateRename(TComponent* component, const std::string&, const std::string& newName) {
  if (!component) throw EComponentError("Validate Rename");
  if (component->InState(csDesigning) || component->InState(csDestroying)) return;
  if (FRenaming || component->GetName() == newName) return;
  FRenaming = true;
  try {
    component->SetName(newName);
  } catch (...) {
    FRenaming = false;
    throw;
  }
  FRenaming = false;
}

std::string TKFormDesigner::GetPrivateDirectory() { return "C:\\"; }

// There is no code editor: the handler is shown where it can be, in the inspector's events.
void TKFormDesigner::ShowMethod(const std::string& name) {
  if (FObjectInspector) FObjectInspector->ShowMethod(this, name);
}

std::string TKFormDesigner::GetObjectName(TPersistent* instance) {
  auto* component = dynamic_cast<TComponent*>(instance);
  return component ? component->GetName() : "";
}

bool TKFormDesigner::MethodFromAncestor(const TMethod&) { return false; }

bool TKFormDesigner::IsComponentLinkable(TComponent*) { return false; }

void TKFormDesigner::MakeComponentLinkable(TComponent*) { ShowMessage("MakeComponentLinkable"); }

TComponent* TKFormDesigner::GetRoot() { return FForm; }

void TKFormDesigner::Revert(TPersistent*, PPropInfo) { ShowMessage("Revert"); }
