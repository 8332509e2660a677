// Menus: menu items, main and popup menus, short cuts and the short-cut property editor.
//
// Items are components of the form like any other, and stream as Delphi streams them: nested
// objects of their parent item, the top-level ones under the menu's own object. Each item has a
// command number, each menu and each item with sub-items a handle; moving through a shown menu
// sends WM_MENUSELECT to the form that owns it (the item's command, or for an item that opens
// a sub-menu its index, in the low word; MF_ flags in the high word; the handle of the menu
// holding the item in LParam; flags 0xFFFF and handle 0 when the menu closes).
#pragma once

#include <string>
#include <vector>

#include "Classes.h"
#include "Controls.h"
#include "DsgnIntf.h"
#include "Graphics.h"

class TMenu;
class TImageList;
class TBasicAction;
class TMenuActionLink;

using HMENU = intptr_t;

// WM_MENUSELECT flags.
constexpr uint16_t MF_GRAYED = 0x0001;
constexpr uint16_t MF_DISABLED = 0x0002;
constexpr uint16_t MF_CHECKED = 0x0008;
constexpr uint16_t MF_HILITE = 0x0080;
constexpr uint16_t MF_SEPARATOR = 0x0800;
constexpr uint16_t MF_MOUSESELECT = 0x8000;

// Short cuts: a virtual key in the low byte, modifiers above.
using TShortCut = uint16_t;
PTypeInfo TypeInfoTShortCut();  // tkInteger "TShortCut", 0..65535
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Shift+Ctrl+S", "F1", "Del", ...; "" for a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// Modifiers in any order and case; 0 when the text names no key.
TShortCut TextToShortCut(const std::string& text);

KV_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)
KV_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
KV_ENUM(TTrackButton, tbRightButton, tbLeftButton)
KV_ENUM(TFindItemKind, fkCommand, fkHandle, fkShortCut)
using TImageIndex = int;
PTypeInfo TypeInfoTImageIndex();

KV_EXCEPTION(EMenuError, Exception);

class TMenuItem : public TComponent {
  KV_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // --- Sub-items.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int i) const;
  TMenuItem* operator[](int i) const { return Items(i); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);  // EMenuError when the item already has a parent
  void Delete(int index);                   // takes it off, does not free it
  void Remove(TMenuItem* item);
  void Clear();  // frees the sub-items
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return FParent; }
  int GetMenuIndex() const;
  void SetMenuIndex(int v);
  // The menu whose item tree this item belongs to, or nullptr.
  TMenu* GetParentMenu() const;
  bool IsLine() const { return FCaption == "-"; }

  int Command() const { return FCommand; }
  // Allocated on first use; an item's handle names the sub-menu of its items.
  HMENU Handle() const;

  virtual void Click();

  // --- Properties.
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v);
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v);
  uint8_t GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t v);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  TMenuBreak GetBreak() const { return FBreak; }
  void SetBreak(TMenuBreak v);
  std::string GetHint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  THelpContext GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext v) { FHelpContext = v; }
  TImageIndex GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(TImageIndex v);
  TBitmap* GetBitmap() const;
  void SetBitmap(TBitmap* v);
  bool IsBitmapStored() const { return FBitmap && !FBitmap->Empty(); }
  TNotifyEvent OnClick;

  // --- Action: the item takes the action's Caption, Checked, Enabled, HelpContext, Hint,
  // ImageIndex, ShortCut and Visible, and a click runs the action (ActnList.cpp).
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* v);
  TMenuActionLink* ActionLink() const { return FActionLink; }
  // Properties that follow the action are not written.
  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHelpContextStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;
  void Notification(TComponent* c, TOperation op) override;

  // --- Streaming: sub-items are written as nested objects.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

 private:
  friend class TMenu;
  void MenuChanged();
  void TurnSiblingsOff();
  bool ExecuteActionClick();
  TMenuActionLink* FActionLink = nullptr;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu
  mutable TBitmap* FBitmap = nullptr;
  mutable HMENU FHandle = 0;
  int FCommand;
  std::string FCaption;
  std::string FHint;
  TShortCut FShortCut = 0;
  THelpContext FHelpContext = 0;
  TImageIndex FImageIndex = -1;
  uint8_t FGroupIndex = 0;
  TMenuBreak FBreak = mbNone;
  bool FChecked = false;
  bool FRadioItem = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
};

// Source: the item whose sub-items or look changed; Rebuild: the item tree may have changed.
KV_EVENT(TMenuChangeEvent, "Sender: TObject; Source: TMenuItem; Rebuild: Boolean", TObject*, TMenuItem*, bool)

class TMenu : public TComponent {
  KV_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* Items() const { return FItems; }
  HMENU Handle() const { return FItems->Handle(); }
  TMenuItem* FindItem(intptr_t value, TFindItemKind kind) const;
  // Runs the item with this command (enabled or not, as Windows sends only enabled ones).
  bool DispatchCommand(int command);
  // Clicks the enabled, visible item with this short cut; False when there is none or the menu
  // is being designed.
  bool IsShortCut(uint16_t key, TShiftState shift);

  // The icons of the items' ImageIndex.
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  void Notification(TComponent* c, TOperation op) override;

  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool v) { FOwnerDraw = v; }
  TBiDiMode GetBiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode v) {
    FBiDiMode = v;
    FParentBiDiMode = false;
  }
  bool GetParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool v) { FParentBiDiMode = v; }
  bool IsBiDiModeStored() const { return !FParentBiDiMode; }

  // The form that hears of this menu (WM_MENUSELECT): the owning form.
  virtual TCustomForm* NotifyForm() const;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Loaded() override;

  // After every change of an item of this menu (for editors that show the menu; not streamed).
  TMenuChangeEvent OnChange;

 protected:
  friend class TMenuItem;
  // The item tree or an item's look changed: shown menus follow.
  virtual void MenuChanged();

 private:
  TMenuItem* FItems;
  TImageList* FImages = nullptr;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FOwnerDraw = false;
  bool FParentBiDiMode = true;
};

// A form's menu bar: shown by the form that names it as its Menu.
class TMainMenu : public TMenu {
  KV_CLASS(TMainMenu, TMenu)
 public:
  using TMenu::TMenu;
  ~TMainMenu() override;
  bool GetAutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool v) { FAutoMerge = v; }
  // The form whose menu bar this is (nullptr: no form's).
  void SetForm(TCustomForm* form);
  TCustomForm* Form() const { return FForm; }
  // Whether the form shows the menu as its bar now.
  bool ShowsBar() const;
  TCustomForm* NotifyForm() const override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  void MenuChanged() override;

 private:
  bool ShownBy(TCustomForm* form) const;
  TCustomForm* FForm = nullptr;
  bool FAutoMerge = false;
};

class TPopupMenu : public TMenu {
  KV_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu with its corner at the screen point (which corner: Alignment) and returns;
  // the chosen item's OnClick runs once the user picks it.
  virtual void Popup(int x, int y);
  // Where the last Popup put the menu (screen); empty when it is not shown.
  TRect PopupBounds() const;
  void ClosePopup();

  TPopupAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment v) { FAlignment = v; }
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }
  THelpContext GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext v) { FHelpContext = v; }
  TTrackButton GetTrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton v) { FTrackButton = v; }
  // The control whose context popup showed the menu last.
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* v);
  TCustomForm* NotifyForm() const override;
  void Notification(TComponent* c, TOperation op) override;
  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* sender);

 private:
  TComponent* FPopupComponent = nullptr;
  THelpContext FHelpContext = 0;
  TPopupAlignment FAlignment = paLeft;
  TTrackButton FTrackButton = tbRightButton;
  bool FAutoPopup = true;
};

// A form's Menu (or what it shows) changed, or its window was made: the menu bar follows,
// taking its room from the form's client area.
void UpdateMenuBar(TCustomForm* form);
// The popup menus of control and its parents, then its form's menu, then its form's action
// lists, offered a key down.
bool IsMenuKey(TControl* control, uint16_t key, TShiftState shift);
// A control's context popup: the nearest popup menu with AutoPopup up its parent chain (none
// while designing). True when a menu was shown.
bool ContextPopup(TControl* control, const TPoint& screenPos);

// For tests and scripted runs, acting on the entry that shows item in an open menu bar or popup as
// the user would: moving onto it, or clicking it. False when the item is not shown.
bool HighlightMenuItem(TMenuItem* item);
bool TriggerMenuItem(TMenuItem* item);

// Builders, as Delphi's: NewMenu(owner, "MainMenu1", {NewItem(...), NewLine(), ...}).
TMenuItem* NewItem(const std::string& caption, TShortCut shortCut, bool checked, bool enabled, TNotifyEvent onClick,
                   THelpContext helpContext, const std::string& name);
TMenuItem* NewSubMenu(const std::string& caption, THelpContext helpContext, const std::string& name,
                      const std::vector<TMenuItem*>& items, bool enabled = true);
TMenuItem* NewLine();
TMainMenu* NewMenu(TComponent* owner, const std::string& name, const std::vector<TMenuItem*>& items);
TPopupMenu* NewPopupMenu(TComponent* owner, const std::string& name, TPopupAlignment alignment, bool autoPopup,
                         const std::vector<TMenuItem*>& items);

// The caption without its accelerator marks ("&&" stays one "&").
std::string StripHotkey(const std::string& caption);

// Short cuts as an inspector row: the text, and a list of the usual ones.
class TShortCutProperty : public TOrdinalProperty {
  KV_CLASS(TShortCutProperty, TOrdinalProperty)
 public:
  TPropertyAttributes GetAttributes() override { return {paMultiSelect, paValueList, paRevertable}; }
  std::string GetValue() override;
  void GetValues(const TGetStrProc& proc) override;
  void SetValue(const std::string& value) override;
};

// Registers the menu classes for streaming and the short-cut editor.
void RegisterMenusClasses();
