# quorix_version_resource(<target> <file name> <description>): the Windows
# version resource, what a file's properties show (company, product, file
# description, version). windres is run by hand rather than through CMake's
# RC language, which would hand it the targets' compiler options.
function(quorix_version_resource target file_name description)
  if(NOT WIN32)
    return()
  endif()
  if(CMAKE_RC_COMPILER)
    set(QUORIX_WINDRES ${CMAKE_RC_COMPILER})
  else()
    quorix_mingw_tool(windres QUORIX_WINDRES)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(QUORIX_RC_FILE_TYPE VFT_APP)
  else()
    set(QUORIX_RC_FILE_TYPE VFT_DLL)
  endif()
  set(QUORIX_RC_FILE_NAME ${file_name})
  set(QUORIX_RC_DESCRIPTION ${description})
  set(rc ${PROJECT_BINARY_DIR}/version/${target}.rc)
  set(object ${PROJECT_BINARY_DIR}/version/${target}.res.o)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  add_custom_command(OUTPUT ${object}
    COMMAND ${QUORIX_WINDRES} --preprocessor=${CMAKE_C_COMPILER} --preprocessor-arg=-E
            --preprocessor-arg=-xc-header --preprocessor-arg=-DRC_INVOKED -O coff -i ${rc} -o ${object}
    DEPENDS ${rc}
    VERBATIM)
  set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${object})
endfunction()
