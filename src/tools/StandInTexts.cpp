#include "tools/StandInTexts.h"

namespace nagitori {

namespace {

std::string Joined(const std::vector<std::string>& packages) {
    std::string text;
    for (const std::string& package : packages) {
        text += (text.empty() ? "" : ", ") + package;
    }
    return text;
}

}  // namespace

std::string CaptionWithoutAccessKey(std::string_view caption) {
    // Every built-in caption ends in "(&X)", some with a blank before it.
    if (caption.size() >= 4 && caption.substr(caption.size() - 4, 2) == "(&" && caption.back() == ')') {
        caption.remove_suffix(4);
    }
    while (!caption.empty() && caption.back() == ' ') {
        caption.remove_suffix(1);
    }
    return std::string(caption);
}

std::string MissingStandInNotice(std::string_view caption, const StandInReport& report) {
    const std::string name = CaptionWithoutAccessKey(caption);
    if (report.packages.empty()) {
        return name + ": Linux にはこの機能に相当するプログラムがありません。";
    }
    return name + ": このシステムには対応するプログラムがありません。次のいずれかをインストールしてください: " +
           Joined(report.packages);
}

std::string MissingElevationNotice(std::string_view caption, const MissingProgram& missing) {
    return CaptionWithoutAccessKey(caption) + ": 管理者権限で起動するためのプログラム " + missing.program +
           " がインストールされていません。次をインストールしてください: " + Joined(missing.packages);
}

std::string StandInToolTip(const StandInReport& report) {
    if (!report.program.empty()) {
        return "起動するプログラム: " + report.program;
    }
    if (report.packages.empty()) {
        return "Linux にはこの機能に相当するプログラムがありません。";
    }
    return "対応するプログラムがインストールされていません。候補: " + Joined(report.packages);
}

}  // namespace nagitori
