// Expands arbitrary templates against small frame lists, checking that
// nothing crashes and that a sink taking whole runs of lines receives exactly
// what a sink taking one line at a time does: the two take different roads
// through the expansion.
//
// The input is the template, optionally followed by a NUL byte and the bytes
// that vary the frames and the sheet; without them the template is expanded
// against three 32 x 32 frames in a strip, so a plain template is a useful seed.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_lines.h"
#include "script/exact_words.h"
#include "script/line_sink.h"
#include "script/tag_replacer.h"
#include "script/template_expansion.h"
#include "script/text_replace.h"
#include "script/until_bound.h"

namespace {

// Expansion time grows with the passes the `ov.Until` lines ask for, which is
// by design; templates that could ask for more than this are skipped.
constexpr int64_t kMostPasses = 16;
constexpr size_t kLongestTemplate = 2048;

// Names that give inert values, names that can make tags and markers with
// the text around them, and names that the exact words escape or must not
// read as words.
constexpr std::array<std::string_view, 10> kTexts = {"a.png",
                                                     "1",
                                                     "",
                                                     "ov.ImageCount.png",
                                                     "o",
                                                     "ov",
                                                     "ov.Until 3",
                                                     "ov.Repeat.png",
                                                     "say\"hi\\.png",
                                                     "ov.Comma.png"};

std::string_view text(FuzzedDataProvider& input, size_t byDefault) {
  return kTexts[(byDefault + input.ConsumeIntegralInRange<size_t>(0, kTexts.size() - 1)) %
                kTexts.size()];
}

// `byDefault` plus what the input gives, wrapping: the default when the input
// has run out.
int64_t number(FuzzedDataProvider& input, int64_t byDefault) {
  return static_cast<int64_t>(static_cast<uint64_t>(byDefault) + input.ConsumeIntegral<uint64_t>());
}

struct Sheet {
  oz::FrameList frames;
  oz::ExpansionContext context;
};

Sheet sheetFrom(FuzzedDataProvider& input) {
  Sheet sheet;
  const size_t count = 3 ^ input.ConsumeIntegralInRange<size_t>(0, 7);
  for (size_t i = 0; i < count; ++i) {
    const auto position = static_cast<int64_t>(i);
    sheet.frames.push_back({number(input, position + 1), std::string(text(input, 0)),
                            number(input, 32 * position), number(input, 0), number(input, 32),
                            number(input, 32)});
  }
  sheet.context.frames = sheet.frames;
  sheet.context.sheetWidth = number(input, 32 * static_cast<int64_t>(count));
  sheet.context.sheetHeight = number(input, 32);
  sheet.context.sheetPath = "sheets/" + std::string(text(input, 0));
  sheet.context.sheetNumber = text(input, 1);
  sheet.context.divisor = input.ConsumeBool() ? 2 : 1;
  sheet.context.packed = input.ConsumeBool();
  return sheet;
}

// False when some `ov.Until` line could ask for more than kMostPasses passes:
// each line is read with its tags replaced for every frame, as the expansion
// reads it whichever frame is current. An exact word on such a line could
// give any number, so those lines count as unbounded.
bool passesBounded(const std::vector<std::string>& lines, const oz::ExpansionContext& context) {
  oz::TagReplacer tags(context);
  std::vector<const oz::FrameEntry*> frames;
  for (const oz::FrameEntry& frame : context.frames) frames.push_back(&frame);
  if (frames.empty()) frames.push_back(nullptr);
  for (const oz::FrameEntry* frame : frames) {
    tags.selectFrame(frame);
    for (const std::string& line : lines) {
      const std::string_view replaced = tags.replace(line);
      if (oz::contains(replaced, "ov.Until") &&
          (oz::readUntilBound(replaced) > kMostPasses || !oz::findExactWords(line).uses.empty())) {
        return false;
      }
    }
  }
  return true;
}

// Takes one line at a time, so the expansion cannot hand it runs of lines.
class OneLineSink final : public oz::LineSink {
 public:
  void line(std::string_view text) override { (out_ += text) += '\n'; }
  const std::string& out() const { return out_; }

 private:
  std::string out_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t split = std::min(bytes.rfind('\0'), bytes.size());
  if (split > kLongestTemplate) return 0;
  FuzzedDataProvider input(data + split, size - split);
  const Sheet sheet = sheetFrom(input);
  const std::vector<std::string> lines = oz::splitLines(bytes.substr(0, split));
  if (!passesBounded(lines, sheet.context)) return 0;

  std::string runs;
  oz::StringLineSink runSink(&runs, "\n");
  oz::expandTemplate(lines, sheet.context, runSink);
  OneLineSink lineSink;
  oz::expandTemplate(lines, sheet.context, lineSink);
  if (runs != lineSink.out()) std::abort();
  return 0;
}
