// Clipbrd: the system clipboard, as text.
#pragma once

#include <string>

constexpr int CF_TEXT = 1;

class TClipboard {
 public:
  std::string GetAsText() const;
  void SetAsText(const std::string& v);
  // Whether the clipboard holds data of the format (CF_TEXT: non-empty text).
  bool HasFormat(int format) const;
  void Clear();
};

// The application's clipboard.
TClipboard* Clipboard();
