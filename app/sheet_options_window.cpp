#include "app/sheet_options_window.h"

#include <iterator>
#include <string_view>

#include "sheet/color_depth.h"
#include "store/sprite_settings.h"

namespace oz {
namespace {

// One choice of the window: a tick box, the line under it, the option it
// sets, how it is stored, and the depths at which it applies.
struct OptionRow {
  int tick;
  std::string_view caption;
  int note;
  std::string_view noteText;
  bool SpriteOptions::*option;
  void (*store)(SettingsStore&, bool);
  bool (*appliesAt)(int64_t depth);
};

constexpr bool everyDepth(int64_t) { return true; }

constexpr OptionRow kRows[] = {
    {Control::PremultipliedAlpha, "Premultiplied Alpha", Control::PremultipliedAlphaNote,
     "Colour multiplied by alpha, for premultiplied textures.", &SpriteOptions::premultipliedAlpha,
     writePremultipliedAlpha, everyDepth},
    {Control::Transparent, "Transparent", Control::TransparentNote,
     "8-bit and 4-bit keep transparency in the palette.", &SpriteOptions::transparent,
     writeTransparent, transparentAllowed},
};

constexpr int kWidth = 380;
constexpr int kMargin = 15;
constexpr int kTickHeight = 20;
constexpr int kNoteIndent = 22;  // under the caption, past the box
constexpr int kNoteHeight = 18;
constexpr int kRowGap = 12;
constexpr int kRowHeight = kTickHeight + kNoteHeight + kRowGap;
constexpr int kHeight = 2 * kMargin + static_cast<int>(std::size(kRows)) * kRowHeight - kRowGap;

}  // namespace

SheetOptionsWindow::SheetOptionsWindow(Toolkit& toolkit, SettingsStore& settings)
    : toolkit_(toolkit), settings_(settings) {}

void SheetOptionsWindow::restore(const SpriteOptions& stored) {
  for (const OptionRow& row : kRows) chosen_.*row.option = stored.*row.option;
}

void SheetOptionsWindow::open(int depth) {
  const WindowStyle style{.closeButton = true,
                          .minimiseButton = false,
                          .resizable = false,
                          .placement = Placement::CentredOverActiveWindow,
                          .menuBar = false,
                          .closesWithEscape = true};
  const int w = Window::SheetOptions;
  if (!toolkit_.openWindow(w, kSheetOptionsTitle, kWidth, kHeight, style)) return;
  toolkit_.hideZoomButton(w);
  int y = kMargin;
  for (const OptionRow& row : kRows) {
    toolkit_.createCheckBox(w, row.tick, {kMargin, y, kWidth - 2 * kMargin, kTickHeight},
                            row.caption);
    toolkit_.setState(row.tick, chosen_.*row.option ? 1 : 0);
    toolkit_.createLabel(
        w, row.note,
        {kMargin + kNoteIndent, y + kTickHeight, kWidth - 2 * kMargin - kNoteIndent, kNoteHeight},
        row.noteText, LabelAlign::Left);
    y += kRowHeight;
  }
  followDepth(depth);
}

void SheetOptionsWindow::followDepth(int depth) {
  if (!toolkit_.isWindowOpen(Window::SheetOptions)) return;
  for (const OptionRow& row : kRows) {
    const bool applies = row.appliesAt(depth);
    toolkit_.setEnabled(row.tick, applies);
    toolkit_.setEnabled(row.note, applies);
  }
}

bool SheetOptionsWindow::handleControl(int control) {
  for (const OptionRow& row : kRows) {
    if (row.tick != control) continue;
    // A click queued just before the window closed finds no tick to read.
    if (!toolkit_.isWindowOpen(Window::SheetOptions)) return true;
    const bool ticked = toolkit_.state(row.tick) == 1;
    chosen_.*row.option = ticked;
    row.store(settings_, ticked);
    return true;
  }
  return false;
}

void SheetOptionsWindow::applyTo(BuildOptions& options) const {
  for (const OptionRow& row : kRows) {
    options.*row.option = chosen_.*row.option && row.appliesAt(options.colorDepth);
  }
}

}  // namespace oz
