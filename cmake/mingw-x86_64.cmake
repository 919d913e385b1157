# The same client built for 64-bit Windows, for machines whose kernel runs
# no 32-bit programs (and so no 32-bit Wine): the Wine tests run on it there.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LERVA_MINGW_TRIPLET x86_64-w64-mingw32)
set(LERVA_WINE_BITS 64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
