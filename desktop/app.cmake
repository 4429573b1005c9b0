# The desktop program and its whole-program test on Qt, run offscreen.
add_executable(orvane-zozivi ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(orvane-zozivi PRIVATE oz_app oz_help oz_qt_toolkit Qt6::Widgets)

oz_add_test(app_qt_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_qt_test.cpp
  LIBS oz_app oz_qt_toolkit oz_qt_testsupport oz_sheet oz_testsupport Qt6::Test)
