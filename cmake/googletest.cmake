# GoogleTest: an installed one first (libgtest-dev or a package manager's),
# else built here from Debian's sources. The cross build always builds it from
# the sources with the cross compiler: an installed one is for this machine.
if(NOT TARGET GTest::gtest_main)
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(GTest QUIET)
  endif()
  if(NOT TARGET GTest::gtest_main)
    set(QUORIX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
      "GoogleTest sources, built when no installed GoogleTest is found")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${QUORIX_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endif()
