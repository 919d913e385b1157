# Cross-compiling the Win32 client with MinGW-w64; included by the toolchain
# file of each target processor after it sets LERVA_MINGW_TRIPLET and
# LERVA_WINE_BITS.
# The -posix compilers are used because GoogleTest needs std::mutex, which
# the win32 thread model lacks; linked statically, the exe still needs only
# system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${LERVA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LERVA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${LERVA_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LERVA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run under Wine, in the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run;${LERVA_WINE_BITS})
