# oz_add_test(NAME SOURCES sources... LIBS libs... [TIMEOUT seconds])
# One GoogleTest binary per library; every case is registered with CTest.
# TIMEOUT bounds each case, for cases that would otherwise hang when broken.
# Tests find the shared test data through OZ_TESTDATA_DIR.
function(oz_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    OZ_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/testdata"
    OZ_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(timeout)
  if(T_TIMEOUT)
    set(timeout TIMEOUT ${T_TIMEOUT})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${timeout})
endfunction()
