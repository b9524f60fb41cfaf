# kivara_windows_cross_build(<name> SOURCE_DIR <dir> [ARGS <-DVAR=value...>])
#
# Builds the CMake project in <dir> for 64-bit Windows with mingw-w64, as an
# external project of this build; its outputs go where ARGS point them.
# Sets KIVARA_WINDOWS_CROSS to whether the cross compiler is present.
find_program(KIVARA_MINGW_GCC x86_64-w64-mingw32-gcc)
if(KIVARA_MINGW_GCC)
  set(KIVARA_WINDOWS_CROSS ON)
else()
  set(KIVARA_WINDOWS_CROSS OFF)
endif()

include(ExternalProject)

function(kivara_windows_cross_build name)
  cmake_parse_arguments(X "" "SOURCE_DIR" "ARGS" ${ARGN})
  ExternalProject_Add(${name}
    SOURCE_DIR ${X_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/win64/${name}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/MingwW64Toolchain.cmake
      -DCMAKE_BUILD_TYPE=Release
      ${X_ARGS}
    INSTALL_COMMAND ""
    # Let the inner build decide what is out of date.
    BUILD_ALWAYS ON)
endfunction()
