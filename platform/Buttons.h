// Buttons: the speed button (painted, grouped like a tool bar's) and the bit button (a native
// push button with a glyph, and the standard kinds OK, Cancel, Yes, No, ...).
#pragma once

#include "ExtCtrls.h"

KV_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
KV_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)
KV_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew)
KV_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
using TNumGlyphs = int;
PTypeInfo TypeInfoTNumGlyphs();  // 1..4

// The standard caption and modal result of a kind, and its glyph strip (normal, disabled).
std::string BitBtnCaption(TBitBtnKind kind);
TModalResult BitBtnModalResult(TBitBtnKind kind);
void DrawBitBtnGlyph(TBitBtnKind kind, TBitmap* strip);

// Where a button's glyph and caption go inside client, as the VCL lays them out.
void CalcButtonLayout(TCanvas* canvas, const TRect& client, const std::string& caption, TSize glyph,
                      TButtonLayout layout, int margin, int spacing, TPoint& glyphPos, TRect& textBounds);

// ---------------------------------------------------------------------------------------------
// A speed button: buttons of one parent with the same GroupIndex (not 0) stay down one at a time.
class TSpeedButton : public TGraphicControl {
  KV_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  void Dispatch(TMessage& message) override;
  void Click() override;

  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  bool GetDown() const { return FDown; }
  void SetDown(bool v);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  TBitmap* GetGlyph() const { return FGlyph; }
  void SetGlyph(TBitmap* v) { FGlyph->Assign(v); }
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  int GetMargin() const { return FMargin; }
  void SetMargin(int v);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TButtonState State() const { return FState; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void UpdateExclusive();
  TBitmap* FGlyph;
  TButtonState FState = bsUp;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FDragging = false;
  bool FMouseInControl = false;
  bool FTransparent = true;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
};

// ---------------------------------------------------------------------------------------------
class TBitBtn : public TButton {
  KV_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  void Click() override;

  TBitBtnKind GetKind() const { return FKind; }
  void SetKind(TBitBtnKind v);
  TBitmap* GetGlyph() const { return FGlyph; }
  void SetGlyph(TBitmap* v);
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  int GetMargin() const { return FMargin; }
  void SetMargin(int v) { FMargin = v; }
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v) { FSpacing = v; }
  TButtonStyle GetStyle() const { return FStyle; }
  void SetStyle(TButtonStyle v) { FStyle = v; }
  // The kind's own values are not written: a stream's Kind brings them back.
  bool IsCustom() const { return FKind == bkCustom; }
  bool IsCustomCaption() const { return FKind == bkCustom || GetCaption() != BitBtnCaption(FKind); }

 protected:
  void CreateWnd() override;

 private:
  void GlyphChanged();
  TBitmap* FGlyph;
  TBitBtnKind FKind = bkCustom;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TButtonStyle FStyle = bsAutoDetect;
  bool FSettingKind = false;
};

void RegisterButtonsClasses();
