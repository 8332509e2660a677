// The backend of the extra controls (timers, spin edits), free of Qt types.
// Implemented in QtMoreCtrls.cpp.
#pragma once

#include <functional>

class TWindowHandle;

namespace qtm {

// A repeating timer on the toolkit's event loop; `fire` runs every `ms` milliseconds until
// StopTimer. Answers an id greater than zero.
int StartTimer(int ms, std::function<void()> fire);
void StopTimer(int id);

// Spin box: whether its text can be typed in (the arrows keep working either way).
void SetEditorEnabled(TWindowHandle* h, bool enabled);
// Spin box: no typed text beyond maxLength characters (0: no limit).
void SetMaxLength(TWindowHandle* h, int maxLength);

}  // namespace qtm
