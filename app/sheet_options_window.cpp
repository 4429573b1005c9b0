#include "app/sheet_options_window.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "sheet/color_depth.h"
#include "store/sprite_settings.h"

namespace oz {
namespace {

constexpr int kMargin = 15;
constexpr int kColumnWidth = 350;
constexpr int kColumnGap = 30;
constexpr int kWidth = 2 * kMargin + 2 * kColumnWidth + kColumnGap;
constexpr int kTickHeight = 20;
constexpr int kNoteIndent = 22;  // under the caption, past the box
constexpr int kNoteHeight = 18;
constexpr int kRowGap = 12;
constexpr int kFieldWidth = 70;
constexpr int kWideFieldWidth = 110;  // for a text in place of the number
constexpr int kFieldHeight = 24;
constexpr int kFieldGap = 8;
constexpr int kListWidth = 140;

// Whether a row's choice does anything, given the window's other choices and
// the main window's depth.
using Applies = bool (*)(const SpriteOptions& chosen, int64_t depth);

constexpr bool always(const SpriteOptions&, int64_t) { return true; }
constexpr bool atPaletteDepths(const SpriteOptions&, int64_t depth) {
  const SheetForm form = depthInfo(depth).form;
  return form == SheetForm::Palette8 || form == SheetForm::Palette4;
}
constexpr bool transparencyAllowed(const SpriteOptions&, int64_t depth) {
  return depthInfo(depth).transparencyAllowed;
}
// Premultiplied, an invisible pixel holds no colour to give it.
constexpr bool withStraightAlpha(const SpriteOptions& chosen, int64_t) {
  return !chosen.premultipliedAlpha;
}
constexpr bool whenPacked(const SpriteOptions& chosen, int64_t) { return chosen.packed; }
constexpr bool whenTrimmed(const SpriteOptions& chosen, int64_t) {
  return chosen.packed && chosen.trim;
}

// A tick box, the line under it, the option it sets and how it is stored.
struct TickRow {
  int tick;
  std::string_view caption;
  int note;
  std::string_view noteText;
  bool SpriteOptions::*option;
  void (*store)(SettingsStore&, bool);
  Applies applies;
};

constexpr TickRow kTicks[] = {
    {Control::PremultipliedAlpha, "Premultiplied Alpha", Control::PremultipliedAlphaNote,
     "Colour multiplied by alpha, for premultiplied textures.", &SpriteOptions::premultipliedAlpha,
     writePremultipliedAlpha, always},
    {Control::Transparent, "Transparent", Control::TransparentNote,
     "8-bit and 4-bit keep transparency in the palette.", &SpriteOptions::transparent,
     writeTransparent, transparencyAllowed},
    {Control::AlphaBleeding, "Alpha Bleeding", Control::AlphaBleedingNote,
     "Invisible pixels take the nearest visible colour.", &SpriteOptions::bleed, writeAlphaBleeding,
     withStraightAlpha},
    {Control::IdenticalFramesOnce, "Identical Frames Once", Control::IdenticalFramesOnceNote,
     "A repeated frame shares the first one's place.", &SpriteOptions::dedupe,
     writeIdenticalFramesOnce, always},
    {Control::TrimTransparentEdges, "Trim Transparent Edges", Control::TrimTransparentEdgesNote,
     "Each frame stored cut to its visible pixels.", &SpriteOptions::trim, writeTrim, whenPacked},
    {Control::AllowRotation, "Allow Rotation", Control::AllowRotationNote,
     "Frames may be stored turned, to pack tighter.", &SpriteOptions::rotate, writeRotation,
     whenPacked},
    {Control::SeveralSheets, "Several Sheets When Needed", Control::SeveralSheetsNote,
     "Frames that do not fit one sheet go onto more.", &SpriteOptions::multipack,
     writeSeveralSheets, whenPacked},
    {Control::SquareSheets, "Square Sheets", Control::SquareSheetsNote,
     "Each sheet as wide as it is high.", &SpriteOptions::square, writeSquareSheets, whenPacked},
};

// A number: a caption, and a field that counts from 0 to `largest`.
struct FieldRow {
  int field;
  int label;
  std::string_view caption;
  int32_t SpriteOptions::*option;
  int32_t largest;
  void (*store)(SettingsStore&, int);
  Applies applies;
  // What the field shows at 0 when 0 is none chosen, given the other
  // choices; nothing where 0 is a number like any other.
  std::string (*noneChosen)(const SpriteOptions&) = nullptr;
  int width = kFieldWidth;
};

// The rate that applies while none is chosen, as the script gives it.
std::string defaultFrameRate(const SpriteOptions& chosen) {
  SpriteOptions unchosen = chosen;
  unchosen.frameRate = 0;
  return std::to_string(frameRateOf(unchosen)) + " (default)";
}

constexpr FieldRow kFields[] = {
    {Control::Spacing, Control::SpacingLabel, "Spacing between frames:", &SpriteOptions::spacing,
     kMaxSpacing, writeSpacing, always},
    {Control::Border, Control::BorderLabel, "Border around the sheet:", &SpriteOptions::border,
     kMaxBorder, writeBorder, always},
    {Control::Extrude, Control::ExtrudeLabel, "Extrude frame edges:", &SpriteOptions::extrude,
     kMaxExtrude, writeExtrude, always},
    {Control::TrimThreshold, Control::TrimThresholdLabel, "Trim threshold (alpha):",
     &SpriteOptions::trimThreshold, kMaxTrimThreshold, writeTrimThreshold, whenTrimmed},
    {Control::FrameRate, Control::FrameRateLabel, "Frames per second:", &SpriteOptions::frameRate,
     kMaxFrameRate, writeFrameRate, always, defaultFrameRate, kWideFieldWidth},
};

// A choice among a few: a caption, a list of its entries and a line under it.
struct ListRow {
  int list;
  int label;
  std::string_view caption;
  std::span<const std::string_view> entries;
  int note;
  std::string_view noteText;
  int (*shown)(const SpriteOptions&);       // the entry that shows the choice
  void (*take)(SpriteOptions&, int entry);  // the choice an entry makes
  void (*store)(SettingsStore&, const SpriteOptions&);
  Applies applies;
};

// The quantiser's entries in the order of PaletteQuantiser.
constexpr std::string_view kQuantiserEntries[] = {"Neural network", "K-means"};
static_assert(std::size(kQuantiserEntries) == kQuantiserNames.size());
// In the order of kLayoutNames.
constexpr std::string_view kLayoutEntries[] = {"Grid", "Packed"};
static_assert(std::size(kLayoutEntries) == kLayoutNames.size());
// In the order of kLargestSheetSizes.
constexpr std::string_view kLargestSizeEntries[] = {"1024", "2048", "4096", "8192"};
static_assert(std::size(kLargestSizeEntries) == kLargestSheetSizes.size());
// In the order of AnimationSource.
constexpr std::string_view kAnimationEntries[] = {"None", "Subfolders", "Name Prefixes"};
static_assert(std::size(kAnimationEntries) == kAnimationSourceNames.size());

int largestSizeEntry(const SpriteOptions& options) {
  const auto* size = std::ranges::find(kLargestSheetSizes, options.maxSize);
  return size == kLargestSheetSizes.end()
             ? static_cast<int>(kLargestSheetSizes.size()) - 1
             : static_cast<int>(std::distance(kLargestSheetSizes.begin(), size));
}

constexpr ListRow kLists[] = {
    {Control::Quantiser, Control::QuantiserLabel, "Palette quantiser:", kQuantiserEntries,
     Control::QuantiserNote, "8-bit and 4-bit. K-means: colours closer to the frames.",
     [](const SpriteOptions& o) { return static_cast<int>(o.quantiser); },
     [](SpriteOptions& o, int entry) { o.quantiser = static_cast<PaletteQuantiser>(entry); },
     [](SettingsStore& s, const SpriteOptions& o) { writeQuantiser(s, o.quantiser); },
     atPaletteDepths},
    {Control::Layout, Control::LayoutLabel, "Layout:", kLayoutEntries, Control::LayoutNote,
     "Packed: frames of any size, fitted tightly.",
     [](const SpriteOptions& o) { return o.packed ? 1 : 0; },
     [](SpriteOptions& o, int entry) { o.packed = entry == 1; },
     [](SettingsStore& s, const SpriteOptions& o) { writePackedChosen(s, o.packed); }, always},
    {Control::LargestSheetSize, Control::LargestSheetSizeLabel,
     "Largest sheet size:", kLargestSizeEntries, Control::LargestSheetSizeNote,
     "Neither side of a sheet passes it.", largestSizeEntry,
     [](SpriteOptions& o, int entry) {
       o.maxSize = kLargestSheetSizes[static_cast<size_t>(entry)];
     },
     [](SettingsStore& s, const SpriteOptions& o) { writeLargestSheetSize(s, o.maxSize); },
     whenPacked},
    {Control::Animations, Control::AnimationsLabel, "Animations:", kAnimationEntries,
     Control::AnimationsNote, "One per subfolder, or per name less its number.",
     [](const SpriteOptions& o) { return static_cast<int>(o.animations); },
     [](SpriteOptions& o, int entry) { o.animations = static_cast<AnimationSource>(entry); },
     [](SettingsStore& s, const SpriteOptions& o) { writeAnimations(s, o.animations); }, always},
};

// The rows of each column from the top, named by their tick, field or list.
constexpr int kLeftColumn[] = {
    Control::PremultipliedAlpha,
    Control::Transparent,
    Control::AlphaBleeding,
    Control::IdenticalFramesOnce,
    Control::Quantiser,
    Control::Spacing,
    Control::Border,
    Control::Extrude,
};
constexpr int kRightColumn[] = {
    Control::Layout,           Control::TrimTransparentEdges, Control::TrimThreshold,
    Control::AllowRotation,    Control::SeveralSheets,        Control::SquareSheets,
    Control::LargestSheetSize, Control::Animations,           Control::FrameRate,
};

constexpr const TickRow* tickRow(int control) {
  for (const TickRow& row : kTicks) {
    if (row.tick == control) return &row;
  }
  return nullptr;
}
constexpr const FieldRow* fieldRow(int control) {
  for (const FieldRow& row : kFields) {
    if (row.field == control) return &row;
  }
  return nullptr;
}
constexpr const ListRow* listRow(int control) {
  for (const ListRow& row : kLists) {
    if (row.list == control) return &row;
  }
  return nullptr;
}

// A row's height, and the gap below it that the column's last row does without.
constexpr std::pair<int, int> rowHeight(int control) {
  if (tickRow(control)) return {kTickHeight + kNoteHeight, kRowGap};
  if (listRow(control)) return {kFieldHeight + kNoteHeight, kRowGap};
  return {kFieldHeight, kFieldGap};
}
constexpr int columnHeight(std::span<const int> column) {
  int height = 0;
  for (int control : column) height += rowHeight(control).first + rowHeight(control).second;
  return height - rowHeight(column.back()).second;
}
constexpr int kHeight =
    2 * kMargin + std::max(columnHeight(kLeftColumn), columnHeight(kRightColumn));

}  // namespace

SheetOptionsWindow::SheetOptionsWindow(Toolkit& toolkit, SettingsStore& settings,
                                       std::function<void()> layoutChanged)
    : toolkit_(toolkit), settings_(settings), layoutChanged_(std::move(layoutChanged)) {}

void SheetOptionsWindow::restore(const SpriteOptions& stored) {
  for (const TickRow& row : kTicks) chosen_.*row.option = stored.*row.option;
  for (const FieldRow& row : kFields) chosen_.*row.option = stored.*row.option;
  for (const ListRow& row : kLists) row.take(chosen_, row.shown(stored));
}

void SheetOptionsWindow::open(int depth) {
  const int w = Window::SheetOptions;
  if (!toolkit_.openWindow(w, kSheetOptionsTitle, kWidth, kHeight, kFixedDialogStyle)) return;
  toolkit_.hideZoomButton(w);
  const auto noteRect = [](int x, int y) {
    return Rect{x + kNoteIndent, y, kColumnWidth - kNoteIndent, kNoteHeight};
  };
  const auto build = [&](std::span<const int> column, int x) {
    int y = kMargin;
    for (int control : column) {
      if (const TickRow* row = tickRow(control)) {
        toolkit_.createCheckBox(w, row->tick, {x, y, kColumnWidth, kTickHeight}, row->caption);
        toolkit_.setState(row->tick, chosen_.*row->option ? 1 : 0);
        toolkit_.createLabel(w, row->note, noteRect(x, y + kTickHeight), row->noteText,
                             LabelAlign::Left);
      } else if (const ListRow* list = listRow(control)) {
        const int listX = x + kColumnWidth - kListWidth;
        toolkit_.createLabel(w, list->label, {x, y, listX - x, kFieldHeight}, list->caption,
                             LabelAlign::Left);
        toolkit_.createList(w, list->list, {listX, y, kListWidth, kFieldHeight});
        for (std::string_view entry : list->entries) toolkit_.addListEntry(list->list, entry);
        toolkit_.setState(list->list, list->shown(chosen_));
        toolkit_.createLabel(w, list->note, noteRect(x, y + kFieldHeight), list->noteText,
                             LabelAlign::Left);
      } else if (const FieldRow* field = fieldRow(control)) {
        const int fieldX = x + kColumnWidth - field->width;
        toolkit_.createLabel(w, field->label, {x, y, fieldX - x, kFieldHeight}, field->caption,
                             LabelAlign::Left);
        toolkit_.createSpinField(w, field->field, {fieldX, y, field->width, kFieldHeight}, 0,
                                 field->largest);
        toolkit_.setState(field->field, chosen_.*field->option);
      }
      y += rowHeight(control).first + rowHeight(control).second;
    }
  };
  build(kLeftColumn, kMargin);
  build(kRightColumn, kMargin + kColumnWidth + kColumnGap);
  followDepth(depth);
}

void SheetOptionsWindow::followDepth(int depth) {
  depth_ = depth;
  followChoices();
}

void SheetOptionsWindow::followChoices() {
  if (!toolkit_.isWindowOpen(Window::SheetOptions)) return;
  for (const TickRow& row : kTicks) {
    const bool applies = row.applies(chosen_, depth_);
    toolkit_.setEnabled(row.tick, applies);
    toolkit_.setEnabled(row.note, applies);
  }
  for (const ListRow& row : kLists) {
    const bool applies = row.applies(chosen_, depth_);
    for (int control : {row.label, row.list, row.note}) toolkit_.setEnabled(control, applies);
  }
  for (const FieldRow& row : kFields) {
    const bool applies = row.applies(chosen_, depth_);
    toolkit_.setEnabled(row.label, applies);
    toolkit_.setEnabled(row.field, applies);
    if (row.noneChosen) toolkit_.setMinimumText(row.field, row.noneChosen(chosen_));
  }
}

bool SheetOptionsWindow::handleControl(int control) {
  const TickRow* tick = tickRow(control);
  const ListRow* list = listRow(control);
  const FieldRow* field = fieldRow(control);
  if (!tick && !list && !field) return false;
  // A change queued just before the window closed finds no control to read.
  if (!toolkit_.isWindowOpen(Window::SheetOptions)) return true;
  if (tick) {
    const bool ticked = toolkit_.state(control) == 1;
    chosen_.*tick->option = ticked;
    tick->store(settings_, ticked);
  } else if (list) {
    const int entry = toolkit_.state(control);
    if (entry < 0 || entry >= static_cast<int>(list->entries.size())) return true;
    list->take(chosen_, entry);
    list->store(settings_, chosen_);
    if (control == Control::Layout) layoutChanged_();
  } else {
    const int value = std::clamp(toolkit_.state(control), 0, field->largest);
    chosen_.*field->option = value;
    field->store(settings_, value);
  }
  followChoices();
  return true;
}

void SheetOptionsWindow::applyTo(BuildOptions& options) const {
  const SpriteOptions defaults;
  const int64_t depth = options.colorDepth;
  for (const TickRow& row : kTicks) {
    options.*row.option = chosen_.*row.option && row.applies(chosen_, depth);
  }
  for (const FieldRow& row : kFields) {
    options.*row.option = row.applies(chosen_, depth) ? chosen_.*row.option : defaults.*row.option;
  }
  for (const ListRow& row : kLists) {
    row.take(options, row.shown(row.applies(chosen_, depth) ? chosen_ : defaults));
  }
}

}  // namespace oz
