#include "script/template_turn.h"

#include "script/exact_words.h"

namespace oz {

Turn templateTurn(std::span<const std::string> lines) {
  bool anticlockwise = false;
  for (const std::string& line : lines) {
    for (const ExactUse& use : findExactWords(line).uses) {
      if (use.word->value != WordValue::ImageRotated) continue;
      if (use.word->name == "ov.ImageRotated") return Turn::Clockwise;
      anticlockwise = true;
    }
  }
  return anticlockwise ? Turn::Anticlockwise : Turn::Clockwise;
}

}  // namespace oz
