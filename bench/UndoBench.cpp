// Undo and redo of one move cost the same on a form of 20 and of 2,000 controls (a step holds
// what it changed, never the form); copying and pasting 500 controls.
#include <benchmark/benchmark.h>

#include "BenchDesign.h"
#include "StdCtrls.h"

namespace {

void BM_UndoRedoOneMove(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TBenchDesign design(count);
  design.Engine->SelectComponent(design.Form()->FindComponent("Button1"));
  design.Engine->KeyCommand(VK_RIGHT, {ssCtrl});
  if (!design.Engine->CanUndo()) state.SkipWithError("the move made no step");
  for (auto _ : state) {
    design.Engine->Undo();
    design.Engine->Redo();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoRedoOneMove)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_CopyPaste500(benchmark::State& state) {
  TBenchDesign design(500);
  design.SelectAllButtons();
  for (auto _ : state) {
    const std::string text = design.Engine->SelectionText();
    design.Engine->PasteText(text);
    state.PauseTiming();
    design.Engine->Undo();
    design.SelectAllButtons();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_CopyPaste500)->Unit(benchmark::kMillisecond);

}  // namespace
