// Reading form streams into live components and writing them back, at 1,000 and 10,000
// components, so that the growth with the number of components shows.
#include <benchmark/benchmark.h>

#include "Classes.h"

namespace {

KV_ENUM(TBenchAlign, baNone, baTop, baBottom, baClient)

class TBenchItem : public TComponent {
  KV_CLASS(TBenchItem, TComponent)
 public:
  explicit TBenchItem(TComponent* owner) : TComponent(owner), FLines(new TStringList) {}
  ~TBenchItem() override { delete FLines; }
  int GetLeft() const { return FLeft; }
  void SetLeft(int v) { FLeft = v; }
  int GetTop() const { return FTop; }
  void SetTop(int v) { FTop = v; }
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  TBenchAlign GetAlign() const { return FAlign; }
  void SetAlign(TBenchAlign v) { FAlign = v; }
  TStrings* GetLines() const { return FLines; }
  void SetLines(TStrings* v) { FLines->Assign(v); }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    if (root != this) return;  // a flat form: the root lists everything it owns
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }

 private:
  int FLeft = 0, FTop = 0;
  std::string FCaption;
  bool FEnabled = true;
  TBenchAlign FAlign = baNone;
  TStrings* FLines;
};

KV_IMPLEMENT_CLASS(TBenchItem, "BenchUnit") {
  b.Prop("Left", &TBenchItem::GetLeft, &TBenchItem::SetLeft);
  b.Prop("Top", &TBenchItem::GetTop, &TBenchItem::SetTop);
  b.Prop("Caption", &TBenchItem::GetCaption, &TBenchItem::SetCaption);
  b.Prop("Enabled", &TBenchItem::GetEnabled, &TBenchItem::SetEnabled).Default(true);
  b.Prop("Align", &TBenchItem::GetAlign, &TBenchItem::SetAlign).Default(baNone);
  b.Prop("Lines", &TBenchItem::GetLines, &TBenchItem::SetLines);
}

std::unique_ptr<TBenchItem> MakeForm(int count) {
  auto root = std::make_unique<TBenchItem>(nullptr);
  root->SetName("Form1");
  for (int i = 0; i < count; ++i) {
    auto* c = new TBenchItem(root.get());
    c->SetName("Item" + std::to_string(i + 1));
    c->SetLeft(8 + i % 40 * 12);
    c->SetTop(8 + i / 40 * 24);
    c->SetCaption("Caption of item " + std::to_string(i + 1));
    c->SetEnabled(i % 3 != 0);
    c->SetAlign(static_cast<TBenchAlign>(i % 4));
    if (i % 10 == 0) c->GetLines()->SetText("first line\r\nsecond line\r\n");
  }
  return root;
}

std::string Serialize(TComponent* root) {
  TMemoryStream s;
  s.WriteComponent(root);
  return std::string(reinterpret_cast<const char*>(s.Memory()), s.GetSize());
}

void BM_ReadIntoLiveComponents(benchmark::State& state) {
  static bool registered = (RegisterClass(TBenchItem::StaticClass()), true);
  (void)registered;
  std::string bytes = Serialize(MakeForm(static_cast<int>(state.range(0))).get());
  for (auto _ : state) {
    TMemoryStream s;
    s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    TBenchItem root(nullptr);
    s.ReadComponent(&root);
    benchmark::DoNotOptimize(root.ComponentCount());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
  state.counters["components"] = static_cast<double>(state.range(0));
}

void BM_WriteLiveComponents(benchmark::State& state) {
  auto form = MakeForm(static_cast<int>(state.range(0)));
  int64_t size = 0;
  for (auto _ : state) {
    TMemoryStream s;
    s.WriteComponent(form.get());
    size = s.GetSize();
  }
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["components"] = static_cast<double>(state.range(0));
}

}  // namespace

BENCHMARK(BM_ReadIntoLiveComponents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLiveComponents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
