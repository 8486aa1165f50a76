# 32-bit Windows: the shipped add-in, and the tests run under 32-bit Wine where the kernel runs
# 32-bit programs.
set(MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
# What x64 forgives and x86 does not: a function cast across calling conventions (a callback
# without CALLBACK), an integer made into a pointer of another size, a format that does not fit
# its argument.
set(CMAKE_CXX_FLAGS_INIT "-Werror=cast-function-type -Werror=int-to-pointer-cast -Werror=format -Wformat=2")
