# Strict warnings on the project's own targets only; third-party headers come in as system includes.
function(keyhaven_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wshadow -Wconversion -Wsign-conversion
                                           -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wformat=2 -Wundef)
  # GCC 12 reports overlapping copies inside std::string concatenation at -O3 that cannot happen
  # (a known false positive of that release), which would fail Release builds.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# keyhaven_library(<target> <glob patterns relative to the folder>...)
# The static library of one folder of the program, with the project's warnings.
function(keyhaven_library target)
  set(sources "")
  foreach(pattern IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
    list(APPEND sources ${found})
  endforeach()
  add_library(${target} STATIC ${sources})
  keyhaven_warnings(${target})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
