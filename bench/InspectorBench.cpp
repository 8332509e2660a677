// The inspector window on large forms: selecting one control and rebuilding its rows (2,000
// controls against 20: the ratio should stay near 1), a rubber band over 1,000 buttons with the
// rebuild of their common rows, and opening the component list of 2,000 components.
#include <benchmark/benchmark.h>

#include "KvDsgn.h"
#include "KvFrmDsg.h"
#include "KvObjIns.h"
#include "KvReg.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace {

constexpr int kInsColumns = 40;
constexpr int kInsCell = 20;

// A designer window with one new design holding `count` buttons, its inspector shown.
class TInspectedDesign {
 public:
  explicit TInspectedDesign(int count) {
    RegisterStandardClasses();
    KvReg::Register();
    FHost = new TForm(Application);
    FDesigner = new TKvFormDesigner(FHost);
    FDesigner->NewForm();
    Engine = FDesigner->FDesignerWindow->CurrentDesigner();
    Window = FDesigner->ObjectInspector()->Form();
    FDesigner->ObjectInspector()->Show();
    TCustomForm* form = Engine->GetForm();
    form->SetBounds(0, 0, kInsColumns * kInsCell + 40, (count / kInsColumns + 1) * kInsCell + 60);
    for (int i = 0; i < count; ++i) {
      auto* b = new TButton(form);
      b->SetName("Button" + std::to_string(i + 1));
      b->SetBounds((i % kInsColumns) * kInsCell + 4, (i / kInsColumns) * kInsCell + 4, kInsCell - 4, kInsCell - 4);
      b->SetParent(form);
    }
    Application->ProcessMessages();
    form->Perform(WM_ACTIVATE, WA_CLICKACTIVE, 0);
    Application->ProcessMessages();
  }
  ~TInspectedDesign() {
    FDesigner->FDesignerWindow->CloseAllDesigners();
    delete FHost;
    Application->ProcessMessages();
  }
  TInspectedDesign(const TInspectedDesign&) = delete;
  TInspectedDesign& operator=(const TInspectedDesign&) = delete;

  TCustomForm* Form() const { return Engine->GetForm(); }
  TKFormDesigner* Engine = nullptr;
  TfmKvObjIns* Window = nullptr;

 private:
  TForm* FHost;
  TKvFormDesigner* FDesigner;
};

// Alternates between two buttons so that every iteration is a real selection change.
void BM_InspectorSelectOne(benchmark::State& state) {
  TInspectedDesign design(static_cast<int>(state.range(0)));
  TComponent* pair[2] = {design.Form()->FindComponent("Button1"), design.Form()->FindComponent("Button2")};
  int k = 0;
  for (auto _ : state) {
    design.Engine->SelectComponent(pair[k ^= 1]);
    Application->ProcessMessages();  // the posted message rebuilds the rows
  }
  state.counters["rows"] = design.Window->Rows()->Count();
}
BENCHMARK(BM_InspectorSelectOne)->Arg(20)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_InspectorBandOverAll(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TInspectedDesign design(count);
  const TPoint from{1, 1}, to{kInsColumns * kInsCell + 2, (count / kInsColumns + 1) * kInsCell + 2};
  for (auto _ : state) {
    // Only the band and the rebuild that follows count: selecting the form again does not.
    state.PauseTiming();
    design.Engine->SelectComponent(design.Form());
    Application->ProcessMessages();
    state.ResumeTiming();
    SendInput(design.Form(), WM_LBUTTONDOWN, from, MK_LBUTTON);
    SendInput(design.Form(), WM_MOUSEMOVE, to, MK_LBUTTON);
    SendInput(design.Form(), WM_LBUTTONUP, to);
    Application->ProcessMessages();
  }
  state.counters["rows"] = design.Window->Rows()->Count();
}
BENCHMARK(BM_InspectorBandOverAll)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_InspectorComponentList(benchmark::State& state) {
  TInspectedDesign design(static_cast<int>(state.range(0)));
  for (auto _ : state) design.Window->ComponentListDropDown(nullptr);
  state.counters["entries"] = design.Window->ComponentList->GetItems()->Count();
}
BENCHMARK(BM_InspectorComponentList)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
