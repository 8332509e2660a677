// Creating, showing and destroying a form of 2,000 controls, against the same tree of plain
// QWidgets built in the same run (the ratio of the two is what to watch). The baseline is Qt
// itself, so this file, unlike the library's users, includes Qt.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QWidget>

#include "Forms.h"

namespace {

constexpr int kPanels = 100;
constexpr int kPerPanel = 19;  // 100 panels + 1,900 children = 2,000 controls

class TBenchPanel : public TCustomControl {
  KV_CLASS(TBenchPanel, TCustomControl)
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas()->GetBrush()->SetColor(GetColor());
    Canvas()->FillRect(GetClientRect());
  }
};
KV_IMPLEMENT_CLASS(TBenchPanel, "ControlsBench") {}

TRect PanelBounds(int p) { return Bounds((p % 10) * 100, (p / 10) * 60, 96, 56); }
TRect ChildBounds(int c) { return Bounds(2 + (c % 5) * 18, 2 + (c / 5) * 13, 16, 12); }

void BM_FormOf2000Controls(benchmark::State& state) {
  Application->Initialize();
  for (auto _ : state) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 1000, 600);
    for (int p = 0; p < kPanels; ++p) {
      auto* panel = new TBenchPanel(form);
      panel->SetBoundsRect(PanelBounds(p));
      panel->SetParent(form);
      for (int c = 0; c < kPerPanel; ++c) {
        auto* child = new TBenchPanel(form);
        child->SetBoundsRect(ChildBounds(c));
        child->SetColor(clBlue);
        child->SetParent(panel);
      }
    }
    form->Show();
    Application->ProcessMessages();
    form->Repaint();
    delete form;
  }
  state.SetItemsProcessed(state.iterations() * kPanels * (kPerPanel + 1));
}
BENCHMARK(BM_FormOf2000Controls)->Unit(benchmark::kMillisecond);

void BM_PlainQWidgetTreeOf2000(benchmark::State& state) {
  std::vector<int> parents{-1};
  std::vector<TRect> bounds{Bounds(0, 0, 1000, 600)};
  for (int p = 0; p < kPanels; ++p) {
    int pi = static_cast<int>(parents.size());
    parents.push_back(0);
    bounds.push_back(PanelBounds(p));
    for (int c = 0; c < kPerPanel; ++c) {
      parents.push_back(pi);
      bounds.push_back(ChildBounds(c));
    }
  }
  Application->Initialize();  // the Qt application the widgets need
  for (auto _ : state) {
    std::vector<QWidget*> widgets(parents.size());
    for (size_t i = 0; i < parents.size(); ++i) {
      widgets[i] = parents[i] < 0 ? new QWidget : new QWidget(widgets[parents[i]]);
      widgets[i]->setGeometry(bounds[i].Left, bounds[i].Top, bounds[i].Width(), bounds[i].Height());
    }
    widgets[0]->show();
    QCoreApplication::processEvents();
    widgets[0]->repaint();
    delete widgets[0];
  }
  state.SetItemsProcessed(state.iterations() * kPanels * (kPerPanel + 1));
}
BENCHMARK(BM_PlainQWidgetTreeOf2000)->Unit(benchmark::kMillisecond);

}  // namespace
