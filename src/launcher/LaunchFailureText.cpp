#include "launcher/LaunchFailureText.h"

#include "platform/LaunchRequest.h"

namespace nagitori {

std::string LaunchFailureText(int result, const std::string& filePath) {
    std::string text = "アプリケーションの起動に失敗しました。\r\n";
    const char* detail = nullptr;
    switch (result) {
        case kShellFileNotFound: detail = "'が見つかりません。"; break;
        case kShellAccessDenied: detail = "'へのアクセスが拒否されました。"; break;
        case kShellOutOfMemory: detail = "'を起動するためのメモリが不足しています。"; break;
        case kShellBadFormat: detail = "'は不正なフォーマットです。"; break;
        case kShellDllNotFound: detail = "'を起動するために必要なコンポーネントが欠落または破損しています。"; break;
        default: return text;
    }
    return text + "'" + filePath + detail;
}

}  // namespace nagitori
