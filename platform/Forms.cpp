#include "Forms.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "Consts.h"
#include "Menus.h"
#include "TypInfo.h"
#include "qt/QtWidgets.h"

KV_IMPLEMENT_CLASS(TDesigner, "Forms") {}

KV_IMPLEMENT_CLASS(TCustomForm, "Forms") {}

KV_IMPLEMENT_CLASS(TForm, "Forms") {
  b.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).StoredMethod(&TCustomForm::IsFormSizeStored);
  b.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).StoredMethod(&TCustomForm::IsFormSizeStored);
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("ActiveControl", &TCustomForm::GetActiveControl, &TCustomForm::SetActiveControl);
  b.Prop("AutoScroll", &TScrollingWinControl::GetAutoScroll, &TScrollingWinControl::SetAutoScroll).Default(true);
  b.Prop("AutoSize", &TCustomForm::GetAutoSize, &TCustomForm::SetAutoSize).Default(false);
  PublishControlProperties(b, {"BiDiMode"});
  b.Prop("BorderIcons", &TCustomForm::GetBorderIcons, &TCustomForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  b.Prop("BorderStyle", &TCustomForm::GetBorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
  PublishControlProperties(b, {"BorderWidth", "Caption"});
  b.Prop("ClientHeight", &TControl::GetClientHeight, &TCustomForm::SetClientHeight)
      .StoredMethod(&TCustomForm::IsClientSizeStored);
  b.Prop("ClientWidth", &TControl::GetClientWidth, &TCustomForm::SetClientWidth)
      .StoredMethod(&TCustomForm::IsClientSizeStored);
  PublishControlProperties(b, {"Color", "Constraints"});
  b.Prop("Ctl3D", &TWinControl::GetCtl3D, &TWinControl::SetCtl3D).Default(true);
  PublishControlProperties(b, {"DragCursor", "DragMode", "Enabled"});
  b.Prop("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont).Default(false);
  PublishControlProperties(b, {"Font"});
  b.Prop("FormStyle", &TCustomForm::GetFormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
  b.Prop("HelpFile", &TCustomForm::GetHelpFile, &TCustomForm::SetHelpFile);
  b.Prop("Icon", &TCustomForm::GetIcon, &TCustomForm::SetIcon);
  b.Prop("KeyPreview", &TCustomForm::GetKeyPreview, &TCustomForm::SetKeyPreview).Default(false);
  b.Prop("Menu", &TCustomForm::GetMenu, &TCustomForm::SetMenu).Type(TMainMenu::StaticClass()->TypeInfo());
  b.Prop("OldCreateOrder", &TCustomForm::GetOldCreateOrder, &TCustomForm::SetOldCreateOrder);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentShowHint", "PopupMenu"});
  b.Prop("PixelsPerInch", &TCustomForm::GetPixelsPerInch, &TCustomForm::SetPixelsPerInch).Stored(false);
  b.Prop("Position", &TCustomForm::GetPosition, &TCustomForm::SetPosition).Default(poDesigned);
  b.Prop("Scaled", &TCustomForm::GetScaled, &TCustomForm::SetScaled).Default(true);
  PublishControlProperties(b, {"ShowHint"});
  b.Prop("Visible", &TControl::GetVisible, &TControl::SetVisible).Default(false);
  b.Prop("WindowState", &TCustomForm::GetWindowState, &TCustomForm::SetWindowState).Default(wsNormal);
  b.Prop("WindowMenu", &TCustomForm::GetWindowMenu, &TCustomForm::SetWindowMenu)
      .Type(TMenuItem::StaticClass()->TypeInfo());
  b.Prop("OnActivate", &TCustomForm::OnActivate);
  PublishControlProperties(b, {"OnClick"});
  b.Prop("OnClose", &TCustomForm::OnClose);
  b.Prop("OnCloseQuery", &TCustomForm::OnCloseQuery);
  b.Prop("OnCreate", &TCustomForm::OnCreate);
  PublishControlProperties(b, {"OnDblClick"});
  b.Prop("OnDestroy", &TCustomForm::OnDestroy);
  b.Prop("OnDeactivate", &TCustomForm::OnDeactivate);
  PublishControlProperties(b, {"OnDragDrop", "OnDragOver"});
  b.Prop("OnHide", &TCustomForm::OnHide);
  PublishControlProperties(b, {"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                               "OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp"});
  b.Prop("OnPaint", &TCustomForm::OnPaint);
  PublishControlProperties(b, {"OnResize"});
  b.Prop("OnShow", &TCustomForm::OnShow);
}

KV_IMPLEMENT_CLASS(TApplication, "Forms") {}
KV_IMPLEMENT_CLASS(TScreen, "Forms") {}

PTypeInfo TypeInfoTModalResult() {
  static PTypeInfo ti = MakeOrdTypeInfo("TModalResult", tkInteger, otSLong, INT32_MIN, INT32_MAX);
  return ti;
}

PTypeInfo TypeInfoTBorderStyle() {
  static PTypeInfo ti = MakeEnumTypeInfo("TBorderStyle", "bsNone, bsSingle", "Forms");
  return ti;
}

std::function<int(const std::string&, const std::string&, int)> MessageBoxHook;

namespace {
TComponent* FindGlobalForm(const std::string& name) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (SameText(Screen->Forms(i)->GetName(), name)) return Screen->Forms(i);
  return nullptr;
}

struct TGlobals {
  TGlobals() {
    Application = new TApplication(nullptr);
    Screen = new TScreen(nullptr);
    Mouse = new TMouse;
    FindGlobalComponent = FindGlobalForm;
    RegisterClass(TForm::StaticClass());
  }
};
}  // namespace

// The application objects live as long as the process, as the VCL's do until its last unit
// finalises; the toolkit application they need is made on first use.
TApplication* Application = nullptr;
TScreen* Screen = nullptr;
TMouse* Mouse = nullptr;
static TGlobals gGlobals;

// =============================================================================================
// TCustomForm
TCustomForm::TCustomForm(TComponent* AOwner)
    : TScrollingWinControl(AOwner), FCanvas(new TControlCanvas), FIcon(new TIcon) {
  FCanvas->Control = this;
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  SetColor(clBtnFace);
  SetParentFont(false);
  FCanvas->SetFont(GetFont());
  FTextHeight = FCanvas->TextHeight("0");
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (OnDestroy) OnDestroy(this);
  if (FDesigner && FDesigner->Form == this) FDesigner->Form = nullptr;
  FDesigner = nullptr;
  if (Screen) Screen->RemoveForm(this);
  // What the form owns goes now, while the form is still a form to it; the owner's own loop
  // takes each one off without telling all the others (which makes a large form quadratic).
  DestroyComponents();
  while (ControlCount() > 0) {
    TControl* c = Controls(ControlCount() - 1);
    RemoveControl(c);
    delete c;
  }
  DestroyHandle();
  delete FCanvas;
  delete FIcon;
}

void TCustomForm::SetDesigner(TDesigner* designer) {
  FDesigner = designer;
  if (designer) designer->Form = this;
  UpdateDesignState();
  if (FMenu) MenuChanged();  // designing shows hidden entries
  Invalidate();
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.TopLevel = true;
  params.StayOnTop = FFormStyle == fsStayOnTop;
  params.ToolWindow = FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin;
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE: Close(); return;
    case WM_ACTIVATE:
      if (TWMActivate(m).Active() == WA_INACTIVE) {
        if (FActive) {
          FActive = false;
          Deactivate();
        }
      } else if (!FActive) {
        FActive = true;
        if (Screen) Screen->SetActiveForm(this);
        Activate();
      }
      m.Result = 0;
      return;
    case CM_RELEASE: delete this; return;
    case CM_FONTCHANGED:
      // The height of the form's text as it will be written (a stream's value wins on reading).
      FCanvas->SetFont(GetFont());
      FTextHeight = FCanvas->TextHeight("0");
      break;
    case CM_SHOWINGCHANGED:
      if (Showing()) {
        if (!FShownOnce) ApplyPosition();
        FShownOnce = true;
        DoShow();
      } else {
        DoHide();
      }
      break;
    default: break;
  }
  TScrollingWinControl::Dispatch(m);
}

void TCustomForm::PaintWindow(TPaintDC* dc) {
  qtw::TCanvasScope scope(FCanvas, dc);
  FCanvas->SetFont(GetFont());
  if (FDesigner) FDesigner->PaintGrid();
  else Paint();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}
void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) qtw::Activate(FHandle);
  if (Screen) Screen->SetActiveForm(this);
}

void TCustomForm::SetFocus() {
  if (!GetVisible()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (!HandleAllocated()) return;
  qtw::Activate(FHandle);
  // The windows that stay on top come up again over a focused form; a form being shown (a
  // modal one too) goes above them.
  qtw::Stack(FHandle, true);
}

void TCustomForm::ApplyPosition() {
  if (FPosition != poScreenCenter && FPosition != poDesktopCenter &&
      !(FPosition == poMainFormCenter || FPosition == poOwnerFormCenter))
    return;
  TRect area = Screen ? Screen->WorkAreaRect() : Rect(0, 0, 0, 0);
  TCustomForm* center = nullptr;
  if (FPosition == poMainFormCenter && Application) center = Application->MainForm();
  if (FPosition == poOwnerFormCenter) center = Cast<TCustomForm>(Owner());
  if (center && center != this) area = center->BoundsRect();
  SetBounds(area.Left + (area.Width() - GetWidth()) / 2, area.Top + (area.Height() - GetHeight()) / 2, GetWidth(),
            GetHeight());
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    Hide();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone) FModalResult = mrNone;
  else if (action == caFree) Release();
}

TModalResult TCustomForm::ShowModal() {
  if (GetVisible() || FormState.Contains(fsModal)) throw EInvalidOperation("Cannot make a visible window modal");
  FormState.Include(fsModal);
  FModalResult = mrNone;
  Show();
  try {
    while (FModalResult == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) FModalResult = mrCancel;
      else if (FModalResult != mrNone) CloseModal();
    }
  } catch (...) {
    FormState.Exclude(fsModal);
    Hide();
    throw;
  }
  FormState.Exclude(fsModal);
  Hide();
  return FModalResult;
}

void TCustomForm::Release() { PostMessage(this, CM_RELEASE, 0, 0); }

void TCustomForm::SetActiveControl(TWinControl* v) {
  if (FActiveControl == v) return;
  if (v && (v == this || GetParentForm(v) != this)) throw EInvalidOperation("Invalid active control");
  FActiveControl = v;
  if (v && !InState(csLoading) && HandleAllocated() && v->CanFocus()) v->SetFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
  FActiveControl = control;
  if (control && control->CanFocus()) qtw::SetFocus(control->Handle());
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  FBorderStyle = v;
  if (FMenu) MenuChanged();  // a dialog shows no menu bar
  if (HandleAllocated()) {
    TCreateParams p;
    CreateParams(p);
    qtw::SetTopLevelStyle(FHandle, p);
  }
}

void TCustomForm::SetBorderIcons(TBorderIcons v) { FBorderIcons = v; }

void TCustomForm::SetFormStyle(TFormStyle v) {
  FFormStyle = v;
  SetBorderStyle(FBorderStyle);
}

void TCustomForm::SetWindowState(TWindowState v) {
  FWindowState = v;
  if (HandleAllocated() && !InState(csDesigning)) qtw::SetWindowState(FHandle, v);
}

void TCustomForm::SetMenu(TComponent* v) {
  if (FMenu == v) return;
  // A menu bar belongs to one window.
  if (auto* m = Cast<TMainMenu>(v); m && m->Form() && m->Form() != this && m->Form()->GetMenu() == m)
    throw EInvalidOperation(Format(SDuplicateMenus, m->GetName()));
  FMenu = v;
  if (v) v->FreeNotification(this);
  MenuChanged();
}

void TCustomForm::MenuChanged() { UpdateMenuBar(this); }

void TCustomForm::SetMenuBarHeight(int height) { SetNonClientEdges(0, std::max(0, height)); }

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  if (FMenu) MenuChanged();
}

void TCustomForm::SetClientWidth(int v) {
  if (ControlState.Contains(csReadingState)) FReadClientSize.cx = v;
  TControl::SetClientWidth(v);
}

void TCustomForm::SetClientHeight(int v) {
  if (ControlState.Contains(csReadingState)) FReadClientSize.cy = v;
  TControl::SetClientHeight(v);
}

void TCustomForm::SetAutoSize(bool v) {
  if (FAutoSize == v) return;
  FAutoSize = v;
  if (v) Realign();
}

void TCustomForm::Loaded() {
  TScrollingWinControl::Loaded();
  if (FAutoSize) Realign();
}

void TCustomForm::AlignControls(TControl* aControl, TRect& rect) {
  TScrollingWinControl::AlignControls(aControl, rect);
  if (!FAutoSize || InState(csLoading)) return;
  int right = 0, bottom = 0;
  bool any = false;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->DesignVisible()) continue;
    any = true;
    right = std::max(right, c->GetLeft() + c->GetWidth());
    bottom = std::max(bottom, c->GetTop() + c->GetHeight());
  }
  if (!any) return;
  if (right != GetClientWidth()) TControl::SetClientWidth(right);
  if (bottom != GetClientHeight()) TControl::SetClientHeight(bottom);
}

bool TCustomForm::IsFormSizeStored() const {
  return GetAutoScroll() || GetHorzScrollBar()->GetRange() != 0 || GetVertScrollBar()->GetRange() != 0;
}

// The stream's references are resolved at the end of reading, the Menu among them: its bar
// takes its room now, so that a stored client size is the client size.
void TCustomForm::ReadState(TReader* reader) {
  FReadClientSize = {};
  TScrollingWinControl::ReadState(reader);
  UpdateMenuBar(this);
  if (FReadClientSize.cx > 0) TControl::SetClientWidth(FReadClientSize.cx);
  if (FReadClientSize.cy > 0) TControl::SetClientHeight(FReadClientSize.cy);
  FReadClientSize = {};
}

bool TCustomForm::DoKeyDown(uint16_t& key, TShiftState shift) {
  KeyDown(key, shift);
  return key == 0;
}

bool TCustomForm::DoKeyPress(char& key) {
  KeyPress(key);
  return key == 0;
}

bool TCustomForm::DoKeyUp(uint16_t& key, TShiftState shift) {
  KeyUp(key, shift);
  return key == 0;
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent()) proc(c);
  }
  TScrollingWinControl::GetChildren(proc, root);
}

// PixelsPerInch is read as a property and written here; TextHeight goes both ways here.
void TCustomForm::DefineProperties(TFiler* filer) {
  TScrollingWinControl::DefineProperties(filer);
  filer->DefineProperty(
      "PixelsPerInch", nullptr, [this](TWriter* w) { WritePixelsPerInch(w); }, true);
  filer->DefineProperty(
      "TextHeight", [this](TReader* r) { ReadTextHeight(r); }, [this](TWriter* w) { WriteTextHeight(w); }, true);
}

void TCustomForm::ReadTextHeight(TReader* r) { FTextHeight = r->ReadInteger(); }
void TCustomForm::WriteTextHeight(TWriter* w) { w->WriteInteger(FTextHeight); }
void TCustomForm::WritePixelsPerInch(TWriter* w) { w->WriteInteger(FPixelsPerInch); }

void TCustomForm::Notification(TComponent* c, TOperation op) {
  TScrollingWinControl::Notification(c, op);
  if (op == opRemove) {
    if (c == FMenu) {
      FMenu = nullptr;
      MenuChanged();
    }
    if (c == FActiveControl) FActiveControl = nullptr;
    if (c == FWindowMenu) FWindowMenu = nullptr;
  }
  if (FDesigner) FDesigner->Notification(c, op);
}

void TCustomForm::ValidateRename(TComponent* c, const std::string& curName, const std::string& newName) {
  TScrollingWinControl::ValidateRename(c, curName, newName);
  if (FDesigner) FDesigner->ValidateRename(c, curName, newName);
}

// =============================================================================================
// Layouts.
namespace {
std::map<std::string, std::string, bool (*)(const std::string&, const std::string&)>& Layouts() {
  static std::map<std::string, std::string, bool (*)(const std::string&, const std::string&)> m(
      [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  return m;
}

// "object Name: TClass" (or inherited / inline) on the first non-blank line.
std::string LayoutClassName(const std::string& text) {
  size_t colon = text.find(':');
  size_t eol = text.find('\n');
  if (colon == std::string::npos || (eol != std::string::npos && colon > eol))
    throw EParserError("A form layout starts with \"object Name: TClass\"");
  size_t b = colon + 1;
  while (b < text.size() && text[b] == ' ') ++b;
  size_t e = b;
  while (e < text.size() && (std::isalnum(static_cast<unsigned char>(text[e])) || text[e] == '_')) ++e;
  return text.substr(b, e - b);
}

void ReadLayout(TComponent* instance, const std::string& text) {
  TMemoryStream src, bin;
  src.Write(text.data(), static_cast<int64_t>(text.size()));
  src.SetPosition(0);
  ObjectTextToBinary(&src, &bin);
  bin.SetPosition(0);
  TReader reader(&bin);
  reader.ReadRootComponent(instance);
}
}  // namespace

void RegisterFormLayout(const std::string& text) { Layouts()[LayoutClassName(text)] = text; }
void UnregisterFormLayout(const std::string& className) { Layouts().erase(className); }
bool HasFormLayout(const std::string& className) { return Layouts().count(className) != 0; }

bool InitInheritedComponent(TComponent* instance, TClass rootAncestor) {
  std::vector<TClass> chain;
  for (TClass c = instance->ClassType(); c && c != rootAncestor; c = c->Parent) chain.push_back(c);
  bool any = false;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    auto found = Layouts().find((*it)->Name);
    if (found == Layouts().end()) continue;
    ReadLayout(instance, found->second);
    any = true;
  }
  if (auto* f = Cast<TCustomForm>(instance)) f->DoCreate();
  return any;
}

// =============================================================================================
// TApplication
TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  qtw::SetQuitHook([] {
    if (Application) Application->Terminate();
  });
}

TApplication::~TApplication() { Destroying(); }

void TApplication::Initialize() { qtw::EnsureApplication(); }

TComponent* TApplication::CreateForm(TClass formClass) {
  auto* c = static_cast<TComponent*>(formClass->Create(this));
  if (auto* f = Cast<TCustomForm>(c); f && !FMainForm) {
    FMainForm = f;
    f->FreeNotification(this);
  }
  return c;
}

void TApplication::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FMainForm) FMainForm = nullptr;
}

void TApplication::Run() {
  qtw::EnsureApplication();
  if (FMainForm) FMainForm->Show();
  while (!FTerminated && (!FMainForm || FMainForm->GetVisible())) HandleMessage();
}

void TApplication::ProcessMessages() {
  try {
    qtw::ProcessEvents(false);
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::HandleMessage() {
  try {
    qtw::ProcessEvents(true);
  } catch (...) {
    HandleException(this);
  }
  if (OnIdle) OnIdle(this);
}

void TApplication::HandleException(TObject* sender) {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    if (OnException) OnException(sender, e);
    else ShowException(e);
  } catch (const std::exception& e) {
    Exception wrapped(e.what());
    if (OnException) OnException(sender, wrapped);
    else ShowException(wrapped);
  }
}

bool TApplication::HelpContext(THelpContext context) {
  bool callHelp = true;
  if (OnHelp) OnHelp(HELP_CONTEXT, context, callHelp);
  return OnHelp && !callHelp;
}

void TApplication::ShowException(const Exception& e) {
  std::string msg = e.Message();
  if (!msg.empty() && msg.back() != '.') msg += '.';
  MessageBox(msg, FTitle, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
  if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
  return qtw::MessageBox(text, caption, flags);
}

// =============================================================================================
// TScreen
TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}
TScreen::~TScreen() { Destroying(); }

void TScreen::AddForm(TCustomForm* f) { FForms.push_back(f); }

void TScreen::RemoveForm(TCustomForm* f) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
  if (FActiveForm == f) FActiveForm = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* f) {
  FActiveForm = f;
  auto it = std::find(FForms.begin(), FForms.end(), f);
  if (it != FForms.end()) std::rotate(FForms.begin(), it, it + 1);
}

TWinControl* TScreen::ActiveControl() const { return FActiveForm ? FActiveForm->GetActiveControl() : nullptr; }
int TScreen::Width() const { return qtw::ScreenRect().Width(); }
int TScreen::Height() const { return qtw::ScreenRect().Height(); }
TRect TScreen::WorkAreaRect() const { return qtw::WorkArea(); }

void TScreen::SetCursor(TCursor v) {
  if (FCursor == v) return;
  FCursor = v;
  qtw::SetOverrideCursor(v, v != crDefault);
}
