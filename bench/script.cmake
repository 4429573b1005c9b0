# A script export writes one block of text per frame; it should cost little
# more than writing the finished bytes.
add_executable(script_expand_bench ${CMAKE_CURRENT_LIST_DIR}/script_expand_bench.cpp)
target_link_libraries(script_expand_bench PRIVATE oz_script benchmark::benchmark)
