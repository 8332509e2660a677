// ComCtrls: the Windows 95 common controls. Tabs, status bars, headers, tool bars, list and
// tree views are painted by the library; progress and track bars, rich text and date pickers
// are the toolkit's widgets. Image list bitmaps are kept as the bytes their form streams carry,
// so that they write back unchanged; list and tree view items stream in Delphi's record layout.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "Forms.h"

// ---------------------------------------------------------------------------------------------
// Tab strips, shared with the tabbed notebook.
KV_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
KV_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)
KV_EVENT(TTabChangingEvent, "Sender: TObject; var AllowChange: Boolean", TObject*, bool&)
KV_EVENT(TDrawTabEvent, "Control: TCustomTabControl; TabIndex: Integer; const Rect: TRect; Active: Boolean", TObject*,
         int, const TRect&, bool)

// Lays out tabs of the given captions left to right in rows of `width` (one row unless
// multiLine), rows stacked from `top`; each tab is as wide as its caption plus padding.
std::vector<TRect> LayoutTabs(TCanvas* canvas, const std::vector<std::string>& captions, int width, int top,
                              int tabHeight, bool multiLine);
// Paints a tab strip (raised tabs, the selected one lifted and joined to the page below).
void PaintTabs(TCanvas* canvas, const std::vector<TRect>& tabs, const std::vector<std::string>& captions, int selected);
// A raised 3D frame around r (the page area).
void PaintPageFrame(TCanvas* canvas, const TRect& r);

class TImageList;

class TCustomTabControl : public TCustomControl {
  KV_CLASS(TCustomTabControl, TCustomControl)
 public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;
  TStrings* GetTabs() const { return FTabs; }
  void SetTabs(TStrings* v) { FTabs->Assign(v); }
  int GetTabIndex() const { return FTabIndex; }
  void SetTabIndex(int v);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool v);
  TTabPosition GetTabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition v);
  TTabStyle GetStyle() const { return FStyle; }
  void SetStyle(TTabStyle v);
  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool v);
  int GetTabHeight() const { return FTabHeight; }
  void SetTabHeight(int v);
  int GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(int v);
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v) { FHotTrack = v; }
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  void Notification(TComponent* c, TOperation op) override;
  // The tab rectangles (client coordinates), and the area that pages or contents cover.
  std::vector<TRect> TabRects();
  TRect DisplayRect();
  int IndexOfTabAt(int x, int y);
  // At design time a press on a tab other than the current one is the control's own (it shows
  // that tab); any other press belongs to the designer.
  void Dispatch(TMessage& m) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;

 protected:
  // The captions that show as tabs.
  virtual std::vector<std::string> TabCaptions() const;
  virtual bool CanChange();
  virtual void Change();
  // Moves to another tab after OnChanging agrees; answers whether it moved.
  bool SelectTab(int index);
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void AlignControls(TControl* aControl, TRect& rect) override;
  virtual void TabsChanged();
  // A tab picked at design time changes what the form file stores.
  void DesignModified();

  TStringList* FTabs;
  int FTabIndex = -1;

 private:
  bool FMultiLine = false;
  TTabPosition FTabPosition = tpTop;
  TTabStyle FStyle = tsTabs;
  bool FOwnerDraw = false;
  int FTabHeight = 0;
  int FTabWidth = 0;
  bool FHotTrack = false;
  TImageList* FImages = nullptr;
};

class TTabControl : public TCustomTabControl {
  KV_CLASS(TTabControl, TCustomTabControl)
 public:
  using TCustomTabControl::TCustomTabControl;
};

class TPageControl;

class TTabSheet : public TWinControl {
  KV_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  void SetParent(TWinControl* value) override;
  TPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* v) { SetParent(reinterpret_cast<TWinControl*>(v)); }
  int GetPageIndex() const;
  void SetPageIndex(int v);
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  // The position of the tab among the visible ones, or -1.
  int TabIndex() const;
  void Dispatch(TMessage& m) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  void PaintWindow(TPaintDC* dc) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
  KV_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int i) const { return FPages.at(i); }
  TTabSheet* GetActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int GetActivePageIndex() const;
  void SetActivePageIndex(int v);
  void SelectNextPage(bool goForward);
  TTabSheet* FindNextPage(TTabSheet* cur, bool goForward, bool checkTabVisible) const;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;

 protected:
  std::vector<std::string> TabCaptions() const override;
  void Change() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void ShowActivePage();
  void TabsFromPages();
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Header and status bars.
KV_ENUM(THeaderSectionStyle, hsText, hsOwnerDraw)
KV_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
KV_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class THeaderSection : public TCollectionItem {
  KV_CLASS(THeaderSection, TCollectionItem)
 public:
  THeaderSection() = default;
  std::string GetText() const { return FText; }
  void SetText(const std::string& v) {
    FText = v;
    Changed(false);
  }
  int GetWidth() const { return FWidth; }
  void SetWidth(int v) {
    FWidth = v;
    Changed(true);
  }
  int GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(int v) { FMinWidth = v; }
  int GetMaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int v) { FMaxWidth = v; }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) {
    FAlignment = v;
    Changed(false);
  }
  bool GetAllowClick() const { return FAllowClick; }
  void SetAllowClick(bool v) { FAllowClick = v; }
  THeaderSectionStyle GetStyle() const { return FStyle; }
  void SetStyle(THeaderSectionStyle v) {
    FStyle = v;
    Changed(false);
  }
  std::string GetDisplayName() const override { return FText.empty() ? TCollectionItem::GetDisplayName() : FText; }
  void Assign(TPersistent* source) override;

 private:
  std::string FText;
  int FWidth = 50;
  int FMinWidth = 0;
  int FMaxWidth = 10000;
  TAlignment FAlignment = taLeftJustify;
  bool FAllowClick = true;
  THeaderSectionStyle FStyle = hsText;
};

class TStatusPanel : public TCollectionItem {
  KV_CLASS(TStatusPanel, TCollectionItem)
 public:
  TStatusPanel() = default;
  std::string GetText() const { return FText; }
  void SetText(const std::string& v) {
    FText = v;
    Changed(false);
  }
  int GetWidth() const { return FWidth; }
  void SetWidth(int v) {
    FWidth = v;
    Changed(true);
  }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) {
    FAlignment = v;
    Changed(false);
  }
  TStatusPanelBevel GetBevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel v) {
    FBevel = v;
    Changed(false);
  }
  TStatusPanelStyle GetStyle() const { return FStyle; }
  void SetStyle(TStatusPanelStyle v) {
    FStyle = v;
    Changed(false);
  }
  std::string GetDisplayName() const override { return FText.empty() ? TCollectionItem::GetDisplayName() : FText; }
  void Assign(TPersistent* source) override;

 private:
  std::string FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
};

// A collection whose owner control repaints when an item changes.
class TControlCollection : public TCollection {
  KV_CLASS(TControlCollection, TCollection)
 public:
  TControlCollection(TControl* control, TClass itemClass);

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TControl* FControl;
};

class THeaderControl : public TCustomControl {
  KV_CLASS(THeaderControl, TCustomControl)
 public:
  explicit THeaderControl(TComponent* AOwner);
  ~THeaderControl() override;
  TCollection* GetSections() const { return FSections; }
  void SetSections(TCollection* v) { FSections->Assign(v); }
  THeaderSection* Sections(int i) const { return static_cast<THeaderSection*>(FSections->Items(i)); }
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v) { FHotTrack = v; }

 protected:
  void Paint() override;

 private:
  TControlCollection* FSections;
  bool FHotTrack = false;
};

class TStatusBar : public TCustomControl {
  KV_CLASS(TStatusBar, TCustomControl)
 public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;
  TCollection* GetPanels() const { return FPanels; }
  void SetPanels(TCollection* v) { FPanels->Assign(v); }
  TStatusPanel* Panels(int i) const { return static_cast<TStatusPanel*>(FPanels->Items(i)); }
  bool GetSimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  std::string GetSimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& v);
  bool GetSizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v);
  bool GetAutoHint() const { return FAutoHint; }
  void SetAutoHint(bool v) { FAutoHint = v; }

 protected:
  void Paint() override;

 private:
  TControlCollection* FPanels;
  bool FSimplePanel = false;
  std::string FSimpleText;
  bool FSizeGrip = true;
  bool FAutoHint = false;
};

// ---------------------------------------------------------------------------------------------
// Ranges.
KV_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)
KV_ENUM(TTrackBarOrientation, trHorizontal, trVertical)
KV_ENUM(TTickMark, tmBottomRight, tmTopLeft, tmBoth)
KV_ENUM(TTickStyle, tsNone, tsAuto, tsManual)
KV_ENUM(TUDAlignButton, udLeft, udRight)
KV_ENUM(TUDOrientation, udHorizontal, udVertical)
KV_ENUM(TUDBtnType, btNext, btPrev)
KV_EVENT(TUDClickEvent, "Sender: TObject; Button: TUDBtnType", TObject*, TUDBtnType)

class TProgressBar : public TWinControl {
  KV_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* AOwner);
  int GetMin() const { return FMin; }
  void SetMin(int v) { SetRange(v, FMax); }
  int GetMax() const { return FMax; }
  void SetMax(int v) { SetRange(FMin, v); }
  int GetPosition() const { return FPosition; }
  void SetPosition(int v);
  int GetStep() const { return FStep; }
  void SetStep(int v) { FStep = v; }
  void StepIt();
  void StepBy(int delta) { SetPosition(FPosition + delta); }
  TProgressBarOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation v);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool v) { FSmooth = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void SetRange(int min, int max);
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FStep = 10;
  TProgressBarOrientation FOrientation = pbHorizontal;
  bool FSmooth = false;
};

class TTrackBar : public TWinControl {
  KV_CLASS(TTrackBar, TWinControl)
 public:
  explicit TTrackBar(TComponent* AOwner);
  void Dispatch(TMessage& m) override;
  int GetMin() const { return FMin; }
  void SetMin(int v);
  int GetMax() const { return FMax; }
  void SetMax(int v);
  int GetPosition() const { return FPosition; }
  void SetPosition(int v);
  TTrackBarOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation v);
  int GetFrequency() const { return FFrequency; }
  void SetFrequency(int v);
  TTickMark GetTickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark v);
  TTickStyle GetTickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle v);
  int GetLineSize() const { return FLineSize; }
  void SetLineSize(int v);
  int GetPageSize() const { return FPageSize; }
  void SetPageSize(int v) { FPageSize = v; }
  int GetSelStart() const { return FSelStart; }
  void SetSelStart(int v) { FSelStart = v; }
  int GetSelEnd() const { return FSelEnd; }
  void SetSelEnd(int v) { FSelEnd = v; }
  // Kept for form files: the native slider's thumb has the style's own size.
  int GetThumbLength() const { return FThumbLength; }
  void SetThumbLength(int v) { FThumbLength = v; }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void UpdateWidget();
  int FMin = 0;
  int FMax = 10;
  int FPosition = 0;
  int FThumbLength = 20;
  TTrackBarOrientation FOrientation = trHorizontal;
  int FFrequency = 1;
  TTickMark FTickMarks = tmBottomRight;
  TTickStyle FTickStyle = tsAuto;
  int FLineSize = 1;
  int FPageSize = 2;
  int FSelStart = 0;
  int FSelEnd = 0;
};

class TUpDown : public TCustomControl {
  KV_CLASS(TUpDown, TCustomControl)
 public:
  explicit TUpDown(TComponent* AOwner);
  TWinControl* GetAssociate() const { return FAssociate; }
  void SetAssociate(TWinControl* v);
  int GetMin() const { return FMin; }
  void SetMin(int v) {
    FMin = v;
    SetPosition(FPosition);
  }
  int GetMax() const { return FMax; }
  void SetMax(int v) {
    FMax = v;
    SetPosition(FPosition);
  }
  int GetPosition() const { return FPosition; }
  void SetPosition(int v);
  int GetIncrement() const { return FIncrement; }
  void SetIncrement(int v) { FIncrement = v; }
  TUDOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation v);
  TUDAlignButton GetAlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton v) { FAlignButton = v; }
  bool GetWrap() const { return FWrap; }
  void SetWrap(bool v) { FWrap = v; }
  bool GetArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool v) { FArrowKeys = v; }
  bool GetThousands() const { return FThousands; }
  void SetThousands(bool v) {
    FThousands = v;
    UpdateAssociate();
  }
  // One step up (btNext) or down, wrapping or stopping at the ends; fires OnClick.
  void Step(TUDBtnType button);
  void Notification(TComponent* c, TOperation op) override;
  TUDClickEvent OnClick;
  TNotifyEvent OnChanging;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void UpdateAssociate();
  TWinControl* FAssociate = nullptr;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  bool FWrap = false;
  bool FArrowKeys = true;
  bool FThousands = true;
};

// ---------------------------------------------------------------------------------------------
// Image lists.
KV_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
KV_ENUM(TImageType, itImage, itMask)

class TImageList : public TComponent {
  KV_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* AOwner);
  ~TImageList() override;
  int GetWidth() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }
  int GetHeight() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; }
  TColor GetBkColor() const { return FBkColor; }
  void SetBkColor(TColor v) { FBkColor = v; }
  TColor GetBlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor v) { FBlendColor = v; }
  TDrawingStyle GetDrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle v) { FDrawingStyle = v; }
  TImageType GetImageType() const { return FImageType; }
  void SetImageType(TImageType v) { FImageType = v; }
  bool GetMasked() const { return FMasked; }
  void SetMasked(bool v) { FMasked = v; }
  int GetAllocBy() const { return FAllocBy; }
  void SetAllocBy(int v) { FAllocBy = v; }
  bool GetShareImages() const { return FShareImages; }
  void SetShareImages(bool v) { FShareImages = v; }
  // The stored bitmap stream as read, written back unchanged.
  const std::string& BitmapData() const { return FData; }
  void SetBitmapData(const std::string& bytes);
  // Images decoded from the stored strip (0 when it is not a plain bitmap): as many as the
  // stream's header says, never more than the strip holds.
  int Count() const;
  // Editing, as the image list editor does it. Each change rewrites the stored stream in the
  // Windows image list format (header, image strip four images wide, monochrome mask), which
  // form files keep. A stored stream this list cannot decode is not edited: EInvalidGraphic.
  // AddMasked cuts the image into Width-wide cells (at least one) and answers the index of the
  // first; its pixels of maskColor are transparent (clNone: none are).
  int AddMasked(TBitmap* image, TColor maskColor);
  void Delete(int index);
  void Move(int curIndex, int newIndex);
  void Clear();
  // Masked lists draw only where the strip's mask (stored after it, white where transparent)
  // is black.
  void Draw(TCanvas* canvas, int x, int y, int index);
  TBitmap* Mask() const { return FMask.get(); }
  void DefineProperties(TFiler* filer) override;
  TNotifyEvent OnChange;

 private:
  int FWidth = 16;
  int FHeight = 16;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FMasked = true;
  int FAllocBy = 4;
  bool FShareImages = false;
  std::string FData;
  std::unique_ptr<TBitmap> FStrip;
  std::unique_ptr<TBitmap> FMask;
  void KeyTransparentPixels();
  // One image with its mask (white: transparent), each Width x Height.
  struct TCell {
    std::unique_ptr<TBitmap> Image;
    std::unique_ptr<TBitmap> Mask;
  };
  std::vector<TCell> Cells() const;
  void WriteCells(const std::vector<TCell>& cells);
  TColor FKey = clNone;  // a colour not in the strip, standing for its transparent pixels
};

// ---------------------------------------------------------------------------------------------
// List and tree views. Painted by the library; their items stream as "Items.Data" in the
// record layout of Delphi 3 (read also as later versions wrote it).
KV_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
KV_ENUM(TListArrangement, arAlignBottom, arAlignLeft, arAlignRight, arAlignTop, arDefault, arSnapToGrid)
KV_ENUM(TIconArrangement, iaTop, iaLeft)
KV_ENUM(TSortType, stNone, stData, stText, stBoth)
KV_ENUM(THotTrackStyle, htHandPoint, htUnderlineCold, htUnderlineHot)
KV_SET(THotTrackStyles, THotTrackStyle)
KV_ENUM(TItemChange, ctText, ctImage, ctState)
KV_ENUM(TNodeAttachMode, naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert)

class TListView;
class TListItems;
class TListItem;
class TListColumn;
class TTreeView;
class TTreeNodes;
class TTreeNode;

KV_EVENT(TLVChangeEvent, "Sender: TObject; Item: TListItem; Change: TItemChange", TObject*, TListItem*, TItemChange)
KV_EVENT(TLVChangingEvent, "Sender: TObject; Item: TListItem; Change: TItemChange; var AllowChange: Boolean", TObject*,
         TListItem*, TItemChange, bool&)
KV_EVENT(TLVSelectItemEvent, "Sender: TObject; Item: TListItem; Selected: Boolean", TObject*, TListItem*, bool)
KV_EVENT(TLVColumnClickEvent, "Sender: TObject; Column: TListColumn", TObject*, TListColumn*)
KV_EVENT(TLVCompareEvent, "Sender: TObject; Item1, Item2: TListItem; Data: Integer; var Compare: Integer", TObject*,
         TListItem*, TListItem*, int, int&)
KV_EVENT(TLVDeletedEvent, "Sender: TObject; Item: TListItem", TObject*, TListItem*)
KV_EVENT(TLVNotifyEvent, "Sender: TObject; Item: TListItem", TObject*, TListItem*)
KV_EVENT(TTVChangedEvent, "Sender: TObject; Node: TTreeNode", TObject*, TTreeNode*)
KV_EVENT(TTVChangingEvent, "Sender: TObject; Node: TTreeNode; var AllowChange: Boolean", TObject*, TTreeNode*, bool&)
KV_EVENT(TTVExpandingEvent, "Sender: TObject; Node: TTreeNode; var AllowExpansion: Boolean", TObject*, TTreeNode*,
         bool&)
KV_EVENT(TTVCollapsingEvent, "Sender: TObject; Node: TTreeNode; var AllowCollapse: Boolean", TObject*, TTreeNode*,
         bool&)
KV_EVENT(TTVExpandedEvent, "Sender: TObject; Node: TTreeNode", TObject*, TTreeNode*)
KV_EVENT(TTVCompareEvent, "Sender: TObject; Node1, Node2: TTreeNode; Data: Integer; var Compare: Integer", TObject*,
         TTreeNode*, TTreeNode*, int, int&)

// CustomSort callbacks: negative, zero or positive as the first item sorts before the second.
using TLVCompare = int (*)(TListItem* item1, TListItem* item2, intptr_t data);
using TTVCompare = int (*)(TTreeNode* node1, TTreeNode* node2, intptr_t data);

class TListItem : public TPersistent {
  KV_CLASS(TListItem, TPersistent)
 public:
  explicit TListItem(TListItems* owner = nullptr);
  ~TListItem() override;
  TListItems* Owner() const { return FOwner; }
  TListView* ListView() const;
  TPersistent* GetOwner() const override;
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v);
  TStrings* GetSubItems() const;
  void SetSubItems(TStrings* v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  int GetStateIndex() const { return FStateIndex; }
  void SetStateIndex(int v);
  int GetOverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int v);
  // Image of sub item i (-1: none), kept alongside SubItems.
  int SubItemImage(int i) const;
  void SetSubItemImage(int i, int v);
  bool GetSelected() const { return FSelected; }
  void SetSelected(bool v);
  bool GetFocused() const { return FFocused; }
  void SetFocused(bool v);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v);
  void* GetData() const { return FData; }
  void SetData(void* v);
  int GetIndex() const;
  void Delete();
  void MakeVisible(bool partialOK = false);
  // Bounds in the view's client coordinates (the whole item, or its label with textOnly).
  TRect DisplayRect(bool textOnly = false) const;
  void Assign(TPersistent* source) override;

 private:
  friend class TListItems;
  friend class TListView;
  bool Changing(TItemChange change);
  void Changed(TItemChange change);
  TListItems* FOwner;
  std::string FCaption;
  TStringList* FSubItems;
  std::vector<int> FSubItemImages;
  int FImageIndex = 0;
  int FStateIndex = -1;
  int FOverlayIndex = -1;
  bool FSelected = false;
  bool FFocused = false;
  bool FChecked = false;
  void* FData = nullptr;
};

class TListItems : public TPersistent {
  KV_CLASS(TListItems, TPersistent)
 public:
  explicit TListItems(TListView* owner = nullptr);
  ~TListItems() override;
  TListView* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override;
  int Count() const { return static_cast<int>(FItems.size()); }
  TListItem* Item(int i) const;
  TListItem* operator[](int i) const { return Item(i); }
  int IndexOf(const TListItem* item) const;
  TListItem* Add();
  TListItem* Insert(int index);
  void Delete(int index);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;
  // The stream layout: a header (size, count), then per item its images, sub item count, data
  // and caption, its sub items; written as Delphi 3 did, with Delphi 5's trailing sub item
  // images only when one is set. Malformed data raises EReadError and leaves the items as
  // they were.
  void ReadData(TStream* stream);
  void WriteData(TStream* stream) const;

 private:
  friend class TListItem;
  friend class TListView;
  TListItem* InsertAt(int index, bool notify);
  void Changed();
  TListView* FOwner;
  std::vector<TListItem*> FItems;
  int FUpdateCount = 0;
  bool FReading = false;
};

class TTreeNode : public TPersistent {
  KV_CLASS(TTreeNode, TPersistent)
 public:
  explicit TTreeNode(TTreeNodes* owner = nullptr);
  ~TTreeNode() override;
  TTreeNodes* Owner() const { return FOwner; }
  TTreeView* TreeView() const;
  TPersistent* GetOwner() const override;
  std::string GetText() const { return FText; }
  void SetText(const std::string& v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  int GetSelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int v);
  int GetStateIndex() const { return FStateIndex; }
  void SetStateIndex(int v);
  int GetOverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int v);
  void* GetData() const { return FData; }
  void SetData(void* v);
  // The parent node; top-level nodes have none.
  TTreeNode* Parent() const;
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int i) const;
  int Index() const;
  int AbsoluteIndex() const;
  int Level() const;
  bool GetExpanded() const { return FExpanded; }
  void SetExpanded(bool v);
  bool GetSelected() const;
  void SetSelected(bool v);
  bool GetFocused() const;
  void SetFocused(bool v);
  // Whether a button shows: set by adding children, or by hand for nodes filled on expanding.
  bool GetHasChildren() const { return FHasChildren || !FChildren.empty(); }
  void SetHasChildren(bool v);
  bool IsVisible() const;  // every ancestor is expanded
  bool HasAsParent(const TTreeNode* node) const;
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetLastChild() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  TTreeNode* GetNextChild(const TTreeNode* node) const { return node ? node->GetNextSibling() : nullptr; }
  TTreeNode* GetPrevChild(const TTreeNode* node) const { return node ? node->GetPrevSibling() : nullptr; }
  TTreeNode* GetNext() const;  // depth first
  TTreeNode* GetPrev() const;
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  void Expand(bool recurse);
  void Collapse(bool recurse);
  void Delete();
  void DeleteChildren();
  void MoveTo(TTreeNode* destination, TNodeAttachMode mode);
  bool AlphaSort();
  bool CustomSort(TTVCompare compare, intptr_t data);
  void MakeVisible();
  TRect DisplayRect(bool textOnly = false) const;
  void Assign(TPersistent* source) override;

 private:
  friend class TTreeNodes;
  friend class TTreeView;
  void SetExpandedState(bool expand);
  void SetSubtreeExpanded(bool expand);
  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<TTreeNode*> FChildren;
  std::string FText;
  int FImageIndex = 0;
  int FSelectedIndex = 0;
  int FStateIndex = -1;
  int FOverlayIndex = -1;
  void* FData = nullptr;
  bool FExpanded = false;
  bool FHasChildren = false;
};

class TTreeNodes : public TPersistent {
  KV_CLASS(TTreeNodes, TPersistent)
 public:
  explicit TTreeNodes(TTreeView* owner = nullptr);
  ~TTreeNodes() override;
  TTreeView* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override;
  // All nodes, depth first, as Delphi counts them.
  int Count() const;
  TTreeNode* Item(int absoluteIndex) const;
  TTreeNode* operator[](int i) const { return Item(i); }
  TTreeNode* GetFirstNode() const;
  int TopCount() const { return FRoot->Count(); }
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
  TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
  TTreeNode* Insert(TTreeNode* sibling, const std::string& text);
  TTreeNode* InsertObject(TTreeNode* sibling, const std::string& text, void* data);
  void Delete(TTreeNode* node);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;
  // The stream layout: the top-level count, then each node depth first as a size-prefixed
  // record of its images, data, child count and text. Malformed data raises EReadError and
  // leaves the nodes as they were.
  void ReadData(TStream* stream);
  void WriteData(TStream* stream) const;

 private:
  friend class TTreeNode;
  friend class TTreeView;
  TTreeNode* AddNode(TTreeNode* relative, const std::string& text, void* data, TNodeAttachMode mode);
  void Attach(TTreeNode* node, TTreeNode* relative, TNodeAttachMode mode);
  void Detach(TTreeNode* node);
  void Changed();
  TTreeView* FOwner;
  TTreeNode* FRoot;  // holds the top-level nodes; never shown
  int FUpdateCount = 0;
  bool FReading = false;
};

class TListColumn : public TCollectionItem {
  KV_CLASS(TListColumn, TCollectionItem)
 public:
  TListColumn() = default;
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v) {
    FCaption = v;
    Changed(false);
  }
  int GetWidth() const { return FWidth; }
  void SetWidth(int v);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) {
    FAlignment = v;
    Changed(false);
  }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v) {
    FAutoSize = v;
    Changed(false);
  }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) {
    FImageIndex = v;
    Changed(false);
  }
  int GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(int v) {
    FMinWidth = v;
    SetWidth(FWidth);
  }
  int GetMaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int v) {
    FMaxWidth = v;
    SetWidth(FWidth);
  }
  int GetTag() const { return FTag; }
  void SetTag(int v) { FTag = v; }
  std::string GetDisplayName() const override {
    return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
  }
  void Assign(TPersistent* source) override;

 private:
  std::string FCaption;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = false;
  int FImageIndex = -1;
  int FMinWidth = 0;
  int FMaxWidth = 0;
  int FTag = 0;
};

// Icon view placement.
class TIconOptions : public TPersistent {
  KV_CLASS(TIconOptions, TPersistent)
 public:
  explicit TIconOptions(TListView* owner = nullptr) : FOwner(owner) {}
  TPersistent* GetOwner() const override;
  TIconArrangement GetArrangement() const { return FArrangement; }
  void SetArrangement(TIconArrangement v);
  bool GetAutoArrange() const { return FAutoArrange; }
  void SetAutoArrange(bool v) { FAutoArrange = v; }
  bool GetWrapText() const { return FWrapText; }
  void SetWrapText(bool v);
  void Assign(TPersistent* source) override;

 private:
  TListView* FOwner;
  TIconArrangement FArrangement = iaTop;
  bool FAutoArrange = false;
  bool FWrapText = true;
};

// What list and tree views share: the frame, the images, scrolling and hot tracking. Content
// is laid out in pixels; the scroll position is subtracted when painting and hit testing.
class TCustomViewControl : public TCustomControl {
  KV_CLASS(TCustomViewControl, TCustomControl)
 public:
  explicit TCustomViewControl(TComponent* AOwner);
  ~TCustomViewControl() override;
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v) { FReadOnly = v; }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v) {
    FHideSelection = v;
    Invalidate();
  }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v) {
    FBorderStyle = v;
    UpdateScrollBars();
    Invalidate();
  }
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  TImageList* GetStateImages() const { return FStateImages; }
  void SetStateImages(TImageList* v);
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v) {
    FHotTrack = v;
    Invalidate();
  }
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool v) {
    FRowSelect = v;
    Invalidate();
  }
  // Flat scroll bars are a look of the same bars; the toolkit draws its own.
  bool GetFlatScrollBars() const { return FFlatScrollBars; }
  void SetFlatScrollBars(bool v) { FFlatScrollBars = v; }
  TPoint ScrollPos() const { return FScroll; }
  void ScrollBy(int dx, int dy);
  // The area items are drawn in: inside the border and scroll bars (and the list's header).
  virtual TRect ViewRect() const;
  TRect GetClientRect() const override;
  TPoint ClientOrigin() const override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void Loaded() override;
  void CreateWnd() override;
  // The content's size in pixels, for the scroll bars.
  virtual TSize ContentExtent() const = 0;
  virtual int LineHeight() const;
  void UpdateScrollBars();
  void ScrollIntoView(const TRect& contentRect);
  void PaintFrame();
  // Selection colours: highlight when focused, button face when shown unfocused; false when hidden.
  bool SelectionColors(TColor& back, TColor& fore) const;
  int BorderWidth() const { return FBorderStyle == bsSingle ? (GetCtl3D() ? 2 : 1) : 0; }
  void PaintBorder();  // again after the items, over any drawn under the edge
  void SetHot(int hot);
  int FHot = -1;  // the hot-tracked item or row, -1 none
  TPoint FScroll{0, 0};
  bool FScrollBarsShown[2] = {false, false};  // horizontal, vertical

 private:
  void SetImageLink(TImageList*& field, TImageList* v);
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FHotTrack = false;
  bool FRowSelect = false;
  bool FFlatScrollBars = false;
  TBorderStyle FBorderStyle = bsSingle;
  TImageList* FImages = nullptr;
  TImageList* FStateImages = nullptr;
};

class TListView : public TCustomViewControl {
  KV_CLASS(TListView, TCustomViewControl)
 public:
  explicit TListView(TComponent* AOwner);
  ~TListView() override;
  TListItems* GetItems() const { return FItems; }
  void SetItems(TListItems* v) { FItems->Assign(v); }
  TCollection* GetColumns() const { return FColumns; }
  void SetColumns(TCollection* v) { FColumns->Assign(v); }
  TListColumn* Column(int i) const { return static_cast<TListColumn*>(FColumns->Items(i)); }
  TViewStyle GetViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle v);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool v) {
    FShowColumnHeaders = v;
    UpdateScrollBars();
    Invalidate();
  }
  bool GetGridLines() const { return FGridLines; }
  void SetGridLines(bool v) {
    FGridLines = v;
    Invalidate();
  }
  bool GetColumnClick() const { return FColumnClick; }
  void SetColumnClick(bool v) {
    FColumnClick = v;
    Invalidate();
  }
  bool GetCheckboxes() const { return FCheckboxes; }
  void SetCheckboxes(bool v) {
    FCheckboxes = v;
    UpdateScrollBars();
    Invalidate();
  }
  THotTrackStyles GetHotTrackStyles() const { return FHotTrackStyles; }
  void SetHotTrackStyles(THotTrackStyles v) {
    FHotTrackStyles = v;
    Invalidate();
  }
  TIconOptions* GetIconOptions() const { return FIconOptions; }
  void SetIconOptions(TIconOptions* v) { FIconOptions->Assign(v); }
  TSortType GetSortType() const { return FSortType; }
  void SetSortType(TSortType v);
  TImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TImageList* v);
  TImageList* GetSmallImages() const { return GetImages(); }
  void SetSmallImages(TImageList* v) { SetImages(v); }
  TListItem* GetSelected() const;  // the first selected item
  void SetSelected(TListItem* item);
  TListItem* ItemFocused() const;
  void SetItemFocused(TListItem* item);
  int SelCount() const;
  TListItem* GetNextSelected(TListItem* after) const;
  void ClearSelection();
  void SelectAll();
  TListItem* GetItemAt(int x, int y) const;  // client coordinates
  TListItem* TopItem() const;
  int VisibleRowCount() const;
  // Sorts with OnCompare when assigned, else by caption.
  bool AlphaSort();
  bool CustomSort(TLVCompare compare, intptr_t data);
  void Notification(TComponent* c, TOperation op) override;
  TRect ViewRect() const override;
  TRect ItemRect(int index) const;  // content coordinates
  int ColumnWidth(int i) const;     // as shown: AutoSize columns fill the rest
  TRect HeaderRect() const;         // client coordinates; empty without a header

  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVSelectItemEvent OnSelectItem;
  TLVColumnClickEvent OnColumnClick;
  TLVCompareEvent OnCompare;
  TLVDeletedEvent OnDeletion;
  TLVDeletedEvent OnInsert;
  TLVNotifyEvent OnGetImageIndex;

 protected:
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  TSize ContentExtent() const override;
  int LineHeight() const override;

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TIconOptions;
  struct TLayout {
    int Cell = 0, CellW = 0, PerLine = 1;  // icon and list grids
  };
  TLayout Layout() const;
  TRect ItemRect(const TLayout& l, int index) const;
  int ColumnAt(int x) const;  // header column under client x, -1 none
  int ColumnDividerAt(int x) const;
  void ItemsChanged();
  void SortIfNeeded(bool textChanged, bool dataChanged);
  bool ItemChanging(TListItem* item, TItemChange change);
  void ItemChanged(TListItem* item, TItemChange change);
  void ItemSelected(TListItem* item, bool selected);
  void ItemDeleting(TListItem* item);
  void FocusIndex(int index, TShiftState shift, bool byMouse);
  void PaintItem(TCanvas* c, int index, const TRect& r);
  void PaintHeader(TCanvas* c);
  TImageList* ImagesFor(TViewStyle s) const { return s == vsIcon ? FLargeImages : GetImages(); }
  TListItems* FItems;
  TControlCollection* FColumns;
  TIconOptions* FIconOptions;
  TViewStyle FViewStyle = vsIcon;
  bool FMultiSelect = false;
  bool FShowColumnHeaders = true;
  bool FGridLines = false;
  bool FColumnClick = true;
  bool FCheckboxes = false;
  THotTrackStyles FHotTrackStyles;
  TSortType FSortType = stNone;
  TImageList* FLargeImages = nullptr;
  int FAnchor = -1;         // shift-click range start
  int FPressedColumn = -1;  // header button held down
  int FSizingColumn = -1;   // header divider being dragged
  int FSizingOffset = 0;
  int FHoverTimer = 0;  // HotTrack: the item under the mouse is selected once it rests there
  bool FSorting = false;
};

class TTreeView : public TCustomViewControl {
  KV_CLASS(TTreeView, TCustomViewControl)
 public:
  explicit TTreeView(TComponent* AOwner);
  ~TTreeView() override;
  TTreeNodes* GetItems() const { return FItems; }
  void SetItems(TTreeNodes* v) { FItems->Assign(v); }
  int GetIndent() const { return FIndent; }
  void SetIndent(int v);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool v) {
    FShowButtons = v;
    Invalidate();
  }
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool v) {
    FShowLines = v;
    Invalidate();
  }
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool v) {
    FShowRoot = v;
    UpdateScrollBars();
    Invalidate();
  }
  bool GetAutoExpand() const { return FAutoExpand; }
  void SetAutoExpand(bool v) { FAutoExpand = v; }
  bool GetToolTips() const { return FToolTips; }
  void SetToolTips(bool v) { FToolTips = v; }
  bool GetRightClickSelect() const { return FRightClickSelect; }
  void SetRightClickSelect(bool v) { FRightClickSelect = v; }
  int GetChangeDelay() const { return FChangeDelay; }
  void SetChangeDelay(int v) { FChangeDelay = std::max(0, v); }
  TSortType GetSortType() const { return FSortType; }
  void SetSortType(TSortType v);
  TTreeNode* GetSelected() const { return FSelected; }
  void SetSelected(TTreeNode* node);
  TTreeNode* TopItem() const;
  TTreeNode* GetNodeAt(int x, int y) const;  // client coordinates
  void FullExpand();
  void FullCollapse();
  bool AlphaSort();
  bool CustomSort(TTVCompare compare, intptr_t data);
  // The visible rows in order (nodes whose ancestors are all expanded).
  std::vector<TTreeNode*> VisibleNodes() const;
  TRect NodeRect(const TTreeNode* node, bool textOnly) const;  // client coordinates

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVCompareEvent OnCompare;
  TTVExpandedEvent OnDeletion;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;

 protected:
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  TSize ContentExtent() const override;
  int LineHeight() const override;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  enum class THit { Nowhere, Indent, Button, Icon, Label, Right };
  THit HitTest(int x, int y, TTreeNode** node) const;
  int RowOf(const TTreeNode* node) const;     // -1 when hidden
  int TextLeft(const TTreeNode* node) const;  // content x of the icon or label
  bool DoExpand(TTreeNode* node, bool expand);
  void NodeDeleting(TTreeNode* node);
  void NodesChanged();
  void SortChildren(TTreeNode* parent, TTVCompare compare, intptr_t data, bool recurse);
  void SortIfNeeded(TTreeNode* parent, bool textChanged, bool dataChanged);
  void SelectNode(TTreeNode* node);
  void FireChange();
  TTreeNodes* FItems;
  TTreeNode* FSelected = nullptr;
  int FIndent = 19;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FAutoExpand = false;
  bool FToolTips = true;
  bool FRightClickSelect = false;
  int FChangeDelay = 0;
  int FChangeTimer = 0;
  TSortType FSortType = stNone;
};

// ---------------------------------------------------------------------------------------------
// Tool bars.
KV_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
KV_ENUM(TEdgeBorder, ebLeft, ebTop, ebRight, ebBottom)
KV_SET(TEdgeBorders, TEdgeBorder)
KV_ENUM(TEdgeStyle, esNone, esRaised, esLowered)

class TToolBar;

class TToolButton : public TGraphicControl {
  KV_CLASS(TToolButton, TGraphicControl)
 public:
  explicit TToolButton(TComponent* AOwner);
  TToolButtonStyle GetStyle() const { return FStyle; }
  void SetStyle(TToolButtonStyle v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) {
    FImageIndex = v;
    Invalidate();
  }
  bool GetDown() const { return FDown; }
  void SetDown(bool v);
  bool GetGrouped() const { return FGrouped; }
  void SetGrouped(bool v) { FGrouped = v; }
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  bool GetIndeterminate() const { return FIndeterminate; }
  void SetIndeterminate(bool v) {
    FIndeterminate = v;
    Invalidate();
  }
  bool GetMarked() const { return FMarked; }
  void SetMarked(bool v) {
    FMarked = v;
    Invalidate();
  }
  bool GetWrap() const { return FWrap; }
  void SetWrap(bool v) { FWrap = v; }
  TComponent* GetDropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TComponent* v);
  void Notification(TComponent* c, TOperation op) override;
  TToolBar* ToolBar() const;

 protected:
  void Paint() override;
  void Click() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TToolButtonStyle FStyle = tbsButton;
  int FImageIndex = -1;
  bool FDown = false;
  bool FGrouped = false;
  bool FAllowAllUp = false;
  bool FIndeterminate = false;
  bool FMarked = false;
  bool FWrap = false;
  bool FPressed = false;
  TComponent* FDropdownMenu = nullptr;
};

class TToolBar : public TCustomControl {
  KV_CLASS(TToolBar, TCustomControl)
 public:
  explicit TToolBar(TComponent* AOwner);
  int GetButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int v);
  int GetButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int v);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v) {
    FFlat = v;
    Invalidate();
  }
  bool GetShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool v);
  bool GetWrapable() const { return FWrapable; }
  void SetWrapable(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v) {
    FTransparent = v;
    Invalidate();
  }
  bool GetList() const { return FList; }
  void SetList(bool v) {
    FList = v;
    Invalidate();
  }
  int GetIndent() const { return FIndent; }
  void SetIndent(int v);
  TEdgeBorders GetEdgeBorders() const { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders v) {
    FEdgeBorders = v;
    Invalidate();
  }
  TEdgeStyle GetEdgeInner() const { return FEdgeInner; }
  void SetEdgeInner(TEdgeStyle v) {
    FEdgeInner = v;
    Invalidate();
  }
  TEdgeStyle GetEdgeOuter() const { return FEdgeOuter; }
  void SetEdgeOuter(TEdgeStyle v) {
    FEdgeOuter = v;
    Invalidate();
  }
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  TImageList* GetDisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TImageList* v);
  TImageList* GetHotImages() const { return FHotImages; }
  void SetHotImages(TImageList* v);
  int ButtonCount() const;
  TToolButton* Buttons(int i) const;
  void Notification(TComponent* c, TOperation op) override;
  void AlignControls(TControl* aControl, TRect& rect) override;

 protected:
  void Paint() override;

 private:
  int FButtonWidth = 23;
  int FButtonHeight = 22;
  bool FFlat = false;
  bool FShowCaptions = false;
  bool FWrapable = true;
  bool FTransparent = false;
  bool FList = false;
  int FIndent = 0;
  TEdgeBorders FEdgeBorders{ebTop};
  TEdgeStyle FEdgeInner = esRaised;
  TEdgeStyle FEdgeOuter = esLowered;
  TImageList* FImages = nullptr;
  TImageList* FDisabledImages = nullptr;
  TImageList* FHotImages = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Rich text and date/time pickers (the toolkit's widgets).
class TRichEdit : public TWinControl {
  KV_CLASS(TRichEdit, TWinControl)
 public:
  explicit TRichEdit(TComponent* AOwner);
  ~TRichEdit() override;
  void Dispatch(TMessage& m) override;
  TStrings* GetLines() const { return FLines; }
  void SetLines(TStrings* v) { FLines->Assign(v); }
  bool GetPlainText() const { return FPlainText; }
  void SetPlainText(bool v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v) { FWordWrap = v; }
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v) { FScrollBars = v; }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v) { FBorderStyle = v; }
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int v) { FMaxLength = v; }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v) { FHideSelection = v; }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void LinesChanged(TObject*);
  TStringList* FLines;
  bool FPlainText = false;
  bool FReadOnly = false;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  TBorderStyle FBorderStyle = bsSingle;
  int FMaxLength = 0;
  bool FHideSelection = true;
  bool FFromWidget = false;
};

KV_ENUM(TDateTimeKind, dtkDate, dtkTime)
KV_ENUM(TDTDateFormat, dfShort, dfLong)
KV_ENUM(TDTDateMode, dmComboBox, dmUpDown)
KV_ENUM(TDTCalAlignment, dtaLeft, dtaRight)

class TDateTimePicker : public TWinControl {
  KV_CLASS(TDateTimePicker, TWinControl)
 public:
  explicit TDateTimePicker(TComponent* AOwner);
  void Dispatch(TMessage& m) override;
  // TDateTime: the date part and the time part of one value.
  double GetDateTime() const { return FDateTime; }
  void SetDateTime(double v);
  double GetDate() const;
  void SetDate(double v);
  double GetTime() const;
  void SetTime(double v);
  TDateTimeKind GetKind() const { return FKind; }
  void SetKind(TDateTimeKind v);
  TDTDateFormat GetDateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat v);
  TDTDateMode GetDateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode v) { FDateMode = v; }
  TDTCalAlignment GetCalAlignment() const { return FCalAlignment; }
  void SetCalAlignment(TDTCalAlignment v) { FCalAlignment = v; }
  bool GetParseInput() const { return FParseInput; }
  void SetParseInput(bool v) { FParseInput = v; }
  bool GetShowCheckbox() const { return FShowCheckbox; }
  void SetShowCheckbox(bool v) { FShowCheckbox = v; }
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v) { FChecked = v; }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void UpdateWidget();
  double FDateTime;
  TDateTimeKind FKind = dtkDate;
  TDTDateFormat FDateFormat = dfShort;
  TDTDateMode FDateMode = dmComboBox;
  TDTCalAlignment FCalAlignment = dtaLeft;
  bool FParseInput = false;
  bool FShowCheckbox = false;
  bool FChecked = true;
};

void RegisterComCtrlsClasses();
// Registers the classes of every unit of this family (grids, common controls, tabbed
// notebook, the extra controls).
void RegisterCommonControlClasses();

// ---------------------------------------------------------------------------------------------
// Cool bars (platform/ComCtrls_CoolBar.cpp): bands in rows as the Windows rebar lays them out,
// each with a grip, an optional image and text, and a child control that fills the rest.
class TCoolBar;

class TCoolBand : public TCollectionItem {
  KV_CLASS(TCoolBand, TCollectionItem)
 public:
  static constexpr int DefaultMinHeight = 25;
  TCoolBand();
  ~TCoolBand() override;
  TWinControl* GetControl() const { return FControl; }
  void SetControl(TWinControl* v);
  std::string GetText() const { return FText; }
  void SetText(const std::string& v) {
    FText = v;
    Changed(true);
  }
  int GetWidth() const { return FWidth; }
  void SetWidth(int v) {
    FWidth = std::max(0, v);
    Changed(true);
  }
  int GetMinHeight() const { return FMinHeight; }
  void SetMinHeight(int v) {
    FMinHeight = std::max(0, v);
    Changed(true);
  }
  int GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(int v) {
    FMinWidth = std::max(0, v);
    Changed(true);
  }
  bool GetBreak() const { return FBreak; }
  void SetBreak(bool v) {
    FBreak = v;
    Changed(true);
  }
  bool GetFixedSize() const { return FFixedSize; }
  void SetFixedSize(bool v) {
    FFixedSize = v;
    Changed(true);
  }
  bool GetFixedBackground() const { return FFixedBackground; }
  void SetFixedBackground(bool v) {
    FFixedBackground = v;
    Changed(false);
  }
  bool GetHorizontalOnly() const { return FHorizontalOnly; }
  void SetHorizontalOnly(bool v) {
    FHorizontalOnly = v;
    Changed(true);
  }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v) {
    FVisible = v;
    Changed(true);
  }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) {
    FImageIndex = v;
    Changed(true);
  }
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* v);
  bool IsBitmapStored() const;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v) {
    FColor = v;
    FParentColor = false;
    Changed(false);
  }
  bool IsColorStored() const { return !FParentColor; }
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v) {
    FParentColor = v;
    Changed(false);
  }
  bool GetParentBitmap() const { return FParentBitmap; }
  void SetParentBitmap(bool v) {
    FParentBitmap = v;
    Changed(false);
  }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v) {
    FBorderStyle = v;
    Changed(false);
  }
  TCoolBar* CoolBar() const;
  // Where the layout put the band, in the cool bar's client coordinates.
  TRect BandRect;
  std::string GetDisplayName() const override { return FText.empty() ? TCollectionItem::GetDisplayName() : FText; }
  void Assign(TPersistent* source) override;

 private:
  TWinControl* FControl = nullptr;
  std::string FText;
  int FWidth = 0;
  int FMinHeight = DefaultMinHeight;
  int FMinWidth = 0;
  bool FBreak = true;
  bool FFixedSize = false;
  bool FFixedBackground = true;
  bool FHorizontalOnly = false;
  bool FVisible = true;
  int FImageIndex = -1;
  TBitmap* FBitmap;
  TColor FColor = clBtnFace;
  bool FParentColor = true;
  bool FParentBitmap = true;
  TBorderStyle FBorderStyle = bsNone;
};

class TCoolBands : public TCollection {
  KV_CLASS(TCoolBands, TCollection)
 public:
  explicit TCoolBands(TCoolBar* coolBar = nullptr);
  TCoolBand* Items(int i) const { return static_cast<TCoolBand*>(TCollection::Items(i)); }
  TCoolBand* Add() { return static_cast<TCoolBand*>(TCollection::Add()); }
  TCoolBand* FindBand(const TControl* c) const;
  TCoolBar* CoolBar() const { return FCoolBar; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCoolBar* FCoolBar;
};

class TCoolBar : public TCustomControl {
  KV_CLASS(TCoolBar, TCustomControl)
 public:
  // The grip at the start of a movable band, and the margin after its control.
  static constexpr int GripSize = 9;
  static constexpr int BandMargin = 4;
  explicit TCoolBar(TComponent* AOwner);
  ~TCoolBar() override;
  TCoolBands* GetBands() const { return FBands; }
  void SetBands(TCoolBands* v) { FBands->Assign(v); }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  TBorderStyle GetBandBorderStyle() const { return FBandBorderStyle; }
  void SetBandBorderStyle(TBorderStyle v);
  bool GetFixedOrder() const { return FFixedOrder; }
  void SetFixedOrder(bool v) { FFixedOrder = v; }
  bool GetFixedSize() const { return FFixedSize; }
  void SetFixedSize(bool v);
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  bool GetShowText() const { return FShowText; }
  void SetShowText(bool v);
  bool GetVertical() const { return FVertical; }
  void SetVertical(bool v);
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* v);
  bool IsBitmapStored() const { return !FBitmap->Empty(); }
  TEdgeBorders GetEdgeBorders() const { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders v) {
    FEdgeBorders = v;
    EdgesChanged();
  }
  TEdgeStyle GetEdgeInner() const { return FEdgeInner; }
  void SetEdgeInner(TEdgeStyle v) {
    FEdgeInner = v;
    EdgesChanged();
  }
  TEdgeStyle GetEdgeOuter() const { return FEdgeOuter; }
  void SetEdgeOuter(TEdgeStyle v) {
    FEdgeOuter = v;
    EdgesChanged();
  }
  // The edges lie outside the client area, where the bands are laid out, as in Windows.
  TRect GetClientRect() const override;
  TPoint ClientOrigin() const override;
  // Lays the bands out again (after a band changed).
  void BandsChanged();
  // Number of rows the visible bands take.
  int RowCount() const { return FRowCount; }
  void Notification(TComponent* c, TOperation op) override;
  void AlignControls(TControl* aControl, TRect& rect) override;
  void Loaded() override;
  void Dispatch(TMessage& m) override;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // Dragging a band's grip sizes the band before it in the row.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void LayoutBands();
  TCoolBand* FSizing = nullptr;  // the band whose width a grip drag changes
  int FSizingOffset = 0;
  void EdgesChanged();
  TNonClientArea EdgeArea() const;
  int BandHeaderSize(const TCoolBand* band) const;
  TCoolBands* FBands;
  bool FAutoSize = false;
  TBorderStyle FBandBorderStyle = bsSingle;
  bool FFixedOrder = false;
  bool FFixedSize = false;
  TImageList* FImages = nullptr;
  bool FShowText = true;
  bool FVertical = false;
  TBitmap* FBitmap;
  TEdgeBorders FEdgeBorders{ebLeft, ebTop, ebRight, ebBottom};
  TEdgeStyle FEdgeInner = esRaised;
  TEdgeStyle FEdgeOuter = esLowered;
  int FRowCount = 0;
  bool FLayingOut = false;
};

void RegisterCoolBarClasses();
