// "Rebuild on Change" on the real Qt toolkit, offscreen: the watch's news
// reaches the event loop through its socket notifier, the settling time
// through a real timer, and a frame saved again is built without a question.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "qt_window_fixture.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"

namespace oz {
namespace {

constexpr int kWaitMs = 30000;

class RebuildQtTest : public QtWindowFixture {
 protected:
  RebuildQtTest() {
    // Every message box is read and answered OK, or No to a question.
    QObject::connect(&answerer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      messages_.push_back(box->text().toStdString());
      box->button(box->button(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No)->click();
    });
    answerer_.start(10);
  }

  void writeFrame(const std::string& name, uint8_t level) {
    RgbaImage image{8, 8, std::vector<uint8_t>(8 * 8 * 4, level)};
    ASSERT_EQ(encodePng(image, frames_ + name), PngWriteStatus::Written);
  }

  std::string status() { return toolkit_.text(Control::RebuildStatus); }

  std::string frames_ = temp_.path() + "frames/";
  std::string sheet_ = temp_.path() + "walk.png";
  QTimer answerer_;
  std::vector<std::string> messages_;
};

TEST_F(RebuildQtTest, AFrameSavedAgainIsBuiltWithoutAQuestion) {
  ASSERT_EQ(mkdir(frames_.c_str(), 0700), 0);
  writeFrame("f1.png", 10);
  writeFrame("f2.png", 20);
  start();
  QAction* item = menuItem("Rebuild on Change");
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->isEnabled());

  toolkit_.setText(Control::ImageFolderField, frames_);
  toolkit_.setText(Control::SheetPathField, sheet_);
  toolkit_.postControlEvent(Control::Create);
  ASSERT_TRUE(pump());
  ASSERT_EQ(messages_.size(), 2u);  // "Exported!" and "Preview?"
  EXPECT_TRUE(item->isEnabled());

  item->trigger();
  ASSERT_TRUE(pump());
  EXPECT_TRUE(item->isChecked());
  EXPECT_TRUE(status().ends_with(": unchanged")) << status();
  EXPECT_TRUE(qobject_cast<QLabel*>(toolkit_.controlWidget(Control::RebuildStatus))->isVisible());

  writeFrame("f3.png", 30);
  EXPECT_TRUE(QTest::qWaitFor([&] { return pump() && status().ends_with(": written"); }, kWaitMs))
      << status();
  EXPECT_EQ(readPngSize(sheet_), (PngSize{24, 8}));
  EXPECT_EQ(messages_.size(), 2u);

  item->trigger();
  ASSERT_TRUE(pump());
  EXPECT_FALSE(item->isChecked());
  EXPECT_EQ(status(), "");
}

}  // namespace
}  // namespace oz
