// How the design engine's work grows with the number of controls on the designed form: a
// rubber band over all of them, deleting them all, and naming one more. Each runs at 250 and
// 1,000 controls; the ratio between the two (4 for linear growth) is what to watch.
#include <benchmark/benchmark.h>

#include "BenchDesign.h"
#include "DsgnIntf.h"
#include "StdCtrls.h"

namespace {

void BM_RubberBandOverAll(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TBenchDesign design(count);
  const TPoint from{1, 1}, to = design.FarCorner(count);
  for (auto _ : state) {
    SendInput(design.Form(), WM_LBUTTONDOWN, from, MK_LBUTTON);
    SendInput(design.Form(), WM_MOUSEMOVE, to, MK_LBUTTON);
    SendInput(design.Form(), WM_LBUTTONUP, to);
    Application->ProcessMessages();  // and the handles painted, as the user sees them
  }
  TComponentList selected;
  design.Engine->GetSelections(&selected);
  if (selected.Count() != count) state.SkipWithError("the band did not select every button");
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RubberBandOverAll)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_DeleteAllSelected(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    int left = 0;
    {
      TBenchDesign design(count);
      design.SelectAllButtons();
      state.ResumeTiming();
      design.Engine->KeyDown(design.Form(), VK_DELETE);
      state.PauseTiming();
      left = design.ButtonCount();  // the engine's own label and handles stay
    }
    if (left) {
      state.SkipWithError("buttons were left");
      break;
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DeleteAllSelected)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_UniqueNameAmongMany(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TBenchDesign design(count);
  for (auto _ : state) benchmark::DoNotOptimize(design.Engine->UniqueName("TButton"));
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_UniqueNameAmongMany)->Arg(250)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
