#pragma once

// Texts several windows share. Each window keeps its own texts beside its code.
namespace nagitori::messages {

inline constexpr char kApplicationTitle[] = "ナギトリ";
inline constexpr char kSaveFailed[] = "設定の保存に失敗しました。";
// %1: the key as the user sees it.
inline constexpr char kUnusableSummonKey[] =
    "「%1」は呼び出しキーに使えません。\n"
    "Ctrl、Alt、Super のいずれかと組み合わせたキーか、ファンクションキーを選んでください。";

}  // namespace nagitori::messages
