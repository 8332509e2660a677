// Helpers that the ComCtrls unit's list view and tree view files share: the record layout of
// their stored items and the order they sort by. Not a unit of its own: only the ComCtrls_*.cpp
// files include it.
#pragma once

#include <cstring>
#include <string>

#include "ComCtrls.h"
#include "Consts.h"
#include "SysUtils.h"

// Bounds-checked reader over a stored blob: short data is Delphi's "Stream read error".
struct ViewsBlobReader {
  const std::string& B;
  size_t Pos = 0;
  size_t End;
  explicit ViewsBlobReader(const std::string& b) : B(b), End(b.size()) {}
  size_t Left() const { return End - Pos; }
  void Need(size_t n) const {
    if (n > Left()) throw EReadError(SReadError);
  }
  int32_t Int() {
    Need(4);
    uint32_t v = static_cast<uint8_t>(B[Pos]) | static_cast<uint8_t>(B[Pos + 1]) << 8 |
                 static_cast<uint8_t>(B[Pos + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(B[Pos + 3])) << 24;
    Pos += 4;
    return static_cast<int32_t>(v);
  }
  std::string ShortString() {
    Need(1);
    size_t n = static_cast<uint8_t>(B[Pos]);
    Need(1 + n);
    std::string s = AnsiToUtf8(std::string_view(B).substr(Pos + 1, n));  // stored in the ANSI code page
    Pos += 1 + n;
    return s;
  }
};

std::string ViewsReadRest(TStream* s);
void ViewsPutInt(std::string& out, int32_t v);

// Delphi's short strings hold at most 255 characters of the ANSI code page; longer text is cut
// as Delphi cut it, and text the code page cannot hold goes as its UTF-8 bytes.
std::string ViewsShortAnsi(const std::string& s);
void ViewsPutShortString(std::string& out, const std::string& s);

inline int32_t ViewsDataBits(void* p) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(p)); }
inline void* ViewsDataPtr(int32_t v) { return reinterpret_cast<void*>(static_cast<intptr_t>(v)); }

// The comparison the controls sort by without OnCompare (lstrcmp's order: letters ignoring
// case first, lower case before upper case on a tie).
int ViewsCompareText(const std::string& a, const std::string& b);

// Items equal to an inherited form's are not written again.
template <class Items>
bool ViewsItemsToWrite(const Items* self, TFiler* filer, bool any) {
  auto* a = Cast<Items>(filer->Ancestor);
  if (!a) return any;
  TMemoryStream mine, theirs;
  self->WriteData(&mine);
  a->WriteData(&theirs);
  return mine.GetSize() != theirs.GetSize() ||
         std::memcmp(mine.Memory(), theirs.Memory(), static_cast<size_t>(mine.GetSize())) != 0;
}
