#include "script/template_turn.h"

#include <vector>

#include "script/exact_words.h"
#include "script/layout_lines.h"

namespace oz {

Turn templateTurn(std::span<const std::string> lines) {
  // Only packed sheets hold turned frames: only their lines count.
  std::vector<std::string> kept;
  bool anticlockwise = false;
  for (const std::string& line : linesForLayout(lines, true, &kept)) {
    for (const ExactUse& use : findExactWords(line).uses) {
      if (use.word->value != WordValue::ImageRotated) continue;
      if (use.word->name == "ov.ImageRotated") return Turn::Clockwise;
      anticlockwise = true;
    }
  }
  return anticlockwise ? Turn::Anticlockwise : Turn::Clockwise;
}

}  // namespace oz
