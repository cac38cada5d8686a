# The 64-bit Windows DLL, for 64-bit hosts. Its tests run under wine64, which
# needs no 32-bit support from the kernel.
set(QUORIX_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
