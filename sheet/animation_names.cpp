#include "sheet/animation_names.h"

#include <string_view>
#include <unordered_map>

namespace oz {
namespace {

BuildRefusal clashOf(const Animation& first, const Animation& second, std::string_view form,
                     std::string text) {
  return {BuildProblem::AnimationNamesClash,
          {},
          AnimationNameClash{first.name, second.name, std::string(form), std::move(text)}};
}

}  // namespace

std::optional<BuildRefusal> animationNamesClash(const AnimationList& animations,
                                                const NameForms& forms) {
  std::unordered_map<std::string_view, size_t> byName;
  // For each form, the animation that first gave each text.
  std::vector<std::unordered_map<std::string, size_t>> byText;
  for (size_t i = 0; i < animations.size(); ++i) {
    const Animation& animation = animations[i];
    const auto [named, fresh] = byName.emplace(animation.name, i);
    if (!fresh) return clashOf(animations[named->second], animation, {}, animation.name);
    if (!forms) continue;
    const std::vector<NameForm> written = forms(animation.name);
    byText.resize(written.size());
    for (size_t f = 0; f < written.size(); ++f) {
      const auto [found, first] = byText[f].emplace(written[f].text, i);
      if (!first) {
        return clashOf(animations[found->second], animation, written[f].form, written[f].text);
      }
    }
  }
  return std::nullopt;
}

}  // namespace oz
