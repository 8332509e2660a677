#include "Clipbrd.h"

#include "qt/QtClipbrd.h"

std::string TClipboard::GetAsText() const { return qtcb::ClipboardText(); }
void TClipboard::SetAsText(const std::string& v) { qtcb::SetClipboardText(v); }
bool TClipboard::HasFormat(int format) const { return format == CF_TEXT && qtcb::ClipboardHasText(); }
void TClipboard::Clear() { qtcb::ClearClipboard(); }

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}
