# The Debian package, built by CPack from the normal install (`make package`): the version is
# project(VERSION), the dependencies are what dpkg-shlibdeps finds the binaries need and the
# packages of the libraries they open on first use, and the binaries are stripped. The files
# it holds are laid out by packaging/CMakeLists.txt.

set(TALLYFORM_HOMEPAGE "https://www.example.com/qb7/")
set(TALLYFORM_CONTACT "The Tallyform developers <tallyform@example.com>")

# Every folder an install makes is 0755, whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
add_subdirectory(packaging)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallyform)
set(CPACK_PACKAGE_VENDOR "The Tallyform developers")
set(CPACK_PACKAGE_CONTACT "${TALLYFORM_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare and upload setlists for the QB-7 stage device")
set(CPACK_PACKAGE_DESCRIPTION
    "Tallyform joins a setlist (the song names of a show, in order) with a settings\n"
    "table (per song: title, device patch, notes, tempo) into one JSON setlist, and\n"
    "uploads it to the QB-7 over the device's own Wi-Fi. The tables are spreadsheet\n"
    "workbooks or comma-separated text files.\n"
    "\n"
    "The package holds the window, tallyform, and its command-line companion,\n"
    "tallyform-cli, which runs the same builds and upload from a shell.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TALLYFORM_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries opened on first use (tallyform_soname) are not among the binaries' needed
# libraries, so dpkg-shlibdeps cannot see them: the packages that hold them are named here,
# and CPack adds what dpkg-shlibdeps finds. dpkg knows some files by their /lib path.
get_property(opened_libraries GLOBAL PROPERTY TALLYFORM_OPENED_LIBRARIES)
set(opened_packages)
foreach(library IN LISTS opened_libraries)
  get_filename_component(name ${library} NAME)
  execute_process(COMMAND dpkg-query -S "*/${name}" OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET)
  string(REGEX MATCH "^[^:, ]+" package "${owner}")
  if(NOT status EQUAL 0 OR NOT package)
    message(FATAL_ERROR "no Debian package holds ${library}, which the programs open")
  endif()
  list(APPEND opened_packages ${package})
endforeach()
list(REMOVE_DUPLICATES opened_packages)
list(JOIN opened_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
