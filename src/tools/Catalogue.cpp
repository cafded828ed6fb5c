#include "tools/Catalogue.h"

namespace nagitori {

namespace {

// In tag order: tags 0-19 system tools, 20-39 applications, 40-59 Store applications.
constexpr CatalogueEntry kCatalogue[kCatalogueSize] = {
    {"Button1", "イベント ビュアー (&0)", "eventvwr.msc"},
    {"Button2", "インターネットのプロパティ (&1)", "inetcpl.cpl"},
    {"Button3", "コマンド プロンプト (&2)", "cmd.exe"},
    {"Button4", "コントロールパネル (&3)", "control"},
    {"Button5", "コンピューターの管理 (&4)", "compmgmt.msc"},
    {"Button6", "サービス (&5)", "services.msc"},
    {"Button7", "システム構成(&6)", "msconfig.exe"},
    {"Button8", "システム情報 (&7)", "msinfo32"},
    {"Button9", "セキュリティとメンテナンス (&8)", "wscui.cpl"},
    {"Button10", "タスク マネージャー (&9)", "taskmgr.exe"},
    {"Button11", "ディスク クリーンアップ (&A)", "cleanmgr.exe"},
    {"Button12", "デバイス マネージャー (&B)", "devmgmt.msc"},
    {"Button13", "ドライブのデフラグと最適化 (&C)", "dfrgui.exe"},
    {"Button14", "モビリティ センター (&D)", "mblctr.exe"},
    {"Button15", "リソース モニター (&E)", "perfmon.exe"},
    {"Button16", "リモート デスクトップ接続 (&F)", "mstsc.exe"},
    {"Button17", "レジストリ エディタ (&G)", "regedit.exe"},
    {"Button18", "Direct X 診断ツール (&H)", "dxdiag.exe"},
    {"Button19", "Windows Defender ファイアウォール (&I)", "firewall.cpl"},
    {"Button20", "Windows PowerShell (&J)", "powershell"},
    {"Button61", "エクスプローラー (&0)", "explorer"},
    {"Button62", "拡大鏡 (&1)", "magnify"},
    {"Button63", "数式入力パネル (&2)", "mip"},
    {"Button64", "スクリーン キーボード (&3)", "osk"},
    {"Button65", "ステップ記録ツール (&4)", "psr"},
    {"Button66", "電卓 (&5)", "calc"},
    {"Button67", "ペイント (&6)", "mspaint"},
    {"Button68", "メモ帳 (&7)", "notepad"},
    {"Button69", "文字コード表 (&8)", "charmap"},
    {"Button70", "ワードパッド (&9)", "wordpad"},
    {"Button71", "IExpress（自己解凍ファイル作成ツール） (&A)", "iexpress"},
    {"Button72", "Internet Explorer (&B)", "iexplore"},
    {"Button73", "Microsoft Office Excel (&C)", "excel"},
    {"Button74", "Microsoft Office OneNote (&D)", "onenote"},
    {"Button75", "Microsoft Office Outlook (&E)", "outlook"},
    {"Button76", "Microsoft Office PowerPoint (&F)", "powerpnt"},
    {"Button77", "Microsoft Office Word (&G)", "winword"},
    {"Button78", "Snipping Tool (&H)", "SnippingTool"},
    {"Button79", "Windows Media Player (&I)", "wmplayer"},
    {"Button80", "XPS ビュアー (&J)", "xpsrchvw"},
    {"Button21", "アラーム＆クロック (&0)", "ms-clock:"},
    {"Button22", "映画＆ビデオ (&1)", "mswindowsvideo:"},
    {"Button23", "カメラ (&2)", "microsoft.windows.camera:"},
    {"Button24", "カレンダー (&3)", "outlookcal:"},
    {"Button25", "設定 (&4)", "ms-settings:"},
    {"Button26", "天気 (&5)", "msnweather:"},
    {"Button27", "電卓 (&6)", "calculator:"},
    {"Button28", "ヒント (&7)", "ms-get-started:"},
    {"Button29", "フィードバック Hub (&8)", "feedback-hub:"},
    {"Button30", "フォト (&9)", "ms-photos:"},
    {"Button31", "ペイント3D (&A)", "ms-paint:"},
    {"Button32", "マップ (&B)", "bingmaps:"},
    {"Button33", "メール (&C)", "outlookmail:"},
    {"Button34", "Microsoft Edge (&D)", "microsoft-edge:"},
    {"Button35", "Microsoft Store (&E)", "zune:"},
    {"Button36", "OneNote (&F)", "onenote-cmd:"},
    {"Button37", "People (&G)", "ms-people:"},
    {"Button38", "Skype (&H)", "skype:"},
    {"Button39", "Windows Defender セキュリティ センター(&I)", "windowsdefender:"},
    {"Button40", "Xbox (&J)", "xbox:"},
};

}  // namespace

const CatalogueEntry& CatalogueEntryOf(int tag) {
    return kCatalogue[tag];
}

std::vector<std::string> BuildToolRunCommand() {
    std::vector<std::string> commands;
    commands.reserve(kCatalogueSize);
    for (const CatalogueEntry& entry : kCatalogue) {
        commands.emplace_back(entry.command);
    }
    return commands;
}

std::optional<std::string_view> FixedParameters(int tag) {
    switch (tag) {
        case 9: return "/7";
        case 14: return "/res";
        default: return std::nullopt;
    }
}

}  // namespace nagitori
