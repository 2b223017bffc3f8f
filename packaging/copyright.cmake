# Debian's machine-readable copyright file, made from LICENSE alone so that the licence is
# chosen in one file: its first line names the licence ("MIT License"), its "Copyright (c)"
# line gives the holders, and the text after that line is the licence's own.

# Debian's short names where they differ from the common ones.
set(tallyform_debian_licence_names "MIT=Expat")

function(tallyform_write_copyright licence_file output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${licence_file})
  file(STRINGS ${licence_file} lines)
  list(GET lines 0 title)
  string(REGEX REPLACE " +License$" "" licence "${title}")
  foreach(pair IN LISTS tallyform_debian_licence_names)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 common)
    list(GET pair 1 debian)
    if(licence STREQUAL common)
      set(licence ${debian})
    endif()
  endforeach()

  file(READ ${licence_file} text)
  if(NOT text MATCHES "\nCopyright \\([cC]\\) ([^\n]+)\n(.*)$")
    message(FATAL_ERROR "${licence_file} has no \"Copyright (c) YEAR HOLDER\" line")
  endif()
  set(holders "${CMAKE_MATCH_1}")
  string(STRIP "${CMAKE_MATCH_2}" body)
  # Continuation lines start with a space; an empty line is a lone " .".
  string(REPLACE "\n" "\n " body " ${body}")
  string(REGEX REPLACE "\n +\n" "\n .\n" body "${body}")
  string(REGEX REPLACE "\n +\n" "\n .\n" body "${body}")

  file(WRITE ${output}
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: Tallyform\n"
    "Upstream-Contact: ${TALLYFORM_CONTACT}\n"
    "Source: ${TALLYFORM_HOMEPAGE}\n"
    "\n"
    "Files: *\n"
    "Copyright: ${holders}\n"
    "License: ${licence}\n"
    "\n"
    "License: ${licence}\n"
    "${body}\n")
endfunction()
