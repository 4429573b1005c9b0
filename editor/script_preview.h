// The live preview of a template: its expansion against the frames of an
// image folder, laid out as a build would lay them out but read from their
// headers only, and cut short at a bound so that a template that never ends
// (a huge `ov.Until`) costs no more than the bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace oz {

// The main window's choices that a template's expansion reads.
struct PreviewInputs {
  std::string imageFolder;  // empty: the example frames
  bool strip = false;
  std::string columns = "4";  // as typed
  bool powerOf2 = false;
  bool retina = false;
  std::string sheetPath;
  std::string sheetNumber = "0";
};

struct PreviewBound {
  size_t lines = 2000;
  size_t bytes = 256 * 1024;
  size_t passes = 100'000;  // loop passes, which a loop that writes no line needs
};

struct ScriptPreview {
  std::string text;         // the expansion's lines, each ended by "\n"
  size_t lines = 0;         // lines in `text`
  bool cut = false;         // the expansion went on past the bound
  std::string extension;    // what the first line names
  bool clipboard = false;   // the first line asks for the clipboard
  std::string frameSource;  // the folder whose frames were used
  size_t frameCount = 0;
  int64_t sheetWidth = 0;
  int64_t sheetHeight = 0;
};

// Expands the template `lines` against the frames of `inputs.imageFolder`, or of
// `exampleFrames` when no folder is chosen, stopping once `bound` is reached.
ScriptPreview previewScript(std::span<const std::string> lines, const PreviewInputs& inputs,
                            const std::string& exampleFrames, const PreviewBound& bound = {});

// The lines above the preview: extension and destination, the frames, and
// any cut.
std::string previewSummary(const ScriptPreview& preview, const PreviewBound& bound = {});

}  // namespace oz
