# How every target is made: the flags all of them share, and the include root each one
# exposes. Headers are included folder-qualified ("xls/xls_book.h"); a target's include root
# in the build tree holds one link, to its own source folder only, so a file reaches the
# headers of the targets it links and of no others.

# Warnings, and the sanitizer or fuzzer instrumentation when asked for: every target links this.
add_library(tallyform_flags INTERFACE)
target_compile_options(tallyform_flags INTERFACE -Wall -Wextra)
if(TALLYFORM_SANITIZE)
  target_compile_options(tallyform_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tallyform_flags INTERFACE -fsanitize=address,undefined)
  target_compile_definitions(tallyform_flags INTERFACE TALLYFORM_SANITIZED)
endif()
if(TALLYFORM_FUZZ)
  # Libraries get coverage instrumentation; only the fuzz targets link libFuzzer's main.
  target_compile_options(tallyform_flags INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  target_link_options(tallyform_flags INTERFACE -fsanitize=address,undefined)
endif()

# The include root that lets `target` include "FOLDER/..." for the source folder FOLDER.
function(tallyform_include_root target scope folder)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()

# A library of one folder: tallyform_library(NAME FOLDER SOURCES ... [PUBLIC ...] [PRIVATE ...])
# builds the sources into a static library exposing FOLDER and linking the named targets.
function(tallyform_library name folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  tallyform_include_root(${name} PUBLIC ${folder})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE tallyform_flags ${ARG_PRIVATE})
endfunction()

# tallyform_soname(TARGET LIBRARY_FILE DEFINE): compiles TARGET with DEFINE="the soname of
# LIBRARY_FILE", the name a library opened on first use (lazylib/) is loaded by, so that the
# version loaded is the one whose headers the build used.
function(tallyform_soname target library define)
  find_program(READELF readelf REQUIRED)
  execute_process(COMMAND ${READELF} -d ${library} OUTPUT_VARIABLE dynamic)
  string(REGEX MATCH "Library soname: \\[([^]]+)\\]" soname_line "${dynamic}")
  if(NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "no soname found in ${library}")
  endif()
  target_compile_definitions(${target} PRIVATE ${define}="${CMAKE_MATCH_1}")
  target_link_libraries(${target} PRIVATE tallyform_lazylib)
  # The binaries do not name it as needed, so the Debian package names its package itself.
  get_filename_component(file ${library} REALPATH)
  set_property(GLOBAL APPEND PROPERTY TALLYFORM_OPENED_LIBRARIES ${file})
endfunction()
