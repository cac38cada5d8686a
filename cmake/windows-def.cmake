# quorix_windows_def(<.def file> <result variable>): the module-definition file
# for this Windows target. The .def files name each export with its stdcall
# argument size (quorix_Header@4), the symbol a 32-bit compiler emits; x86-64
# has one calling convention and no decoration, so there the same file is
# used with the sizes taken off, names and ordinals unchanged.
function(quorix_windows_def source result)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${result} ${source} PARENT_SCOPE)
    return()
  endif()
  get_filename_component(name ${source} NAME)
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/x86_64/${name})
  file(READ ${source} content)
  string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" content "${content}")
  # The comments speak of the decorations; the copy says what it is instead.
  string(REGEX REPLACE "(^|\n);[^\n]*" "" content "${content}")
  string(REGEX REPLACE "^\n+" "" content "${content}")
  set(content "; The names and ordinals of ${name}, undecorated as on x86-64.\n${content}")
  set(old "")
  if(EXISTS ${plain})
    file(READ ${plain} old)
  endif()
  if(NOT old STREQUAL content)
    file(WRITE ${plain} "${content}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  set(${result} ${plain} PARENT_SCOPE)
endfunction()

# The binutils tool of this target's toolchain (dlltool, objdump), found beside
# the compiler by its target prefix.
function(quorix_mingw_tool tool result)
  get_filename_component(compiler ${CMAKE_C_COMPILER} NAME)
  string(REGEX MATCH "^[^-]+-w64-mingw32" prefix "${compiler}")
  if(NOT prefix)
    set(prefix ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
  endif()
  string(TOUPPER "QUORIX_${tool}" var)
  find_program(${var} NAMES ${prefix}-${tool} ${tool} REQUIRED)
  set(${result} ${${var}} PARENT_SCOPE)
endfunction()
