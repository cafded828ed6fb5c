#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <string>
#include <vector>

#include "app/MainFormFixture.h"
#include "common/Messages.h"
#include "launcher/LauncherDialog.h"
#include "launcher/LauncherPage.h"
#include "launcher/LauncherSlots.h"
#include "launcher/LauncherToolEditDialog.h"
#include "runfile/ExecuteFileRunDialog.h"
#include "settings/SettingsPath.h"

namespace nagitori::test {
namespace {

namespace fs = std::filesystem;
using namespace Qt::Literals::StringLiterals;

// Drags the data onto the widget and drops it there, as a file manager does; returns whether it was taken.
bool Drop(QWidget* target, const QMimeData& data) {
    const QPoint point(5, 5);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QMimeData* Files(const std::vector<fs::path>& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const fs::path& path : paths) {
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path.string())));
    }
    data->setUrls(urls);
    return data;
}

class FileDrop : public MainFormFixture {
protected:
    FileDrop() {
        fs::create_directories(DataFolder());
        fs::create_directories(dir / "tools");
        for (const char* name : {"edit.sh", "run.sh"}) {
            WriteFileBytes(dir / "tools" / name, "#!/bin/sh\n");
        }
    }

    // The editor takes what it was given and is confirmed; its fields are kept for the test.
    void ConfirmEditor(std::vector<std::vector<QString>>& seen) {
        desktop.modalScripts.push_back([&seen](QDialog& d) {
            auto& editor = dynamic_cast<TLauncherToolEdit&>(d);
            seen.push_back({editor.Name->text(), editor.FilePath->text(), editor.CurrentDirectory->text()});
            editor.OK->click();
        });
    }

    QString Tools(const char* name = nullptr) const {
        const fs::path folder = dir / "tools";
        return QString::fromStdString((name == nullptr ? folder : folder / name).string());
    }
};

TEST_F(FileDrop, FilesOnTheLauncherPageBecomeEntriesThroughTheEditor) {
    WriteFileBytes(LauncherDataPath(system.appData), "[Application_1]\nName=既存\nFilePath=/usr/bin/true\n");
    TMainForm& main = Create();
    std::vector<std::vector<QString>> seen;
    ConfirmEditor(seen);
    desktop.modalScripts.push_back([](QDialog& d) { d.reject(); });  // the second one is cancelled
    const std::unique_ptr<QMimeData> data(Files({dir / "tools" / "edit.sh", dir / "tools" / "run.sh"}));
    EXPECT_TRUE(Drop(main.Pages[3], *data));

    // Filled as if chosen through "...": the name from the file, the working directory from its folder.
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (std::vector<QString>{QStringLiteral("edit"), Tools("edit.sh"), Tools()}));
    EXPECT_EQ(desktop.modalDialogs.size(), 2u);
    const ProfileFile launcherData(LauncherDataPath(system.appData));
    EXPECT_EQ(ReadLauncherName(launcherData, 1), "既存");
    EXPECT_EQ(ReadLauncherName(launcherData, 2), "edit");
    EXPECT_EQ(ReadLauncherName(launcherData, 3), "");
    EXPECT_EQ(main.Launchers->Button(1)->text(), QStringLiteral("edit"));
    EXPECT_TRUE(main.Launchers->Button(1)->isEnabled());
}

// The editor of a dropped file stands over the main window, not over the management dialog that is never shown,
// and hands the focus back to the main window when it closes.
TEST_F(FileDrop, TheEditorOfADroppedFileIsCentredOnTheMainWindowAndGivesTheFocusBack) {
    TMainForm& main = Create();
    main.move(40, 30);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    // The files come from another application, which has the focus while they are dropped.
    QWidget fileManager;
    fileManager.setGeometry(500, 400, 200, 100);
    fileManager.show();
    fileManager.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fileManager));
    QWidget* owner = nullptr;
    QPoint offCentre;
    desktop.modalScripts.push_back([&](QDialog& d) {
        owner = d.parentWidget();
        offCentre = d.frameGeometry().center() - main.frameGeometry().center();
        d.reject();
    });
    const std::unique_ptr<QMimeData> data(Files({dir / "tools" / "edit.sh"}));
    EXPECT_TRUE(Drop(main.Pages[3], *data));
    EXPECT_EQ(owner, &main);
    // The frame that a window manager adds after the placement (or Qt's guess of it without one) shifts it a
    // little; the top left of the screen would be far off.
    EXPECT_LE(offCentre.manhattanLength(), 60) << offCentre.x() << ", " << offCentre.y();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
    EXPECT_EQ(QApplication::activeWindow(), &main);
}

// The entry typed for a dropped file survives a failed save: the management dialog opens with it.
TEST_F(FileDrop, AFailedSaveOfADroppedFileOpensTheManagementDialogWithIt) {
    const fs::path file = LauncherDataPath(system.appData);
    WriteFileBytes(file, "[Application_1]\nName=既存\nFilePath=/usr/bin/true\n");
    fs::permissions(file, fs::perms::owner_read);
    TMainForm& main = Create();
    std::vector<std::vector<QString>> seen;
    ConfirmEditor(seen);
    QStringList rows;
    desktop.modalScripts.push_back([&](QDialog& d) {
        auto& launcher = dynamic_cast<TLauncher&>(d);
        rows = launcher.NameList;
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        launcher.OK->click();
    });
    const std::unique_ptr<QMimeData> data(Files({dir / "tools" / "edit.sh"}));
    EXPECT_TRUE(Drop(main.Pages[3], *data));

    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, QString::fromUtf8(messages::kSaveFailed));
    EXPECT_EQ(desktop.boxes[0].parent, &main);
    EXPECT_EQ(desktop.modalDialogs, (std::vector<QString>{u"LauncherToolEdit"_s, u"Launcher"_s}));
    EXPECT_EQ(rows, (QStringList{u"既存"_s, u"edit"_s}));
    EXPECT_EQ(ReadLauncherName(ProfileFile(file), 2), "edit");
    EXPECT_EQ(main.Launchers->Button(1)->text(), u"edit"_s);
}

TEST_F(FileDrop, ADropOnAFullLauncherBeeps) {
    std::string full;
    for (int slot = 1; slot <= 20; ++slot) {
        full += "[Application_" + std::to_string(slot) + "]\nName=n" + std::to_string(slot) + "\nFilePath=/x\n";
    }
    WriteFileBytes(LauncherDataPath(system.appData), full);
    TMainForm& main = Create();
    const std::unique_ptr<QMimeData> data(Files({dir / "tools" / "edit.sh"}));
    EXPECT_TRUE(Drop(main.Launchers->Button(3), *data)) << "a button passes the drop to its page";
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(desktop.modalDialogs.empty());
    EXPECT_EQ(ReadFileBytes(LauncherDataPath(system.appData)), full);
}

TEST_F(FileDrop, FilesOnTheManagementListAreAddedAsRows) {
    TLauncher launcher(system, desktop, nullptr);
    std::vector<std::vector<QString>> seen;
    ConfirmEditor(seen);
    ConfirmEditor(seen);
    const std::unique_ptr<QMimeData> data(Files({dir / "tools" / "edit.sh", dir / "tools" / "run.sh"}));
    EXPECT_TRUE(Drop(launcher.LauncherList->viewport(), *data));
    ASSERT_EQ(launcher.LauncherList->count(), 2);
    EXPECT_EQ(launcher.LauncherList->item(1)->text(), QStringLiteral("run"));
    EXPECT_EQ(launcher.FilePathList, (QStringList{Tools("edit.sh"), Tools("run.sh")}));
    EXPECT_FALSE(fs::exists(LauncherDataPath(system.appData))) << "the dialog saves only on OK";

    // Text is no file: the list does not take it.
    QMimeData text;
    text.setText(QStringLiteral("/usr/bin/true"));
    EXPECT_FALSE(Drop(launcher.LauncherList->viewport(), text));
}

TEST_F(FileDrop, AFileOnTheRunDialogsPathFieldIsTakenAsIfChosen) {
    TExecuteFileRun dialog(system, desktop, nullptr);
    const std::unique_ptr<QMimeData> data(Files({dir / "tools" / "run.sh", dir / "tools" / "edit.sh"}));
    EXPECT_TRUE(Drop(dialog.ExecuteFilePath->lineEdit(), *data));
    EXPECT_EQ(dialog.ExecuteFilePath->currentText(), Tools("run.sh"));
    EXPECT_EQ(dialog.CurrentDirectory->currentText(), Tools());

    // A working directory already entered stays.
    dialog.CurrentDirectory->setEditText(QStringLiteral("/srv"));
    const std::unique_ptr<QMimeData> other(Files({dir / "tools" / "edit.sh"}));
    EXPECT_TRUE(Drop(dialog.ExecuteFilePath->lineEdit(), *other));
    EXPECT_EQ(dialog.ExecuteFilePath->currentText(), Tools("edit.sh"));
    EXPECT_EQ(dialog.CurrentDirectory->currentText(), QStringLiteral("/srv"));
}

}  // namespace
}  // namespace nagitori::test
