// The live preview of a template: its expansion against the frames of an
// image folder with the options a build would be given now, laid out as that
// build would lay them out but read from their headers only, and cut short at
// a bound so that a template that never ends costs no more than the bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "sheet/build_sheet.h"

namespace oz {

struct PreviewBound {
  size_t lines = 2000;
  size_t bytes = 256 * 1024;
  size_t passes = 100'000;  // loop passes, which a loop that writes no line needs
};

// Which bound ended an expansion that went on past it.
enum class PreviewCut { None, Lines, Bytes, Passes };

struct ScriptPreview {
  std::string text;  // the expansion's lines, each ended by "\n"
  size_t lines = 0;  // lines in `text`
  PreviewCut cut = PreviewCut::None;
  std::string extension;    // what the first line names
  bool clipboard = false;   // the first line asks for the clipboard
  std::string frameSource;  // the folder whose frames were used
  size_t frameCount = 0;
  int64_t sheetWidth = 0;  // the first sheet's
  int64_t sheetHeight = 0;
  size_t sheetCount = 1;    // the packed layout may need several
  bool cellsApart = false;  // identical frames would share a cell in the build
  bool untrimmed = false;   // the packed build would trim the frames
};

// Expands the template `lines` as the script export after a build with
// `options` would, against the frames of `options.imageFolder`, or of
// `exampleFrames` when no folder is chosen, stopping once `bound` is reached.
// The text is the exported script's, except that with `options.dedupe` every
// frame keeps a cell of its own (`cellsApart`), and that packed frames are
// packed whole, as if `options.trim` were off (`untrimmed`). With several
// packed sheets, each sheet's script follows the one before.
ScriptPreview previewScript(std::span<const std::string> lines, const BuildOptions& options,
                            const std::string& exampleFrames, const PreviewBound& bound = {});

// The lines above the preview: extension and destination, the frames (and
// that identical ones are shown apart or untrimmed), the sheets when there
// are several, and any cut, naming only the bound
// reached so that the note fits the pane's narrow width.
std::string previewSummary(const ScriptPreview& preview, const PreviewBound& bound = {});

}  // namespace oz
