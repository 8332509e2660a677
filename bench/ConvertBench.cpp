// Throughput of the binary <-> text form conversion on generated forms.
#include <benchmark/benchmark.h>

#include "Classes.h"

namespace {

// A form of `count` components: panels of ten, each holding label- and button-like records with
// integers of every width, strings, identifiers, sets, booleans, floats, string lists,
// collections and binary data.
std::string MakeForm(int count) {
  TMemoryStream s;
  {
    TWriter w(&s, 4096);
    w.WriteSignature();
    w.WritePrefix(0, 0);
    w.WriteStr("TMainForm");
    w.WriteStr("MainForm");
    w.WriteStr("Caption");
    w.WriteString("Generated form");
    w.WriteListEnd();
    int made = 1;
    for (int panel = 0; made < count; ++panel) {
      w.WriteStr("TPanel");
      w.WriteStr("Panel" + std::to_string(panel));
      w.WriteStr("Align");
      w.WriteIdent("alTop");
      w.WriteStr("Height");
      w.WriteInteger(41);
      w.WriteListEnd();
      ++made;
      for (int i = 0; i < 9 && made < count; ++i, ++made) {
        const bool button = i % 2;
        w.WriteStr(button ? "TButton" : "TLabel");
        w.WriteStr((button ? "Button" : "Label") + std::to_string(made));
        w.WriteStr("Left");
        w.WriteInteger(8 + i * 75);
        w.WriteStr("Top");
        w.WriteInteger(made * 3);
        w.WriteStr("Tag");
        w.WriteInteger(made * 100003LL);
        w.WriteStr("Caption");
        w.WriteString("Caption of component " + std::to_string(made) + (i == 3 ? std::string(80, 'x') : ""));
        w.WriteStr("Font.Style");
        w.WriteValue(vaSet);
        w.WriteStr("fsBold");
        w.WriteStr("");
        w.WriteStr("Visible");
        w.WriteBoolean(i != 4);
        w.WriteStr("Ratio");
        w.WriteFloat(made / 7.0L);
        if (i == 5) {
          w.WriteStr("Items.Strings");
          w.WriteListBegin();
          for (int k = 0; k < 5; ++k) w.WriteString("Item " + std::to_string(k));
          w.WriteListEnd();
        }
        if (i == 7) {
          w.WriteStr("Columns");
          w.WriteValue(vaCollection);
          for (int k = 0; k < 3; ++k) {
            w.WriteListBegin();
            w.WriteStr("Width");
            w.WriteInteger(64);
            w.WriteStr("Title.Caption");
            w.WriteString("Column");
            w.WriteListEnd();
          }
          w.WriteListEnd();
        }
        if (i == 8) {
          w.WriteStr("Glyph.Data");
          w.WriteValue(vaBinary);
          const uint8_t data[4 + 96] = {96};
          w.Write(data, sizeof data);
        }
        w.WriteListEnd();
        w.WriteListEnd();
      }
      w.WriteListEnd();
    }
    w.WriteListEnd();
  }
  return {reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.GetSize())};
}

std::string Convert(void (*convert)(TStream*, TStream*), const std::string& input) {
  TMemoryStream in, out;
  in.Write(input.data(), static_cast<int64_t>(input.size()));
  in.SetPosition(0);
  convert(&in, &out);
  return {reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize())};
}

void BM_BinaryToText(benchmark::State& state) {
  const std::string binary = MakeForm(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Convert(ObjectBinaryToText, binary));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(binary.size()));
  state.counters["input_bytes"] = static_cast<double>(binary.size());
}

void BM_TextToBinary(benchmark::State& state) {
  const std::string text = Convert(ObjectBinaryToText, MakeForm(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(Convert(ObjectTextToBinary, text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
  state.counters["input_bytes"] = static_cast<double>(text.size());
}

BENCHMARK(BM_BinaryToText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToBinary)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
