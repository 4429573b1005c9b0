// The main window on the real Qt toolkit, offscreen, over a temporary support
// directory, for the tests that drive it through its widgets.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <optional>

#include "app/main_window.h"
#include "main_menu_item.h"
#include "qt/qt_test_application.h"
#include "qt/qt_toolkit.h"
#include "store/settings_store.h"
#include "store/support_dir.h"
#include "testsupport/temp_dir.h"

namespace oz {

class QtWindowFixture : public ::testing::Test {
 protected:
  QtWindowFixture() { mkdir(support_.path.c_str(), 0700); }

  // Start-up as the program runs it: the window, the store, the controls, the options.
  void start() {
    ASSERT_TRUE(window_.openMainWindow());
    settings_.open(support_.settingsPath());
    window_.buildMainWindow();
    window_.applySettings();
  }

  // Handles what Qt has queued. False when the loop ended.
  bool pump() {
    while (std::optional<Event> event = toolkit_.pollEvent()) {
      if (!window_.handleEvent(*event)) return false;
    }
    return true;
  }

  QAction* menuItem(const QString& text) { return mainMenuItem(toolkit_, text); }

  QApplication& application_ = testing::qtTestApplication();  // before the toolkit
  testing::ScopedTempDir temp_;
  SupportDir support_{temp_.path() + "support/"};
  QtToolkit toolkit_;
  SettingsStore settings_;
  MainWindow window_{toolkit_, settings_, support_};
};

}  // namespace oz
