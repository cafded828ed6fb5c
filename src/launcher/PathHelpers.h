#pragma once

#include <string>

// Derivations from a path as the user typed or chose it, by the rules of the system the program runs on.
// On Windows "\" and "/" separate folders and "C:" names a drive; elsewhere only "/" separates, and "\" and
// ":" are ordinary characters of a file name.
namespace nagitori {

inline constexpr char kInvalidPathCharacters[] = "パスに無効な文字が含まれています";

// The name after the last separator, cut before its last full stop. A leading full stop belongs to
// the name (".profile" stays whole). Throws Error(kInvalidPathCharacters) for a path holding a character
// that no path of this system may hold: on Windows a control character, '"', '<', '>' or '|'; elsewhere NUL.
std::string FileNameWithoutExtension(const std::string& path);

// The folder holding the path's last component, without a trailing separator, except that a root
// keeps it ("/", "C:\"); "C:x.exe" gives "C:" on Windows; empty when there is no folder.
std::string FolderOfPath(const std::string& path);

// The path up to and including its last separator (or, on Windows, its drive colon); empty when it has
// neither.
std::string FolderPartOfPath(const std::string& path);

}  // namespace nagitori
