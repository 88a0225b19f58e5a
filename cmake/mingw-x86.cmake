set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARNUVO_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# x87 arithmetic rounds floats differently from x64; SSE makes both builds
# produce the same samples.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
