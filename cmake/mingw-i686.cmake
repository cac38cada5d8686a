# The 32-bit Windows DLL, the one most hosts load. Its tests run under Wine
# where the kernel runs 32-bit programs.
set(QUORIX_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
