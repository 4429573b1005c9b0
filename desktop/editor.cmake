# The Script Editor on the real Qt toolkit, run offscreen.
oz_add_test(editor_qt_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_qt_test.cpp
  LIBS oz_editor oz_qt_toolkit oz_qt_testsupport oz_testsupport Qt6::Test)
