#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/Utf8Path.h"

// The texts of file errors, with the path and the reason. They end without a full stop, as the general error
// box adds one.
namespace nagitori::file_errors {

inline constexpr char kReadOnly[] = "読み取り専用のファイルです";
inline constexpr char kTooLarge[] = "ファイルが大きすぎます";
inline constexpr char kInUse[] = "ほかのプログラムが使用中です";
inline constexpr char kNotUtf8[] = "UTF-8のテキストではありません";
inline constexpr char kNotRegularFile[] = "通常のファイルではありません";
inline constexpr char kLineBreak[] = "改行を含んでいます";
inline constexpr char kOtherUsersLink[] = "ほかのユーザーのシンボリックリンクです";

inline std::string CannotRead(const std::filesystem::path& path, std::string_view reason) {
    return "ファイル「" + Utf8FromPath(path) + "」を読み込めませんでした（" + std::string(reason) + "）";
}

inline std::string CannotWrite(const std::filesystem::path& path, std::string_view reason) {
    return "ファイル「" + Utf8FromPath(path) + "」に書き込めませんでした（" + std::string(reason) + "）";
}

}  // namespace nagitori::file_errors
