# Runs at install time, after every other file is installed. Lists the installed files in the program's folder,
# where `make uninstall` finds the list even when the build folder is gone. Files that an earlier install into the
# same place recorded stay listed, so that a file a newer version no longer installs is still removed. A staged
# install (DESTDIR) is for a package, which its package manager removes: it gets no list.
# Expects NAGITORI_PROGRAM_DIR (the program's folder below the prefix).

if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()
cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
set(record "${prefix}/${NAGITORI_PROGRAM_DIR}/install_manifest.txt")
set(files)
if(EXISTS "${record}")
    file(STRINGS "${record}" files)
endif()
list(APPEND files ${CMAKE_INSTALL_MANIFEST_FILES} "${record}")
list(REMOVE_DUPLICATES files)
list(JOIN files "\n" content)
message(STATUS "Installing: ${record}")
file(WRITE "${record}" "${content}\n")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${record}")
