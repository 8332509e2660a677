// ExtCtrls: panels, bevels, shapes, images, paint boxes and radio groups, painted as the VCL
// paints them.
#pragma once

#include "StdCtrls.h"

KV_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace)
KV_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
KV_ENUM(TBevelStyle, bsLowered, bsRaised)
KV_ENUM(TShapeType, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)
using TBevelWidth = int;
PTypeInfo TypeInfoTBevelWidth();   // 1..MaxInt

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

void RegisterExtCtrlsClasses();
