# The Script Editor recolours the whole script on every keystroke.
add_executable(editor_highlight_bench ${CMAKE_CURRENT_LIST_DIR}/editor_highlight_bench.cpp)
target_link_libraries(editor_highlight_bench PRIVATE oz_editor benchmark::benchmark)
