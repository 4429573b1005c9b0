// Animation names that a script could not tell apart, refused before a build
// writes anything.
#pragma once

#include <optional>

#include "sheet/animation.h"
#include "sheet/build_refusal.h"

namespace oz {

// The refusal of the first two `animations` whose names are equal or give
// the same text in one of `forms` (empty: only equal names clash). Nothing
// when every name stays apart in every form. Linear in the animations.
std::optional<BuildRefusal> animationNamesClash(const AnimationList& animations,
                                                const NameForms& forms);

}  // namespace oz
