# Cross build of the Windows programs for 64-bit Windows with mingw-w64.
set(QUORVAL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
