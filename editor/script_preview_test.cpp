#include "editor/script_preview.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <variant>
#include <vector>

#include "base/text_lines.h"
#include "editor/editor_layout.h"
#include "editor/script_editor.h"
#include "editor/script_preview_pane.h"
#include "script/example_scripts.h"
#include "script/script_export.h"
#include "sheet/png/png_write.h"
#include "testsupport/temp_dir.h"
#include "toolkit/fake_toolkit.h"

namespace oz {
namespace {

constexpr const char* kListing =
    "ov.Extension = \".plist\"\n"
    "ov.SheetName ov.SheetWidth x ov.SheetHeight\n"
    "ov.Repeat\n"
    "ov.ImageName ov.ImageX ov.ImageY ov.ImageWidth\n"
    "ov.Until = ov.ImageCount\n";

// A template whose loop asks for more passes than any sheet has frames.
constexpr const char* kEndless =
    "ov.Repeat\n"
    "pass\n"
    "ov.Until = 999999999999999999\n";

class ScriptPreviewTest : public ::testing::Test {
 protected:
  ScriptPreviewTest() {
    mkdir(frames_.c_str(), 0700);
    mkdir(examples_.c_str(), 0700);
  }

  static void writeFrame(const std::string& path, int32_t width, int32_t height,
                         uint8_t fill = 90) {
    RgbaImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4, fill)};
    ASSERT_EQ(encodePng(image, path), PngWriteStatus::Written);
  }

  static ScriptPreview preview(std::string_view text, const BuildOptions& inputs,
                               const std::string& examples, const PreviewBound& bound = {}) {
    const std::vector<std::string> lines = splitLines(text);
    return previewScript(lines, inputs, examples, bound);
  }

  // What the export after a real build writes: each sheet's script, one
  // after another.
  std::string exportedAfterBuild(std::string_view text, const BuildOptions& options,
                                 size_t* sheetCount = nullptr) {
    const BuildOutcome built = buildSheet(options);
    const auto* sheets = std::get_if<BuiltSheets>(&built);
    if (sheets == nullptr) {
      ADD_FAILURE() << "not built";
      return {};
    }
    const std::string path = temp_.path() + "script.out";
    const auto count = static_cast<int64_t>(sheets->sheets.size());
    std::string exported;
    for (int64_t s = 0; s < count; ++s) {
      const ExpansionContext context = makeExpansionContext(sheets->sheets[s], options, s, count);
      EXPECT_NE(writeScriptFile(splitLines(text), context, path), CommitResult::Failed);
      exported += testing::readFile(path);
    }
    if (sheetCount != nullptr) *sheetCount = static_cast<size_t>(count);
    return exported;
  }

  testing::ScopedTempDir temp_;
  std::string frames_ = temp_.path() + "frames/";
  std::string examples_ = temp_.path() + "examples/";
};

TEST_F(ScriptPreviewTest, ExpandsAgainstTheFolderAsABuildWouldLayItOut) {
  for (const char* name : {"b.png", "a.png", "c.png"}) writeFrame(frames_ + name, 8, 4);
  BuildOptions inputs;
  inputs.imageFolder = temp_.path() + "frames";  // typed without the final slash
  inputs.columns = "2";
  inputs.savePath = "/out/walk.png";
  const ScriptPreview grid = preview(kListing, inputs, examples_);
  EXPECT_EQ(grid.text,
            "walk.png 16 x 8\n"
            "a 0 0 8\n"
            "b 8 0 8\n"
            "c 0 4 8\n");
  EXPECT_EQ(grid.extension, ".plist");
  EXPECT_FALSE(grid.clipboard);
  EXPECT_EQ(grid.cut, PreviewCut::None);
  EXPECT_EQ(grid.frameCount, 3u);
  EXPECT_EQ(grid.frameSource, frames_);

  inputs.strip = true;
  inputs.powerOf2 = true;
  inputs.retina = true;
  const ScriptPreview strip = preview(kListing, inputs, examples_);
  EXPECT_EQ(strip.sheetWidth, 32);  // 24 padded
  EXPECT_EQ(strip.sheetHeight, 4);
  EXPECT_NE(strip.text.find("c 8 0 4\n"), std::string::npos);  // halved for Retina
}

TEST_F(ScriptPreviewTest, WithoutAFolderTheExampleFramesStandIn) {
  writeFrame(examples_ + "walk1.png", 6, 6);
  writeFrame(examples_ + "walk2.png", 6, 6);
  const ScriptPreview shown = preview("Clipboard\nov.Repeat\nov.ImageName\nov.Until ov.ImageCount",
                                      BuildOptions{}, examples_);
  EXPECT_TRUE(shown.clipboard);
  EXPECT_EQ(shown.extension, ".txt");
  EXPECT_EQ(shown.frameSource, examples_);
  EXPECT_EQ(shown.text, "Clipboard\nwalk1\nwalk2\n");
  EXPECT_EQ(previewSummary(shown), "Extension: .txt   Clipboard: yes\n2 frames in " + examples_);
}

// What the preview shows is what the export after a real build writes, with
// the cell options of "Sheet Options..." and Power of 2: the same options and
// the same expansion context, laid out from the headers alone.
TEST_F(ScriptPreviewTest, ShowsWhatTheExportAfterABuildWrites) {
  uint8_t fill = 10;
  for (const char* name : {"walk1.png", "walk2.png", "walk3.png", "walk10.png", "walk4.png"}) {
    writeFrame(frames_ + name, 9, 7, fill += 20);
  }
  std::vector<std::string> templates = {
      "ov.Extension = \".txt\"\nov.SheetName ov.SheetWidth ov.SheetHeight ov.SheetNumber "
      "ov.SheetFullWidth ov.SheetFormat ov.SheetDepth ov.SheetPremultiplied\n"
      "ov.Columns ov.Rows ov.Spacing ov.Margin ov.Extrude ov.SheetScale\nov.Repeat\n"
      "ov.ImageIndex ov.ImageNameJSON ov.ImageX ov.ImageY ov.ImageWidth ov.ImageHeight "
      "ov.ImageFullX ov.ImageFullY ov.ImageCount ov.Comma\nov.Until = ov.ImageCount\n"};
  for (const ExampleScript& script : exampleScripts()) templates.emplace_back(script.text);

  BuildOptions options;
  options.imageFolder = frames_;
  options.savePath = temp_.path() + "walk sheet.png";
  options.columns = "2";
  options.spacing = 3;
  options.border = 5;
  options.extrude = 2;
  options.powerOf2 = true;
  options.colorDepth = kDepth8;
  options.transparent = true;
  options.spriteNumber = 12;
  for (const bool retina : {false, true}) {
    options.retina = retina;
    for (const std::string& text : templates) {
      const ScriptPreview shown = preview(text, options, examples_);
      EXPECT_EQ(shown.text, exportedAfterBuild(text, options)) << text;
      EXPECT_FALSE(shown.cellsApart);
    }
  }

  // Identical frames share a cell in the build only; the preview says so.
  writeFrame(frames_ + "walk5.png", 9, 7, fill);
  options.dedupe = true;
  const ScriptPreview apart = preview(templates[0], options, examples_);
  EXPECT_TRUE(apart.cellsApart);
  EXPECT_NE(previewSummary(apart).find("6 frames in " + frames_ + ", identical ones apart"),
            std::string::npos);
}

// Packed onto several sheets, the preview shows each sheet's script in turn,
// as the export after the build writes them; trimming it does not follow,
// and says so.
TEST_F(ScriptPreviewTest, PackedSheetsShowTheirScriptsOneAfterAnother) {
  for (int i = 0; i < 6; ++i)
    writeFrame(frames_ + "p" + std::to_string(i) + ".png", 30 - i * 4, 8 + i * 3);
  const std::string text =
      "ov.Extension = \".txt\"\nov.SheetName ov.SheetIndex/ov.SheetCount ov.SheetWidth x "
      "ov.SheetHeight\nov.Repeat\nov.ImageName ov.ImageX ov.ImageY ov.ImageWidth ov.ImageHeight "
      "ov.ImageRotated\nov.Until = ov.ImageCount\n";
  BuildOptions options;
  options.imageFolder = frames_;
  options.savePath = temp_.path() + "walk.png";
  options.packed = true;
  options.rotate = true;
  options.multipack = true;
  options.maxSize = 40;
  size_t sheets = 0;
  const std::string exported = exportedAfterBuild(text, options, &sheets);
  ASSERT_GT(sheets, 1u);
  const ScriptPreview shown = preview(text, options, examples_);
  EXPECT_EQ(shown.text, exported);
  EXPECT_EQ(shown.sheetCount, sheets);
  EXPECT_EQ(shown.frameCount, 6u);
  EXPECT_FALSE(shown.untrimmed);
  const std::string summary = previewSummary(shown);
  EXPECT_NE(
      summary.find("\n" + std::to_string(sheets) + " sheets, their scripts one after another."),
      std::string::npos)
      << summary;

  options.trim = true;
  const ScriptPreview untrimmed = preview(text, options, examples_);
  EXPECT_TRUE(untrimmed.untrimmed);
  EXPECT_EQ(untrimmed.text, exported);  // the frames have no clear edges to trim
  EXPECT_NE(previewSummary(untrimmed).find("6 frames in " + frames_ +
                                           ", untrimmed (a build trims them)\n"),
            std::string::npos);
  const ScriptPreview cut = preview(text, options, examples_, {.lines = 3});
  EXPECT_EQ(cut.lines, 3u);
  EXPECT_TRUE(previewSummary(cut, {.lines = 3}).ends_with("one after another. Cut at 3 lines."));
}

// The animations come from the folder as the build finds them.
TEST_F(ScriptPreviewTest, ShowsTheAnimationsTheBuildFinds) {
  mkdir((frames_ + "walk").c_str(), 0700);
  for (const char* name : {"idle.png", "walk/walk_1.png", "walk/walk_2.png", "walk_3.png"}) {
    writeFrame(frames_ + name, 4, 4);
  }
  const std::string text =
      "ov.EachAnimation\n\"ov.AnimationNameJSON\": ov.FrameRate [\nov.Repeat\n"
      "ov.ImageIndex ov.ImageNameov.Comma\nov.Until = ov.ImageCount\n]ov.Comma\nov.NextAnimation\n";
  BuildOptions options;
  options.imageFolder = frames_;
  options.savePath = temp_.path() + "hero.png";
  const std::pair<AnimationSource, std::string> sources[] = {
      {AnimationSource::None, "\"hero\": 10 [\n0 idle,\n1 walk_3\n]\n"},
      {AnimationSource::Folders,
       "\"frames\": 12 [\n0 idle,\n1 walk_3\n],\n\"walk\": 12 [\n2 walk/walk_1,\n3 "
       "walk/walk_2\n]\n"},
      {AnimationSource::Prefixes, "\"idle\": 12 [\n0 idle\n],\n\"walk\": 12 [\n1 walk_3\n]\n"},
  };
  for (const auto& [source, expected] : sources) {
    options.animations = source;
    EXPECT_EQ(preview(text, options, examples_).text, expected);
    EXPECT_EQ(exportedAfterBuild(text, options), expected);
  }
}

TEST_F(ScriptPreviewTest, AnEndlessTemplateIsCutAtTheBound) {
  writeFrame(frames_ + "a.png", 4, 4);
  BuildOptions inputs;
  inputs.imageFolder = frames_;
  const ScriptPreview lines =
      preview(kEndless, inputs, examples_, {.lines = 50, .bytes = 1 << 20, .passes = 1000});
  EXPECT_EQ(lines.cut, PreviewCut::Lines);
  EXPECT_EQ(lines.lines, 50u);
  EXPECT_EQ(splitLines(lines.text).size(), 50u);
  // The note names only the bound reached: the pane is narrow.
  EXPECT_TRUE(previewSummary(lines, {.lines = 50, .bytes = 1 << 20, .passes = 1000})
                  .ends_with("\nCut at 50 lines."));

  const ScriptPreview bytes =
      preview(kEndless, inputs, examples_, {.lines = 1000, .bytes = 100, .passes = 1000});
  EXPECT_EQ(bytes.cut, PreviewCut::Bytes);
  EXPECT_LE(bytes.text.size(), 100u);
  EXPECT_GT(bytes.text.size(), 90u);
  EXPECT_TRUE(previewSummary(bytes, {.lines = 1000, .bytes = 2048, .passes = 1000})
                  .ends_with("\nCut at 2 KB."));

  // The default bound ends it too. A loop that writes nothing ends by itself
  // once past the last frame; before that, its passes are bounded.
  EXPECT_EQ(preview(kEndless, inputs, examples_).lines, PreviewBound{}.lines);
  constexpr const char* kSilent = "ov.Repeat\nov.Until = 999999999999999999\nafter\n";
  const ScriptPreview silent = preview(kSilent, inputs, examples_);
  EXPECT_EQ(silent.cut, PreviewCut::None);
  EXPECT_EQ(silent.text, "after\n");
  for (const char* name : {"b.png", "c.png", "d.png"}) writeFrame(frames_ + name, 4, 4);
  const ScriptPreview passes =
      preview(kSilent, inputs, examples_, {.lines = 50, .bytes = 1 << 20, .passes = 2});
  EXPECT_EQ(passes.cut, PreviewCut::Passes);
  EXPECT_EQ(passes.lines, 0u);
  EXPECT_TRUE(previewSummary(passes, {.lines = 50, .bytes = 1 << 20, .passes = 2})
                  .ends_with("\nCut after 2 loop passes."));

  // Exactly at the bound nothing is cut.
  const ScriptPreview exact =
      preview("1\n2\n3\n", inputs, examples_, {.lines = 3, .bytes = 6, .passes = 1});
  EXPECT_EQ(exact.cut, PreviewCut::None);
  EXPECT_EQ(exact.text, "1\n2\n3\n");
}

TEST(ScriptPreviewHtml, EscapesTheMarkup) {
  EXPECT_EQ(previewHtml("<a href=\"x\">&amp;</a>\n"),
            "<pre>&lt;a href=\"x\"&gt;&amp;amp;&lt;/a&gt;\n</pre>");
}

// The pane inside the Script Editor on the fake toolkit.
class ScriptPreviewPaneTest : public ScriptPreviewTest {
 protected:
  ScriptPreviewPaneTest() {
    kit_.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {});
    const int menu = kit_.addMenu("Script");
    kit_.addMenuItem(menu, MenuItem::SaveScript, "Save Script\tCmd+S", false);
    kit_.addMenuItem(menu, MenuItem::DeleteScript, "Delete Script\tCmd+\b", false);
    kit_.addCheckableMenuItem(menu, MenuItem::ScriptPreview, "Script Preview", true);
    settings_.open(support_.settingsPath());
    writeFrame(examples_ + "e.png", 5, 7);
    editor_.setPreviewSource([this] { return inputs_; }, examples_);
  }
  void pump() {
    while (std::optional<Event> event = kit_.pollEvent()) editor_.handleEvent(*event);
  }
  std::string shownText() const { return kit_.text(Control::ScriptPreviewText); }

  FakeToolkit kit_{[](const std::string& m) { ADD_FAILURE() << m; }};
  testing::ScopedTempDir supportDir_;
  SupportDir support_{supportDir_.path()};
  SettingsStore settings_;
  ScriptEditor editor_{kit_, settings_, support_, [] {}};
  BuildOptions inputs_;
};

TEST_F(ScriptPreviewPaneTest, FollowsTypingAfterAPauseAndTogglesAway) {
  testing::writeFile(support_.file("Sizes.txt"), "ov.Repeat\nov.ImageWidth\nov.Until 1\n");
  editor_.togglePreview();  // opens the closed window with the pane
  pump();
  ASSERT_TRUE(editor_.isOpen());
  ASSERT_TRUE(kit_.hasControl(Control::ScriptPreviewText));
  EXPECT_EQ(shownText(), "<pre>5\n</pre>");
  EXPECT_NE(kit_.text(Control::ScriptPreviewInfo).find("1 frame in " + examples_),
            std::string::npos);
  EXPECT_EQ(kit_.control(Control::ScriptPreviewInfo).toolTip,
            kit_.text(Control::ScriptPreviewInfo));  // all of it, where the pane cuts it
  // The pane shares the panel's room: neither overlaps the other.
  const Rect panel = kit_.geometry(Control::TabPanel);
  const Rect pane = kit_.geometry(Control::ScriptPreviewText);
  EXPECT_GE(pane.x, panel.x + panel.width);
  EXPECT_LE(pane.x + pane.width, kit_.geometry(Control::TagFrame).x);

  const int editor = Control::FirstEditor;
  kit_.selectInEditor(editor, 0, 0);
  kit_.type(editor, "x ov.ImageHeight\n");
  pump();
  EXPECT_EQ(shownText(), "<pre>5\n</pre>");  // still typing
  ASSERT_EQ(kit_.timers().count(Timer::ScriptPreview), 1u);
  EXPECT_EQ(kit_.timers().at(Timer::ScriptPreview).milliseconds, 250);
  EXPECT_FALSE(kit_.timers().at(Timer::ScriptPreview).repeating);
  kit_.fireTimer(Timer::ScriptPreview);
  pump();
  EXPECT_EQ(shownText(), "<pre>x 7\n5\n</pre>");

  // The main window's folder takes over from the examples.
  writeFrame(frames_ + "big.png", 30, 40);
  inputs_.imageFolder = frames_;
  kit_.type(editor, "");
  pump();
  kit_.fireTimer(Timer::ScriptPreview);
  pump();
  EXPECT_EQ(shownText(), "<pre>x 40\n30\n</pre>");
  EXPECT_NE(kit_.control(Control::ScriptPreviewInfo).toolTip.find("1 frame in " + frames_),
            std::string::npos);

  editor_.togglePreview();
  EXPECT_FALSE(kit_.hasControl(Control::ScriptPreviewText));
  EXPECT_EQ(kit_.timers().count(Timer::ScriptPreview), 0u);
  EXPECT_EQ(kit_.geometry(Control::TabPanel).width, editorLayoutFor(720, 540).panelWidth);
  kit_.type(editor, "y");
  pump();
  EXPECT_EQ(kit_.timers().count(Timer::ScriptPreview), 0u);  // hidden: no work
}

}  // namespace
}  // namespace oz
