#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "settings/SettingDialogFixture.h"

namespace nagitori::test {
namespace {

using SettingDialogLayout = SettingDialogFixture;

// The caption a user sees for a control: a field's comes from the label that names it.
QString CaptionOf(const QWidget* widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    for (const QLabel* label : widget->parentWidget()->findChildren<QLabel*>()) {
        if (label->buddy() == widget) {
            return label->text();
        }
    }
    return {};
}

QStringList ItemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items.push_back(list->itemText(i));
    }
    return items;
}

TEST_F(SettingDialogLayout, WindowPagesAndButtons) {
    TSetting& d = Create();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("設定"));
    EXPECT_EQ(d.size(), QSize(442, 240));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(d.font().family(), QStringLiteral("Noto Sans CJK JP"));

    const char* pages[][2] = {{"TabSheet1", "ツールの起動時オプション"},
                              {"TabSheet2", "起動時の設定"},
                              {"TabSheet3", "自動入力"},
                              {"TabSheet4", "その他"}};
    ASSERT_EQ(d.PageControl1->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.PageControl1->widget(i)->objectName(), QString::fromUtf8(pages[i][0]));
        EXPECT_EQ(d.PageControl1->tabText(i), QString::fromUtf8(pages[i][1]));
    }
    EXPECT_EQ(d.PageControl1->currentIndex(), 0);

    EXPECT_TRUE(d.OK->isDefault());
    EXPECT_FALSE(d.OK->icon().isNull());
    EXPECT_FALSE(d.Cancel->icon().isNull());
    EXPECT_FALSE(d.StartupEntry->icon().isNull());
    EXPECT_FALSE(d.DeleteStartup->icon().isNull());
    for (QPushButton* button : {d.OK, d.Cancel}) {
        EXPECT_EQ(button->parentWidget(), &d);
        EXPECT_GE(button->geometry().top(), d.PageControl1->geometry().bottom());
        EXPECT_LE(button->geometry().right(), d.width());
        EXPECT_LE(button->geometry().bottom(), d.height());
    }
}

TEST_F(SettingDialogLayout, EveryControlHasItsCaptionOnItsPage) {
    TSetting& d = Create();
    struct Control {
        const char* name;
        int page;  // 1 to 4
        const char* caption;
    };
    const Control controls[] = {
        {"CommandLine", 1, "コマンドライン引数(&L):"},
        {"CommandLineReference", 1, ">"},
        {"CurrentDirectory", 1, "カレントディレクトリ(&C):"},
        {"CurrentDirectoryReference", 1, "..."},
        {"Label7", 1, "ウィンドウのサイズ(&S):"},
        {"WindowSize", 1, "ウィンドウのサイズ(&S):"},
        {"Administrator", 1, "管理者権限を付与する(&G)"},
        {"WindowTopShow", 2, "最前面に表示する(&T)"},
        {"RunAdministrator", 2, "起動時に管理者権限を必要とする(&A)"},
        {"SummonKeyLabel", 2, "呼び出しキー(&K):"},
        {"SummonKey", 2, "呼び出しキー(&K):"},
        {"RunShowTab", 2, "起動時に表示する項目(&S)"},
        {"StartupEntry", 2, "スタートアップに登録"},
        {"DeleteStartup", 2, "スタートアップから削除"},
        {"GroupBox1", 3, "ランチャーの管理(&L)"},
        {"Label1", 3, "名前:"},
        {"Label3", 3, "カレントディレクトリ:"},
        {"GroupBox2", 3, "実行ファイルを指定して起動(&E)"},
        {"Label2", 3, "カレントディレクトリ:"},
        {"GroupBox3", 4, "履歴の削除(&H)"},
        {"HistoryDelete_FilePath", 4, "ファイルパス"},
        {"HistoryDelete_CurrentDirectory", 4, "カレントディレクトリ"},
        {"GroupBox4", 4, "設定の初期化(&R)"},
        {"SettingReset_Setting", 4, "ナギトリの設定"},
        {"SettingReset_LauncherSetting", 4, "ランチャー"},
        {"SettingReset_AllSetting", 4, "すべての設定を初期化"},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* widget = d.findChild<QWidget*>(QString::fromUtf8(c.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(d.PageControl1->widget(c.page - 1)->isAncestorOf(widget));
        EXPECT_EQ(CaptionOf(widget), QString::fromUtf8(c.caption));
        EXPECT_TRUE(QRect(QPoint(0, 0), widget->parentWidget()->size()).contains(widget->geometry()));
    }
    // The field buttons stand at the right end of their fields.
    EXPECT_EQ(d.CommandLineReference->geometry().left(), d.CommandLine->geometry().right() + 1);
    EXPECT_EQ(d.CurrentDirectoryReference->geometry().left(), d.CurrentDirectory->geometry().right() + 1);
    // The summon key stands beside the two check boxes, clear of them and of the radio group.
    for (const QWidget* mine : std::initializer_list<const QWidget*>{d.SummonKey, d.SummonKeyLabel}) {
        for (const QWidget* other :
             std::initializer_list<const QWidget*>{d.WindowTopShow, d.RunAdministrator, d.RunShowTab}) {
            EXPECT_FALSE(mine->geometry().intersects(other->geometry()))
                << mine->objectName().toStdString() << " " << other->objectName().toStdString();
        }
    }
    EXPECT_TRUE(d.GroupBox1->isAncestorOf(d.Launcher_Name));
    EXPECT_TRUE(d.GroupBox1->isAncestorOf(d.Launcher_CurrentDirectory));
    EXPECT_TRUE(d.GroupBox2->isAncestorOf(d.ExecuteFileRun_CurrentDirectory));
    EXPECT_TRUE(d.GroupBox3->isAncestorOf(d.HistoryDelete_CurrentDirectory));
    EXPECT_TRUE(d.GroupBox4->isAncestorOf(d.SettingReset_AllSetting));
}

TEST_F(SettingDialogLayout, ListsAndRadioGroupHoldTheirItems) {
    TSetting& d = Create();
    const QStringList noneOrFolder = {QStringLiteral("なし"), QStringLiteral("ファイルのディレクトリ")};
    const std::pair<QComboBox*, QStringList> lists[] = {
        {d.WindowSize, {QStringLiteral("最小化"), QStringLiteral("通常のサイズ"), QStringLiteral("最大化")}},
        {d.Launcher_Name, {QStringLiteral("なし"), QStringLiteral("拡張子を除いたファイル名")}},
        {d.Launcher_CurrentDirectory, noneOrFolder},
        {d.ExecuteFileRun_CurrentDirectory, noneOrFolder},
    };
    for (const auto& [list, items] : lists) {
        SCOPED_TRACE(list->objectName().toStdString());
        EXPECT_EQ(ItemsOf(list), items);
        EXPECT_FALSE(list->isEditable());
    }

    const QStringList pages = {QStringLiteral("システムツール"), QStringLiteral("Windows標準アプリケーション"),
                               QStringLiteral("ストア／UWP（Windows 10のみ）"), QStringLiteral("ランチャー"),
                               QStringLiteral("オプション")};
    ASSERT_EQ(d.RunShowTab->Count(), pages.size());
    for (int i = 0; i < d.RunShowTab->Count(); ++i) {
        EXPECT_EQ(d.RunShowTab->Button(i)->text(), pages[i]);
    }
    // Two columns, filled column by column: the fourth item heads the second column.
    EXPECT_EQ(d.RunShowTab->Button(3)->y(), d.RunShowTab->Button(0)->y());
    EXPECT_GT(d.RunShowTab->Button(3)->x(), d.RunShowTab->Button(2)->x());
    EXPECT_EQ(d.RunShowTab->Button(2)->x(), d.RunShowTab->Button(0)->x());
}

TEST_F(SettingDialogLayout, TabOrderRunsThroughThePagesThenOkAndCancel) {
    TSetting& d = Create();
    std::vector<QWidget*> expected = {
        d.CommandLine, d.CommandLineReference, d.CurrentDirectory, d.CurrentDirectoryReference,
        d.WindowSize,  d.Administrator,        d.WindowTopShow,    d.RunAdministrator,
        d.SummonKey};
    for (int i = 0; i < d.RunShowTab->Count(); ++i) {
        expected.push_back(d.RunShowTab->Button(i));
    }
    expected.insert(expected.end(), {d.StartupEntry, d.DeleteStartup, d.Launcher_Name, d.Launcher_CurrentDirectory,
                                     d.ExecuteFileRun_CurrentDirectory, d.HistoryDelete_FilePath,
                                     d.HistoryDelete_CurrentDirectory, d.SettingReset_Setting,
                                     d.SettingReset_LauncherSetting, d.SettingReset_AllSetting, d.OK, d.Cancel});

    // Walk the focus chain once round from the page area, keeping the stops named above.
    QWidget* start = d.PageControl1->tabBar();
    std::vector<QWidget*> chain;
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
        if (std::find(expected.begin(), expected.end(), w) != expected.end()) {
            chain.push_back(w);
        }
    }
    EXPECT_EQ(chain, expected);
    EXPECT_EQ(d.Label7->buddy(), d.WindowSize);
}

TEST_F(SettingDialogLayout, OpensCentredOverItsOwner) {
    QWidget owner;
    owner.setGeometry(200, 150, 661, 404);
    owner.show();
    TSetting d(system, desktop, &owner, SettingDialogHost{startup, [](bool) {}, [] {}, n4, n5, {}});
    d.show();
    EXPECT_EQ(d.parentWidget(), &owner);
    EXPECT_LE((d.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
}

TEST_F(SettingDialogLayout, CommandLineCarriesTheFieldTools) {
    TSetting& d = Create();
    const QList<QAction*> items = d.CommandLineTools->CommandLineMenu->actions();
    ASSERT_EQ(items.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]->objectName(), QStringLiteral("N%1").arg(i + 1));
    }

    d.CommandLineReference->click();
    ASSERT_EQ(desktop.popups.size(), 1u);
    const QRect button = d.CommandLineReference->geometry();
    EXPECT_EQ(desktop.popups[0].screenPos, d.TabSheet1->mapToGlobal(QPoint(button.right() + 1, button.top())));

    // This dialog's copy: no space before the first file name in an empty field, no new folders.
    desktop.openFileAnswers.push_back({QStringLiteral("/a/b c"), QStringLiteral("/d")});
    desktop.popupChoices.push_back(QStringLiteral("ファイル名の挿入"));
    d.CommandLineReference->click();
    EXPECT_EQ(d.CommandLine->text(), QStringLiteral("/a/b c /d"));
    desktop.folderAnswers.push_back(QStringLiteral("/e"));
    d.CommandLineTools->InsertDirectoryPath->trigger();
    EXPECT_EQ(d.CommandLine->text(), QStringLiteral("/a/b c /d /e"));
    ASSERT_EQ(desktop.folderRequests.size(), 1u);
    EXPECT_FALSE(desktop.folderRequests[0].newFolderButton);
    d.CommandLineTools->Clear->trigger();
    EXPECT_EQ(d.CommandLine->text(), QString());
}

}  // namespace
}  // namespace nagitori::test
