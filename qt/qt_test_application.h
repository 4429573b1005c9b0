// The one QApplication of a Qt test process, created on first use, offscreen
// unless QT_QPA_PLATFORM says otherwise; and a recorder of Qt's own messages.
#pragma once

#include <QApplication>
#include <string>
#include <vector>

namespace oz::testing {

QApplication& qtTestApplication();

// Keeps every message Qt writes (its warnings on standard error) while it
// lives, still passing each on: for tests that hold the program to its own
// words. One at a time.
class QtMessageRecorder {
 public:
  QtMessageRecorder();
  ~QtMessageRecorder();
  QtMessageRecorder(const QtMessageRecorder&) = delete;
  QtMessageRecorder& operator=(const QtMessageRecorder&) = delete;

  const std::vector<std::string>& messages() const { return messages_; }

 private:
  static void record(QtMsgType type, const QMessageLogContext& context, const QString& message);

  std::vector<std::string> messages_;
  QtMessageHandler previous_;
};

}  // namespace oz::testing
