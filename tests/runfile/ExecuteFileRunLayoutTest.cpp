#include <QApplication>
#include <QTest>
#include <algorithm>
#include <iterator>

#include "fieldtools/CommandLineFieldTools.h"
#include "runfile/ExecuteFileRunFixture.h"

namespace nagitori::test {
namespace {

using ExecuteFileRunLayout = ExecuteFileRunFixture;

TEST_F(ExecuteFileRunLayout, WindowIsAFixedDialogCentredOnItsOwner) {
    TExecuteFileRun& d = Open();
    EXPECT_EQ(d.objectName(), QStringLiteral("ExecuteFileRun"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("実行ファイルを指定して起動"));
    EXPECT_EQ(d.parentWidget(), &owner);
    EXPECT_EQ(d.size(), QSize(428, 235));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(d.font().family(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(d.font().pixelSize(), 11);

    owner.show();
    d.show();
    const QPoint offset = d.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST_F(ExecuteFileRunLayout, ControlsHaveTheirCaptionsStartValuesAndTabOrder) {
    TExecuteFileRun& d = Open();
    struct Control {
        QWidget* widget;
        const char* name;
        const char* caption;  // the button's caption or the label's text
    };
    const Control controls[] = {
        {d.ExecuteFilePath, "ExecuteFilePath", "実行ファイルのパス(&P):"},
        {d.FilePathReference, "FilePathReference", "..."},
        {d.CommandLine, "CommandLine", "コマンドライン引数(&L):"},
        {d.CommandLineSet, "CommandLineSet", ">"},
        {d.CurrentDirectory, "CurrentDirectory", "カレントディレクトリ(&C):"},
        {d.CurrentDirectoryReference, "CurrentDirectoryReference", "..."},
        {d.WindowSize, "WindowSize", "ウィンドウのサイズ(&S):"},
        {d.AnAdminAdd, "AnAdminAdd", "管理者権限を付与する(&G)"},
        {d.OK, "OK", "OK"},
        {d.Cancel, "Cancel", "キャンセル"},
    };
    const QList<QLabel*> labels = d.findChildren<QLabel*>();
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.widget->objectName(), QString::fromUtf8(c.name));
        EXPECT_TRUE(QRect(0, 0, 428, 235).contains(c.widget->geometry()));
        if (auto* button = qobject_cast<QAbstractButton*>(c.widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
            continue;
        }
        const auto label =
            std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->buddy() == c.widget; });
        ASSERT_NE(label, labels.end());
        EXPECT_EQ((*label)->text(), QString::fromUtf8(c.caption));
        EXPECT_LT((*label)->geometry().bottom(), c.widget->geometry().top());
    }

    EXPECT_EQ(d.ExecuteFilePath->currentText(), QString());
    EXPECT_EQ(d.CommandLine->text(), QString());
    EXPECT_EQ(d.CurrentDirectory->currentText(), QString());
    EXPECT_TRUE(d.ExecuteFilePath->isEditable());
    EXPECT_TRUE(d.CurrentDirectory->isEditable());
    EXPECT_FALSE(d.WindowSize->isEditable());
    ASSERT_EQ(d.WindowSize->count(), 3);
    EXPECT_EQ(d.WindowSize->itemText(0), QStringLiteral("最小化"));
    EXPECT_EQ(d.WindowSize->itemText(1), QStringLiteral("通常のサイズ"));
    EXPECT_EQ(d.WindowSize->itemText(2), QStringLiteral("最大化"));
    EXPECT_EQ(d.WindowSize->currentIndex(), 1);
    EXPECT_FALSE(d.AnAdminAdd->isChecked());
    EXPECT_TRUE(d.OK->isDefault());
    EXPECT_FALSE(d.OK->icon().isNull());
    EXPECT_FALSE(d.Cancel->icon().isNull());

    EXPECT_EQ(d.CurrentDirectoryReference->popupMode(), QToolButton::MenuButtonPopup);
    ASSERT_EQ(d.CurrentDirectoryReference->menu(), d.CurrentDirectoryMenu);
    ASSERT_EQ(d.CurrentDirectoryMenu->actions(), QList<QAction*>({d.N5}));
    EXPECT_EQ(d.N5->objectName(), QStringLiteral("N5"));
    EXPECT_EQ(d.N5->text(), QStringLiteral("実行ファイルのディレクトリ"));

    // The ">" button opens the command-line tools of this dialog.
    d.CommandLineSet->click();
    ASSERT_EQ(desktop.popups.size(), 1u);
    EXPECT_EQ(d.CommandLineMenu->actions(), QList<QAction*>({d.N1, d.N2, d.N3, d.N4}));
    EXPECT_EQ(d.N4->objectName(), QStringLiteral("N4"));

    owner.show();
    d.show();
    QApplication::setActiveWindow(&d);
    d.ExecuteFilePath->setFocus();
    for (size_t k = 1; k <= std::size(controls); ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), controls[k % std::size(controls)].widget) << "stop " << k;
    }
}

TEST_F(ExecuteFileRunLayout, StaysOnTopWhenTheSettingsSaySo) {
    WriteSettings("[Start]\nWindowTopShow=1\n");
    EXPECT_TRUE(Open().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(desktop.boxes.empty());
}

}  // namespace
}  // namespace nagitori::test
