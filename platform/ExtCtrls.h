// ExtCtrls: panels, bevels, shapes, images, paint boxes and radio groups, painted as the VCL
// paints them; the notebook and its pages, the timer, the splitter and the Win 3.1 header.
#pragma once

#include <string>
#include <vector>

#include "Forms.h"
#include "StdCtrls.h"

KV_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace)
KV_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
KV_ENUM(TBevelStyle, bsLowered, bsRaised)
KV_ENUM(TShapeType, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)
using TBevelWidth = int;
PTypeInfo TypeInfoTBevelWidth();  // 1..MaxInt

// Draws width nested frames inside rect, top-left in topColor and bottom-right in bottomColor,
// and shrinks rect by width on every side.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// ---------------------------------------------------------------------------------------------
class TCustomPanel : public TCustomControl {
  KV_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  TRect GetClientRect() const override;
  void Dispatch(TMessage& message) override;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel v);
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel v);
  TBevelWidth GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth v);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool v) { FFullRepaint = v; }
  bool GetLocked() const { return FLocked; }
  void SetLocked(bool v) { FLocked = v; }
  bool GetParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool v) { FParentBackground = v; }

 protected:
  void Paint() override;

 private:
  void Changed();
  TAlignment FAlignment = taCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  TBorderStyle FBorderStyle = bsNone;
  bool FFullRepaint = true;
  bool FLocked = false;
  bool FParentBackground = true;
};

class TPanel : public TCustomPanel {
  KV_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

// ---------------------------------------------------------------------------------------------
class TBevel : public TGraphicControl {
  KV_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape v);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle v);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// ---------------------------------------------------------------------------------------------
class TShape : public TGraphicControl {
  KV_CLASS(TShape, TGraphicControl)
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType GetShape() const { return FShape; }
  void SetShape(TShapeType v);
  TPen* GetPen() const { return FPen; }
  void SetPen(TPen* v) { FPen->Assign(v); }
  TBrush* GetBrush() const { return FBrush; }
  void SetBrush(TBrush* v) { FBrush->Assign(v); }

 protected:
  void Paint() override;

 private:
  TShapeType FShape = stRectangle;
  TPen* FPen;
  TBrush* FBrush;
};

// ---------------------------------------------------------------------------------------------
class TImage : public TGraphicControl {
  KV_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* GetPicture() const { return FPicture; }
  void SetPicture(TPicture* v) { FPicture->Assign(v); }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool v);
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool GetIncrementalDisplay() const { return FIncrementalDisplay; }
  void SetIncrementalDisplay(bool v) { FIncrementalDisplay = v; }
  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  TPicture* FPicture;
  bool FAutoSize = false;
  bool FCenter = false;
  bool FStretch = false;
  bool FTransparent = false;
  bool FIncrementalDisplay = false;
};

// ---------------------------------------------------------------------------------------------
class TPaintBox : public TGraphicControl {
  KV_CLASS(TPaintBox, TGraphicControl)
 public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};

// ---------------------------------------------------------------------------------------------
class TCustomRadioGroup : public TCustomGroupBox {
  KV_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  void Dispatch(TMessage& message) override;
  void Loaded() override;
  // The buttons are the group's own; form streams never see them.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override { (void)proc, (void)root; }

  TStrings* GetItems() const { return FItems; }
  void SetItems(TStrings* v) { FItems->Assign(v); }
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int v);
  int GetColumns() const { return FColumns; }
  void SetColumns(int v);
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TRadioButton* Buttons(int i) const { return FButtons.at(i); }

 private:
  friend class TGroupButton;
  void ItemsChanged();
  void ArrangeButtons();
  void ButtonClicked(TRadioButton* button);
  TCustomListControlItems* FItems;
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  KV_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

// ---------------------------------------------------------------------------------------------
// The pages of a notebook seen as their captions: adding a string makes a page, deleting one
// frees it, changing one renames the page. Shared by TNotebook and TTabbedNotebook.
class TPageStrings : public TStrings {
  KV_CLASS(TPageStrings, TStrings)
 public:
  struct THost {
    virtual ~THost() = default;
    virtual std::vector<TWinControl*>& PageList() = 0;
    virtual TWinControl* NewPage() = 0;  // parented to the host, hence appended to PageList
    virtual void PagesChanged() = 0;
  };
  explicit TPageStrings(THost* host = nullptr) : FHost(host) {}
  int Count() const override;
  std::string Get(int i) const override;
  void Put(int i, const std::string& s) override;
  TObject* GetObject(int i) const override;
  void Insert(int i, const std::string& s) override;
  void Delete(int i) override;
  void Clear() override;

 private:
  THost* FHost;
};

class TNotebook;

class TPage : public TCustomControl {
  KV_CLASS(TPage, TCustomControl)
 public:
  explicit TPage(TComponent* AOwner);
  ~TPage() override;
  void SetParent(TWinControl* value) override;
  void Dispatch(TMessage& m) override;

 protected:
  void Paint() override;

 private:
  friend class TNotebook;
  TNotebook* FNotebook = nullptr;
};

class TNotebook : public TCustomControl, private TPageStrings::THost {
  KV_CLASS(TNotebook, TCustomControl)
 public:
  explicit TNotebook(TComponent* AOwner);
  ~TNotebook() override;
  TStrings* GetPages() const { return FAccess; }
  void SetPages(TStrings* v) { FAccess->Assign(v); }
  int GetPageIndex() const { return FPageIndex; }
  void SetPageIndex(int v);
  std::string GetActivePage() const;
  void SetActivePage(const std::string& caption);
  int PageCount() const { return static_cast<int>(FPageList.size()); }
  TPage* Page(int i) const { return static_cast<TPage*>(FPageList.at(i)); }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TComponent* GetChildOwner() override { return this; }
  void ReadState(TReader* reader) override;
  void Loaded() override;

  TNotifyEvent OnPageChanged;

 private:
  friend class TPage;
  std::vector<TWinControl*>& PageList() override { return FPageList; }
  TWinControl* NewPage() override;
  void PagesChanged() override;
  void ShowPage();
  std::vector<TWinControl*> FPageList;
  TPageStrings* FAccess;
  int FPageIndex = -1;
};

// ---------------------------------------------------------------------------------------------
class TTimer : public TComponent {
  KV_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned GetInterval() const { return FInterval; }
  void SetInterval(unsigned v);
  TNotifyEvent GetOnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent v);
  // Whether the event loop is ticking for this timer.
  bool Active() const { return FTimerId != 0; }
  void Loaded() override;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
  int FTimerId = 0;
};

// ---------------------------------------------------------------------------------------------
KV_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern)
KV_EVENT(TCanResizeEvent, "Sender: TObject; var NewSize: Integer; var Accept: Boolean", TObject*, int&, bool&)

// Drags the edge of the control aligned just before it (on its alignment side).
class TSplitter : public TGraphicControl {
  KV_CLASS(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* AOwner);
  bool GetBeveled() const { return FBeveled; }
  void SetBeveled(bool v) {
    FBeveled = v;
    Invalidate();
  }
  int GetMinSize() const { return FMinSize; }
  void SetMinSize(int v) { FMinSize = std::max(1, v); }
  TResizeStyle GetResizeStyle() const { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle v) { FResizeStyle = v; }
  bool GetAutoSnap() const { return FAutoSnap; }
  void SetAutoSnap(bool v) { FAutoSnap = v; }
  // The control whose size the splitter changes, or null.
  TControl* FindControl() const;

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  bool Horizontal() const { return GetAlign() == alLeft || GetAlign() == alRight; }
  int ControlSize(TControl* c) const { return Horizontal() ? c->GetWidth() : c->GetHeight(); }
  // The neighbour size that a mouse at (x, y) asks for, within MinSize and the parent.
  int SizeFor(int x, int y) const;
  void ApplySize(int size);
  void DrawLine();
  bool FBeveled = true;
  int FMinSize = 30;
  TResizeStyle FResizeStyle = rsPattern;
  bool FAutoSnap = true;
  TControl* FControl = nullptr;
  TPoint FDownPos;
  int FStartSize = 0;
  int FNewSize = 0;
  bool FLineShown = false;
};

// ---------------------------------------------------------------------------------------------
// The Win 3.1 header: captions in sections whose right edges the user drags. The section texts
// are the Sections strings; their widths stream as the "InternalSections" list, after them.
KV_EVENT(TSectionEvent, "Sender: TObject; ASection, AWidth: Integer", TObject*, int, int)

class THeader : public TCustomControl {
  KV_CLASS(THeader, TCustomControl)
 public:
  static constexpr int DefaultSectionWidth = 50;
  explicit THeader(TComponent* AOwner);
  ~THeader() override;
  TStrings* GetSections() const { return FSections; }
  void SetSections(TStrings* v) { FSections->Assign(v); }
  int SectionCount() const { return FSections->Count(); }
  // Width of section i in pixels; EListError for an index out of range.
  int GetSectionWidth(int i) const;
  void SetSectionWidth(int i, int width);
  bool GetAllowResize() const { return FAllowResize; }
  void SetAllowResize(bool v) { FAllowResize = v; }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  // The section whose right edge is under x (within two pixels), or -1.
  int SectionEdgeAt(int x) const;
  void DefineProperties(TFiler* filer) override;

  TSectionEvent OnSizing;
  TSectionEvent OnSized;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void ReadSections(TReader* reader);
  void WriteSections(TWriter* writer);
  int SectionLeft(int i) const;
  TStringList* FSections;
  std::vector<int> FWidths;  // parallel to FSections, kept in step by SyncWidths
  std::vector<std::string> FWidthKeys;
  void SyncWidths();
  bool FAllowResize = true;
  TBorderStyle FBorderStyle = bsSingle;
  int FResizeSection = -1;
  int FMouseOffset = 0;
};

// ---------------------------------------------------------------------------------------------
// Points a component reference of `self` at v, with free notification so that the reference
// is cleared (in self's Notification) when v goes; releases the old one.
template <class T>
void SetComponentReference(TComponent* self, T*& field, T* v) {
  if (field == v) return;
  if (field) field->RemoveFreeNotification(self);
  field = v;
  if (v) v->FreeNotification(self);
}

// A push button's face as the Win 3.1 controls draw theirs (media player, spin button, header):
// black frame, raised bevel, sunken while down. Returns the area inside the bevel, shifted by a
// pixel while down, for the glyph.
TRect DrawButtonFace(TCanvas* c, const TRect& r, bool down);

void RegisterExtCtrlsClasses();
