// StdCtrls: the standard controls. Labels and group boxes paint themselves; buttons, check and
// radio buttons, edits, memos, list boxes, combo boxes and scroll bars are the toolkit's native
// widgets (window classes of platform/qt/QtStdCtrls.cpp) driven through their notifications.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"
#include "Forms.h"

// ---------------------------------------------------------------------------------------------
// Text drawing as Windows' DrawText does it: alignment, word breaks and '&' accelerators.
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
// Draws text in rect with the canvas's font (transparently); DT_CALCRECT only measures, setting
// rect's right and bottom. Answers the height of the text.
int DrawText(TCanvas* canvas, const std::string& text, TRect& rect, unsigned flags);
// Whether ch is the '&'-marked accelerator of caption (ignoring case).
bool IsAccel(uint16_t ch, const std::string& caption);

// Notification codes of the native widgets, in WM_COMMAND's high word.
constexpr uint16_t LBN_SELCHANGE = 1;
constexpr uint16_t LBN_DBLCLK = 2;
constexpr uint16_t LBN_CHECKCHANGE = 0x7200;  // a check list box's item check box, index in LParam
constexpr uint16_t CBN_DBLCLK = 2;
constexpr uint16_t CBN_EDITCHANGE = 5;
constexpr uint16_t CBN_DROPDOWN = 7;
constexpr uint16_t CBN_CLOSEUP = 8;
// A scroll bar's move: SBN_SCROLL + the scroll code (TScrollCode) and the position in LParam.
constexpr uint16_t SBN_SCROLL = 0x7000;

KV_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
KV_ENUM(TLeftRight, taLeftJustifyLR, taRightJustifyLR)
KV_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
KV_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
KV_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
KV_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
KV_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll)
KV_ENUM(TOwnerDrawStateFlag, odSelected, odGrayed, odDisabled, odChecked, odFocused)
KV_SET(TOwnerDrawState, TOwnerDrawStateFlag)
PTypeInfo TypeInfoTLeftRight();  // taLeftJustify, taRightJustify under the name TLeftRight

KV_EVENT(TDrawItemEvent, "Control: TWinControl; Index: Integer; Rect: TRect; State: TOwnerDrawState", TWinControl*, int,
         TRect, TOwnerDrawState)
KV_EVENT(TMeasureItemEvent, "Control: TWinControl; Index: Integer; var Height: Integer", TWinControl*, int, int&)
KV_EVENT(TScrollEvent, "Sender: TObject; ScrollCode: TScrollCode; var ScrollPos: Integer", TObject*, TScrollCode, int&)

// ---------------------------------------------------------------------------------------------
class TCustomGroupBox : public TCustomControl {
  KV_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  TRect GetClientRect() const override;
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
  KV_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// ---------------------------------------------------------------------------------------------
class TCustomLabel : public TGraphicControl {
  KV_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* AOwner);
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout v);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool v);
  bool GetTransparent() const { return !ControlStyle.Contains(csOpaque); }
  void SetTransparent(bool v);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);

 protected:
  void Paint() override;
  void AdjustBounds();
  unsigned TextFlags() const;

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TWinControl* FFocusControl = nullptr;
  TTextLayout FLayout = tlTop;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
  KV_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

// ---------------------------------------------------------------------------------------------
// The native edit family. The text lives in the control (Text); the widget mirrors it, and a
// user's edit comes back as EN_CHANGE, which copies the widget's text and raises OnChange.
class TCustomEdit : public TWinControl {
  KV_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);
  void Dispatch(TMessage& message) override;
  void Loaded() override;

  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase v);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v) { FHideSelection = v; }
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool v) { FOEMConvert = v; }
  char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool GetModified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }

  // Selection in characters; without a window, an empty selection at the end of the text.
  int GetSelStart();
  void SetSelStart(int v);
  int GetSelLength();
  void SetSelLength(int v);
  std::string GetSelText();
  void SetSelText(const std::string& v);  // replaces the selection, as typing would
  void SelectAll();
  void ClearSelection() { SetSelText(""); }
  void Clear() { SetText(""); }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change();
  virtual void UpdateWindow();  // pushes every option to the widget
  // The text as CharCase and MaxLength allow it.
  std::string Filtered(std::string s) const;
  // The window shows Text as WindowText gives it (a masked edit shows literals and blanks), and
  // what the window holds comes back to Text through TextOfWindow.
  virtual std::string WindowText(const std::string& text) const { return text; }
  virtual std::string TextOfWindow(const std::string& windowText) const { return windowText; }
  void DoEnter() override;
  void AdjustHeight();

 private:
  void TextFromWindow();
  bool FAutoSelect = true;
  bool FAutoSize = true;
  TBorderStyle FBorderStyle = bsSingle;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  int FMaxLength = 0;
  bool FOEMConvert = false;
  char FPasswordChar = 0;
  bool FReadOnly = false;
  bool FModified = false;
  bool FSyncing = false;
};

class TEdit : public TCustomEdit {
  KV_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// A memo's lines: a view of its text, split at line breaks.
class TMemoStrings : public TStrings {
  KV_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* memo = nullptr) : FMemo(memo) {}
  int Count() const override;
  std::string Get(int i) const override;
  void Put(int i, const std::string& s) override;
  void Insert(int i, const std::string& s) override;
  void Delete(int i) override;
  void Clear() override;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  std::vector<std::string> Split() const;
  void Join(const std::vector<std::string>& lines);
  TCustomMemo* FMemo;
  std::vector<std::string> FPending;  // the lines while an update is running
  bool FBatch = false;
};

class TCustomMemo : public TCustomEdit {
  KV_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  void Dispatch(TMessage& message) override;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TStrings* GetLines() const { return FLines; }
  void SetLines(TStrings* v) { FLines->Assign(v); }
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool v) { FWantReturns = v; }
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool v) { FWantTabs = v; }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void UpdateWindow() override;

 private:
  TMemoStrings* FLines;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
  KV_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------------------------
// Items of a list or combo box: a string list that tells its control of every change.
class TCustomListControlItems : public TStringList {
  KV_CLASS(TCustomListControlItems, TStringList)
 public:
  std::function<void()> OnItemsChanged;

 protected:
  void Changed() override;
};

class TCustomComboBox : public TWinControl {
  KV_CLASS(TCustomComboBox, TWinControl)
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  void Dispatch(TMessage& message) override;
  void Loaded() override;

  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle v);
  TStrings* GetItems() const { return FItems; }
  void SetItems(TStrings* v) { FItems->Assign(v); }
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int v);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  int GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int v);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  bool GetSorted() const { return FItems->GetSorted(); }
  void SetSorted(bool v) { FItems->SetSorted(v); }
  bool GetDroppedDown();
  void SetDroppedDown(bool v);
  void Clear();

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change();
  virtual void DropDown();
  void UpdateWindow();
  void ItemsChanged();
  TCanvas* Canvas() const { return FCanvas; }

 private:
  TCustomListControlItems* FItems;
  TControlCanvas* FCanvas;
  TComboBoxStyle FStyle = csDropDown;
  int FItemIndex = -1;
  int FItemHeight = 16;
  int FDropDownCount = 8;
  int FMaxLength = 0;
  bool FSyncing = false;
};

class TComboBox : public TCustomComboBox {
  KV_CLASS(TComboBox, TCustomComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

// ---------------------------------------------------------------------------------------------
class TButtonControl : public TWinControl {
  KV_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  void Dispatch(TMessage& message) override;

 protected:
  // The widget was clicked (BN_CLICKED) or the accelerator pressed.
  virtual void Clicked() { Click(); }
};

class TButton : public TButtonControl {
  KV_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* AOwner);
  void Dispatch(TMessage& message) override;
  void Click() override;

  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // Enter clicks the focused button, or the default one while no other button has the focus.
  bool Active() const;

 private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
  KV_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);

  TLeftRight GetAlignment() const { return FAlignment; }
  void SetAlignment(TLeftRight v);
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  TCheckBoxState GetState() const { return FState; }
  void SetState(TCheckBoxState v);
  bool GetChecked() const { return FState == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Clicked() override;
  virtual void Toggle();

 private:
  TLeftRight FAlignment = taRightJustifyLR;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  KV_CLASS(TCheckBox, TCustomCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

// Checking one radio button unchecks the others of its parent.
class TRadioButton : public TButtonControl {
  KV_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* AOwner);
  TLeftRight GetAlignment() const { return FAlignment; }
  void SetAlignment(TLeftRight v);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Clicked() override;

 private:
  TLeftRight FAlignment = taRightJustifyLR;
  bool FChecked = false;
};

// ---------------------------------------------------------------------------------------------
class TCustomListBox : public TWinControl {
  KV_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* AOwner) : TCustomListBox(AOwner, new TCustomListControlItems) {}
  ~TCustomListBox() override;
  void Dispatch(TMessage& message) override;
  void Loaded() override;

  TStrings* GetItems() const { return FItems; }
  void SetItems(TStrings* v) { FItems->Assign(v); }
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int v);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  bool GetSorted() const { return FItems->GetSorted(); }
  void SetSorted(bool v) { FItems->SetSorted(v); }
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool GetExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool v);
  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle v);
  int GetColumns() const { return FColumns; }
  void SetColumns(int v);
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool v) { FIntegralHeight = v; }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  int GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(int v) { FTabWidth = v; }
  // Multi-selection: which items are selected.
  bool GetSelected(int i) const;
  void SetSelected(int i, bool v);
  int SelCount() const;
  int GetTopIndex();
  void SetTopIndex(int v);
  void Clear() { FItems->Clear(); }
  TCanvas* Canvas() const { return FCanvas; }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  // A descendant with items of its own kind (it owns them from here on).
  TCustomListBox(TComponent* AOwner, TCustomListControlItems* items);
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void UpdateWindow();
  void ItemsChanged();
  // The window has just been given the items.
  virtual void WindowItemsSet() {}

 private:
  void SelectionFromWindow();
  TCustomListControlItems* FItems;
  TControlCanvas* FCanvas;
  std::vector<bool> FSelected;
  int FItemIndex = -1;
  int FItemHeight = 16;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  TListBoxStyle FStyle = lbStandard;
  int FColumns = 0;
  bool FIntegralHeight = false;
  TBorderStyle FBorderStyle = bsSingle;
  int FTabWidth = 0;
  bool FSyncing = false;
};

class TListBox : public TCustomListBox {
  KV_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

// ---------------------------------------------------------------------------------------------
class TScrollBar : public TWinControl {
  KV_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* AOwner);
  void Dispatch(TMessage& message) override;

  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind v);
  int GetMin() const { return FMin; }
  void SetMin(int v) { SetParams(FPosition, v, FMax); }
  int GetMax() const { return FMax; }
  void SetMax(int v) { SetParams(FPosition, FMin, v); }
  int GetPosition() const { return FPosition; }
  void SetPosition(int v) { SetParams(v, FMin, FMax); }
  int GetPageSize() const { return FPageSize; }
  void SetPageSize(int v);
  TScrollBarInc GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(TScrollBarInc v);
  TScrollBarInc GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(TScrollBarInc v);
  // Raises EInvalidOperation when min > max (outside loading); clamps the position.
  void SetParams(int position, int min, int max);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change();
  virtual void Scroll(TScrollCode code, int& pos);
  void UpdateWindow();

 private:
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FPageSize = 0;
  TScrollBarInc FSmallChange = 1;
  TScrollBarInc FLargeChange = 1;
};

// ---------------------------------------------------------------------------------------------
KV_ENUM(TStaticBorderStyle, sbsNone, sbsSingle, sbsSunken)

// A label with a window of its own (it can sit above windowed controls).
class TCustomStaticText : public TCustomControl {
  KV_CLASS(TCustomStaticText, TCustomControl)
 public:
  explicit TCustomStaticText(TComponent* AOwner);
  void Dispatch(TMessage& message) override;
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  TStaticBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TStaticBorderStyle v);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool v);
  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;

 protected:
  void Paint() override;
  void AdjustBounds();

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TStaticBorderStyle FBorderStyle = sbsNone;
  TWinControl* FFocusControl = nullptr;
  bool FShowAccelChar = true;
};

class TStaticText : public TCustomStaticText {
  KV_CLASS(TStaticText, TCustomStaticText)
 public:
  using TCustomStaticText::TCustomStaticText;
};

void RegisterStdCtrlsClasses();
