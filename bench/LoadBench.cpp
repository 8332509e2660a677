// Reading a form of 1,000 and of 10,000 labels: linear loading makes the second take ten times
// the first (the fitted complexity says N). Each label's Loaded once realigned its whole
// parent, which made it a hundred times.
#include <benchmark/benchmark.h>

#include <string>

#include "Forms.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace {

// The binary form stream of a scrolling form holding `count` auto-sized labels.
std::string FormOfLabels(int count) {
  RegisterStandardClasses();
  TForm form(nullptr);
  form.SetName("Form1");
  for (int i = 0; i < count; ++i) {
    auto* label = new TLabel(&form);
    label->SetName("Label" + std::to_string(i + 1));
    label->SetCaption("Label " + std::to_string(i + 1));
    label->SetBounds(8 + (i % 10) * 80, 8 + (i / 10) * 16, 70, 13);
    label->SetParent(&form);
  }
  TMemoryStream s;
  s.WriteComponent(&form);
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize()));
}

void BM_ReadFormOfLabels(benchmark::State& state) {
  Application->Initialize();
  const int count = static_cast<int>(state.range(0));
  const std::string stream = FormOfLabels(count);
  for (auto _ : state) {
    TMemoryStream s;
    s.Write(stream.data(), static_cast<int64_t>(stream.size()));
    s.SetPosition(0);
    TForm form(nullptr);
    s.ReadComponent(&form);
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.SetComplexityN(count);
}
BENCHMARK(BM_ReadFormOfLabels)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace
