#pragma once

#include <string>

// Derivations from a path as the user typed or chose it. Both "/" and "\" separate folders, so a
// Windows-style path gives the same parts here as on Windows; a colon separates only as the colon of
// a drive ("C:"), because elsewhere it is an ordinary character of a POSIX file name.
namespace nagitori {

inline constexpr char kInvalidPathCharacters[] = "パスに無効な文字が含まれています";

// The name after the last separator, cut before its last full stop. A leading full stop belongs to
// the name (".profile" stays whole). Throws Error(kInvalidPathCharacters) for a path holding a control
// character, '"', '<', '>' or '|'.
std::string FileNameWithoutExtension(const std::string& path);

// The folder holding the path's last component, without a trailing separator, except that a root
// keeps it ("/", "C:\"); "C:x.exe" gives "C:"; empty when there is no folder.
std::string FolderOfPath(const std::string& path);

// The path up to and including its last separator or drive colon; empty when it has neither.
std::string FolderPartOfPath(const std::string& path);

}  // namespace nagitori
