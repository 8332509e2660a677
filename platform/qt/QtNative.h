// For backend files that bring native widget classes: the window-class registry and access to
// a window's widget. Controls name their class in TCreateParams::WinClassName.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "QtWidgets.h"

namespace qtw {

struct TWindowClass {
  // Builds the toolkit widget of a control's window (with `parent` as its parent).
  std::function<QWidget*(QWidget* parent, const TCreateParams& params)> Create;
  // Optional: connects the widget's signals once its window exists (see Notify).
  std::function<void(QWidget* widget, TWindowHandle* h)> Connect;
};

// A later registration of the same name replaces the earlier one.
void RegisterWindowClass(const std::string& name, TWindowClass wc);
QWidget* WidgetOf(TWindowHandle* h);
// Sends WM_COMMAND with `code` in the high word to the window's control, as the VCL reflects
// native notifications to the control itself.
void Notify(TWindowHandle* h, uint16_t code, intptr_t lParam = 0);

}  // namespace qtw
