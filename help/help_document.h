// The help text shown in the Help window.
#pragma once

#include <string>

namespace oz {

// The help document as rich text (the HTML subset a rich-text view reads): a
// sans-serif body at 14 points, bold 18-point headings, bulleted lists with a
// hanging indent, and links to the full edition's store page and the support
// forum.
std::string helpDocument();

}  // namespace oz
