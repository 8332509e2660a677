// For backend files that bring native widget classes: the window-class registry and access to
// a window's widget. Controls name their class in TCreateParams::WinClassName.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "QtWidgets.h"

class QScrollBar;

namespace qtw {

struct TWindowClass {
  // Builds the toolkit widget of a control's window (with `parent` as its parent).
  std::function<QWidget*(QWidget* parent, const TCreateParams& params)> Create;
  // Optional: connects the widget's signals once its window exists (see Notify).
  std::function<void(QWidget* widget, TWindowHandle* h)> Connect;
};

// A later registration of the same name replaces the earlier one.
void RegisterWindowClass(const std::string& name, TWindowClass wc);
// The widget of the window's client area: the window itself unless it has a non-client area.
QWidget* WidgetOf(TWindowHandle* h);
// The window's outer widget, which holds the non-client parts (menu bar, scroll bars).
QWidget* FrameOf(TWindowHandle* h);
// Places the client widget, the menu bar (the frame's child named "kvMenuBar") and the scroll
// bars in the frame as the non-client area says.
void LayoutFrame(TWindowHandle* h);
// The scroll bar of `control` for one direction among host's children, made on first use:
// moving it sends the control WM_VSCROLL / WM_HSCROLL with SB_THUMBPOSITION (SB_THUMBTRACK
// while dragging) and the new position. Setting its state does not send anything.
QScrollBar* ScrollBarOf(QWidget* host, TWinControl* control, bool vertical);
void SetScrollBarState(QScrollBar* bar, int max, int page, int pos, int step, bool tracking);
// Sends WM_COMMAND with `code` in the high word to the window's control, as the VCL reflects
// native notifications to the control itself.
void Notify(TWindowHandle* h, uint16_t code, intptr_t lParam = 0);

}  // namespace qtw
