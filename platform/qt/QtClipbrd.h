// The clipboard and the undo of native edits, free of Qt types. Implemented in QtClipbrd.cpp.
#pragma once

#include <string>

class TWindowHandle;

namespace qtcb {

std::string ClipboardText();
void SetClipboardText(const std::string& text);
bool ClipboardHasText();
void ClearClipboard();
// The native edit behind h (a line edit or a memo): whether it can undo, and undoing its last
// change (the control hears of it as of a typed change).
bool CanUndo(TWindowHandle* h);
void Undo(TWindowHandle* h);

}  // namespace qtcb
