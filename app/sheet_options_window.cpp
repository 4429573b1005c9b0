#include "app/sheet_options_window.h"

#include <algorithm>
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
constexpr bool quantiserApplies(int64_t depth) {
  const SheetForm form = depthInfo(depth).form;
  return form == SheetForm::Palette8 || form == SheetForm::Palette4;
}
constexpr bool transparentAllowed(int64_t depth) { return depthInfo(depth).transparencyAllowed; }

constexpr OptionRow kRows[] = {
    {Control::PremultipliedAlpha, "Premultiplied Alpha", Control::PremultipliedAlphaNote,
     "Colour multiplied by alpha, for premultiplied textures.", &SpriteOptions::premultipliedAlpha,
     writePremultipliedAlpha, everyDepth},
    {Control::Transparent, "Transparent", Control::TransparentNote,
     "8-bit and 4-bit keep transparency in the palette.", &SpriteOptions::transparent,
     writeTransparent, transparentAllowed},
    {Control::AlphaBleeding, "Alpha Bleeding", Control::AlphaBleedingNote,
     "Invisible pixels take the nearest visible colour.", &SpriteOptions::bleed, writeAlphaBleeding,
     everyDepth},
    {Control::IdenticalFramesOnce, "Identical Frames Once", Control::IdenticalFramesOnceNote,
     "A repeated frame shares the first one's place.", &SpriteOptions::dedupe,
     writeIdenticalFramesOnce, everyDepth},
};

// A number of pixels: a caption, and a field that counts from 0 to `largest`.
struct PixelRow {
  int field;
  int label;
  std::string_view caption;
  int32_t SpriteOptions::*option;
  int32_t largest;
  void (*store)(SettingsStore&, int);
};

constexpr PixelRow kPixelRows[] = {
    {Control::Spacing, Control::SpacingLabel, "Spacing between frames:", &SpriteOptions::spacing,
     kMaxSpacing, writeSpacing},
    {Control::Border, Control::BorderLabel, "Border around the sheet:", &SpriteOptions::border,
     kMaxBorder, writeBorder},
    {Control::Extrude, Control::ExtrudeLabel, "Extrude frame edges:", &SpriteOptions::extrude,
     kMaxExtrude, writeExtrude},
};

// The quantiser's list, its entries in the order of PaletteQuantiser.
constexpr std::string_view kQuantiserCaption = "Palette quantiser:";
constexpr std::string_view kQuantiserEntries[] = {"Neural network", "K-means"};
static_assert(std::size(kQuantiserEntries) == kQuantiserNames.size());
constexpr std::string_view kQuantiserNoteText =
    "8-bit and 4-bit. K-means: colours closer to the frames.";

constexpr int kWidth = 380;
constexpr int kMargin = 15;
constexpr int kTickHeight = 20;
constexpr int kNoteIndent = 22;  // under the caption, past the box
constexpr int kNoteHeight = 18;
constexpr int kRowGap = 12;
constexpr int kRowHeight = kTickHeight + kNoteHeight + kRowGap;
constexpr int kFieldWidth = 70;
constexpr int kFieldHeight = 24;
constexpr int kFieldGap = 8;
constexpr int kListWidth = 140;
constexpr int kHeight =
    2 * kMargin + static_cast<int>(std::size(kRows)) * kRowHeight + kFieldHeight + kNoteHeight +
    kRowGap + static_cast<int>(std::size(kPixelRows)) * (kFieldHeight + kFieldGap) - kFieldGap;

}  // namespace

SheetOptionsWindow::SheetOptionsWindow(Toolkit& toolkit, SettingsStore& settings)
    : toolkit_(toolkit), settings_(settings) {}

void SheetOptionsWindow::restore(const SpriteOptions& stored) {
  for (const OptionRow& row : kRows) chosen_.*row.option = stored.*row.option;
  for (const PixelRow& row : kPixelRows) chosen_.*row.option = stored.*row.option;
  chosen_.quantiser = stored.quantiser;
}

void SheetOptionsWindow::open(int depth) {
  const WindowStyle& style = kFixedDialogStyle;
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
  const int listX = kWidth - kMargin - kListWidth;
  toolkit_.createLabel(w, Control::QuantiserLabel, {kMargin, y, listX - kMargin, kFieldHeight},
                       kQuantiserCaption, LabelAlign::Left);
  toolkit_.createList(w, Control::Quantiser, {listX, y, kListWidth, kFieldHeight});
  for (std::string_view entry : kQuantiserEntries) toolkit_.addListEntry(Control::Quantiser, entry);
  toolkit_.setState(Control::Quantiser, static_cast<int>(chosen_.quantiser));
  toolkit_.createLabel(
      w, Control::QuantiserNote,
      {kMargin + kNoteIndent, y + kFieldHeight, kWidth - 2 * kMargin - kNoteIndent, kNoteHeight},
      kQuantiserNoteText, LabelAlign::Left);
  y += kFieldHeight + kNoteHeight + kRowGap;
  for (const PixelRow& row : kPixelRows) {
    const int fieldX = kWidth - kMargin - kFieldWidth;
    toolkit_.createLabel(w, row.label, {kMargin, y, fieldX - kMargin, kFieldHeight}, row.caption,
                         LabelAlign::Left);
    toolkit_.createSpinField(w, row.field, {fieldX, y, kFieldWidth, kFieldHeight}, 0, row.largest);
    toolkit_.setState(row.field, chosen_.*row.option);
    y += kFieldHeight + kFieldGap;
  }
  followDepth(depth);
}

void SheetOptionsWindow::followDepth(int depth) {
  depth_ = depth;
  if (!toolkit_.isWindowOpen(Window::SheetOptions)) return;
  for (const OptionRow& row : kRows) {
    // Premultiplied, an invisible pixel holds no colour to give it.
    const bool applies = row.appliesAt(depth) &&
                         !(row.option == &SpriteOptions::bleed && chosen_.premultipliedAlpha);
    toolkit_.setEnabled(row.tick, applies);
    toolkit_.setEnabled(row.note, applies);
  }
  for (int control : {Control::QuantiserLabel, Control::Quantiser, Control::QuantiserNote}) {
    toolkit_.setEnabled(control, quantiserApplies(depth));
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
    followDepth(depth_);
    return true;
  }
  if (control == Control::Quantiser) {
    if (!toolkit_.isWindowOpen(Window::SheetOptions)) return true;
    const int chosen = toolkit_.state(Control::Quantiser);
    if (chosen < 0 || chosen >= static_cast<int>(std::size(kQuantiserEntries))) return true;
    chosen_.quantiser = static_cast<PaletteQuantiser>(chosen);
    writeQuantiser(settings_, chosen_.quantiser);
    return true;
  }
  for (const PixelRow& row : kPixelRows) {
    if (row.field != control) continue;
    if (!toolkit_.isWindowOpen(Window::SheetOptions)) return true;
    const int pixels = std::clamp(toolkit_.state(row.field), 0, row.largest);
    chosen_.*row.option = pixels;
    row.store(settings_, pixels);
    return true;
  }
  return false;
}

void SheetOptionsWindow::applyTo(BuildOptions& options) const {
  for (const OptionRow& row : kRows) {
    options.*row.option = chosen_.*row.option && row.appliesAt(options.colorDepth);
  }
  for (const PixelRow& row : kPixelRows) options.*row.option = chosen_.*row.option;
  options.quantiser =
      quantiserApplies(options.colorDepth) ? chosen_.quantiser : PaletteQuantiser::Network;
  // Premultiplied, an invisible pixel holds no colour to give it.
  if (options.premultipliedAlpha) options.bleed = false;
}

}  // namespace oz
