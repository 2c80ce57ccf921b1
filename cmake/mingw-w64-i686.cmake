# Cross build of the Windows programs for 32-bit Windows with mingw-w64.
set(QUORVAL_MINGW_TRIPLE i686-w64-mingw32)
# The x87 unit keeps intermediate results in 80 bits, which moves the last
# digit of a seconds or degrees column now and then; SSE2 computes in the
# doubles the tables are defined by, as every 64-bit build does.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
