#pragma once

// Texts several windows share. Each window keeps its own texts beside its code.
namespace nagitori::messages {

inline constexpr char kApplicationTitle[] = "ナギトリ";
inline constexpr char kSaveFailed[] = "設定の保存に失敗しました。";

}  // namespace nagitori::messages
