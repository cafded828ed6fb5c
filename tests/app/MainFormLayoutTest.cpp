#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <QPushButton>

#include "app/MainFormFixture.h"
#include "app/OptionsPage.h"
#include "app/WindowIcon.h"

namespace nagitori::test {
namespace {

using MainFormLayout = MainFormFixture;

TEST_F(MainFormLayout, WindowListAndPageAreaHaveTheirGeometry) {
    TMainForm& main = Create();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("ナギトリ"));
    EXPECT_EQ(main.centralWidget()->size(), QSize(661, 404));
    EXPECT_EQ(main.minimumSize(), main.maximumSize());
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(main.Item->geometry(), QRect(8, 8, 161, 385));
    EXPECT_EQ(main.Tab->geometry(), QRect(175, 0, 489, 425));
    EXPECT_EQ(main.Tab->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(main.font().family(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(main.font().pixelSize(), 11);

    const std::vector<const char*> entries = {"システムツール", "Windows標準アプリケーション",
                                              "ストア／UWP（Windows 10のみ）", "ランチャー", "オプション"};
    ASSERT_EQ(main.Item->count(), static_cast<int>(entries.size()));
    for (int i = 0; i < main.Item->count(); ++i) {
        EXPECT_EQ(main.Item->item(i)->text(), QString::fromUtf8(entries[static_cast<size_t>(i)]));
        EXPECT_EQ(main.Pages[static_cast<size_t>(i)]->objectName(), QStringLiteral("Page%1").arg(i + 1));
    }
}

// With word wrap on, Japanese breaks anywhere: "Windows標準アプリケーショ" / "ン". Every entry takes one line,
// as high as a short one's.
TEST_F(MainFormLayout, EveryPageListEntryShowsOnOneLine) {
    TMainForm& main = Create();
    main.show();
    const QListWidget& list = *main.Item;
    const int lineHeight = list.visualItemRect(list.item(3)).height();
    for (int row = 0; row < list.count(); ++row) {
        const QListWidgetItem* item = list.item(row);
        SCOPED_TRACE(item->text().toStdString());
        EXPECT_EQ(list.visualItemRect(item).height(), lineHeight);
        // Narrower, but not squeezed.
        const QFont font = item->data(Qt::FontRole).isValid() ? item->font() : list.font();
        EXPECT_TRUE(font.stretch() == QFont::AnyStretch || font.stretch() >= 80) << font.stretch();
    }
}

// The window manager gets the icon at the four sizes Qt draws a scalable icon at, pixel for pixel as the SVG
// draws; on a scaled screen the SVG itself is drawn at the scaled sizes.
TEST_F(MainFormLayout, WindowIconIsTheSvgAsDrawnForTheWindowManager) {
    TMainForm& main = Create();
    const QIcon svg(QStringLiteral(":/nagitori.svg"));
    const QIcon icon = main.windowIcon();
    ASSERT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {64, 64}, {128, 128}}));
    for (const QSize& size : icon.availableSizes()) {
        SCOPED_TRACE(size.width());
        const QImage drawn = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(drawn.size(), size);
        EXPECT_EQ(drawn, svg.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32));
    }
    const QIcon scaled = WindowIcon(2.0);
    EXPECT_TRUE(scaled.availableSizes().isEmpty());
    EXPECT_EQ(scaled.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
}

TEST_F(MainFormLayout, OptionsPageButtonsInOneColumnAndTabOrder) {
    TMainForm& main = Create();
    const char* expected[][2] = {
        {"Help", "ヘルプ(&H)"},
        {"StartupEntry", "Windows起動時に自動起動"},
        {"SettingDialogOpen", "設定(&S)"},
        {"ExecuteFileRunDialogOpen", "実行ファイルを指定して起動(&E)"},
        {"LauncherSettingDialogOpen", "ランチャーの管理(&L)"},
        {"VersionInformationDialogOpen", "バージョン情報(&A)"},
    };
    QWidget* previous = nullptr;
    for (int k = 0; k < 6; ++k) {
        auto* button = main.Page5->findChild<QPushButton*>(QString::fromUtf8(expected[k][0]));
        ASSERT_NE(button, nullptr) << expected[k][0];
        EXPECT_EQ(button->text(), QString::fromUtf8(expected[k][1]));
        EXPECT_EQ(button->geometry(), QRect(3, 3 + 39 * k, 466, 33));
        if (previous != nullptr) {
            EXPECT_EQ(previous->nextInFocusChain(), button) << expected[k][0];
        }
        previous = button;
    }
    EXPECT_FALSE(main.Page5->StartupEntry->icon().isNull());
    main.Page5->SetStartupCaption(true);
    EXPECT_EQ(main.Page5->StartupEntry->text(), QStringLiteral("自動起動の解除"));
}

TEST_F(MainFormLayout, MenuHasEveryItemCaptionShortcutAndToggle) {
    TMainForm& main = Create();
    struct Item {
        QMenu* menu;
        const char* caption;
        std::vector<QAction*> actions;
    };
    const Item menus[] = {
        {main.N1, "アプリケーション(&A)", {main.N2}},
        {main.N3, "ツール(&T)", {main.N4, main.N5, main.N6, main.N13, main.N14, main.N7, main.N8}},
        {main.N9, "ヘルプ(&H)", {main.N10, main.N11, main.N12}},
    };
    for (const Item& m : menus) {
        EXPECT_EQ(m.menu->title(), QString::fromUtf8(m.caption));
        EXPECT_EQ(m.menu->actions().toVector(), QList<QAction*>(m.actions.begin(), m.actions.end()).toVector());
    }
    struct Action {
        QAction* action;
        const char* caption;  // nullptr for a separator
        QKeySequence shortcut;
        bool checkable;
    };
    const Action actions[] = {
        {main.N2, "終了(&X)", QKeySequence(Qt::ALT | Qt::Key_F4), false},
        {main.N4, "ツールの起動時に管理者権限を付与する", {}, true},
        {main.N5, "ウィンドウを最前面に表示する", {}, true},
        {main.N6, nullptr, {}, false},
        {main.N13, "実行ファイルを指定して起動(&E)", {}, false},
        {main.N14, nullptr, {}, false},
        {main.N7, "ランチャーの管理(&L)", {}, false},
        {main.N8, "設定(&S)", {}, false},
        {main.N10, "ヘルプ(&H)", QKeySequence(Qt::Key_F1), false},
        {main.N11, nullptr, {}, false},
        {main.N12, "バージョン情報(&A)...", {}, false},
    };
    for (const Action& a : actions) {
        SCOPED_TRACE(a.action->objectName().toStdString());
        EXPECT_EQ(a.action->isSeparator(), a.caption == nullptr);
        if (a.caption != nullptr) {
            EXPECT_EQ(a.action->text(), QString::fromUtf8(a.caption));
        }
        EXPECT_EQ(a.action->shortcut(), a.shortcut);
        EXPECT_EQ(a.action->isCheckable(), a.checkable);
    }
}

}  // namespace
}  // namespace nagitori::test
