// A designer component with one new design and its inspector window shown, driven by real
// input: keys typed into the value editors, posted messages run by the event loop. Message
// boxes are recorded, never shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KvFrmDsg.h"
#include "KvObjIns.h"
#include "StdCtrls.h"

class InspectorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  template <class T>
  T* Add(const std::string& name, int left = 8, int top = 8, int width = 75, int height = 25) {
    auto* c = new T(Form());
    c->SetName(name);
    c->SetBounds(left, top, width, height);
    c->SetParent(Form());
    return c;
  }
  TCustomForm* Form() const { return Engine->GetForm(); }
  // Selects the components in the engine and lets the inspector rebuild its rows.
  void Select(std::initializer_list<TComponent*> components);
  int RowOf(const std::string& name) const;
  // Makes the named row current, as a click on it does; false when there is none.
  bool GoTo(const std::string& name);
  std::string Cell(int col, int row) const { return Window->PropertyGrid->Cells(col, row); }
  std::vector<std::string> Names() const;
  // Replaces the edit box's text key by key (letters arrive in lower case), then a key.
  void Type(const std::string& text);
  void Key(uint16_t vk);
  // Moves the focus from the value editor to the grid, as a click on the grid does.
  void Leave();
  void Pump();

  TForm* Host = nullptr;
  TKvFormDesigner* Designer = nullptr;
  TKFormDesigner* Engine = nullptr;
  TKvObjectInspector* Inspector = nullptr;
  TfmKvObjIns* Window = nullptr;
  std::vector<std::string> Boxes;
};
