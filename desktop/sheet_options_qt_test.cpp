// The "Sheet Options..." window on the real Qt toolkit, offscreen: opened from
// the File menu, its ticks stored at once, "Transparent" following the depth
// chosen in the main window, and so does the quantiser's list.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>

#include <string>

#include "qt_window_fixture.h"

namespace oz {
namespace {

class SheetOptionsQtTest : public QtWindowFixture {
 protected:
  QCheckBox* tick(int control) { return qobject_cast<QCheckBox*>(toolkit_.controlWidget(control)); }

  void chooseDepth(int depth) {
    auto* list = qobject_cast<QComboBox*>(toolkit_.controlWidget(Control::DepthList));
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(depth);
    emit list->activated(depth);  // as the user's choice reports it
    ASSERT_TRUE(pump());
  }
};

TEST_F(SheetOptionsQtTest, OpensFromTheFileMenuStoresItsTicksAndFollowsTheDepth) {
  start();
  QAction* item = menuItem("Sheet Options...");
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
