// The one QApplication of a Qt test process, created on first use, offscreen
// unless QT_QPA_PLATFORM says otherwise.
#pragma once

#include <QApplication>

namespace oz::testing {

QApplication& qtTestApplication();

}  // namespace oz::testing
