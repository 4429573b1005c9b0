# The sheet build against its floor (decoding the frames plus zlib level 9 over
# the sheet's rows) and against ImageMagick's montage, all in one run.
add_executable(sheet_bench ${CMAKE_CURRENT_LIST_DIR}/sheet_bench.cpp)
target_link_libraries(sheet_bench PRIVATE oz_sheet ZLIB::ZLIB)
target_compile_definitions(sheet_bench PRIVATE OZ_CLI_PATH="$<TARGET_FILE:orvane-zozivi-cli>")
add_dependencies(sheet_bench orvane-zozivi-cli)
