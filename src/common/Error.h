#pragma once

#include <stdexcept>
#include <string>

namespace nagitori {

// Every error the program raises itself; the message is UTF-8 and is shown to the user as it stands.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A write to a settings or data file that did not complete.
class WriteError : public Error {
public:
    using Error::Error;
};

}  // namespace nagitori
