// ExtCtrls: the controls whose edges the user drags, the splitter and the Win 3.1 header.
#include <algorithm>

#include "Consts.h"
#include "ExtCtrls.h"
#include "SysUtils.h"

// =============================================================================================
// TSplitter
TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = {csCaptureMouse};
  SetAlign(alLeft);
  FWidth = 3;
  FHeight = 100;
  SetCursor(crHSplit);
}

TControl* TSplitter::FindControl() const {
  TWinControl* parent = GetParent();
  if (!parent) return nullptr;
  // The edge that touches the splitter on its alignment side.
  TPoint p;
  switch (GetAlign()) {
    case alLeft: p = {FLeft - 1, FTop + FHeight / 2}; break;
    case alRight: p = {FLeft + FWidth, FTop + FHeight / 2}; break;
    case alTop: p = {FLeft + FWidth / 2, FTop - 1}; break;
    case alBottom: p = {FLeft + FWidth / 2, FTop + FHeight}; break;
    default: return nullptr;
  }
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c != this && c->GetVisible() && c->GetAlign() == GetAlign() && PtInRect(c->BoundsRect(), p)) return c;
  }
  return nullptr;
}

int TSplitter::SizeFor(int x, int y) const {
  int delta = Horizontal() ? x - FDownPos.X : y - FDownPos.Y;
  if (GetAlign() == alRight || GetAlign() == alBottom) delta = -delta;
  int size = FStartSize + delta;
  // Room left for the client area: what the other side of the splitter can give up.
  TWinControl* parent = GetParent();
  int room = 0;
  if (parent) {
    TRect client = parent->GetClientRect();
    int used = 0;
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* c = parent->Controls(i);
      if (!c->GetVisible()) continue;
      if (Horizontal() && (c->GetAlign() == alLeft || c->GetAlign() == alRight)) used += c->GetWidth();
      if (!Horizontal() && (c->GetAlign() == alTop || c->GetAlign() == alBottom)) used += c->GetHeight();
    }
    room = (Horizontal() ? client.Width() : client.Height()) - used + ControlSize(FControl) - FMinSize;
  }
  return std::clamp(size, FMinSize, std::max(FMinSize, room));
}

void TSplitter::ApplySize(int size) {
  bool accept = true;
  OnCanResize(this, size, accept);
  if (!accept || !FControl) return;
  if (Horizontal()) {
    if (GetAlign() == alRight)
      FControl->SetBounds(FControl->GetLeft() + FControl->GetWidth() - size, FControl->GetTop(), size,
                          FControl->GetHeight());
    else FControl->SetWidth(size);
  } else {
    if (GetAlign() == alBottom)
      FControl->SetBounds(FControl->GetLeft(), FControl->GetTop() + FControl->GetHeight() - size, FControl->GetWidth(),
                          size);
    else FControl->SetHeight(size);
  }
}

// The line that shows where the splitter will land, drawn and erased by inverting.
void TSplitter::DrawLine() {
  int delta = FNewSize - FStartSize;
  if (GetAlign() == alRight || GetAlign() == alBottom) delta = -delta;
  TRect r = BoundsRect();
  if (Horizontal()) OffsetRect(r, delta, 0);
  else OffsetRect(r, 0, delta);
  DrawXorFrame(GetParent(), r);
  FLineShown = !FLineShown;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FControl = FindControl();
  if (!FControl) return;
  FDownPos = {x, y};
  FStartSize = FNewSize = ControlSize(FControl);
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) DrawLine();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FControl) return;
  int size = SizeFor(x, y);
  if (size == FNewSize) return;
  if (FResizeStyle == rsUpdate) {
    // The splitter follows the neighbour, so the next mouse position is again relative to it.
    ApplySize(size);
    FStartSize = FNewSize = ControlSize(FControl);
    return;
  }
  if (FLineShown) DrawLine();
  FNewSize = size;
  if (FResizeStyle != rsNone) DrawLine();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FControl) return;
  if (FLineShown) DrawLine();
  if (FResizeStyle != rsUpdate) {
    FNewSize = SizeFor(x, y);
    ApplySize(FNewSize);
  }
  FControl = nullptr;
  OnMoved(this);
}

void TSplitter::Paint() {
  TCanvas* c = Canvas();
  TRect r = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  if (FBeveled) {
    c->GetPen()->SetColor(clBtnHighlight);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->GetPen()->SetColor(clBtnShadow);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left, r.Bottom - 1);
  }
  OnPaint(this);
}

// =============================================================================================
// THeader
THeader::THeader(TComponent* AOwner) : TCustomControl(AOwner), FSections(new TStringList) {
  ControlStyle = {csOpaque, csCaptureMouse};
  SetBounds(0, 0, 250, 25);
  FSections->OnChange = [this](TObject*) {
    SyncWidths();
    Invalidate();
  };
}

THeader::~THeader() {
  Destroying();
  delete FSections;
}

// Widths follow their texts when sections are inserted, deleted or moved; a new text starts
// at the default width.
void THeader::SyncWidths() {
  std::vector<int> widths(FSections->Count(), DefaultSectionWidth);
  std::vector<bool> used(FWidthKeys.size(), false);
  for (int i = 0; i < FSections->Count(); ++i) {
    std::string text = FSections->Get(i);
    size_t found = FWidthKeys.size();
    if (static_cast<size_t>(i) < FWidthKeys.size() && !used[i] && FWidthKeys[i] == text) {
      found = i;
    } else {
      for (size_t k = 0; k < FWidthKeys.size(); ++k)
        if (!used[k] && FWidthKeys[k] == text) {
          found = k;
          break;
        }
    }
    if (found < FWidthKeys.size()) {
      used[found] = true;
      widths[i] = FWidths[found];
    }
  }
  FWidths = std::move(widths);
  FWidthKeys.clear();
  for (int i = 0; i < FSections->Count(); ++i) FWidthKeys.push_back(FSections->Get(i));
}

int THeader::GetSectionWidth(int i) const {
  if (i < 0 || i >= static_cast<int>(FWidths.size())) throw EListError(Format(SListIndexError, i));
  return FWidths[i];
}

void THeader::SetSectionWidth(int i, int width) {
  if (i < 0 || i >= static_cast<int>(FWidths.size())) throw EListError(Format(SListIndexError, i));
  FWidths[i] = std::max(0, width);
  Invalidate();
}

void THeader::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  Invalidate();
}

int THeader::SectionLeft(int i) const {
  int x = FBorderStyle == bsSingle ? 1 : 0;
  for (int k = 0; k < i; ++k) x += FWidths[k];
  return x;
}

int THeader::SectionEdgeAt(int x) const {
  for (int i = 0; i < static_cast<int>(FWidths.size()); ++i) {
    int edge = SectionLeft(i + 1);
    if (x >= edge - 2 && x <= edge + 2) return i;
  }
  return -1;
}

// Widths as Delphi's THeader streams them: a list of integers after the Sections strings.
// "width,text" strings are read as well.
void THeader::DefineProperties(TFiler* filer) {
  TCustomControl::DefineProperties(filer);
  filer->DefineProperty(
      "InternalSections", [this](TReader* r) { ReadSections(r); }, [this](TWriter* w) { WriteSections(w); },
      FSections->Count() > 0);
}

void THeader::ReadSections(TReader* reader) {
  reader->ReadListBegin();
  int i = 0;
  std::vector<std::pair<int, std::string>> pairs;
  while (!reader->EndOfList()) {
    TValueType t = reader->NextValue();
    if (t == vaString || t == vaLString || t == vaWString || t == vaUTF8String) {
      std::string s = reader->ReadString();
      size_t comma = s.find(',');
      int w = DefaultSectionWidth;
      if (comma == std::string::npos || !TryStrToInt(s.substr(0, comma), w))
        throw EReadError(Format("Invalid section '%s' in InternalSections", s));
      pairs.emplace_back(w, s.substr(comma + 1));
    } else {
      int w = reader->ReadInteger();
      if (i < static_cast<int>(FWidths.size())) FWidths[i] = std::max(0, w);
      ++i;
    }
  }
  reader->ReadListEnd();
  if (!pairs.empty()) {
    FSections->BeginUpdate();
    FSections->Clear();
    for (const auto& p : pairs) FSections->Add(p.second);
    FSections->EndUpdate();
    for (size_t k = 0; k < pairs.size(); ++k) FWidths[k] = std::max(0, pairs[k].first);
  }
}

void THeader::WriteSections(TWriter* writer) {
  writer->WriteListBegin();
  for (int w : FWidths) writer->WriteInteger(w);
  writer->WriteListEnd();
}

void THeader::Paint() {
  TCanvas* c = Canvas();
  TRect client = GetClientRect();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(client);
  if (FBorderStyle == bsSingle) {
    c->GetBrush()->SetColor(clBlack);
    c->FrameRect(client);
    InflateRect(client, -1, -1);
  }
  c->SetFont(GetFont());
  int x = client.Left;
  for (int i = 0; i < static_cast<int>(FWidths.size()) && x < client.Right; ++i) {
    // The last section reaches the right edge.
    int right = i + 1 == static_cast<int>(FWidths.size()) ? client.Right : std::min(client.Right, x + FWidths[i]);
    TRect r = Rect(x, client.Top, right, client.Bottom);
    if (r.Width() > 0) {
      TRect in = r;
      in.Right -= 1;
      Frame3D(c, in, clBtnHighlight, clBtnShadow, 1);
      c->GetPen()->SetColor(clBlack);
      c->MoveTo(r.Right - 1, r.Top);
      c->LineTo(r.Right - 1, r.Bottom);
      c->GetBrush()->SetStyle(bsClear);
      std::string text = FSections->Get(i);
      c->TextRect(in, in.Left + 3, in.Top + (in.Height() - c->TextHeight(text)) / 2, text);
      c->GetBrush()->SetStyle(bsSolid);
    }
    x = right;
  }
}

void THeader::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !FAllowResize) return;
  FResizeSection = SectionEdgeAt(x);
  if (FResizeSection >= 0) FMouseOffset = x - SectionLeft(FResizeSection + 1);
}

void THeader::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FResizeSection >= 0) {
    int width = std::max(0, x - FMouseOffset - SectionLeft(FResizeSection));
    OnSizing(this, FResizeSection, width);
    SetSectionWidth(FResizeSection, width);
    return;
  }
  SetCursor(FAllowResize && SectionEdgeAt(x) >= 0 ? crHSplit : crDefault);
}

void THeader::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (FResizeSection < 0) return;
  int section = FResizeSection;
  FResizeSection = -1;
  OnSized(this, section, FWidths[section]);
}

// =============================================================================================
// Published properties, in the VCL's order.
KV_IMPLEMENT_CLASS(TSplitter, "ExtCtrls") {
  b.Prop("Align", &TControl::GetAlign, &TControl::SetAlign).Default(alLeft);
  b.Prop("AutoSnap", &TSplitter::GetAutoSnap, &TSplitter::SetAutoSnap).Default(true);
  b.Prop("Beveled", &TSplitter::GetBeveled, &TSplitter::SetBeveled).Default(true);
  PublishControlProperties(b, {"Color", "Constraints"});
  b.Prop("Cursor", &TControl::GetCursor, &TControl::SetCursor).Type(TypeInfoTCursor()).Default(crHSplit);
  b.Prop("MinSize", &TSplitter::GetMinSize, &TSplitter::SetMinSize).Default(30);
  PublishControlProperties(b, {"ParentColor"});
  b.Prop("ResizeStyle", &TSplitter::GetResizeStyle, &TSplitter::SetResizeStyle).Default(rsPattern);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnCanResize", &TSplitter::OnCanResize);
  b.Prop("OnMoved", &TSplitter::OnMoved);
  b.Prop("OnPaint", &TSplitter::OnPaint);
}

KV_IMPLEMENT_CLASS(THeader, "ExtCtrls") {
  PublishControlProperties(b, {"Align"});
  b.Prop("AllowResize", &THeader::GetAllowResize, &THeader::SetAllowResize).Default(true);
  PublishControlProperties(b, {"Anchors"});
  b.Prop("BorderStyle", &THeader::GetBorderStyle, &THeader::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishControlProperties(b, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "ParentFont",
                               "ParentShowHint", "PopupMenu"});
  b.Prop("Sections", &THeader::GetSections, &THeader::SetSections);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, false);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnSizing", &THeader::OnSizing);
  b.Prop("OnSized", &THeader::OnSized);
  PublishControlProperties(b, {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown",
                               "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}
