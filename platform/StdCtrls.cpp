#include "StdCtrls.h"

#include <algorithm>
#include <cctype>

#include "Consts.h"
#include "TypInfo.h"
#include "qt/QtStdCtrls.h"
#include "qt/QtWidgets.h"

namespace {
bool StreamBusy(const TComponent* c) { return c->InState(csLoading) || c->InState(csReading); }
}  // namespace

PTypeInfo TypeInfoTLeftRight() {
  static PTypeInfo ti = MakeEnumTypeInfo("TLeftRight", "taLeftJustify, taRightJustify", "Classes");
  return ti;
}

KV_IMPLEMENT_CLASS(TCustomGroupBox, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TGroupBox, "StdCtrls") {
  PublishControlProperties(
      b, {"Align",       "Anchors",     "BiDiMode",       "Caption",    "Color",      "Constraints",    "Ctl3D",
          "DragCursor",  "DragKind",    "DragMode",       "Enabled",    "Font",       "ParentBiDiMode", "ParentColor",
          "ParentCtl3D", "ParentFont",  "ParentShowHint", "PopupMenu",  "ShowHint",   "TabOrder",       "TabStop",
          "Visible",     "OnClick",     "OnDblClick",     "OnDragDrop", "OnDragOver", "OnEndDrag",      "OnEnter",
          "OnExit",      "OnMouseDown", "OnMouseMove",    "OnMouseUp",  "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TCustomLabel, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TLabel, "StdCtrls") {
  PublishControlProperties(b, {"Align"});
  b.Prop("Alignment", &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
  PublishControlProperties(b, {"Anchors"});
  b.Prop("AutoSize", &TCustomLabel::GetAutoSize, &TCustomLabel::SetAutoSize).Default(true);
  PublishControlProperties(
      b, {"BiDiMode", "Caption", "Color", "Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("FocusControl", &TCustomLabel::GetFocusControl, &TCustomLabel::SetFocusControl);
  PublishControlProperties(b, {"Font"});
  b.Prop("Layout", &TCustomLabel::GetLayout, &TCustomLabel::SetLayout).Default(tlTop);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint"});
  b.Prop("ShowAccelChar", &TCustomLabel::GetShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
  PublishControlProperties(b, {"PopupMenu", "ShowHint"});
  b.Prop("Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent).Default(false);
  PublishControlProperties(b, {"Visible"});
  b.Prop("WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap).Default(false);
  PublishControlProperties(b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
                               "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TCustomEdit, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TEdit, "StdCtrls") {
  PublishControlProperties(b, {"Anchors"});
  b.Prop("AutoSelect", &TCustomEdit::GetAutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
  b.Prop("AutoSize", &TCustomEdit::GetAutoSize, &TCustomEdit::SetAutoSize).Default(true);
  PublishControlProperties(b, {"BiDiMode"});
  b.Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  b.Prop("CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
  PublishWindowColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  b.Prop("HideSelection", &TCustomEdit::GetHideSelection, &TCustomEdit::SetHideSelection).Default(true);
  PublishControlProperties(b, {"ImeMode", "ImeName"});
  b.Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength).Default(0);
  b.Prop("OEMConvert", &TCustomEdit::GetOEMConvert, &TCustomEdit::SetOEMConvert).Default(false);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint"});
  b.Prop("PasswordChar", &TCustomEdit::GetPasswordChar, &TCustomEdit::SetPasswordChar).Default(0);
  b.Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  PublishControlProperties(b, {"PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Text", "Visible"});
  b.Prop("OnChange", &TCustomEdit::OnChange);
  PublishControlProperties(
      b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
          "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TMemoStrings, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TCustomMemo, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TMemo, "StdCtrls") {
  PublishControlProperties(b, {"Align"});
  b.Prop("Alignment", &TCustomMemo::GetAlignment, &TCustomMemo::SetAlignment).Default(taLeftJustify);
  PublishControlProperties(b, {"Anchors", "BiDiMode"});
  b.Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishWindowColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  b.Prop("HideSelection", &TCustomEdit::GetHideSelection, &TCustomEdit::SetHideSelection).Default(true);
  PublishControlProperties(b, {"ImeMode", "ImeName"});
  b.Prop("Lines", &TCustomMemo::GetLines, &TCustomMemo::SetLines);
  b.Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength).Default(0);
  b.Prop("OEMConvert", &TCustomEdit::GetOEMConvert, &TCustomEdit::SetOEMConvert).Default(false);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint"});
  b.Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  b.Prop("ScrollBars", &TCustomMemo::GetScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
  PublishControlProperties(b, {"PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("WantReturns", &TCustomMemo::GetWantReturns, &TCustomMemo::SetWantReturns).Default(true);
  b.Prop("WantTabs", &TCustomMemo::GetWantTabs, &TCustomMemo::SetWantTabs).Default(false);
  b.Prop("WordWrap", &TCustomMemo::GetWordWrap, &TCustomMemo::SetWordWrap).Default(true);
  b.Prop("OnChange", &TCustomEdit::OnChange);
  PublishControlProperties(
      b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
          "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TCustomListControlItems, "StdCtrls") {}

KV_IMPLEMENT_CLASS(TCustomComboBox, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TComboBox, "StdCtrls") {
  b.Prop("Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle).Default(csDropDown);
  PublishControlProperties(b, {"Anchors", "BiDiMode"});
  PublishWindowColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode"});
  b.Prop("DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
  PublishControlProperties(b, {"Enabled", "Font", "ImeMode", "ImeName"});
  b.Prop("ItemHeight", &TCustomComboBox::GetItemHeight, &TCustomComboBox::SetItemHeight);
  b.Prop("ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex).Default(-1);
  b.Prop("MaxLength", &TCustomComboBox::GetMaxLength, &TCustomComboBox::SetMaxLength).Default(0);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint"});
  b.Prop("Sorted", &TCustomComboBox::GetSorted, &TCustomComboBox::SetSorted).Default(false);
  PublishControlProperties(b, {"PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Text", "Visible"});
  b.Prop("OnChange", &TCustomComboBox::OnChange);
  PublishControlProperties(b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver"});
  b.Prop("OnDrawItem", &TCustomComboBox::OnDrawItem);
  b.Prop("OnDropDown", &TCustomComboBox::OnDropDown);
  PublishControlProperties(b, {"OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  b.Prop("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
  PublishControlProperties(b, {"OnStartDrag"});
  b.Prop("Items", &TCustomComboBox::GetItems, &TCustomComboBox::SetItems);
}

KV_IMPLEMENT_CLASS(TButtonControl, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TButton, "StdCtrls") {
  PublishControlProperties(b, {"Action", "Anchors", "BiDiMode"});
  b.Prop("Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false);
  PublishControlProperties(b, {"Caption", "Constraints"});
  b.Prop("Default", &TButton::GetDefault, &TButton::SetDefault).Default(false);
  PublishControlProperties(b, {"DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  b.Prop("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult).Type(TypeInfoTModalResult()).Default(0);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(
      b, {"Visible", "OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
          "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TCustomCheckBox, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TCheckBox, "StdCtrls") {
  PublishControlProperty(b, "Action");
  b.Prop("Alignment", &TCustomCheckBox::GetAlignment, &TCustomCheckBox::SetAlignment)
      .Type(TypeInfoTLeftRight())
      .Default(taRightJustifyLR);
  b.Prop("AllowGrayed", &TCustomCheckBox::GetAllowGrayed, &TCustomCheckBox::SetAllowGrayed).Default(false);
  PublishControlProperties(b, {"Anchors", "BiDiMode", "Caption"});
  b.Prop("Checked", &TCustomCheckBox::GetChecked, &TCustomCheckBox::SetChecked).Stored(false);
  PublishControlProperties(
      b, {"Color", "Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "ParentBiDiMode",
          "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  b.Prop("State", &TCustomCheckBox::GetState, &TCustomCheckBox::SetState).Default(cbUnchecked);
  PublishControlProperties(b, {"TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(
      b, {"Visible", "OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
          "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TRadioButton, "StdCtrls") {
  PublishControlProperty(b, "Action");
  b.Prop("Alignment", &TRadioButton::GetAlignment, &TRadioButton::SetAlignment)
      .Type(TypeInfoTLeftRight())
      .Default(taRightJustifyLR);
  PublishControlProperties(b, {"Anchors", "BiDiMode", "Caption"});
  b.Prop("Checked", &TRadioButton::GetChecked, &TRadioButton::SetChecked)
      .Default(false)
      .StoredMethod(&TControl::IsCheckedStored);
  PublishControlProperties(
      b, {"Color",       "Constraints",    "Ctl3D",       "DragCursor",  "DragKind",   "DragMode",       "Enabled",
          "Font",        "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
          "ShowHint",    "TabOrder",       "TabStop",     "Visible",     "OnClick",    "OnDblClick",     "OnDragDrop",
          "OnDragOver",  "OnEndDrag",      "OnEnter",     "OnExit",      "OnKeyDown",  "OnKeyPress",     "OnKeyUp",
          "OnMouseDown", "OnMouseMove",    "OnMouseUp",   "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TCustomListBox, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TListBox, "StdCtrls") {
  PublishControlProperties(b, {"Align", "Anchors", "BiDiMode"});
  b.Prop("BorderStyle", &TCustomListBox::GetBorderStyle, &TCustomListBox::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishWindowColor(b);
  b.Prop("Columns", &TCustomListBox::GetColumns, &TCustomListBox::SetColumns).Default(0);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("ExtendedSelect", &TCustomListBox::GetExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true);
  PublishControlProperties(b, {"Font", "ImeMode", "ImeName"});
  b.Prop("IntegralHeight", &TCustomListBox::GetIntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
  b.Prop("ItemHeight", &TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight).Default(16);
  b.Prop("ItemIndex", &TCustomListBox::GetItemIndex, &TCustomListBox::SetItemIndex).Default(-1);
  b.Prop("Items", &TCustomListBox::GetItems, &TCustomListBox::SetItems);
  b.Prop("MultiSelect", &TCustomListBox::GetMultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
  PublishControlProperties(b,
                           {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  b.Prop("Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted).Default(false);
  b.Prop("Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle).Default(lbStandard);
  PublishControlProperties(b, {"TabOrder"});
  PublishTabStop(b, true);
  b.Prop("TabWidth", &TCustomListBox::GetTabWidth, &TCustomListBox::SetTabWidth).Default(0);
  PublishControlProperties(b, {"Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver"});
  b.Prop("OnDrawItem", &TCustomListBox::OnDrawItem);
  PublishControlProperties(b, {"OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  b.Prop("OnMeasureItem", &TCustomListBox::OnMeasureItem);
  PublishControlProperties(b, {"OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TScrollBar, "StdCtrls") {
  PublishControlProperties(
      b, {"Align", "Anchors", "BiDiMode", "Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("Kind", &TScrollBar::GetKind, &TScrollBar::SetKind).Default(sbHorizontal);
  b.Prop("LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange)
      .Type(TypeInfoTScrollBarInc())
      .Default(1);
  b.Prop("Max", &TScrollBar::GetMax, &TScrollBar::SetMax).Default(100);
  b.Prop("Min", &TScrollBar::GetMin, &TScrollBar::SetMin).Default(0);
  b.Prop("PageSize", &TScrollBar::GetPageSize, &TScrollBar::SetPageSize).Default(0);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentCtl3D", "ParentShowHint"});
  b.Prop("Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition).Default(0);
  PublishControlProperties(b, {"PopupMenu", "ShowHint"});
  b.Prop("SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange)
      .Type(TypeInfoTScrollBarInc())
      .Default(1);
  PublishControlProperties(b, {"TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TScrollBar::OnChange);
  PublishControlProperties(
      b, {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  b.Prop("OnScroll", &TScrollBar::OnScroll);
  PublishControlProperties(b, {"OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TCustomStaticText, "StdCtrls") {}
KV_IMPLEMENT_CLASS(TStaticText, "StdCtrls") {
  PublishControlProperties(b, {"Align"});
  b.Prop("Alignment", &TCustomStaticText::GetAlignment, &TCustomStaticText::SetAlignment).Default(taLeftJustify);
  PublishControlProperties(b, {"Anchors"});
  b.Prop("AutoSize", &TCustomStaticText::GetAutoSize, &TCustomStaticText::SetAutoSize).Default(true);
  PublishControlProperties(b, {"BiDiMode"});
  b.Prop("BorderStyle", &TCustomStaticText::GetBorderStyle, &TCustomStaticText::SetBorderStyle).Default(sbsNone);
  PublishControlProperties(b, {"Caption", "Color", "Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("FocusControl", &TCustomStaticText::GetFocusControl, &TCustomStaticText::SetFocusControl);
  PublishControlProperties(b, {"Font", "ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint"});
  b.Prop("ShowAccelChar", &TCustomStaticText::GetShowAccelChar, &TCustomStaticText::SetShowAccelChar).Default(true);
  PublishControlProperties(
      b, {"PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnDblClick", "OnDragDrop",
          "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

void RegisterStdCtrlsClasses() {
  RegisterClasses({TGroupBox::StaticClass(), TLabel::StaticClass(), TEdit::StaticClass(), TMemo::StaticClass(),
                   TComboBox::StaticClass(), TButton::StaticClass(), TCheckBox::StaticClass(),
                   TRadioButton::StaticClass(), TListBox::StaticClass(), TScrollBar::StaticClass(),
                   TStaticText::StaticClass()});
}

// =============================================================================================
// DrawText
namespace {
struct TTextLine {
  size_t Start;
  std::string Text;
};

// Strips the '&' prefixes ("&&" is a literal '&'), answering where the underlined character is.
std::string StripPrefix(const std::string& text, size_t& accel) {
  std::string out;
  accel = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && accel == std::string::npos) accel = out.size();
    }
    out += text[i];
  }
  return out;
}

std::vector<TTextLine> BreakLines(TCanvas* c, const std::string& text, int width, unsigned flags) {
  std::vector<TTextLine> lines;
  auto addParagraph = [&](size_t start, const std::string& para) {
    if (!(flags & DT_WORDBREAK) || c->TextWidth(para) <= width) {
      lines.push_back({start, para});
      return;
    }
    size_t pos = 0;
    while (pos < para.size()) {
      size_t end = pos, lastFit = std::string::npos;
      // Grow word by word while the line fits; a single word too long for the line stays whole.
      while (end < para.size()) {
        size_t next = para.find(' ', end + 1);
        if (next == std::string::npos) next = para.size();
        if (c->TextWidth(para.substr(pos, next - pos)) > width && lastFit != std::string::npos) break;
        lastFit = next;
        end = next;
      }
      lines.push_back({start + pos, para.substr(pos, lastFit - pos)});
      pos = lastFit;
      while (pos < para.size() && para[pos] == ' ') ++pos;
    }
  };
  if (flags & DT_SINGLELINE) {
    lines.push_back({0, text});
    return lines;
  }
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      addParagraph(start, text.substr(start, i - start));
      if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  return lines;
}
}  // namespace

int DrawText(TCanvas* canvas, const std::string& text, TRect& rect, unsigned flags) {
  size_t accel = std::string::npos;
  std::string plain = flags & DT_NOPREFIX ? text : StripPrefix(text, accel);
  std::vector<TTextLine> lines = BreakLines(canvas, plain, rect.Width(), flags);
  const int lineHeight = canvas->TextHeight("Wg");
  const int height = lineHeight * static_cast<int>(lines.size());
  if (flags & DT_CALCRECT) {
    int width = 0;
    for (auto& l : lines) width = std::max(width, canvas->TextWidth(l.Text));
    rect.Right = rect.Left + width;
    rect.Bottom = rect.Top + height;
    return height;
  }
  int y = rect.Top;
  if (flags & DT_BOTTOM) y = rect.Bottom - height;
  else if (flags & DT_VCENTER) y = rect.Top + (rect.Height() - height) / 2;
  TBrushStyle oldStyle = canvas->GetBrush()->GetStyle();
  canvas->GetBrush()->SetStyle(bsClear);
  for (auto& l : lines) {
    int w = canvas->TextWidth(l.Text);
    int x = flags & DT_RIGHT ? rect.Right - w : flags & DT_CENTER ? rect.Left + (rect.Width() - w) / 2 : rect.Left;
    if (flags & DT_NOCLIP) canvas->TextOut(x, y, l.Text);
    else canvas->TextRect(rect, x, y, l.Text);
    if (accel != std::string::npos && accel >= l.Start && accel < l.Start + l.Text.size()) {
      size_t k = accel - l.Start;
      int ux = x + canvas->TextWidth(l.Text.substr(0, k));
      int uw = canvas->TextWidth(l.Text.substr(k, 1));
      TPen* pen = canvas->GetPen();
      TColor oldColor = pen->GetColor();
      pen->SetColor(canvas->GetFont()->GetColor());
      canvas->MoveTo(ux, y + lineHeight - 2);
      canvas->LineTo(ux + uw, y + lineHeight - 2);
      pen->SetColor(oldColor);
    }
    y += lineHeight;
  }
  canvas->GetBrush()->SetStyle(oldStyle);
  return height;
}

bool IsAccel(uint16_t ch, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::toupper(static_cast<unsigned char>(caption[i + 1])) == std::toupper(ch & 0xFF);
  }
  return false;
}

// =============================================================================================
// TCustomGroupBox
TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 105);
}

TRect TCustomGroupBox::GetClientRect() const {
  TRect r = Rect(0, 0, FWidth, FHeight);
  Canvas()->SetFont(GetFont());
  r.Top += Canvas()->TextHeight("0");
  InflateRect(r, -2, -2);
  return r;
}

void TCustomGroupBox::Dispatch(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR && IsAccel(static_cast<uint16_t>(m.WParam), GetCaption()) && CanFocus()) {
    SelectNext(nullptr, true, true);
    m.Result = 1;
    return;
  }
  if (m.Msg == CM_FONTCHANGED || m.Msg == CM_TEXTCHANGED) Realign();
  TCustomControl::Dispatch(m);
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(Rect(0, 0, FWidth, FHeight));
  int h = c->TextHeight("0");
  // The etched frame: a shadow line with a highlight line inside it, one pixel down-right.
  TRect r = Rect(0, h / 2 - 1, FWidth, FHeight);
  c->GetBrush()->SetStyle(bsClear);
  c->GetPen()->SetColor(clBtnHighlight);
  c->Rectangle(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
  c->GetPen()->SetColor(clBtnShadow);
  c->Rectangle(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
  if (!GetCaption().empty()) {
    TRect tr = Rect(8, 0, 0, h);
    DrawText(c, GetCaption(), tr, DT_SINGLELINE | DT_CALCRECT);
    tr.Right += 2;
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(Rect(tr.Left - 1, tr.Top, tr.Right + 1, tr.Bottom));
    OffsetRect(tr, 1, 0);
    if (!GetEnabled()) c->GetFont()->SetColor(clGrayText);
    DrawText(c, GetCaption(), tr, DT_SINGLELINE | DT_NOCLIP);
  }
}

// =============================================================================================
// TCustomLabel
TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = ControlStyle + TControlStyle{csOpaque, csReplicatable};
  SetBounds(0, 0, 65, 17);
}

unsigned TCustomLabel::TextFlags() const {
  unsigned f = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  f |= DT_EXPANDTABS;
  if (FWordWrap) f |= DT_WORDBREAK;
  if (!FShowAccelChar) f |= DT_NOPREFIX;
  return f;
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect client = Rect(0, 0, FWidth, FHeight);
  if (!GetTransparent()) {
    c->GetBrush()->SetColor(GetColor());
    c->GetBrush()->SetStyle(bsSolid);
    c->FillRect(client);
  }
  c->SetFont(GetFont());
  std::string text = GetCaption();
  // An empty label shows its name while designed, so that it can be found and picked.
  if (text.empty() && InState(csDesigning)) text = GetName();
  TRect calc = client;
  DrawText(c, text, calc, TextFlags() | DT_CALCRECT);
  TRect r = client;
  if (FLayout == tlCenter) r.Top += (r.Height() - calc.Height()) / 2;
  else if (FLayout == tlBottom) r.Top = r.Bottom - calc.Height();
  if (!GetEnabled()) {
    TRect shifted = r;
    OffsetRect(shifted, 1, 1);
    c->GetFont()->SetColor(clBtnHighlight);
    DrawText(c, text, shifted, TextFlags());
    c->GetFont()->SetColor(clBtnShadow);
  }
  DrawText(c, text, r, TextFlags());
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || StreamBusy(this)) return;
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  TRect r = Rect(0, 0, FWidth, 0);
  std::string text = GetCaption();
  if (text.empty()) text = " ";
  DrawText(c, text, r, TextFlags() | DT_CALCRECT);
  int x = FLeft;
  if (FAlignment == taRightJustify) x += FWidth - r.Width();
  SetBounds(x, FTop, r.Width(), r.Height());
}

// A label's accelerator focuses the control it names (its FocusControl).
static bool FocusByAccel(TControl* label, TWinControl* target, bool showAccelChar, TMessage& m) {
  if (!target || !label->GetEnabled() || !showAccelChar ||
      !IsAccel(static_cast<uint16_t>(m.WParam), label->GetCaption()) || !target->CanFocus())
    return false;
  target->SetFocus();
  m.Result = 1;
  return true;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      break;
    case CM_DIALOGCHAR:
      if (FocusByAccel(this, FFocusControl, FShowAccelChar, m)) return;
      break;
    default: break;
  }
  TGraphicControl::Dispatch(m);
}

void TCustomLabel::Notification(TComponent* c, TOperation op) {
  TGraphicControl::Notification(c, op);
  if (op == opRemove && c == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetAlignment(TAlignment v) {
  if (FAlignment == v) return;
  FAlignment = v;
  Invalidate();
}
void TCustomLabel::SetAutoSize(bool v) {
  if (FAutoSize == v) return;
  FAutoSize = v;
  AdjustBounds();
}
void TCustomLabel::SetFocusControl(TWinControl* v) {
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}
void TCustomLabel::SetLayout(TTextLayout v) {
  if (FLayout == v) return;
  FLayout = v;
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool v) {
  if (FShowAccelChar == v) return;
  FShowAccelChar = v;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetTransparent(bool v) {
  if (GetTransparent() == v) return;
  if (v) ControlStyle.Exclude(csOpaque);
  else ControlStyle.Include(csOpaque);
  Invalidate();
}
void TCustomLabel::SetWordWrap(bool v) {
  if (FWordWrap == v) return;
  FWordWrap = v;
  AdjustBounds();
  Invalidate();
}

// =============================================================================================
// TCustomEdit
TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "KvEdit";
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
  qtstd::SetText(FHandle, WindowText(FText));
}

void TCustomEdit::UpdateWindow() {
  if (!HandleAllocated()) return;
  qtstd::TEditOptions o;
  o.ReadOnly = FReadOnly;
  o.MaxLength = FMaxLength;
  o.PasswordChar = FPasswordChar;
  o.Border = FBorderStyle == bsSingle;
  qtstd::SetEditOptions(FHandle, o);
}

std::string TCustomEdit::Filtered(std::string s) const {
  if (FCharCase == ecUpperCase)
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  else if (FCharCase == ecLowerCase)
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

void TCustomEdit::TextFromWindow() {
  std::string s = qtstd::GetText(FHandle);
  std::string f = Filtered(s);
  if (f != s) {
    // Keep the caret where the user typed while the case is forced.
    int start, len;
    qtstd::GetSel(FHandle, start, len);
    qtstd::SetText(FHandle, f);
    qtstd::SetSel(FHandle, start, len);
  }
  FSyncing = true;
  try {
    SetText(TextOfWindow(f));
  } catch (...) {
    FSyncing = false;
    throw;
  }
  FSyncing = false;
}

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (((m.WParam >> 16) & 0xFFFF) == EN_CHANGE && HandleAllocated()) {
        FModified = true;
        TextFromWindow();
        return;
      }
      break;
    case WM_GETDLGCODE: m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS; return;
    case CM_TEXTCHANGED: {
      // The text as the edit can hold it (its case, a mask's places).
      std::string f = TextOfWindow(WindowText(Filtered(FText)));
      if (f != FText) FText = f;
      if (HandleAllocated() && !FSyncing) qtstd::SetText(FHandle, WindowText(FText));
      if (!StreamBusy(this)) Change();
      TControl::Dispatch(m);  // the widget has the text already
      return;
    }
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      AdjustHeight();
      return;
    default: break;
  }
  TWinControl::Dispatch(m);
}

void TCustomEdit::Loaded() {
  TWinControl::Loaded();
  FModified = false;
  AdjustHeight();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
  if (FAutoSelect && !ControlState.Contains(csLButtonDown)) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::AdjustHeight() {
  if (!FAutoSize || StreamBusy(this)) return;
  TCanvas c;
  c.SetFont(GetFont());
  SetHeight(c.TextHeight("0") + (FBorderStyle == bsSingle ? 8 : 2));
}

void TCustomEdit::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustHeight();
}
void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  UpdateWindow();
  AdjustHeight();
}
void TCustomEdit::SetCharCase(TEditCharCase v) {
  if (FCharCase == v) return;
  FCharCase = v;
  SetText(Filtered(FText));
}
void TCustomEdit::SetMaxLength(int v) {
  FMaxLength = std::max(0, v);
  UpdateWindow();
}
void TCustomEdit::SetPasswordChar(char v) {
  FPasswordChar = v;
  UpdateWindow();
}
void TCustomEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  UpdateWindow();
}

int TCustomEdit::GetSelStart() {
  int start, len;
  qtstd::GetSel(Handle(), start, len);
  return start;
}
void TCustomEdit::SetSelStart(int v) { qtstd::SetSel(Handle(), v, 0); }
int TCustomEdit::GetSelLength() {
  int start, len;
  qtstd::GetSel(Handle(), start, len);
  return len;
}
void TCustomEdit::SetSelLength(int v) { qtstd::SetSel(Handle(), GetSelStart(), v); }
std::string TCustomEdit::GetSelText() { return qtstd::GetSelText(Handle()); }
void TCustomEdit::SetSelText(const std::string& v) {
  qtstd::ReplaceSel(Handle(), v);
  TextFromWindow();
}
void TCustomEdit::SelectAll() { qtstd::SetSel(Handle(), 0, -1); }

// =============================================================================================
// TMemoStrings
std::vector<std::string> TMemoStrings::Split() const {
  if (FBatch) return FPending;
  std::vector<std::string> lines;
  const std::string text = FMemo->GetText();
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void TMemoStrings::Join(const std::vector<std::string>& lines) {
  if (FBatch) {
    FPending = lines;
    return;
  }
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  FMemo->SetText(text);
}

int TMemoStrings::Count() const { return static_cast<int>(Split().size()); }

std::string TMemoStrings::Get(int i) const {
  auto lines = Split();
  if (i < 0 || i >= static_cast<int>(lines.size())) Error(SListIndexError, i);
  return lines[i];
}

void TMemoStrings::Put(int i, const std::string& s) {
  auto lines = Split();
  if (i < 0 || i >= static_cast<int>(lines.size())) Error(SListIndexError, i);
  lines[i] = s;
  Join(lines);
}

void TMemoStrings::Insert(int i, const std::string& s) {
  auto lines = Split();
  if (i < 0 || i > static_cast<int>(lines.size())) Error(SListIndexError, i);
  lines.insert(lines.begin() + i, s);
  Join(lines);
}

void TMemoStrings::Delete(int i) {
  auto lines = Split();
  if (i < 0 || i >= static_cast<int>(lines.size())) Error(SListIndexError, i);
  lines.erase(lines.begin() + i);
  Join(lines);
}

void TMemoStrings::Clear() { Join({}); }

// Reading a stream adds line by line: the memo's text is made once, at the end.
void TMemoStrings::SetUpdateState(bool updating) {
  if (updating) {
    FPending = Split();
    FBatch = true;
  } else {
    FBatch = false;
    Join(FPending);
    FPending.clear();
  }
}

// =============================================================================================
// TCustomMemo
TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(new TMemoStrings(this)) {
  SetBounds(0, 0, 185, 89);
  SetAutoSize(false);
}

TCustomMemo::~TCustomMemo() {
  Destroying();
  delete FLines;
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.WinClassName = "KvMemo";
}

void TCustomMemo::UpdateWindow() {
  if (!HandleAllocated()) return;
  qtstd::TEditOptions o;
  o.ReadOnly = GetReadOnly();
  o.MaxLength = GetMaxLength();
  o.Alignment = FAlignment;
  o.Border = GetBorderStyle() == bsSingle;
  o.WordWrap = FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth;
  o.HorzScroll = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  o.VertScroll = FScrollBars == ssVertical || FScrollBars == ssBoth;
  qtstd::SetEditOptions(FHandle, o);
}

void TCustomMemo::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result =
        DLGC_WANTCHARS | DLGC_WANTARROWS | (FWantReturns ? DLGC_WANTALLKEYS : 0) | (FWantTabs ? DLGC_WANTTAB : 0);
    return;
  }
  // Without WantReturns, Enter belongs to the form's default button, never to the text.
  if (m.Msg == WM_KEYDOWN && m.WParam == VK_RETURN && !FWantReturns && !InState(csDesigning)) {
    uint16_t key = VK_RETURN;
    if (!DoKeyDown(key, {})) DialogKey(m, {});
    return;
  }
  TCustomEdit::Dispatch(m);
}

void TCustomMemo::SetAlignment(TAlignment v) {
  FAlignment = v;
  UpdateWindow();
}
void TCustomMemo::SetScrollBars(TScrollStyle v) {
  FScrollBars = v;
  UpdateWindow();
}
void TCustomMemo::SetWordWrap(bool v) {
  FWordWrap = v;
  UpdateWindow();
}

// =============================================================================================
// List and combo boxes.
void TCustomListControlItems::Changed() {
  TStringList::Changed();
  if (UpdateCount() == 0 && OnItemsChanged) OnItemsChanged();
}

namespace {
std::vector<std::string> ItemTexts(const TStrings* s) {
  std::vector<std::string> v;
  v.reserve(s->Count());
  for (int i = 0; i < s->Count(); ++i) v.push_back(s->Get(i));
  return v;
}

// Paints an owner-drawn item without a handler as the VCL's default does: the text on the
// selection or window colour.
void DefaultDrawItem(TCanvas* c, const std::string& text, const TRect& r, bool selected) {
  c->GetBrush()->SetColor(selected ? clHighlight : clWindow);
  c->FillRect(r);
  c->GetFont()->SetColor(selected ? clHighlightText : clWindowText);
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(r.Left + 2, r.Top, text);
}
}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(new TCustomListControlItems), FCanvas(new TControlCanvas) {
  ControlStyle = {csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csReflector};
  FCanvas->Control = this;
  FItems->OnItemsChanged = [this] { ItemsChanged(); };
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TCustomComboBox::~TCustomComboBox() {
  Destroying();
  DestroyHandle();
  delete FItems;
  delete FCanvas;
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "KvComboBox";
}

void TCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TCustomComboBox::UpdateWindow() {
  if (!HandleAllocated()) return;
  qtstd::TListOptions o;
  o.Editable = FStyle == csDropDown || FStyle == csSimple;
  o.ListAlwaysShown = FStyle == csSimple;
  o.DropDownCount = FDropDownCount;
  o.MaxLength = FMaxLength;
  o.ItemHeight = FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable ? FItemHeight : 0;
  qtstd::SetListOptions(FHandle, o);
  qtstd::SetItems(FHandle, ItemTexts(FItems));
  qtstd::SetItemIndex(FHandle, FItemIndex);
  if (o.Editable) qtstd::SetText(FHandle, FText);
  if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)
    qtstd::SetOwnerDraw(FHandle, FCanvas, [this](int i, const TRect& r, bool selected, bool focused) {
      TOwnerDrawState state;
      if (selected) state.Include(odSelected);
      if (focused) state.Include(odFocused);
      FCanvas->SetFont(GetFont());
      if (OnDrawItem) OnDrawItem(this, i, r, state);
      else DefaultDrawItem(FCanvas, FItems->Get(i), r, selected);
    });
  else qtstd::SetOwnerDraw(FHandle, nullptr, nullptr);
}

void TCustomComboBox::ItemsChanged() {
  if (HandleAllocated()) qtstd::SetItems(FHandle, ItemTexts(FItems));
  if (!StreamBusy(this) && FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (HandleAllocated()) qtstd::SetItemIndex(FHandle, FItemIndex);
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (FItemIndex >= 0) SetText(FItems->Get(FItemIndex));
  if (HandleAllocated()) qtstd::SetItemIndex(FHandle, FItemIndex);
}

void TCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND: {
      uint16_t code = (m.WParam >> 16) & 0xFFFF;
      if (!HandleAllocated()) break;
      if (code == CBN_SELCHANGE) {
        FItemIndex = qtstd::GetItemIndex(FHandle);
        FSyncing = true;
        SetText(FItemIndex >= 0 ? FItems->Get(FItemIndex) : "");
        FSyncing = false;
        Click();
        Change();
        return;
      }
      if (code == CBN_EDITCHANGE) {
        FSyncing = true;
        SetText(qtstd::GetText(FHandle));
        FSyncing = false;
        Change();
        return;
      }
      if (code == CBN_DROPDOWN) {
        DropDown();
        return;
      }
      break;
    }
    case WM_GETDLGCODE:
      m.Result = FStyle == csDropDown || FStyle == csSimple ? DLGC_WANTCHARS | DLGC_WANTARROWS : DLGC_WANTARROWS;
      return;
    case CM_TEXTCHANGED:
      if (!FSyncing) {
        if (FStyle == csDropDown || FStyle == csSimple) {
          if (HandleAllocated()) qtstd::SetText(FHandle, FText);
        } else if (!StreamBusy(this)) {
          // A list-only combo box shows an item: its text picks the item.
          FItemIndex = FItems->IndexOf(FText);
          if (FItemIndex < 0) FText.clear();
          if (HandleAllocated()) qtstd::SetItemIndex(FHandle, FItemIndex);
        }
      }
      TControl::Dispatch(m);
      return;
    default: break;
  }
  TWinControl::Dispatch(m);
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  FStyle = v;
  UpdateWindow();
}

void TCustomComboBox::SetItemIndex(int v) {
  if (StreamBusy(this)) {
    FItemIndex = v;
    return;
  }
  if (v < -1 || v >= FItems->Count()) v = -1;
  FItemIndex = v;
  if (HandleAllocated()) qtstd::SetItemIndex(FHandle, v);
  FSyncing = true;
  SetText(v >= 0 ? FItems->Get(v) : "");
  FSyncing = false;
  if (HandleAllocated() && (FStyle == csDropDown || FStyle == csSimple)) qtstd::SetText(FHandle, FText);
}

void TCustomComboBox::SetItemHeight(int v) {
  if (v > 0) FItemHeight = v;
  UpdateWindow();
}
void TCustomComboBox::SetDropDownCount(int v) {
  FDropDownCount = v;
  UpdateWindow();
}
void TCustomComboBox::SetMaxLength(int v) {
  FMaxLength = std::max(0, v);
  UpdateWindow();
}
bool TCustomComboBox::GetDroppedDown() { return HandleAllocated() && qtstd::GetDroppedDown(FHandle); }
void TCustomComboBox::SetDroppedDown(bool v) { qtstd::SetDroppedDown(Handle(), v); }
void TCustomComboBox::Clear() {
  FItems->Clear();
  SetText("");
}

// =============================================================================================
// Buttons.
TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks};
  SetTabStop(true);
}

void TButtonControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && ((m.WParam >> 16) & 0xFFFF) == BN_CLICKED) {
    Clicked();
    return;
  }
  if (m.Msg == CM_DIALOGCHAR && IsAccel(static_cast<uint16_t>(m.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    Clicked();
    m.Result = 1;
    return;
  }
  TWinControl::Dispatch(m);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.WinClassName = "KvButton";
}

void TButton::CreateWnd() {
  TButtonControl::CreateWnd();
  qtstd::SetDefaultButton(FHandle, FDefault);
}

void TButton::SetDefault(bool v) {
  FDefault = v;
  if (HandleAllocated()) qtstd::SetDefaultButton(FHandle, v);
}

bool TButton::Active() const {
  TCustomForm* f = GetParentForm(this);
  TWinControl* focused = f ? f->GetActiveControl() : nullptr;
  if (focused == this) return true;
  return FDefault && !(focused && focused->Is<TButton>() && focused->Focused());
}

void TButton::Dispatch(TMessage& m) {
  if (m.Msg == CM_DIALOGKEY) {
    bool enter = m.WParam == VK_RETURN && Active();
    bool escape = m.WParam == VK_ESCAPE && FCancel;
    if ((enter || escape) && CanFocus() && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
      Click();
      m.Result = 1;
      return;
    }
  }
  TButtonControl::Dispatch(m);
}

void TButton::Click() {
  if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
  TButtonControl::Click();
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.WinClassName = "KvCheckBox";
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  qtstd::SetCheckState(FHandle, FState);
  qtstd::SetLeftText(FHandle, FAlignment == taLeftJustifyLR);
}

void TCustomCheckBox::Clicked() {
  Toggle();
  // The widget toggled by itself; the control's state is the one that counts.
  if (HandleAllocated()) qtstd::SetCheckState(FHandle, FState);
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  if (FState == v) return;
  FState = v;
  if (HandleAllocated()) qtstd::SetCheckState(FHandle, v);
  if (!StreamBusy(this)) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight v) {
  FAlignment = v;
  if (HandleAllocated()) qtstd::SetLeftText(FHandle, v == taLeftJustifyLR);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.WinClassName = "KvRadioButton";
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  qtstd::SetCheckState(FHandle, FChecked);
  qtstd::SetLeftText(FHandle, FAlignment == taLeftJustifyLR);
}

void TRadioButton::Clicked() {
  SetChecked(true);
  if (HandleAllocated()) qtstd::SetCheckState(FHandle, FChecked);
}

void TRadioButton::SetChecked(bool v) {
  if (FChecked == v) return;
  FChecked = v;
  SetTabStop(v);
  if (HandleAllocated()) qtstd::SetCheckState(FHandle, v);
  if (!v) return;
  if (TWinControl* p = GetParent())
    for (int i = 0; i < p->ControlCount(); ++i)
      if (auto* r = Cast<TRadioButton>(p->Controls(i)); r && r != this) r->SetChecked(false);
  if (!StreamBusy(this)) Click();
}

void TRadioButton::SetAlignment(TLeftRight v) {
  FAlignment = v;
  if (HandleAllocated()) qtstd::SetLeftText(FHandle, v == taLeftJustifyLR);
}

// =============================================================================================
// TCustomListBox
TCustomListBox::TCustomListBox(TComponent* AOwner, TCustomListControlItems* items)
    : TWinControl(AOwner), FItems(items), FCanvas(new TControlCanvas) {
  ControlStyle = {csSetCaption, csDoubleClicks};
  FCanvas->Control = this;
  FItems->OnItemsChanged = [this] { ItemsChanged(); };
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TCustomListBox::~TCustomListBox() {
  Destroying();
  DestroyHandle();
  delete FItems;
  delete FCanvas;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "KvListBox";
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TCustomListBox::UpdateWindow() {
  if (!HandleAllocated()) return;
  qtstd::TListOptions o;
  o.MultiSelect = FMultiSelect;
  o.ExtendedSelect = FExtendedSelect;
  o.Columns = FColumns;
  o.ItemHeight = FStyle == lbStandard ? 0 : FItemHeight;
  o.Border = FBorderStyle == bsSingle;
  qtstd::SetListOptions(FHandle, o);
  qtstd::SetItems(FHandle, ItemTexts(FItems));
  WindowItemsSet();
  qtstd::SetItemIndex(FHandle, FItemIndex);
  if (FMultiSelect) qtstd::SetSelection(FHandle, FSelected);
  if (FStyle != lbStandard)
    qtstd::SetOwnerDraw(FHandle, FCanvas, [this](int i, const TRect& r, bool selected, bool focused) {
      TOwnerDrawState state;
      if (selected) state.Include(odSelected);
      if (focused) state.Include(odFocused);
      FCanvas->SetFont(GetFont());
      if (OnDrawItem) OnDrawItem(this, i, r, state);
      else DefaultDrawItem(FCanvas, FItems->Get(i), r, selected);
    });
  else qtstd::SetOwnerDraw(FHandle, nullptr, nullptr);
}

void TCustomListBox::ItemsChanged() {
  FSelected.assign(FItems->Count(), false);
  if (!StreamBusy(this) && FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (!HandleAllocated()) return;
  FSyncing = true;
  qtstd::SetItems(FHandle, ItemTexts(FItems));
  WindowItemsSet();
  qtstd::SetItemIndex(FHandle, FItemIndex);
  FSyncing = false;
}

void TCustomListBox::Loaded() {
  TWinControl::Loaded();
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (HandleAllocated()) qtstd::SetItemIndex(FHandle, FItemIndex);
}

void TCustomListBox::SelectionFromWindow() {
  FItemIndex = qtstd::GetItemIndex(FHandle);
  FSelected = qtstd::GetSelection(FHandle);
}

void TCustomListBox::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND && HandleAllocated()) {
    uint16_t code = (m.WParam >> 16) & 0xFFFF;
    if (code == LBN_SELCHANGE) {
      SelectionFromWindow();
      Click();
      return;
    }
    if (code == LBN_DBLCLK) {
      DblClick();
      return;
    }
  }
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  }
  TWinControl::Dispatch(m);
}

void TCustomListBox::SetItemIndex(int v) {
  if (StreamBusy(this)) {
    FItemIndex = v;
    return;
  }
  if (v < -1 || v >= FItems->Count()) v = -1;
  FItemIndex = v;
  if (!FMultiSelect) {
    FSelected.assign(FItems->Count(), false);
    if (v >= 0) FSelected[v] = true;
  }
  if (HandleAllocated()) qtstd::SetItemIndex(FHandle, v);
}

bool TCustomListBox::GetSelected(int i) const {
  if (i < 0 || i >= FItems->Count()) throw EListError(Format(SListIndexError, i));
  return i < static_cast<int>(FSelected.size()) && FSelected[i];
}

void TCustomListBox::SetSelected(int i, bool v) {
  if (i < 0 || i >= FItems->Count()) throw EListError(Format(SListIndexError, i));
  if (!FMultiSelect) {
    SetItemIndex(v ? i : (FItemIndex == i ? -1 : FItemIndex));
    return;
  }
  FSelected.resize(FItems->Count());
  FSelected[i] = v;
  if (HandleAllocated()) qtstd::SetSelection(FHandle, FSelected);
}

int TCustomListBox::SelCount() const {
  if (!FMultiSelect) return -1;
  return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), true));
}

int TCustomListBox::GetTopIndex() { return qtstd::GetTopIndex(Handle()); }
void TCustomListBox::SetTopIndex(int v) { qtstd::SetTopIndex(Handle(), v); }

void TCustomListBox::SetItemHeight(int v) {
  if (v > 0) FItemHeight = v;
  UpdateWindow();
}
void TCustomListBox::SetMultiSelect(bool v) {
  FMultiSelect = v;
  UpdateWindow();
}
void TCustomListBox::SetExtendedSelect(bool v) {
  FExtendedSelect = v;
  UpdateWindow();
}
void TCustomListBox::SetStyle(TListBoxStyle v) {
  FStyle = v;
  UpdateWindow();
}
void TCustomListBox::SetColumns(int v) {
  FColumns = std::max(0, v);
  UpdateWindow();
}
void TCustomListBox::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  UpdateWindow();
}

// =============================================================================================
// TScrollBar
TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csFramed, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "KvScrollBar";
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TScrollBar::UpdateWindow() {
  if (HandleAllocated())
    qtstd::SetScrollBar(FHandle, FKind == sbVertical, FMin, FMax, FPosition, FPageSize, FSmallChange, FLargeChange);
}

void TScrollBar::Dispatch(TMessage& m) {
  if (m.Msg == WM_COMMAND) {
    uint16_t code = (m.WParam >> 16) & 0xFFFF;
    if (code >= SBN_SCROLL && code <= SBN_SCROLL + scEndScroll) {
      int pos = static_cast<int>(m.LParam);
      Scroll(static_cast<TScrollCode>(code - SBN_SCROLL), pos);
      SetPosition(pos);
      return;
    }
  }
  TWinControl::Dispatch(m);
}

void TScrollBar::Scroll(TScrollCode code, int& pos) {
  if (OnScroll) OnScroll(this, code, pos);
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min && !StreamBusy(this)) throw EInvalidOperation("Scroll bar property out of range");
  if (!StreamBusy(this)) position = std::clamp(position, min, std::max(min, max));
  bool changed = position != FPosition;
  FMin = min;
  FMax = max;
  FPosition = position;
  UpdateWindow();
  if (changed && !StreamBusy(this)) Change();
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (FKind == v) return;
  FKind = v;
  // A new scroll bar turns on its side; one read from a stream comes with its own size.
  if (!StreamBusy(this)) SetBounds(FLeft, FTop, FHeight, FWidth);
  UpdateWindow();
}
void TScrollBar::SetPageSize(int v) {
  FPageSize = std::max(0, v);
  UpdateWindow();
}
void TScrollBar::SetSmallChange(TScrollBarInc v) {
  FSmallChange = std::max(1, v);
  UpdateWindow();
}
void TScrollBar::SetLargeChange(TScrollBarInc v) {
  FLargeChange = std::max(1, v);
  UpdateWindow();
}

// =============================================================================================
// TCustomStaticText
TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csReplicatable, csDoubleClicks};
  SetBounds(0, 0, 65, 17);
}

void TCustomStaticText::Paint() {
  TCanvas* c = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  if (FBorderStyle != sbsNone) {
    c->GetBrush()->SetColor(FBorderStyle == sbsSunken ? clBtnShadow : clWindowFrame);
    c->FrameRect(r);
    if (FBorderStyle == sbsSunken) {
      c->GetPen()->SetColor(clBtnHighlight);
      c->MoveTo(r.Right - 1, 0);
      c->LineTo(r.Right - 1, r.Bottom - 1);
      c->LineTo(-1, r.Bottom - 1);
    }
    InflateRect(r, -1, -1);
  }
  c->SetFont(GetFont());
  if (!GetEnabled()) c->GetFont()->SetColor(clGrayText);
  unsigned f = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  DrawText(c, GetCaption(), r, f | DT_WORDBREAK | (FShowAccelChar ? 0 : DT_NOPREFIX));
}

void TCustomStaticText::AdjustBounds() {
  if (!FAutoSize || StreamBusy(this)) return;
  TCanvas* c = Canvas();
  c->SetFont(GetFont());
  TRect r = Rect(0, 0, 0, 0);
  DrawText(c, GetCaption().empty() ? " " : GetCaption(), r, DT_CALCRECT | (FShowAccelChar ? 0 : DT_NOPREFIX));
  int border = FBorderStyle == sbsNone ? 0 : 2;
  SetBounds(FLeft, FTop, r.Width() + border, r.Height() + border);
}

void TCustomStaticText::Loaded() {
  TCustomControl::Loaded();
  AdjustBounds();
}

void TCustomStaticText::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      break;
    case CM_DIALOGCHAR:
      if (FocusByAccel(this, FFocusControl, FShowAccelChar, m)) return;
      break;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TCustomStaticText::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == opRemove && c == FFocusControl) FFocusControl = nullptr;
}

void TCustomStaticText::SetAlignment(TAlignment v) {
  FAlignment = v;
  Invalidate();
}
void TCustomStaticText::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustBounds();
}
void TCustomStaticText::SetBorderStyle(TStaticBorderStyle v) {
  FBorderStyle = v;
  AdjustBounds();
  Invalidate();
}
void TCustomStaticText::SetFocusControl(TWinControl* v) {
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}
void TCustomStaticText::SetShowAccelChar(bool v) {
  FShowAccelChar = v;
  AdjustBounds();
  Invalidate();
}
