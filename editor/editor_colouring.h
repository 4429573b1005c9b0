// Turns the computed highlighting into the colours the toolkit applies.
#pragma once

#include "editor/highlight.h"
#include "toolkit/toolkit.h"

namespace oz {

EditorColouring editorColouring(const Highlighting& highlighting);

}  // namespace oz
