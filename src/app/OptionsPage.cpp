#include "app/OptionsPage.h"

#include <QIcon>
#include <array>

namespace nagitori {

namespace {

constexpr int kButtonWidth = 466;
constexpr int kButtonHeight = 33;

QPushButton* MakeButton(QWidget* page, int row, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), page);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(3, 3 + 39 * row, kButtonWidth, kButtonHeight);
    return button;
}

}  // namespace

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent) {
    Help = MakeButton(this, 0, "Help", "ヘルプ(&H)");
    StartupEntry = MakeButton(this, 1, "StartupEntry", "");
    SettingDialogOpen = MakeButton(this, 2, "SettingDialogOpen", "設定(&S)");
    ExecuteFileRunDialogOpen = MakeButton(this, 3, "ExecuteFileRunDialogOpen", "実行ファイルを指定して起動(&E)");
    LauncherSettingDialogOpen = MakeButton(this, 4, "LauncherSettingDialogOpen", "ランチャーの管理(&L)");
    VersionInformationDialogOpen = MakeButton(this, 5, "VersionInformationDialogOpen", "バージョン情報(&A)");
    StartupEntry->setIcon(QIcon(QStringLiteral(":/shield.svg")));
    SetStartupCaption(false);

    const std::array<QWidget*, 6> order{Help,
                                        StartupEntry,
                                        SettingDialogOpen,
                                        ExecuteFileRunDialogOpen,
                                        LauncherSettingDialogOpen,
                                        VersionInformationDialogOpen};
    for (size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void OptionsPage::SetStartupCaption(bool registered) {
    StartupEntry->setText(registered ? QStringLiteral("自動起動の解除") : QStringLiteral("Windows起動時に自動起動"));
}

}  // namespace nagitori
