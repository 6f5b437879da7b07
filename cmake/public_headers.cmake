# qinglan_public_headers(<target> <folder>...)
#
# Gives a library a public include folder that holds only its own headers, so that
# `#include "chart/chart_build.h"` compiles only in targets that link the library providing it.
# Each <folder> is a folder under src/ (`chart`, `ui/common`); it is linked as
# ${CMAKE_BINARY_DIR}/include/<target>/<folder>, and ${CMAKE_BINARY_DIR}/include/<target> becomes
# the target's PUBLIC include directory.
function(qinglan_public_headers target)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  foreach(folder IN LISTS ARGN)
    if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${folder})
      message(FATAL_ERROR "qinglan_public_headers(${target}): no folder src/${folder}")
    endif()
    set(link ${root}/${folder})
    cmake_path(GET link PARENT_PATH parent)
    file(MAKE_DIRECTORY ${parent})
    file(REMOVE ${link})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${link} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
