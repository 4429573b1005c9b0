// orvane-zozivi: the desktop program. Everything but the Qt application, its
// icon and the toolkit lives in the libraries; this file only joins them.
#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "app/program.h"
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

  oz::QtToolkit toolkit;
  return oz::runProgram(toolkit, oz::homeDirectory(), oz::thisPlatformVersionCode());
}
