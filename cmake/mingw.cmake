# MinGW-w64 cross toolchain for the target MINGW_TRIPLET, POSIX thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
set(MARROWBY_WIDL ${MINGW_TRIPLET}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# What the build takes from the system: GoogleTest's sources (compiled with this toolchain) and
# Wine's IDL files and stdole2.tlb for the type library.
set(MARROWBY_GTEST_SOURCE /usr/src/googletest)
set(MARROWBY_WIDL_FLAGS -I/usr/include/wine/wine/windows
    -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
