#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/qt/ModalDriver.h"
#include "platform/qt/QtDesktop.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

using test::WhenModalShown;

QString QtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

TEST(QtDesktop, MessageBoxAnswersTheButtonTheUserPressed) {
    QtDesktop desktop;
    QString caption;
    WhenModalShown([&](QWidget& widget) {
        caption = widget.windowTitle();
        auto& box = dynamic_cast<QMessageBox&>(widget);
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(desktop.MessageBox(nullptr, QStringLiteral("削除しますか？"), 292), kIdNo);
    EXPECT_EQ(caption, QStringLiteral("ナギトリ"));

    WhenModalShown([](QWidget& widget) { QTest::keyClick(&widget, Qt::Key_Escape); });
    EXPECT_EQ(desktop.MessageBox(nullptr, QStringLiteral("上書きしますか？"), 305), kIdCancel);
}

TEST(QtDesktop, OpenFilesReturnsTheChosenFullPathsOrNothing) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "a b.txt", "x");
    OpenFileOptions options;
    options.filter = QStringLiteral("すべてのファイル（*.*）|*.*");
    options.multiSelect = true;
    options.initialFolder = QtPath(dir.Path());
    options.initialFileName = QStringLiteral("a b.txt");

    QtDesktop desktop;
    WhenModalShown([](QWidget& widget) { dynamic_cast<QDialog&>(widget).accept(); });
    EXPECT_EQ(desktop.OpenFiles(nullptr, options), QStringList{QtPath(dir / "a b.txt")});

    WhenModalShown([](QWidget& widget) { dynamic_cast<QDialog&>(widget).reject(); });
    EXPECT_EQ(desktop.OpenFiles(nullptr, options), QStringList());
}

TEST(QtDesktop, BrowseForFolderReturnsTheChosenFolderOrNothing) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    FolderOptions options;
    options.startFolder = QtPath(dir / "sub") + u'/';

    QtDesktop desktop;
    WhenModalShown([](QWidget& widget) { dynamic_cast<QDialog&>(widget).accept(); });
    EXPECT_EQ(desktop.BrowseForFolder(nullptr, options), QtPath(dir / "sub"));

    WhenModalShown([](QWidget& widget) { dynamic_cast<QDialog&>(widget).reject(); });
    EXPECT_EQ(desktop.BrowseForFolder(nullptr, options), std::nullopt);
}

TEST(QtDesktop, RunModalReturnsTheDialogsResult) {
    QDialog dialog;
    WhenModalShown([](QWidget& widget) { dynamic_cast<QDialog&>(widget).done(42); });
    EXPECT_EQ(QtDesktop().RunModal(dialog), 42);
}

TEST(QtDesktop, PopupMenuOpensAtThePointAndReturnsWhenClosed) {
    QMenu menu;
    QAction* action = menu.addAction(QStringLiteral("クリア"));
    bool triggered = false;
    QObject::connect(action, &QAction::triggered, [&] { triggered = true; });
    QPoint openedAt;
    test::WhenPopupShown([&](QWidget& widget) {
        openedAt = widget.pos();
        action->trigger();
        widget.close();
    });
    QtDesktop().PopupMenu(menu, QPoint(120, 80));
    EXPECT_EQ(openedAt, QPoint(120, 80));
    EXPECT_TRUE(triggered);
}

}  // namespace
}  // namespace nagitori
