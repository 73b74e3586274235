# Cross build for 64-bit Windows with Debian's mingw-w64:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The programs link the C and C++ runtimes statically, so they run from a
# folder of their own without any DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELK_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELK_MINGW_TRIPLET}-windres)

# Libraries built for this target (GoogleTest for the unit tests) may live in
# an extra prefix; everything else comes from the mingw-w64 tree, never from
# the build machine's own /usr.
set(ZELK_WINDOWS_PREFIX "" CACHE PATH "Extra prefix with libraries built for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/${ZELK_MINGW_TRIPLET} ${ZELK_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine. Listing the tests when ctest starts (rather
# than at build time) keeps the build itself free of Wine.
find_program(ZELK_WINE wine)
if(ZELK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELK_WINE})
endif()
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
