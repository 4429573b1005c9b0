// The "Sheet Options..." window on the real Qt toolkit, offscreen: opened from
// the File menu, its ticks stored at once, "Transparent" following the depth
// chosen in the main window, and so does the quantiser's list.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

#include <string>

#include "app/main_window.h"
#include "main_menu_item.h"
#include "qt/qt_test_application.h"
#include "qt/qt_toolkit.h"
#include "store/settings_store.h"
#include "store/support_dir.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

class SheetOptionsQtTest : public ::testing::Test {
 protected:
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

  QAction* menuAction(const QString& text) { return mainMenuItem(toolkit_, text); }

  QCheckBox* tick(int control) { return qobject_cast<QCheckBox*>(toolkit_.controlWidget(control)); }

  void chooseDepth(int depth) {
    auto* list = qobject_cast<QComboBox*>(toolkit_.controlWidget(Control::DepthList));
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(depth);
    emit list->activated(depth);  // as the user's choice reports it
    ASSERT_TRUE(pump());
  }

  QApplication& application_ = testing::qtTestApplication();  // before the toolkit
  testing::ScopedTempDir temp_;
  SupportDir support_{temp_.path()};
  QtToolkit toolkit_;
  SettingsStore settings_;
  MainWindow window_{toolkit_, settings_, support_};
};

TEST_F(SheetOptionsQtTest, OpensFromTheFileMenuStoresItsTicksAndFollowsTheDepth) {
  start();
  QAction* item = menuAction("Sheet Options...");
  ASSERT_NE(item, nullptr);
  item->trigger();
  ASSERT_TRUE(pump());
  QWidget* options = toolkit_.windowWidget(Window::SheetOptions);
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->isVisible());
  EXPECT_EQ(options->windowTitle().toStdString(),
            "Sheet Options[*]");  // where the edited mark goes
  ASSERT_NE(tick(Control::Transparent), nullptr);
  EXPECT_FALSE(tick(Control::Transparent)->isEnabled());  // 32-bit
  auto* quantiser = qobject_cast<QComboBox*>(toolkit_.controlWidget(Control::Quantiser));
  ASSERT_NE(quantiser, nullptr);
  EXPECT_FALSE(quantiser->isEnabled());

  chooseDepth(kDepth4);
  EXPECT_TRUE(tick(Control::Transparent)->isEnabled());
  EXPECT_TRUE(quantiser->isEnabled());
  quantiser->setCurrentIndex(1);
  emit quantiser->activated(1);
  tick(Control::Transparent)->click();
  ASSERT_TRUE(pump());

  options->close();  // asks the program, which closes it
  ASSERT_TRUE(pump());
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::SheetOptions));
  chooseDepth(kDepth8);
  const BuildOptions build = window_.buildOptions();
  EXPECT_TRUE(build.transparent);
  EXPECT_EQ(build.quantiser, PaletteQuantiser::KMeans);

  toolkit_.windowWidget(Window::Main)->close();
  EXPECT_FALSE(pump());
  EXPECT_EQ(testing::readFile(support_.settingsPath()),
            "\xEF\xBB\xBF\n[Settings]\nColor Depth = 2\nQuantiser = kmeans\nTransparent = 1\n"
            "Columns = 4\n");
}

}  // namespace
}  // namespace oz
