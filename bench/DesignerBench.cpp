// How the design engine's work grows with the number of controls on the designed form: a
// rubber band over all of them, deleting them all, and naming one more. Each runs at 250 and
// 1,000 controls; the ratio between the two (4 for linear growth) is what to watch.
#include <benchmark/benchmark.h>

#include "DsgnIntf.h"
#include "KvDsgn.h"
#include "KvFrmDsg.h"
#include "KvReg.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace {

constexpr int kColumns = 40;
constexpr int kCell = 20;  // each button sits in a 20 x 20 cell of a 40-column grid

// A designer window with one new design holding `count` buttons.
class TBenchDesign {
 public:
  explicit TBenchDesign(int count) {
    RegisterStandardClasses();
    KvReg::Register();
    FHost = new TForm(Application);
    FDesigner = new TKvFormDesigner(FHost);
    FDesigner->NewForm();
    Engine = FDesigner->FDesignerWindow->CurrentDesigner();
    TCustomForm* form = Engine->GetForm();
    form->SetBounds(0, 0, kColumns * kCell + 40, (count / kColumns + 1) * kCell + 60);
    for (int i = 0; i < count; ++i) {
      auto* b = new TButton(form);
      b->SetName("Button" + std::to_string(i + 1));
      b->SetBounds((i % kColumns) * kCell + 4, (i / kColumns) * kCell + 4, kCell - 4, kCell - 4);
      b->SetParent(form);
    }
    Application->ProcessMessages();
    form->Perform(WM_ACTIVATE, WA_CLICKACTIVE, 0);
  }
  ~TBenchDesign() {
    FDesigner->FDesignerWindow->CloseAllDesigners();  // no save prompts
    delete FHost;
    Application->ProcessMessages();
  }
  TBenchDesign(const TBenchDesign&) = delete;
  TBenchDesign& operator=(const TBenchDesign&) = delete;

  TCustomForm* Form() const { return Engine->GetForm(); }
  void SelectAllButtons() {
    TComponentList list;
    for (int i = 0; i < Form()->ComponentCount(); ++i)
      if (dynamic_cast<TButton*>(Form()->Components(i))) list.Add(Form()->Components(i));
    Engine->SetSelections(&list);
    Engine->ShowSelect();  // as a band or a click leaves them: with their handles shown
    Application->ProcessMessages();
  }

  int ButtonCount() const {
    int n = 0;
    for (int i = 0; i < Form()->ComponentCount(); ++i) n += dynamic_cast<TButton*>(Form()->Components(i)) != nullptr;
    return n;
  }

  TKFormDesigner* Engine = nullptr;

 private:
  TForm* FHost;
  TKvFormDesigner* FDesigner;
};

void BM_RubberBandOverAll(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TBenchDesign design(count);
  const TPoint from{1, 1}, to{kColumns * kCell + 2, (count / kColumns + 1) * kCell + 2};
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
