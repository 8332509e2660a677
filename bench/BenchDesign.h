// A designer window with one new design holding `count` buttons, each in a 20 x 20 cell of a
// 40-column grid, for the benchmarks of the engine and of the inspector.
#pragma once

#include "KvDsgn.h"
#include "KvFrmDsg.h"

class TfmKvObjIns;

constexpr int kBenchColumns = 40;
constexpr int kBenchCell = 20;

class TBenchDesign {
 public:
  // With showInspector, the designer's inspector window is shown and follows the design.
  explicit TBenchDesign(int count, bool showInspector = false);
  ~TBenchDesign();
  TBenchDesign(const TBenchDesign&) = delete;
  TBenchDesign& operator=(const TBenchDesign&) = delete;

  TCustomForm* Form() const { return Engine->GetForm(); }
  // The point beyond the last button, for a band over all of them from (1, 1).
  TPoint FarCorner(int count) const {
    return {kBenchColumns * kBenchCell + 2, (count / kBenchColumns + 1) * kBenchCell + 2};
  }
  void SelectAllButtons();
  int ButtonCount() const;

  TKFormDesigner* Engine = nullptr;
  TfmKvObjIns* Window = nullptr;  // the inspector window, when shown

 private:
  TForm* FHost;
  TKvFormDesigner* FDesigner;
};
