# Frames whose headers claim far more pixels than their files hold: the build
# should cost what honest frames of the same files cost.
add_executable(lying_frames_bench ${CMAKE_CURRENT_LIST_DIR}/lying_frames_bench.cpp)
target_link_libraries(lying_frames_bench PRIVATE oz_sheet oz_testsupport)
target_compile_definitions(lying_frames_bench PRIVATE OZ_CLI_PATH="$<TARGET_FILE:orvane-zozivi-cli>")
add_dependencies(lying_frames_bench orvane-zozivi-cli)
