# The client as shipped: a 32-bit Windows program.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LERVA_MINGW_TRIPLET i686-w64-mingw32)
set(LERVA_WINE_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
