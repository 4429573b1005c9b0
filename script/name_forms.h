// The escaped forms in which the scripts write an animation's name, which
// the build compares so that no two animations come out the same in one.
#pragma once

#include <string_view>
#include <vector>

#include "sheet/animation.h"

namespace oz {

// `name` as ov.AnimationNameJSON, ov.AnimationNameXML and ov.AnimationNameCSS
// write it, then as the class a page gives it (htmlClassName, written in an
// attribute): "walk left" and "walk-left" are one class
// (BuildOptions::animationNameForms).
std::vector<NameForm> scriptNameForms(std::string_view name);

}  // namespace oz
