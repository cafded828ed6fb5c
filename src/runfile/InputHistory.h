#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace nagitori {

// File names of the two histories in the data folder.
inline constexpr char kExecuteFileHistoryName[] = "ExecuteFileHistory.txt";
inline constexpr char kCurrentDirectoryHistoryName[] = "CurrentDirectoryHistory.txt";

// One input history: a UTF-8 text file of distinct entries, oldest first, separated by CR LF, with no
// line break after the last. Each call opens the file, holds a lock on it while it reads or appends,
// and closes it; a lock held by another program longer than the timeout fails the call.
class InputHistory {
public:
    static constexpr std::chrono::milliseconds kLockTimeout{3000};

    explicit InputHistory(std::filesystem::path path, std::chrono::milliseconds lockTimeout = kLockTimeout);

    // The entries in file order. A byte-order mark is skipped; CR LF, LF and CR each end a line; a
    // break at the very end adds no entry. No file (or a folder of that name) gives no entries.
    // Throws Error when the file cannot be read or is not UTF-8.
    std::vector<std::string> Load() const;

    // Appends the entry as the last line unless an equal line (exact bytes) is already there; a new
    // file holds the entry alone. An empty entry is never remembered. Throws WriteError when the file
    // cannot be written, and for an entry that would not read back as one line; the existing content
    // is never changed by a failure.
    void Add(const std::string& entry) const;

    // Removes the file unless it is write-protected; a missing file or a failure is ignored.
    void Delete() const;

private:
    std::filesystem::path path_;
    std::chrono::milliseconds lockTimeout_;
};

}  // namespace nagitori
