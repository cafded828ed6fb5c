# Runs at install time. Puts the command on PATH as a symbolic link to the program in its own folder: the program
# finds its help and its settings file beside its real path, and that folder stays the user's to write. The link
# holds the final absolute path, so that a staged install (DESTDIR) links to where the package puts the program.
# Expects NAGITORI_PROGRAM_DIR (the program's folder below the prefix).

cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
set(link "${prefix}/bin/nagitori")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${prefix}/bin")
message(STATUS "Installing: $ENV{DESTDIR}${link}")
file(CREATE_LINK "${prefix}/${NAGITORI_PROGRAM_DIR}/nagitori" "$ENV{DESTDIR}${link}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${link}")
