// The "Install from Gallery..." window on the real Qt toolkit, offscreen:
// opened from the Script menu, a template selected with the mouse and
// installed, the "Export Script" list showing it at once.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>

#include "qt_window_fixture.h"

namespace oz {
namespace {

class GalleryQtTest : public QtWindowFixture {
 protected:
  GalleryQtTest() {
    mkdir(gallery_.c_str(), 0700);
    testing::writeFile(gallery_ + "JSON Hash.txt", "ov.Extension = \".json\"\n{}\n");
    testing::writeFile(gallery_ + "Starling XML.txt", "ov.Extension = \".xml\"\n<a/>\n");
    testing::writeFile(gallery_ + "descriptions.tsv",
                       "JSON Hash\tPhaser 3 and PixiJS, .json\nStarling XML\tStarling, .xml\n");
    window_.setGalleryDir(gallery_);
  }

  // Presses Install. The click is queued, and the message box comes while it
  // is handled; OK answers it. Its text, then its details.
  QString installAndReadTheMessage() {
    QTest::mouseClick(toolkit_.controlWidget(Control::GalleryInstall), Qt::LeftButton);
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible() || !box->button(QMessageBox::Ok)) return;
      shown = box->text() + box->informativeText();
      answer.stop();
      box->button(QMessageBox::Ok)->click();
    });
    answer.start(20);
    EXPECT_TRUE(pump());
    return shown;
  }

  std::string gallery_ = temp_.path() + "gallery/";
};

TEST_F(GalleryQtTest, InstallsTheTemplateClickedInTheList) {
  start();

  QAction* item = menuItem("Install from Gallery...");
  ASSERT_NE(item, nullptr);
  item->trigger();
  ASSERT_TRUE(pump());
  QWidget* gallery = toolkit_.windowWidget(Window::InstallFromGallery);
  ASSERT_NE(gallery, nullptr);
  EXPECT_TRUE(gallery->isVisible());
  auto* list = qobject_cast<QListWidget*>(toolkit_.controlWidget(Control::GalleryList));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text().toStdString(), "JSON Hash \u2014 Phaser 3 and PixiJS, .json");
  EXPECT_EQ(list->currentRow(), -1);  // filling the list selected nothing
  auto* install = qobject_cast<QPushButton*>(toolkit_.controlWidget(Control::GalleryInstall));
  ASSERT_NE(install, nullptr);
  EXPECT_FALSE(install->isEnabled());

  const QRect row = list->visualItemRect(list->item(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  ASSERT_TRUE(pump());
  EXPECT_EQ(list->currentRow(), 1);
  ASSERT_TRUE(install->isEnabled());

  const QString shown = installAndReadTheMessage();
  EXPECT_TRUE(shown.contains("Installed the script &quot;Starling XML&quot;"))
      << shown.toStdString();
  EXPECT_EQ(testing::readFile(support_.file("Starling XML.txt")),
            "ov.Extension = \".xml\"\n<a/>\n");
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::InstallFromGallery));
  auto* scripts = qobject_cast<QComboBox*>(toolkit_.controlWidget(Control::ScriptList));
  ASSERT_NE(scripts, nullptr);
  EXPECT_NE(scripts->findText("Starling XML"), -1);
}

// A support folder that is a file: the program starts, watches nothing, and
// an install is refused in the program's own message box, with nothing from
// Qt about the folder on standard error.
TEST_F(GalleryQtTest, WithTheSupportFolderAFileTheUserSeesOnlyTheProgramsMessage) {
  rmdir(support_.path.c_str());
  std::string supportFile = support_.path;
  supportFile.pop_back();
  testing::writeFile(supportFile, "not a folder");
  const testing::QtMessageRecorder qt;
  start();

  menuItem("Install from Gallery...")->trigger();
  ASSERT_TRUE(pump());
  auto* list = qobject_cast<QListWidget*>(toolkit_.controlWidget(Control::GalleryList));
  ASSERT_NE(list, nullptr);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(0)).center());
  ASSERT_TRUE(pump());
  const QString shown = installAndReadTheMessage();
  EXPECT_TRUE(shown.contains("Save Error!")) << shown.toStdString();
  EXPECT_TRUE(shown.contains("is not a folder")) << shown.toStdString();
  EXPECT_EQ(testing::readFile(supportFile), "not a folder");
  for (const std::string& message : qt.messages()) {
    EXPECT_EQ(message.find(supportFile), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace oz
