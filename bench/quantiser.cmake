# The palette reduction in process (training per million samples, mapping per
# megapixel) and the whole dithered 8-bit build against pngquant, in one run.
add_executable(quantiser_bench ${CMAKE_CURRENT_LIST_DIR}/quantiser_bench.cpp)
target_link_libraries(quantiser_bench PRIVATE oz_sheet oz_quantiser ZLIB::ZLIB)
oz_internal_headers(quantiser_bench oz_quantiser)
target_compile_definitions(quantiser_bench PRIVATE OZ_CLI_PATH="$<TARGET_FILE:orvane-zozivi-cli>")
add_dependencies(quantiser_bench orvane-zozivi-cli)
