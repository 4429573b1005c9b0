# oz_expose_headers(target folder [PUBLIC_HEADERS h1 h2 ...])
#
# Gives a library an include directory of its own that holds only its folder's
# headers, under the same "folder/name.h" path the sources use. A target sees a
# library's headers only by linking it, so an undeclared dependency between the
# layers fails to compile instead of slipping in through the source tree.
#
# With PUBLIC_HEADERS, only those headers are exposed to the library's users;
# every header of the folder stays visible to the library itself and to
# targets given oz_internal_headers().
function(oz_expose_headers target folder)
  cmake_parse_arguments(H "" "" "PUBLIC_HEADERS" ${ARGN})
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  set(public_root ${CMAKE_BINARY_DIR}/include/${target})
  set(internal_root ${CMAKE_BINARY_DIR}/include/${target}-internal)
  file(REMOVE_RECURSE ${public_root} ${internal_root})
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    if(NOT H_PUBLIC_HEADERS OR name IN_LIST H_PUBLIC_HEADERS)
      file(MAKE_DIRECTORY ${public_root}/${folder})
      file(CREATE_LINK ${header} ${public_root}/${folder}/${name} SYMBOLIC)
    endif()
    if(H_PUBLIC_HEADERS)
      file(MAKE_DIRECTORY ${internal_root}/${folder})
      file(CREATE_LINK ${header} ${internal_root}/${folder}/${name} SYMBOLIC)
    endif()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${public_root})
  else()
    target_include_directories(${target} PUBLIC ${public_root})
  endif()
  if(H_PUBLIC_HEADERS)
    target_include_directories(${target} PRIVATE ${internal_root})
  endif()
endfunction()

# oz_internal_headers(target library): lets `target` (a test or a benchmark of
# `library`) include the library's internal headers too.
function(oz_internal_headers target library)
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/include/${library}-internal)
endfunction()
