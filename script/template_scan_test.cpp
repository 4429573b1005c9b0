#include "script/template_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace oz {
namespace {

std::string joined(const std::vector<std::string_view>& pieces) {
  std::string text;
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

// The one-pass replacement must give what the tag-by-tag replacement gives
// whenever the scan and the values say it may be used. Lines and names are
// built from fragments that make near-misses, joins and real tags likely.
TEST(TemplateScan, OnePassMatchesTagByTagReplacementWheneverAllowed) {
  // Lines mix tags with pieces that complete a name after an inserted value;
  // names and sheet texts are made of pieces that start or end a name.
  std::vector<std::string> lineParts = {"ov.ImageX",     "ov.ImageName", "ov.ImageNumber",
                                        "ov.ImageCount", "ov.SheetName", "ov.SheetNumber",
                                        "ov.SheetWidth", "ov.Repeat",    "ov.Until"};
  lineParts.insert(lineParts.end(), {"v.ImageCount", ".SheetNumber", "v.Until", "v.Repeat",
                                     "ImageCount", "o", "ov", "v.", " "});
  const std::vector<std::string> valueParts = {"o", "ov", "ov.", "v.", "Image", "Count", "w", "1"};
  std::mt19937 random(12345);
  const auto pick = [&](const std::vector<std::string>& parts, size_t most) {
    std::string text;
    const size_t count = random() % (most + 1);
    for (size_t i = 0; i < count; ++i) text += parts[random() % parts.size()];
    return text;
  };

  int compared = 0;
  int leftToTheReference = 0;
  for (int round = 0; round < 4000; ++round) {
    FrameList frames = {{.number = 1, .name = pick(valueParts, 3) + ".png", .x = 3, .width = 9},
                        {.number = 2, .name = pick(valueParts, 4), .x = 12, .width = 9}};
    ExpansionContext context{.frames = frames,
                             .sheetWidth = 21,
                             .sheetHeight = 9,
                             .sheetPath = "/s/" + pick(valueParts, 2),
                             .sheetNumber = pick(valueParts, 2),
                             .divisor = 1};
    const std::vector<std::string> lines = {pick(lineParts, 6), pick(lineParts, 6)};
    const TemplateScan scan(lines, std::nullopt);
    TagReplacer tags(context);
    for (const FrameEntry& frame : frames) {
      tags.selectFrame(&frame);
      for (size_t i = 0; i < lines.size(); ++i) {
        const ScannedLine& line = scan.line(i);
        if (!line.inertJoins || !tags.textValuesInert()) {
          ++leftToTheReference;
          continue;
        }
        std::vector<std::string_view> pieces;
        piecesWithValues(scan, line, tags, &pieces);
        const std::string fast = joined(pieces);
        const std::string reference(tags.replace(lines[i]));
        ASSERT_EQ(fast, reference)
            << "line: " << lines[i] << "\nname: " << frame.name << "\nsheet: " << context.sheetPath
            << " #" << context.sheetNumber;
        EXPECT_EQ(line.repeat, reference.find("ov.Repeat") != std::string::npos);
        EXPECT_EQ(line.until, reference.find("ov.Until") != std::string::npos);
        ++compared;
      }
    }
  }
  // Both kinds must occur often, or the fragments test nothing.
  EXPECT_GT(compared, 2000);
  EXPECT_GT(leftToTheReference, 2000);
}

}  // namespace
}  // namespace oz
