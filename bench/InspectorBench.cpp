// The inspector window on large forms: selecting one control and rebuilding its rows (2,000
// controls against 20: the ratio should stay near 1), a rubber band over 1,000 buttons with the
// rebuild of their common rows, and opening the component list of 2,000 components.
#include <benchmark/benchmark.h>

#include "BenchDesign.h"
#include "KvObjIns.h"
#include "StdCtrls.h"

namespace {

// Alternates between two buttons so that every iteration is a real selection change.
void BM_InspectorSelectOne(benchmark::State& state) {
  TBenchDesign design(static_cast<int>(state.range(0)), true);
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
  TBenchDesign design(count, true);
  const TPoint from{1, 1}, to = design.FarCorner(count);
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
  TBenchDesign design(static_cast<int>(state.range(0)), true);
  for (auto _ : state) design.Window->ComponentListDropDown(nullptr);
  state.counters["entries"] = design.Window->ComponentList->GetItems()->Count();
}
BENCHMARK(BM_InspectorComponentList)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
