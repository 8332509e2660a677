// A designer component with its window and one new design, driven by real input events.
#pragma once

#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "Forms.h"
#include "KvDsgn.h"
#include "KvFrmDsg.h"
#include "StdCtrls.h"
#include "Windows.h"

// Answers the next modal form (a dialog shown by the code under test) with a modal result,
// once its modal loop runs; `fill` may set its controls first.
void AnswerNextModal(TModalResult result, std::function<void(TCustomForm*)> fill = nullptr);

class DesignerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A control of class T on parent (the form when null) at the given bounds, named.
  template <class T>
  T* Add(const std::string& name, int left, int top, int width, int height, TWinControl* parent = nullptr) {
    auto* c = new T(Form());
    c->SetName(name);
    c->SetBounds(left, top, width, height);
    c->SetParent(parent ? parent : Form());
    return c;
  }

  TCustomForm* Form() const { return Engine->GetForm(); }
  // Mouse input at a form-client point, as the platform delivers it.
  void Press(TPoint p, intptr_t keys = 0);
  void MoveTo(TPoint p, intptr_t keys = MK_LBUTTON);
  void Release(TPoint p);
  void Drag(TPoint from, TPoint to, intptr_t keys = 0);
  std::vector<TComponent*> Selection() const;

  TForm* Host = nullptr;
  TKvFormDesigner* Designer = nullptr;
  TKFormDesigner* Engine = nullptr;
  std::string RecoveryFolder;
};
