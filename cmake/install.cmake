# What an integrator installs: the library, the signing library, the quorix
# program, the header, the bindings and the documents; on Linux also the CMake
# package (quorix::quorix) and quorix.pc. CPack turns the same rules into the
# Debian package (native tree) and the Windows zips (the i686 and x86_64 cross
# trees); see
# tools/package.sh.

# The quorix unit and the Lazarus package that holds it.
set(QUORIX_PASCAL_PACKAGE ${PROJECT_SOURCE_DIR}/bindings/pascal/quorix.pas
  ${PROJECT_SOURCE_DIR}/bindings/pascal/lazquorix.lpk
  ${PROJECT_SOURCE_DIR}/bindings/pascal/lazquorix.pas)

if(WIN32)
  # One folder for everything a host runs: quorix.dll finds sign_bema.dll
  # beside itself, and so does a host's .exe put there.
  install(PROGRAMS $<TARGET_FILE:quorix> $<TARGET_FILE:sign_bema> $<TARGET_FILE:quorix_cli>
    DESTINATION .)
  # Installed as plain files (install(TARGETS) would add ld's import library),
  # so stripped here: the symbol tables are most of their size.
  if(CMAKE_STRIP)
    foreach(file quorix.dll sign_bema.dll quorix.exe)
      install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${file}\" COMMAND_ERROR_IS_FATAL ANY)")
    endforeach()
  endif()
  # dlltool's import library (decorated names mapped onto the exports), not
  # ld's, which loses the mapping under --kill-at.
  install(FILES ${QUORIX_IMPLIB} DESTINATION lib)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QUORIX_MSVC_BITS 32)
    set(QUORIX_MSVC_MACHINE x86)
    set(QUORIX_MSVC_NAMES "quorix.dll exports its functions undecorated; quorix.def maps the names a C
host compiled with quorix.h calls (quorix_Header@4 and so on) onto them. Make
the import library once, in a Visual Studio x86 command prompt, in this folder:")
  else()
    set(QUORIX_MSVC_BITS 64)
    set(QUORIX_MSVC_MACHINE x64)
    set(QUORIX_MSVC_NAMES "quorix.dll exports its functions by the names quorix.h declares; quorix.def
lists them with their ordinals. Make the import library once, in a Visual
Studio x64 command prompt, in this folder:")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/MSVC.txt.in ${PROJECT_BINARY_DIR}/MSVC.txt @ONLY)
  install(FILES ${QUORIX_DEF} ${PROJECT_BINARY_DIR}/MSVC.txt DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/include/quorix.h DESTINATION include)
  install(FILES ${QUORIX_PASCAL_PACKAGE} DESTINATION bindings/pascal)
  install(FILES ${PROJECT_SOURCE_DIR}/bindings/dotnet/Quorix.cs DESTINATION bindings/dotnet)
  if(QUORIX_JAVA)
    install(FILES ${QUORIX_JAR} DESTINATION bindings/java)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION docs)
else()
  include(CMakePackageConfigHelpers)
  set(QUORIX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quorix)
  set(QUORIX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quorix)

  install(TARGETS quorix EXPORT quorixTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  # Loaded by its SONAME at run time, never linked: no development link.
  install(TARGETS sign_bema LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_SKIP)
  install(TARGETS quorix_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/include/quorix.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(FILES ${QUORIX_PASCAL_PACKAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/quorix/bindings/pascal)
  if(QUORIX_JAVA)
    # Where Debian keeps jars, beside the jna.jar its manifest names: the
    # versioned file and quorix.jar pointing to it, as Debian's Java policy asks.
    set(jar quorix-${PROJECT_VERSION}.jar)
    file(CREATE_LINK ${jar} ${PROJECT_BINARY_DIR}/java/quorix.jar SYMBOLIC)
    install(FILES ${QUORIX_JAR} DESTINATION ${CMAKE_INSTALL_DATADIR}/java RENAME ${jar})
    install(FILES ${PROJECT_BINARY_DIR}/java/quorix.jar DESTINATION ${CMAKE_INSTALL_DATADIR}/java)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/bindings/dotnet/Quorix.cs
    DESTINATION ${CMAKE_INSTALL_DATADIR}/quorix/bindings/dotnet)

  install(EXPORT quorixTargets NAMESPACE quorix:: DESTINATION ${QUORIX_CMAKE_DIR})
  configure_package_config_file(${PROJECT_SOURCE_DIR}/packaging/quorixConfig.cmake.in
    ${PROJECT_BINARY_DIR}/packaging/quorixConfig.cmake INSTALL_DESTINATION ${QUORIX_CMAKE_DIR})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/packaging/quorixConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/quorixConfig.cmake
    ${PROJECT_BINARY_DIR}/packaging/quorixConfigVersion.cmake DESTINATION ${QUORIX_CMAKE_DIR})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/quorix.pc.in
    ${PROJECT_BINARY_DIR}/packaging/quorix.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/quorix.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

  # Debian keeps the licence as the copyright file and wants the changelog and
  # the manual page compressed, reproducibly (no name or time in the header).
  find_program(QUORIX_GZIP gzip REQUIRED)
  execute_process(COMMAND ${QUORIX_GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog
    OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  # One manual page per command, written by the built program from the same
  # definitions its --help shows.
  set(QUORIX_MAN_DIR ${PROJECT_BINARY_DIR}/packaging/man)
  add_custom_command(OUTPUT ${QUORIX_MAN_DIR}/quorix.1.gz
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUORIX_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORIX_MAN_DIR}
    COMMAND $<TARGET_FILE:quorix_cli> --man-pages ${QUORIX_MAN_DIR}
    COMMAND sh -c "${QUORIX_GZIP} -9n '${QUORIX_MAN_DIR}'/*.1"
    DEPENDS quorix_cli quorix sign_bema VERBATIM)
  add_custom_target(quorix_man_pages ALL DEPENDS ${QUORIX_MAN_DIR}/quorix.1.gz)
  install(DIRECTORY ${QUORIX_MAN_DIR}/ DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
    FILES_MATCHING PATTERN "*.1.gz")
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    DESTINATION ${QUORIX_DOC_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${QUORIX_DOC_DIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${QUORIX_DOC_DIR}/docs)
endif()

if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()

set(CPACK_PACKAGE_NAME quorix)
set(CPACK_PACKAGE_VENDOR quorix)
set(CPACK_PACKAGE_CONTACT "quorix developers <quorix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "library for the report files of the PAF-ECF regulation")
set(CPACK_PACKAGE_DESCRIPTION
  "quorix is the library a point-of-sale program loads to produce the
report files of the Brazilian PAF-ECF fiscal regulation: one call per
report line, each field validated and rendered to its fixed width, the
file written and signed by the signing library sign_bema (included).
This package holds both libraries, the C header, the CMake package and
pkg-config file, the quorix program, the Pascal (with the Lazarus package
lazquorix) and C# bindings, and the Java binding /usr/share/java/quorix.jar
(over JNA, from libjna-java).")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_PACKAGE_FILE_NAME quorix-${PROJECT_VERSION}-win32)
  else()
    set(CPACK_PACKAGE_FILE_NAME quorix-${PROJECT_VERSION}-win64)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  # Only the Java binding needs JNA; a C or Pascal host does not.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS libjna-java)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Dependencies computed from the binaries (libssl3 for the signing library);
  # the shlibs file lets other packages depend on this one the same way.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  # The dynamic linker's cache is refreshed by dpkg's trigger.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers)
endif()
include(CPack)
