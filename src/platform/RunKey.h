#pragma once

#include <string>

namespace nagitori {

// The texts a run key raises, with the value's name in quotes.
inline std::string RunKeyWrongTypeMessage(const std::string& name) {
    return "'" + name + "' のデータ型が不正です";
}
inline std::string RunKeyWriteFailedMessage(const std::string& name) {
    return "'" + name + "' の設定に失敗しました";
}

// The machine-wide list of programs started with the system, opened for full access.
// Read, write and delete raise Error with the text the user is shown.
class RunKey {
public:
    virtual ~RunKey() = default;
    // The value's text, empty when the value is absent; a value of another data type is an error.
    virtual std::string ReadString(const std::string& name) = 0;
    virtual void WriteString(const std::string& name, const std::string& data) = 0;
    // A missing value is not an error.
    virtual void DeleteValue(const std::string& name) = 0;
};

}  // namespace nagitori
