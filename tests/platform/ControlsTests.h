// Controls used by the controls and forms tests, and a designer that records and swallows
// messages the way the designer engine does.
#pragma once

#include <functional>
#include <vector>

#include "Forms.h"

// A windowed control that paints itself in its colour and accepts child controls.
class TTestPanel : public TCustomControl {
  KV_CLASS(TTestPanel, TCustomControl)
 public:
  explicit TTestPanel(TComponent* AOwner);
  std::vector<std::pair<TMouseButton, TPoint>> Downs;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
};

// A windowless control that fills its bounds with its colour.
class TTestShape : public TGraphicControl {
  KV_CLASS(TTestShape, TGraphicControl)
 public:
  explicit TTestShape(TComponent* AOwner);
  std::vector<uint32_t> Messages;  // what reached its handlers
  void Dispatch(TMessage& m) override;

 protected:
  void Paint() override;
};

// The toolkit's own push button; its clicks come back as WM_COMMAND / BN_CLICKED.
class TTestButton : public TWinControl {
  KV_CLASS(TTestButton, TWinControl)
 public:
  explicit TTestButton(TComponent* AOwner);
  int Clicks = 0;
  void Dispatch(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

// An editable combo box: its line edit is an inner widget of the control's window.
class TTestCombo : public TWinControl {
  KV_CLASS(TTestCombo, TWinControl)
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& params) override;
};

// A non-visual component, listed first among a form's children.
class TTestTimer : public TComponent {
  KV_CLASS(TTestTimer, TComponent)
 public:
  using TComponent::TComponent;
};

struct TSeenMessage {
  TControl* Sender;
  uint32_t Msg;
  intptr_t WParam;
  intptr_t LParam;
};

class TTestDesigner : public TDesigner {
  KV_CLASS(TTestDesigner, TDesigner)
 public:
  std::vector<TSeenMessage> Seen;
  // Decides the answer of IsDesignMsg. By default, as the engine: input, erasing, closing,
  // activation and bounds changes are swallowed; painting and notifications are not.
  static bool EngineLike(TControl*, TMessage& m) { return m.Msg < CM_BASE && m.Msg != WM_PAINT; }
  std::function<bool(TControl*, TMessage&)> Swallow = EngineLike;
  int GridPaints = 0;
  std::function<void()> OnPaintGrid;
  int ModifiedCount = 0;
  std::vector<std::pair<TComponent*, TOperation>> Notifications;

  bool IsDesignMsg(TControl* sender, TMessage& m) override {
    Seen.push_back({sender, m.Msg, m.WParam, m.LParam});
    return Swallow(sender, m);
  }
  void Modified() override { ++ModifiedCount; }
  void Notification(TComponent* c, TOperation op) override { Notifications.emplace_back(c, op); }
  void PaintGrid() override {
    ++GridPaints;
    if (OnPaintGrid) OnPaintGrid();
  }
  void ValidateRename(TComponent*, const std::string&, const std::string&) override {}
  std::string UniqueName(const std::string& base) override { return base + "1"; }
  TComponent* GetRoot() override { return Form; }

  bool Saw(const TControl* sender, uint32_t msg) const;
  const TSeenMessage* Find(const TControl* sender, uint32_t msg) const;
};

void RegisterControlTestClasses();
// Shows the form and lets the toolkit lay out and paint it.
void ShowAndSettle(TCustomForm* form);
// The form's pixels as painted now, as a colour.
TColor PixelAt(TWinControl* control, int x, int y);
