# Runs at install time. Writes the launcher entry with the absolute path of the installed program, because the
# program's own folder is not on PATH. Expects NAGITORI_DESKTOP_SOURCE (the entry with "Exec=nagitori") and
# NAGITORI_PROGRAM_DIR (the program's folder below the prefix).

cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
cmake_path(APPEND prefix "${NAGITORI_PROGRAM_DIR}" "nagitori" OUTPUT_VARIABLE exec)

# An argument holding a character the Exec key reserves is quoted, and inside the quotes four characters are
# escaped with a backslash.
if(exec MATCHES "[ \t\n\"'\\\\<>~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
# Field codes are expanded inside quotes too.
string(REPLACE "%" "%%" exec "${exec}")
# Last, the escapes of the key file itself.
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\n" "\\n" exec "${exec}")
string(REPLACE "\t" "\\t" exec "${exec}")
string(REPLACE "\r" "\\r" exec "${exec}")

file(READ "${NAGITORI_DESKTOP_SOURCE}" entry)
string(FIND "${entry}" "\nExec=nagitori\n" execLine)
if(execLine EQUAL -1)
    message(FATAL_ERROR "${NAGITORI_DESKTOP_SOURCE} has no line \"Exec=nagitori\"")
endif()
string(REPLACE "\nExec=nagitori\n" "\nExec=${exec}\n" entry "${entry}")

set(destination "${prefix}/share/applications/nagitori.desktop")
message(STATUS "Installing: $ENV{DESTDIR}${destination}")
file(WRITE "$ENV{DESTDIR}${destination}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destination}")
