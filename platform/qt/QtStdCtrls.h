// The native widgets of the standard controls as the controls drive them, free of Qt types.
// Window class names: "KvButton", "KvCheckBox", "KvRadioButton", "KvEdit", "KvMemo",
// "KvListBox", "KvComboBox", "KvScrollBar". Setters never raise the widgets' notifications:
// only a user's action comes back to the control as WM_COMMAND.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../Types.h"

class TWindowHandle;
class TCanvas;
struct TEditMaskInfo;
class TBitmap;

namespace qtstd {

struct TEditOptions {
  bool ReadOnly = false;
  int MaxLength = 0;  // 0: no limit
  char PasswordChar = 0;
  int Alignment = 0;  // TAlignment
  bool Border = true;
  // Memos only.
  bool WordWrap = true;
  bool HorzScroll = false;
  bool VertScroll = false;
};
void SetEditOptions(TWindowHandle* h, const TEditOptions& o);
// The text of an edit, memo, editable combo box or button.
// A masked edit's text is what it shows, literals and blanks in their places.
std::string GetText(TWindowHandle* h);
void SetText(TWindowHandle* h, const std::string& text);
// An edit's mask (none when it has no places); its text goes blank.
void SetEditMask(TWindowHandle* h, const TEditMaskInfo& mask);
// Edits and memos: selection in characters.
void GetSel(TWindowHandle* h, int& start, int& length);
void SetSel(TWindowHandle* h, int start, int length);  // length -1: to the end
std::string GetSelText(TWindowHandle* h);
void ReplaceSel(TWindowHandle* h, const std::string& text);

// Buttons.
void SetDefaultButton(TWindowHandle* h, bool isDefault);
// A button's icon from a glyph strip (the first of numGlyphs images; the second when disabled).
void SetButtonGlyph(TWindowHandle* h, TBitmap* glyph, int numGlyphs);
void SetCheckState(TWindowHandle* h, int state);  // TCheckBoxState
void SetLeftText(TWindowHandle* h, bool left);    // check mark on the right of the text

// List and combo boxes.
struct TListOptions {
  bool MultiSelect = false;
  bool ExtendedSelect = true;
  int Columns = 0;
  int ItemHeight = 0;  // 0: the font's
  bool Border = true;
  // Combo boxes only.
  bool Editable = true;
  bool ListAlwaysShown = false;  // csSimple
  int DropDownCount = 8;
  int MaxLength = 0;
};
void SetListOptions(TWindowHandle* h, const TListOptions& o);
void SetItems(TWindowHandle* h, const std::vector<std::string>& items);
int GetItemIndex(TWindowHandle* h);
void SetItemIndex(TWindowHandle* h, int index);
// Check list boxes: each item's check box (TCheckBoxState) and whether it is enabled. A user's
// click on a check box comes back as LBN_CHECKCHANGE with the item's index in LParam.
void SetItemChecks(TWindowHandle* h, const std::vector<int>& states, const std::vector<bool>& enabled);
std::vector<bool> GetSelection(TWindowHandle* h);
void SetSelection(TWindowHandle* h, const std::vector<bool>& selected);
int GetTopIndex(TWindowHandle* h);
void SetTopIndex(TWindowHandle* h, int index);
bool GetDroppedDown(TWindowHandle* h);
void SetDroppedDown(TWindowHandle* h, bool down);
// Owner drawing: draw(index, rect, selected, focused) paints an item on canvas; nullptr ends it.
using TDrawItemProc = std::function<void(int index, const TRect& rect, bool selected, bool focused)>;
void SetOwnerDraw(TWindowHandle* h, TCanvas* canvas, TDrawItemProc draw);

// Scroll bars.
void SetScrollBar(TWindowHandle* h, bool vertical, int min, int max, int position, int pageSize, int smallChange,
                  int largeChange);

}  // namespace qtstd
