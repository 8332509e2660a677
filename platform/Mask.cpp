#include "Mask.h"

#include <cctype>

#include "Consts.h"
#include "TypInfo.h"
#include "qt/QtStdCtrls.h"

KV_IMPLEMENT_CLASS(TCustomMaskEdit, "Mask") {}

KV_IMPLEMENT_CLASS(TMaskEdit, "Mask") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("AutoSelect", &TCustomEdit::GetAutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
  b.Prop("AutoSize", &TCustomEdit::GetAutoSize, &TCustomEdit::SetAutoSize).Default(true);
  PublishControlProperties(b, {"BiDiMode"});
  b.Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  b.Prop("CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
  PublishWindowColor(b);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  b.Prop("EditMask", &TCustomMaskEdit::GetEditMask, &TCustomMaskEdit::SetEditMask);
  PublishControlProperties(b, {"Font", "ImeMode", "ImeName"});
  b.Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength).Default(0);
  PublishControlProperties(b, {"ParentBiDiMode", "ParentCtl3D", "ParentFont", "ParentShowHint"});
  b.Prop("PasswordChar", &TCustomEdit::GetPasswordChar, &TCustomEdit::SetPasswordChar).Default(0);
  PublishControlProperties(b, {"PopupMenu"});
  b.Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  PublishControlProperties(b, {"ShowHint", "TabOrder"});
  PublishTabStop(b, true);
  PublishControlProperties(b, {"Text", "Visible"});
  b.Prop("OnChange", &TCustomEdit::OnChange);
  PublishControlProperties(
      b, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
          "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

void RegisterMaskClasses() { RegisterClasses({TMaskEdit::StaticClass()}); }

// =============================================================================================
// Masks
TEditMaskInfo ParseEditMask(const std::string& editMask) {
  TEditMaskInfo info;
  // The fields are split at the last two unquoted semicolons, as a literal ';' needs a quote.
  std::vector<size_t> seps;
  for (size_t i = 0; i < editMask.size(); ++i) {
    if (editMask[i] == '\\') ++i;
    else if (editMask[i] == ';') seps.push_back(i);
  }
  std::string mask = editMask;
  if (seps.size() >= 2) {
    size_t a = seps[seps.size() - 2], b = seps.back();
    std::string save = editMask.substr(a + 1, b - a - 1);
    info.SaveLiterals = save.empty() || save[0] != '0';
    if (b + 1 < editMask.size()) info.Blank = editMask[b + 1];
    mask = editMask.substr(0, a);
  } else if (seps.size() == 1) {
    std::string save = editMask.substr(seps[0] + 1);
    info.SaveLiterals = save.empty() || save[0] != '0';
    mask = editMask.substr(0, seps[0]);
  }
  TMaskCase current = TMaskCase::None;
  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    TMaskChar place;
    switch (c) {
      case '!': info.LeadingBlanks = true; continue;
      case '>':
        if (i + 1 < mask.size() && mask[i + 1] == '<') {
          current = TMaskCase::None;
          ++i;
        } else {
          current = TMaskCase::Upper;
        }
        continue;
      case '<':
        if (i + 1 < mask.size() && mask[i + 1] == '>') {
          current = TMaskCase::None;
          ++i;
        } else {
          current = TMaskCase::Lower;
        }
        continue;
      case '\\':
        if (++i >= mask.size()) continue;
        place.Literal = mask[i];
        break;
      case 'L':
      case 'l': place.Kind = TMaskCharKind::Letter; break;
      case 'A':
      case 'a': place.Kind = TMaskCharKind::AlphaNum; break;
      case 'C':
      case 'c': place.Kind = TMaskCharKind::Any; break;
      case '0':
      case '9': place.Kind = TMaskCharKind::Digit; break;
      case '#': place.Kind = TMaskCharKind::DigitOrSign; break;
      case '_': place.Literal = ' '; break;
      default: place.Literal = c; break;
    }
    if (place.Kind != TMaskCharKind::Literal) {
      place.Required = c == 'L' || c == 'A' || c == 'C' || c == '0';
      place.Case = current;
    }
    info.Chars.push_back(place);
  }
  return info;
}

bool MaskCharFits(const TMaskChar& place, char ch) {
  auto u = static_cast<unsigned char>(ch);
  switch (place.Kind) {
    case TMaskCharKind::Letter: return std::isalpha(u) || u >= 0x80;
    case TMaskCharKind::AlphaNum: return std::isalnum(u) || u >= 0x80;
    case TMaskCharKind::Any: return u >= 0x20;
    case TMaskCharKind::Digit: return std::isdigit(u);
    case TMaskCharKind::DigitOrSign: return std::isdigit(u) || ch == '+' || ch == '-';
    default: return ch == place.Literal;
  }
}

namespace {
char MaskPlaceChar(const TMaskChar& place, char ch) {
  auto u = static_cast<unsigned char>(ch);
  if (place.Case == TMaskCase::Upper) return static_cast<char>(std::toupper(u));
  if (place.Case == TMaskCase::Lower) return static_cast<char>(std::tolower(u));
  return ch;
}
}  // namespace

std::string MaskedEditText(const TEditMaskInfo& mask, const std::string& value) {
  const auto& places = mask.Chars;
  std::string out(places.size(), mask.Blank);
  std::vector<size_t> free;  // the character places, in order
  for (size_t i = 0; i < places.size(); ++i) {
    if (places[i].Kind == TMaskCharKind::Literal) out[i] = places[i].Literal;
    else free.push_back(i);
  }
  auto put = [&](size_t i, char ch) {
    if (ch != ' ' && ch != mask.Blank && MaskCharFits(places[i], ch)) out[i] = MaskPlaceChar(places[i], ch);
  };
  if (mask.SaveLiterals) {
    for (size_t i : free)
      if (i < value.size()) put(i, value[i]);
  } else {
    // Leading blanks: a short value fills the last places.
    size_t skip = mask.LeadingBlanks && value.size() < free.size() ? free.size() - value.size() : 0;
    for (size_t k = skip, j = 0; k < free.size() && j < value.size(); ++k, ++j) put(free[k], value[j]);
  }
  return out;
}

std::string MaskedText(const TEditMaskInfo& mask, const std::string& editText) {
  std::string out;
  for (size_t i = 0; i < mask.Chars.size(); ++i) {
    bool literal = mask.Chars[i].Kind == TMaskCharKind::Literal;
    if (literal && !mask.SaveLiterals) continue;
    char c = i < editText.size() ? editText[i] : mask.Blank;
    out += !literal && c == mask.Blank ? ' ' : c;
  }
  return out;
}

std::string FormatMaskText(const std::string& editMask, const std::string& value) {
  TEditMaskInfo mask = ParseEditMask(editMask);
  std::string s = MaskedEditText(mask, value);
  for (size_t i = 0; i < s.size(); ++i)
    if (mask.Chars[i].Kind != TMaskCharKind::Literal && s[i] == mask.Blank) s[i] = ' ';
  return s;
}

// =============================================================================================
// TCustomMaskEdit
TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const std::string& v) {
  if (v == FEditMask) return;
  FEditMask = v;
  FMask = ParseEditMask(v);
  // Delphi's masked edit limits the text to the mask.
  if (IsMasked()) SetMaxLength(static_cast<int>(FMask.Chars.size()));
  if (HandleAllocated()) {
    qtstd::SetEditMask(FHandle, FMask);
    UpdateWindow();
  }
  // The text stays as a value under the new mask.
  SetText(IsMasked() ? MaskedText(FMask, MaskedEditText(FMask, FText)) : FText);
  if (HandleAllocated()) qtstd::SetText(FHandle, WindowText(FText));
}

std::string TCustomMaskEdit::GetEditText() const { return WindowText(FText); }

void TCustomMaskEdit::SetEditText(const std::string& v) {
  if (!IsMasked()) return SetText(v);
  TEditMaskInfo positional = FMask;
  positional.SaveLiterals = true;  // an edit text has its literals in their places
  SetText(MaskedText(FMask, MaskedEditText(positional, v)));
}

std::string TCustomMaskEdit::WindowText(const std::string& text) const {
  return IsMasked() ? MaskedEditText(FMask, text) : text;
}

std::string TCustomMaskEdit::TextOfWindow(const std::string& windowText) const {
  return IsMasked() ? MaskedText(FMask, windowText) : windowText;
}

void TCustomMaskEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  if (!IsMasked()) return;
  qtstd::SetEditMask(FHandle, FMask);
  qtstd::SetText(FHandle, WindowText(FText));
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked()) return;
  std::string shown = GetEditText();
  for (size_t i = 0; i < FMask.Chars.size(); ++i) {
    if (!FMask.Chars[i].Required || shown[i] != FMask.Blank) continue;
    if (HandleAllocated()) {
      SetSelStart(static_cast<int>(i));
      if (CanFocus()) SetFocus();
    }
    throw EDBEditError(SMaskEditErr);
  }
}

void TCustomMaskEdit::DoEnter() {
  FEnterText = FText;
  SetModified(false);
  TCustomEdit::DoEnter();
}

void TCustomMaskEdit::DoExit() {
  if (IsMasked() && GetModified() && !InState(csDesigning)) ValidateEdit();
  TCustomEdit::DoExit();
}

void TCustomMaskEdit::Dispatch(TMessage& m) {
  // Escape abandons the changes made since the edit took the focus.
  if (m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE && IsMasked() && GetModified() && !InState(csDesigning)) {
    SetText(FEnterText);
    SetModified(false);
    SelectAll();
    return;
  }
  TCustomEdit::Dispatch(m);
}
