# quorix.jar, the Java binding (bindings/java), built with the host's JDK
# against JNA. The jar is the same for both targets, so the Windows cross
# tree builds it too; it lands in bin/ beside the libraries it binds.

find_package(Java 17 REQUIRED COMPONENTS Development)
include(UseJava)
# The host's own jar, also in a cross build (its search root holds no Java).
find_file(QUORIX_JNA_JAR jna.jar PATHS /usr/share/java NO_CMAKE_FIND_ROOT_PATH
  DOC "JNA's jna.jar")
if(NOT QUORIX_JNA_JAR)
  message(FATAL_ERROR "QUORIX_JAVA needs JNA's jna.jar (Debian: libjna-java)")
endif()

set(CMAKE_JAVA_COMPILE_FLAGS --release 17 -encoding UTF-8 -Xlint:all)
if(QUORIX_WERROR)
  list(APPEND CMAKE_JAVA_COMPILE_FLAGS -Werror)
endif()
# Class-Path names jna.jar beside quorix.jar, where Debian keeps both.
configure_file(${PROJECT_SOURCE_DIR}/bindings/java/MANIFEST.MF.in
  ${PROJECT_BINARY_DIR}/java/MANIFEST.MF @ONLY)
add_jar(quorix_jar
  SOURCES ${PROJECT_SOURCE_DIR}/bindings/java/src/quorix/Exports.java
          ${PROJECT_SOURCE_DIR}/bindings/java/src/quorix/Paf.java
          ${PROJECT_SOURCE_DIR}/bindings/java/src/quorix/Win1252.java
  INCLUDE_JARS ${QUORIX_JNA_JAR}
  MANIFEST ${PROJECT_BINARY_DIR}/java/MANIFEST.MF
  OUTPUT_NAME quorix
  OUTPUT_DIR ${PROJECT_BINARY_DIR}/bin)
get_target_property(QUORIX_JAR quorix_jar JAR_FILE)
