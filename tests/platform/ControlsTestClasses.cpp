#include "ControlsTests.h"

KV_IMPLEMENT_CLASS(TTestPanel, "TestControls") {
  PublishControlProperties(b, {"Align", "Anchors", "Caption", "Color", "Font", "ParentColor", "ParentFont", "Visible",
                               "Enabled", "TabOrder", "TabStop", "OnClick", "OnMouseDown", "OnDragDrop", "OnDragOver"});
}
KV_IMPLEMENT_CLASS(TTestShape, "TestControls") {
  PublishControlProperties(b, {"Align", "Color", "ParentColor", "Visible", "OnClick"});
}
KV_IMPLEMENT_CLASS(TTestButton, "TestControls") { PublishControlProperties(b, {"Caption", "OnClick"}); }
KV_IMPLEMENT_CLASS(TTestCombo, "TestControls") {}
KV_IMPLEMENT_CLASS(TTestTimer, "TestControls") {}
KV_IMPLEMENT_CLASS(TTestDesigner, "TestControls") {}

TTestPanel::TTestPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle.Include(csAcceptsControls);
  SetBounds(0, 0, 185, 41);
}

void TTestPanel::Paint() {
  Canvas()->GetBrush()->SetColor(GetColor());
  Canvas()->FillRect(GetClientRect());
}

void TTestPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  Downs.push_back({button, {x, y}});
  TCustomControl::MouseDown(button, shift, x, y);
}

TTestShape::TTestShape(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 65, 65); }

void TTestShape::Dispatch(TMessage& m) {
  Messages.push_back(m.Msg);
  TGraphicControl::Dispatch(m);
}

void TTestShape::Paint() {
  Canvas()->GetBrush()->SetColor(GetColor());
  Canvas()->FillRect(GetClientRect());
}

TTestButton::TTestButton(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle.Exclude(csClickEvents);
  SetBounds(0, 0, 75, 25);
}

void TTestButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "BUTTON";
}

void TTestButton::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && ((m.WParam >> 16) & 0xFFFF) == BN_CLICKED) {
    ++Clicks;
    Click();
    return;
  }
  TWinControl::Dispatch(m);
}

void TTestCombo::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "COMBOBOX";
}

bool TTestDesigner::Saw(const TControl* sender, uint32_t msg) const { return Find(sender, msg) != nullptr; }

const TSeenMessage* TTestDesigner::Find(const TControl* sender, uint32_t msg) const {
  for (const auto& s : Seen)
    if (s.Sender == sender && s.Msg == msg) return &s;
  return nullptr;
}

void RegisterControlTestClasses() {
  RegisterClasses({TTestPanel::StaticClass(), TTestShape::StaticClass(), TTestButton::StaticClass(),
                   TTestTimer::StaticClass(), TForm::StaticClass()});
}

void ShowAndSettle(TCustomForm* form) {
  form->Show();
  for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

TColor PixelAt(TWinControl* control, int x, int y) {
  TBitmap bmp;
  GrabWindow(control, &bmp);
  return bmp.Canvas()->GetPixel(x, y);
}
