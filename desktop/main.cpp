// orvane-zozivi: the desktop program. Everything but the Qt application, its
// icon and the toolkit lives in the libraries; this file only joins them.
#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include <csignal>
#include <cstdio>
#include <exception>

#include "app/program.h"
#include "base/live_temp_files.h"
#include "help/app_icon.h"
#include "qt/qt_toolkit.h"
#include "store/support_dir.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Orvane Zozivi");
  QApplication::setApplicationVersion("1.0.0");

  const std::span<const std::uint8_t> png = oz::appIconPng();
  QPixmap icon;
  icon.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG");
  QApplication::setWindowIcon(QIcon(icon));

  // A session logout or a kill leaves the old files as they were, with no
  // half-written file beside them.
  oz::removeTempFilesOnSignals({SIGTERM, SIGHUP});
  oz::QtToolkit toolkit;
  try {
    return oz::runProgram(toolkit, oz::homeDirectory(), oz::thisPlatformVersionCode());
  } catch (const std::exception& error) {
    // The files being written have removed themselves as the stack unwound.
    std::fprintf(stderr, "orvane-zozivi: %s\n", error.what());
    return 1;
  }
}
