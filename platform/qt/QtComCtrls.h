// The backend of the grid, common-control and extra-control units, free of Qt types: scroll
// bars laid over painted windows, and the native widgets (progress bar, track bar, spin box,
// rich text, date/time picker, line edit) with the calls their controls need.
// Implemented in QtComCtrls.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "../Messages.h"

class TWinControl;
class TWindowHandle;

namespace qtc {

// Width of a vertical scroll bar (and height of a horizontal one).
int ScrollBarSize();
// Shows (or hides) the control's scroll bar along the right or bottom edge of its window,
// inside a border of `inset` pixels. Moving it sends WM_VSCROLL / WM_HSCROLL with
// SB_THUMBPOSITION (or SB_THUMBTRACK while dragging when `tracking`) and the new position.
void SetScrollBar(TWinControl* control, bool vertical, bool visible, int max, int page, int pos, int inset,
                  bool tracking);

// Window classes registered by this backend, made on first use:
//   "msctls_progress32", "msctls_trackbar32", "KvSpinEdit", "RICHEDIT", "SysDateTimePick32".
// Their value changes reach the control as WM_COMMAND with EN_CHANGE.
void RegisterWindowClasses();

// Ranges and positions: progress bar, track bar, spin box.
void SetRange(TWindowHandle* h, int min, int max);
void SetPosition(TWindowHandle* h, int pos);
int GetPosition(TWindowHandle* h);
void SetVertical(TWindowHandle* h, bool vertical);
// Track bar ticks: style 0 none, 1 top/left, 2 bottom/right, 3 both.
void SetTicks(TWindowHandle* h, int style, int frequency);
void SetSingleStep(TWindowHandle* h, int step);
void SetReadOnly(TWindowHandle* h, bool readOnly);

// Text of a line edit, spin box or rich text widget (plain text for the latter).
std::string GetText(TWindowHandle* h);
// The caret of a line edit (or the spin box's edit), and a selection from it.
int GetCaret(TWindowHandle* h);
void SetSelection(TWindowHandle* h, int start, int length);
// Rich text: `text` as RTF-less rich text (HTML subset of Qt) or plain.
void SetRichText(TWindowHandle* h, const std::string& text, bool plain);

// Date/time picker. Values are TDateTime (days since 1899-12-30).
void SetDateTime(TWindowHandle* h, double value, bool timeOnly, bool longFormat);
double GetDateTime(TWindowHandle* h);

}  // namespace qtc
