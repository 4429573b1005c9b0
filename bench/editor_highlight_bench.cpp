// Time of one recolouring of a 10,000-line script, next to one pass of
// std::string::find over the same text, the floor any scan for "ov." has.
// Prints both and their ratio; the recolouring should stay under 5 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/ratio_reporter.h"
#include "editor/highlight.h"

namespace {

constexpr int kLines = 10000;

// A property-list style template, with a little non-ASCII text so the UTF-16
// position counting does real work.
std::string makeScript() {
  static const char* const kBlock[] = {
      "ov.Repeat",
      "\t\t<key>ov.ImageName</key>",
      "\t\t<dict>",
      "\t\t\t<key>frame</key>",
      "\t\t\t<string>{{ov.ImageX,ov.ImageY},{ov.ImageWidth,ov.ImageHeight}}</string>",
      "\t\t\t<key>rotated</key><false/> <!-- Größe: ov.ImageNumber of ov.ImageCount -->",
      "\t\t</dict>",
      "ov.Until",
      "\t<key>size</key><string>{ov.SheetWidth,ov.SheetHeight}</string> ov.SheetName",
      "",
  };
  std::string text = "ov.Extension = \".plist\"\n";
  for (int line = 1; line < kLines; ++line) {
    text += kBlock[line % std::size(kBlock)];
    text += '\n';
  }
  return text;
}

const std::string& script() {
  static const std::string text = makeScript();
  return text;
}

void BM_Highlight(benchmark::State& state) {
  oz::Highlighting result;
  for (auto _ : state) {
    oz::computeHighlighting(script(), &result);
    benchmark::DoNotOptimize(result.spans.data());
  }
  state.counters["spans"] = static_cast<double>(result.spans.size());
}
BENCHMARK(BM_Highlight)->Unit(benchmark::kMicrosecond);

void BM_FindPass(benchmark::State& state) {
  const std::string& text = script();
  for (auto _ : state) {
    size_t found = 0;
    for (size_t p = text.find("ov."); p != std::string::npos; p = text.find("ov.", p + 3)) ++found;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindPass)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  oz::RatioReporter reporter(oz::RatioReporter::Clock::Wall);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto highlight = reporter.time("BM_Highlight");
  const auto find = reporter.time("BM_FindPass");
  if (highlight && find && *find > 0) {
    std::printf(
        "%d lines, %zu bytes: highlighting %.1f us per call, find pass %.1f us, ratio %.2f\n",
        kLines, script().size(), *highlight, *find, *highlight / *find);
  }
  benchmark::Shutdown();
  return 0;
}
