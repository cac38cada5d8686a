# Cross build of a Windows DLL with mingw-w64 for QUORIX_MINGW_PROCESSOR (i686
# or x86_64), set by the toolchain file that includes this one. The posix
# threads variant, which GoogleTest needs for std::mutex. Tests run under
# Wine through tools/wine-run.sh, which picks wine64 for a 64-bit program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUORIX_MINGW_PROCESSOR})
set(triple ${QUORIX_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
unset(triple)
