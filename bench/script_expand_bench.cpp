// Expansion of the "plist.txt" example over 100,000 frames into a file, next
// to one fwrite of the same bytes into the same kind of file. Prints both per
// output megabyte and their ratio; the expansion should stay within 3 times
// the plain write. Then each of the five examples and the gallery's JSON hash
// (which uses the exact words) on their own, for a run of this program set
// against another build of it: --benchmark_filter=BM_Expand/ picks them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/text_lines.h"
#include "bench/ratio_reporter.h"
#include "script/example_scripts.h"
#include "script/line_sink.h"
#include "script/template_expansion.h"

namespace {

constexpr int kFrames = 100000;
constexpr int kColumns = 100;
constexpr int kFrameSize = 64;

struct Fixture {
  oz::FrameList frames;
  std::vector<std::string> lines;
  oz::ExpansionContext context;
  std::string expected;  // the expansion's bytes, for the plain write
};

const Fixture& fixture() {
  static const Fixture f = [] {
    Fixture made;
    for (int i = 0; i < kFrames; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "frame_%06d.png", i + 1);
      made.frames.push_back({.number = i + 1,
                             .name = name,
                             .x = (i % kColumns) * kFrameSize,
                             .y = (i / kColumns) * kFrameSize,
                             .width = kFrameSize,
                             .height = kFrameSize});
    }
    for (const oz::ExampleScript& script : oz::exampleScripts()) {
      if (script.fileName == "plist.txt") made.lines = oz::splitLines(script.text);
    }
    made.context.frames = made.frames;
    made.context.sheetWidth = kColumns * kFrameSize;
    made.context.sheetHeight = kFrames / kColumns * kFrameSize;
    made.context.sheetPath = "/Sprites/walk.png";
    made.context.sheetNumber = "1";
    oz::StringLineSink sink(&made.expected, "\n");
    oz::expandTemplate(made.lines, made.context, sink);
    return made;
  }();
  return f;
}

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

// An empty temporary file at its start, so every iteration writes anew.
void restart(FILE* file) {
  std::rewind(file);
  if (ftruncate(fileno(file), 0) != 0) std::abort();
}

oz::FrameList benchFrames() {
  oz::FrameList frames;
  for (int i = 0; i < kFrames; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", i + 1);
    frames.push_back({.number = i + 1,
                      .name = name,
                      .x = (i % kColumns) * kFrameSize,
                      .y = (i / kColumns) * kFrameSize,
                      .width = kFrameSize,
                      .height = kFrameSize});
  }
  return frames;
}

// The five examples, then the gallery's JSON hash as the source tree has it.
std::vector<std::string> benchTemplates() {
  std::vector<std::string> texts;
  for (const oz::ExampleScript& script : oz::exampleScripts()) texts.emplace_back(script.text);
  std::ifstream gallery(OZ_SOURCE_GALLERY_DIR "JSON Hash.txt", std::ios::binary);
  texts.emplace_back(std::istreambuf_iterator<char>(gallery), std::istreambuf_iterator<char>());
  return texts;
}

void BM_Expand(benchmark::State& state) {
  static const oz::FrameList frames = benchFrames();
  static const std::vector<std::string> texts = benchTemplates();
  const std::vector<std::string> lines = oz::splitLines(texts[state.range(0)]);
  oz::ExpansionContext context;
  context.frames = frames;
  context.sheetWidth = kColumns * kFrameSize;
  context.sheetHeight = kFrames / kColumns * kFrameSize;
  context.sheetPath = "/Sprites/walk.png";
  context.sheetNumber = "1";
  File file(std::tmpfile(), &std::fclose);
  for (auto _ : state) {
    restart(file.get());
    oz::StreamLineSink sink(file.get(), "\n");
    oz::expandTemplate(lines, context, sink);
    if (!sink.finish()) state.SkipWithError("write failed");
  }
}
BENCHMARK(BM_Expand)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_ExpandPlistToFile(benchmark::State& state) {
  const Fixture& f = fixture();
  File file(std::tmpfile(), &std::fclose);
  for (auto _ : state) {
    restart(file.get());
    oz::StreamLineSink sink(file.get(), "\n");
    oz::expandTemplate(f.lines, f.context, sink);
    if (!sink.finish()) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.expected.size()));
}
BENCHMARK(BM_ExpandPlistToFile)->Unit(benchmark::kMillisecond);

void BM_FwriteSameBytes(benchmark::State& state) {
  const Fixture& f = fixture();
  File file(std::tmpfile(), &std::fclose);
  for (auto _ : state) {
    restart(file.get());
    if (std::fwrite(f.expected.data(), 1, f.expected.size(), file.get()) != f.expected.size() ||
        std::fflush(file.get()) != 0) {
      state.SkipWithError("write failed");
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.expected.size()));
}
BENCHMARK(BM_FwriteSameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  oz::RatioReporter reporter(oz::RatioReporter::Clock::Processor);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto expand = reporter.time("BM_ExpandPlistToFile");
  const auto write = reporter.time("BM_FwriteSameBytes");
  if (expand && write && *write > 0) {
    const double megabytes = static_cast<double>(fixture().expected.size()) / (1024.0 * 1024.0);
    std::printf(
        "%d frames, %.1f MB: expansion %.2f ms per MB, one fwrite %.2f ms per MB, "
        "ratio %.2f (target at most 3)\n",
        kFrames, megabytes, *expand / megabytes, *write / megabytes, *expand / *write);
  }
  benchmark::Shutdown();
  return 0;
}
