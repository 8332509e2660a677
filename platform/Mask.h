// Mask: the masked edit. An EditMask of Delphi's form "mask;save literals;blank" makes the edit
// show its literals and blanks (EditText) while Text holds what the user entered, with or
// without the literals.
#pragma once

#include <string>
#include <vector>

#include "StdCtrls.h"

// One position of a parsed mask: a literal, or a place for one character of a class.
enum class TMaskCharKind : uint8_t { Literal, Letter, AlphaNum, Any, Digit, DigitOrSign };
enum class TMaskCase : uint8_t { None, Upper, Lower };
struct TMaskChar {
  TMaskCharKind Kind = TMaskCharKind::Literal;
  char Literal = 0;
  bool Required = false;
  TMaskCase Case = TMaskCase::None;
};

struct TEditMaskInfo {
  std::vector<TMaskChar> Chars;  // empty: no mask
  bool SaveLiterals = true;
  char Blank = '_';
  // The mask's own "!": optional characters left out show as leading blanks.
  bool LeadingBlanks = false;
};

// L l A a C c 0 9 # are character places (upper case: required), > < <> switch the case, a
// backslash quotes the next character, _ is a space, : and / are the time and date separators;
// all other characters are literals. The fields after the mask: "0" keeps literals out of Text, and the
// blank character.
TEditMaskInfo ParseEditMask(const std::string& editMask);
// Whether ch may stand at a place of the mask (after the place's case conversion).
bool MaskCharFits(const TMaskChar& place, char ch);
// The text as the edit shows it: literals in place, characters converted to the place's case,
// blanks for the places that value leaves empty or cannot fill. With SaveLiterals, value lies
// over the mask position by position; without, its characters fill the places in turn.
std::string MaskedEditText(const TEditMaskInfo& mask, const std::string& value);
// Text from what the edit shows: blanks as spaces, without literals unless SaveLiterals.
std::string MaskedText(const TEditMaskInfo& mask, const std::string& editText);
// Delphi's FormatMaskText: value formatted by the mask, blanks as spaces.
std::string FormatMaskText(const std::string& editMask, const std::string& value);

// Raised when a masked edit is left with a required place empty.
class EDBEditError : public Exception {
 public:
  using Exception::Exception;
};

class TCustomMaskEdit : public TCustomEdit {
  KV_CLASS(TCustomMaskEdit, TCustomEdit)
 public:
  explicit TCustomMaskEdit(TComponent* AOwner);
  void Dispatch(TMessage& message) override;

  std::string GetEditMask() const { return FEditMask; }
  void SetEditMask(const std::string& v);
  bool IsMasked() const { return !FMask.Chars.empty(); }
  // What the edit shows, with literals and blanks.
  std::string GetEditText() const;
  void SetEditText(const std::string& v);
  // EDBEditError when a required place is empty; the caret goes there.
  virtual void ValidateEdit();

 protected:
  void CreateWnd() override;
  void DoEnter() override;
  void DoExit() override;
  std::string WindowText(const std::string& text) const override;
  std::string TextOfWindow(const std::string& windowText) const override;

 private:
  std::string FEditMask;
  TEditMaskInfo FMask;
  std::string FEnterText;  // Text when the edit took the focus: Escape brings it back
};

class TMaskEdit : public TCustomMaskEdit {
  KV_CLASS(TMaskEdit, TCustomMaskEdit)
 public:
  using TCustomMaskEdit::TCustomMaskEdit;
};

void RegisterMaskClasses();
