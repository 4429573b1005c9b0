#include "qt/qt_test_application.h"

// Fontconfig keeps its caches until the process ends, and so does D-Bus, which
// Qt's X11 platform talks to; the leak checker of the sanitizer build is told
// so, and still sees every leak of ours. This file is linked into every Qt
// test, so the suppressions reach all of them.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}

namespace oz::testing {

QApplication& qtTestApplication() {
  static int argc = 1;
  static char name[] = "oz_qt_test";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

namespace {

// Qt's handler is a plain function: it finds the recorder here.
QtMessageRecorder* recording = nullptr;

}  // namespace

QtMessageRecorder::QtMessageRecorder() : previous_(qInstallMessageHandler(&record)) {
  recording = this;
}

QtMessageRecorder::~QtMessageRecorder() {
  qInstallMessageHandler(previous_);
  recording = nullptr;
}

void QtMessageRecorder::record(QtMsgType type, const QMessageLogContext& context,
                               const QString& message) {
  recording->messages_.push_back(message.toStdString());
  if (recording->previous_) recording->previous_(type, context, message);
}

}  // namespace oz::testing
