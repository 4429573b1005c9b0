// A main window on the fake toolkit over a temporary support directory, for
// the tests of the window's logic.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>

#include "app/main_window.h"
#include "sheet/png/png_write.h"
#include "store/settings_store.h"
#include "store/support_dir.h"
#include "testsupport/temp_dir.h"
#include "toolkit/fake_toolkit.h"

namespace oz {

class WindowFixture : public ::testing::Test {
 protected:
  // Writes a script file into the support directory.
  void addScript(const std::string& name, const std::string& text) {
    testing::writeFile(support_.file(name + ".txt"), text);
  }
  // Writes `image` into frames_, which the first frame makes.
  void writeFrame(const std::string& name, const RgbaImage& image) {
    mkdir(frames_.c_str(), 0700);
    ASSERT_EQ(encodePng(image, frames_ + name), PngWriteStatus::Written);
  }
  // A frame whose every byte is `level`.
  void writeFrame(const std::string& name, uint8_t level = 200, int32_t width = 10,
                  int32_t height = 20) {
    writeFrame(name, {width, height, std::vector<uint8_t>(size_t(width) * height * 4, level)});
  }

  // Start-up as the program runs it: the window, the store, the controls, the options.
  void start() {
    ASSERT_TRUE(window_.openMainWindow());
    settings_.open(support_.settingsPath());
    window_.buildMainWindow();
    window_.applySettings();
  }

  // Runs the loop until the queue is empty. False when the loop ended.
  bool runQueued() {
    while (std::optional<Event> event = toolkit_.pollEvent()) {
      if (!window_.handleEvent(*event)) return false;
    }
    return true;
  }

  // The user's action, then the turns it causes.
  void click(int control) {
    toolkit_.click(control);
    runQueued();
  }
  void choose(int list, int index) {
    toolkit_.chooseListEntry(list, index);
    runQueued();
  }
  void menu(int item) {
    toolkit_.chooseMenuItem(item);
    runQueued();
  }
  // Through the requesters to the stage where "Create" is enabled.
  void chooseFolderAndSheet(const std::string& folder, const std::string& sheet) {
    toolkit_.answerFolder(folder);
    click(Control::ImageFolderButton);
    toolkit_.answerSaveFile(sheet);
    click(Control::SheetPathButton);
  }

  std::string settingsBytes() const { return testing::readFile(support_.settingsPath()); }

  testing::ScopedTempDir temp_;
  std::string frames_ = temp_.path() + "frames/";
  SupportDir support_{temp_.path()};
  FakeToolkit toolkit_{[](const std::string& m) { ADD_FAILURE() << m; }};
  SettingsStore settings_;
  // The build's clock moves by clockStep_ each time it is read.
  std::chrono::steady_clock::time_point now_{};
  std::chrono::milliseconds clockStep_{0};
  MainWindow window_{toolkit_, settings_, support_, [this] { return now_ += clockStep_; }};
};

}  // namespace oz
