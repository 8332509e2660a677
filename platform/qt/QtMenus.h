// The menu backend as the menus unit sees it, free of Qt types: a form window's menu bar and
// popup menus, rebuilt from the item tree whenever the menu changes. Implemented in QtMenus.cpp.
#pragma once

#include <string>
#include <vector>

#include "../Types.h"

class TBitmap;
class TMenu;
class TMenuItem;
class TPopupMenu;
class TWindowHandle;

namespace qtm {

// The height of a window's menu bar showing menu's entries in one line (nullptr: a bar of
// plain entries in the toolkit's menu font).
int MenuBarHeight(TMenu* menu = nullptr);
// Shows menu as the menu bar of a window with a non-client area, replacing any; nullptr
// removes it. The window's non-client area gives the bar its room (TNonClientArea::MenuBar).
void SetMenuBar(TWindowHandle* window, TMenu* menu);
// Rebuilds what shows the menu (bars and an open popup).
void Rebuild(TMenu* menu);
// Forgets the menu: its bars and popup go.
void Release(TMenu* menu);
// Shows the popup with the corner given by alignment (TPopupAlignment) at the screen point.
void Popup(TPopupMenu* menu, const TPoint& p, int alignment);
void ClosePopup(TPopupMenu* menu);
TRect PopupBounds(TPopupMenu* menu);  // screen; empty when not shown

// --- For tests and scripted runs.
// The texts of the window's menu bar entries (with their & marks), [] without a bar.
std::vector<std::string> MenuBarTexts(TWindowHandle* window);
// Makes item the highlighted entry of its shown menu (bar or popup), as the mouse moving onto
// it would; False when the item is not shown.
bool Highlight(TMenuItem* item);
// Triggers the shown entry of item, as a click on it would.
bool Trigger(TMenuItem* item);
// The icon of item's shown entry, put into bitmap at its own size; False when it has none.
bool ShownIcon(TMenuItem* item, TBitmap* bitmap);

}  // namespace qtm

// --- Called by the backend, implemented by the menus unit.
// The user moved onto item (by mouse or keys).
void MenuItemSelected(TMenuItem* item, bool byMouse);
// A shown menu (bar drop-down or popup) closed.
void MenuClosed(TMenu* menu);
// The drop-down of item's sub-items is about to show.
void MenuItemShowing(TMenuItem* item);
// The user chose item.
void MenuItemChosen(TMenuItem* item);
