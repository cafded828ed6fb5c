#include <QApplication>
#include <QTest>

#include "app/MainFormFixture.h"

namespace nagitori::test {
namespace {

using namespace Qt::StringLiterals;

// The main window shown, active and on a page, as a user meets it.
class MainFormKeys : public MainFormFixture {
protected:
    TMainForm& Open(int entry) {
        TMainForm& main = Create();
        main.show();
        QApplication::setActiveWindow(&main);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
        main.Item->setCurrentRow(entry);
        main.Item->setFocus();
        return main;
    }

    // A button's access key presses it a moment later, as a click would.
    bool Launched(const std::string& target) {
        return QTest::qWaitFor([&] { return !system.launches.empty(); }, 1000) && system.launches.size() == 1 &&
               system.launches[0].target == target;
    }
};

TEST_F(MainFormKeys, AccessKeysSharedWithMenuTitlesPressTheButtonAtOnce) {
    struct Case {
        int entry;
        Qt::Key key;
        std::string target;
    };
    const Case cases[] = {
        {0, Qt::Key_A, "cleanmgr.exe"},  // "ディスク クリーンアップ (&A)" against "アプリケーション(&A)"
        {0, Qt::Key_H, "dxdiag.exe"},  // "Direct X 診断ツール (&H)" against "ヘルプ(&H)"
        {1, Qt::Key_A, "iexpress"},
        {1, Qt::Key_H, "SnippingTool"},
        {4, Qt::Key_H, (dir / "bin" / "readme.txt").string()},  // "ヘルプ(&H)" on the options page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.entry << " key "
                                        << QKeySequence(c.key).toString().toStdString());
        system.launches.clear();
        TMainForm& main = Open(c.entry);
        QTest::keyClick(&main, c.key, Qt::AltModifier);
        EXPECT_TRUE(Launched(c.target));
        EXPECT_EQ(main.AppMenu->activeAction(), nullptr);
        EXPECT_FALSE(main.N1->isVisible());
        EXPECT_FALSE(main.N9->isVisible());
    }
}

TEST_F(MainFormKeys, VersionInformationByItsAccessKeyOnTheOptionsPage) {
    TMainForm& main = Open(4);
    QTest::keyClick(&main, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.modalDialogs.empty(); }, 1000));
    EXPECT_EQ(desktop.modalDialogs, std::vector<QString>{u"VersionInformation"_s});
    EXPECT_FALSE(main.N1->isVisible());
}

TEST_F(MainFormKeys, WithoutAButtonTheAccessKeyOpensTheMenu) {
    // The launcher page without entries shows no button.
    TMainForm& main = Open(3);
    QTest::keyClick(&main, Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.N9->isVisible(); }, 1000));
    EXPECT_EQ(main.AppMenu->activeAction(), main.N9->menuAction());
    QTest::keyClick(main.N9, Qt::Key_Escape);
    EXPECT_TRUE(system.launches.empty());
}

TEST_F(MainFormKeys, F10AndALoneAltReachTheMenuOnAPageWithButtons) {
    struct Case {
        const char* how;
        std::function<void(TMainForm&)> press;
    };
    const Case cases[] = {
        {"F10", [](TMainForm& main) { QTest::keyClick(&main, Qt::Key_F10); }},
        {"Alt",
         [](TMainForm& main) {
             QTest::keyPress(&main, Qt::Key_Alt, Qt::AltModifier);
             QTest::keyRelease(&main, Qt::Key_Alt);
             ASSERT_EQ(main.AppMenu->activeAction(), main.N1->menuAction());
             QTest::keyClick(main.AppMenu, Qt::Key_Down);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TMainForm& main = Open(4);
        c.press(main);
        ASSERT_TRUE(QTest::qWaitFor([&] { return main.N1->isVisible(); }, 1000));
        // Into the first menu and its first item, "終了(&X)": the window closes.
        QTest::keyClick(main.N1, Qt::Key_Down);
        QTest::keyClick(main.N1, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !main.isVisible(); }, 1000));
        EXPECT_TRUE(system.launches.empty());
        EXPECT_TRUE(desktop.modalDialogs.empty());
    }
}

}  // namespace
}  // namespace nagitori::test
