#include <QSignalSpy>
#include <functional>
#include <memory>
#include <utility>

#include "launcher/LauncherDialogFixture.h"
#include "launcher/LauncherToolEditDialog.h"

namespace nagitori::test {
namespace {

using namespace Qt::StringLiterals;
namespace texts = tool_edit_texts;

// The object names of the tab stops, from first in the focus chain.
QStringList TabOrder(QWidget* first, int count) {
    QStringList names;
    for (QWidget* w = first; names.size() < count; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0) {
            names.push_back(w->objectName());
        }
        if (w->nextInFocusChain() == first) {
            break;
        }
    }
    return names;
}

QStringList ItemTexts(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        items.push_back(action->isSeparator() ? u"-"_s : action->objectName() + u" "_s + action->text());
    }
    return items;
}

class LauncherToolEdit : public LauncherDialogFixture {
protected:
    TLauncherToolEdit& Create() {
        editor = std::make_unique<TLauncherToolEdit>(system, desktop, nullptr);
        return *editor;
    }
    std::unique_ptr<TLauncherToolEdit> editor;
};

TEST_F(LauncherToolEdit, ControlsMenusAndStartState) {
    TLauncherToolEdit& e = Create();
    EXPECT_EQ(e.objectName(), u"LauncherToolEdit"_s);
    EXPECT_EQ(e.size(), QSize(487, 271));
    EXPECT_EQ(e.minimumSize(), e.maximumSize());
    EXPECT_FALSE(e.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(e.windowFlags() & Qt::WindowStaysOnTopHint);

    struct Field {
        QLineEdit* field;
        const char* name;
        const char* label;
    };
    for (const Field& f : {Field{e.Name, "Name", "名前(&N):"}, Field{e.FilePath, "FilePath", "ファイルのパス(&P):"},
                           Field{e.CommandLine, "CommandLine", "コマンドライン引数(&L):"},
                           Field{e.CurrentDirectory, "CurrentDirectory", "カレントディレクトリ(&C):"}}) {
        EXPECT_EQ(f.field->objectName(), QString::fromUtf8(f.name));
        EXPECT_EQ(LabelOf(f.field), QString::fromUtf8(f.label));
        EXPECT_TRUE(f.field->text().isEmpty());
        EXPECT_FALSE(f.field->isReadOnly());
    }
    EXPECT_EQ(e.NameAutoSet->text(), u">"_s);
    EXPECT_EQ(e.CommandLineSet->text(), u">"_s);
    for (QToolButton* split : {e.FilePathReference, e.CurrentDirectoryReference}) {
        EXPECT_EQ(split->text(), u"..."_s);
        EXPECT_EQ(split->popupMode(), QToolButton::MenuButtonPopup);
    }
    EXPECT_EQ(e.FilePathReference->menu(), e.FilePathMenu);
    EXPECT_EQ(e.CurrentDirectoryReference->menu(), e.CurrentDirectoryMenu);
    EXPECT_EQ(e.Label1->objectName(), u"Label1"_s);
    EXPECT_EQ(LabelOf(e.WindowSize), u"ウィンドウのサイズ(&S):"_s);
    EXPECT_FALSE(e.WindowSize->isEditable());
    ASSERT_EQ(e.WindowSize->count(), 3);
    EXPECT_EQ(e.WindowSize->itemText(0) + e.WindowSize->itemText(1) + e.WindowSize->itemText(2),
              u"最小化通常のサイズ最大化"_s);
    EXPECT_EQ(e.WindowSize->currentIndex(), -1);
    EXPECT_EQ(e.AnAdminAdd->text(), u"管理者権限を付与する(&G)"_s);
    EXPECT_FALSE(e.AnAdminAdd->isChecked());
    EXPECT_EQ(e.OK->text(), u"OK"_s);
    EXPECT_TRUE(e.OK->isDefault());
    EXPECT_EQ(e.Cancel->text(), u"キャンセル"_s);

    EXPECT_EQ(ItemTexts(e.NameMenu), QStringList{u"N1 実行ファイルの名前"_s});
    EXPECT_EQ(ItemTexts(e.FilePathMenu), QStringList{u"N7 ディレクトリの選択"_s});
    EXPECT_EQ(ItemTexts(e.CurrentDirectoryMenu), QStringList{u"N6 実行ファイルのディレクトリ"_s});
    EXPECT_EQ(ItemTexts(e.CommandLineTools->CommandLineMenu),
              (QStringList{u"N2 ファイル名の挿入"_s, u"N3 ディレクトリパスの挿入"_s, u"-"_s, u"N5 クリア"_s}));

    EXPECT_EQ(TabOrder(e.Name, 12),
              (QStringList{u"Name"_s, u"NameAutoSet"_s, u"FilePath"_s, u"FilePathReference"_s, u"CommandLine"_s,
                           u"CommandLineSet"_s, u"CurrentDirectory"_s, u"CurrentDirectoryReference"_s, u"WindowSize"_s,
                           u"AnAdminAdd"_s, u"OK"_s, u"Cancel"_s}));
}

TEST_F(LauncherToolEdit, StaysOnTopOnlyWhenTheSettingsSaySo) {
    for (const auto& [settings, onTop] : {std::pair{"", false}, std::pair{"[Start]\nWindowTopShow=1\n", true},
                                          std::pair{"[Start]\nWindowTopShow=0\n", false}}) {
        SCOPED_TRACE(settings);
        WriteSettings(settings);
        EXPECT_EQ(Create().windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    }
}

TEST_F(LauncherToolEdit, ChoosingAFileFillsOnlyEmptyFieldsAsTheSettingsAllow) {
    struct Case {
        const char* autoInput;
        QString name;
        QString directory;
        QString chosen;
        QString expectedName;
        QString expectedDirectory;
    };
    const Case cases[] = {
        {"", u""_s, u""_s, u"/usr/bin/gedit"_s, u"gedit"_s, u"/usr/bin"_s},
        {"Launcher_Name=1\nLauncher_CurrentDirectory=1\n", u""_s, u""_s, u"/usr/bin/xterm"_s, u"xterm"_s,
         u"/usr/bin"_s},
        {"", u""_s, u""_s, u"/setup.sh"_s, u"setup"_s, u"/"_s},
        {"Launcher_Name=0\n", u""_s, u""_s, u"/a/b.sh"_s, u""_s, u"/a"_s},
        {"Launcher_Name=2\nLauncher_CurrentDirectory=0\n", u""_s, u""_s, u"/a/b.sh"_s, u""_s, u""_s},
        {"Launcher_CurrentDirectory=2\n", u""_s, u""_s, u"/a/b.sh"_s, u"b"_s, u""_s},
        {"", u"既存"_s, u"/work"_s, u"/a/b.sh"_s, u"既存"_s, u"/work"_s},
        // A POSIX name may hold a backslash and characters a Windows path may not.
        {"", u""_s, u""_s, u"/home/u/a\\b.sh"_s, u"a\\b"_s, u"/home/u"_s},
        {"", u""_s, u""_s, u"/tmp/a|b.sh"_s, u"a|b"_s, u"/tmp"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.autoInput + (" " + c.chosen.toStdString()));
        WriteSettings(std::string("[AutoInput]\n") + c.autoInput);
        TLauncherToolEdit& e = Create();
        e.Name->setText(c.name);
        e.CurrentDirectory->setText(c.directory);
        e.FilePath->setText(u"/old dir/old.sh"_s);
        desktop.openFileRequests.clear();
        desktop.openFileAnswers.push_back({c.chosen});
        e.FilePathReference->click();

        ASSERT_EQ(desktop.openFileRequests.size(), 1u);
        const OpenFileOptions& options = desktop.openFileRequests.front();
        EXPECT_EQ(options.title, u"実行ファイルの選択"_s);
        EXPECT_EQ(options.filter, u"実行ファイル（*.exe;*.bat;*.cmd;*.com）|*.exe;*.bat;*.cmd;*.com"_s);
        EXPECT_FALSE(options.multiSelect);
        EXPECT_EQ(options.initialFileName, u"/old dir/old.sh"_s);
        EXPECT_EQ(options.initialFolder, u"/old dir/"_s);

        EXPECT_EQ(e.FilePath->text(), c.chosen);
        EXPECT_EQ(e.Name->text(), c.expectedName);
        EXPECT_EQ(e.CurrentDirectory->text(), c.expectedDirectory);
        EXPECT_TRUE(desktop.boxes.empty());
    }
}

TEST_F(LauncherToolEdit, TheAutoFillSettingsAreReadAtEachChoice) {
    WriteSettings("[AutoInput]\nLauncher_Name=0\nLauncher_CurrentDirectory=0\n");
    TLauncherToolEdit& e = Create();
    desktop.openFileAnswers = {{u"/a/first.sh"_s}, {u"/b/second.sh"_s}, {u"/c/third.sh"_s}};
    e.FilePathReference->click();
    EXPECT_TRUE(e.Name->text().isEmpty());
    EXPECT_TRUE(e.CurrentDirectory->text().isEmpty());

    WriteSettings("[AutoInput]\nLauncher_Name=1\nLauncher_CurrentDirectory=1\n");
    e.FilePathReference->click();
    EXPECT_EQ(e.Name->text(), u"second"_s);
    EXPECT_EQ(e.CurrentDirectory->text(), u"/b"_s);

    // A later choice keeps what the earlier one filled in; a cancelled one changes nothing.
    e.FilePathReference->click();
    e.FilePathReference->click();
    EXPECT_EQ(e.FilePath->text(), u"/c/third.sh"_s);
    EXPECT_EQ(e.Name->text(), u"second"_s);
    EXPECT_EQ(e.CurrentDirectory->text(), u"/b"_s);
}

TEST_F(LauncherToolEdit, FolderPickersSetOnlyTheirField) {
    struct Case {
        const char* what;
        std::function<void(TLauncherToolEdit&)> open;
        QString prompt;
        QString startFolder;
        QLineEdit* TLauncherToolEdit::*changed;
    };
    const Case cases[] = {
        {"N7", [](TLauncherToolEdit& e) { e.N7->trigger(); }, u"ディレクトリの選択"_s, u"/opt/tools/"_s,
         &TLauncherToolEdit::FilePath},
        {"CurrentDirectoryReference", [](TLauncherToolEdit& e) { e.CurrentDirectoryReference->click(); },
         u"カレントディレクトリの選択"_s, u"/srv/work"_s, &TLauncherToolEdit::CurrentDirectory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TLauncherToolEdit& e = Create();
        e.FilePath->setText(u"/opt/tools/app.sh"_s);
        e.CurrentDirectory->setText(u"/srv/work"_s);
        desktop.folderRequests.clear();
        desktop.folderAnswers = {std::nullopt, u"/chosen"_s};

        c.open(e);
        EXPECT_EQ(e.FilePath->text(), u"/opt/tools/app.sh"_s);
        EXPECT_EQ(e.CurrentDirectory->text(), u"/srv/work"_s);
        c.open(e);
        EXPECT_EQ((e.*c.changed)->text(), u"/chosen"_s);
        EXPECT_TRUE(e.Name->text().isEmpty());

        ASSERT_EQ(desktop.folderRequests.size(), 2u);
        EXPECT_EQ(desktop.folderRequests[0].prompt, c.prompt);
        EXPECT_TRUE(desktop.folderRequests[0].newFolderButton);
        EXPECT_EQ(desktop.folderRequests[0].startFolder, c.startFolder);
        EXPECT_TRUE(desktop.openFileRequests.empty());
    }
}

TEST_F(LauncherToolEdit, NameAndDirectoryFromTheFilePathOnDemand) {
    TLauncherToolEdit& e = Create();
    e.move(200, 100);
    e.Name->setText(u"old"_s);
    e.CurrentDirectory->setText(u"old"_s);
    e.FilePath->setText(u"/opt/My App/app.v2.sh"_s);

    desktop.popupChoices.push_back(u"実行ファイルの名前"_s);
    e.NameAutoSet->click();
    ASSERT_EQ(desktop.popups.size(), 1u);
    EXPECT_EQ(desktop.popups[0].itemTexts, QStringList{u"実行ファイルの名前"_s});
    EXPECT_EQ(desktop.popups[0].screenPos, e.mapToGlobal(e.NameAutoSet->geometry().topRight() + QPoint(1, 0)));
    EXPECT_EQ(e.Name->text(), u"app.v2"_s);
    e.N6->trigger();
    EXPECT_EQ(e.CurrentDirectory->text(), u"/opt/My App"_s);

    // A path without a folder gives an empty directory; an empty path an empty name.
    e.FilePath->setText(u"app.exe"_s);
    e.N6->trigger();
    EXPECT_TRUE(e.CurrentDirectory->text().isEmpty());
    e.FilePath->clear();
    e.N1->trigger();
    EXPECT_TRUE(e.Name->text().isEmpty());

    // A path no file can have: the general error box, and the name stays.
    e.Name->setText(u"kept"_s);
    e.FilePath->setText(u"/tmp/a"_s + QChar(u'\0') + u"b.sh"_s);
    e.N1->trigger();
    EXPECT_EQ(e.Name->text(), u"kept"_s);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, u"パスに無効な文字が含まれています."_s);
    EXPECT_EQ(desktop.boxes[0].flags, mb::kIconError);
}

TEST_F(LauncherToolEdit, CommandLineToolsAlwaysPutASpaceFirst) {
    TLauncherToolEdit& e = Create();
    desktop.popupChoices.push_back(u"ファイル名の挿入"_s);
    desktop.openFileAnswers.push_back({u"/a b/c"_s});
    e.CommandLineSet->click();
    EXPECT_EQ(e.CommandLine->text(), u" /a b/c"_s);
    desktop.popupChoices.push_back(u"ディレクトリパスの挿入"_s);
    desktop.folderAnswers.push_back(u"/tmp"_s);
    e.CommandLineSet->click();
    EXPECT_EQ(e.CommandLine->text(), u" /a b/c /tmp"_s);
    ASSERT_EQ(desktop.folderRequests.size(), 1u);
    EXPECT_TRUE(desktop.folderRequests[0].newFolderButton);
}

TEST_F(LauncherToolEdit, OkAsksForTheNameFirstThenThePath) {
    struct Case {
        QString name;
        QString path;
        const char* message;  // null: the dialog closes with OK
        QLineEdit* TLauncherToolEdit::*focus;
    };
    const Case cases[] = {
        {u""_s, u""_s, texts::kNameRequired, &TLauncherToolEdit::Name},
        {u""_s, u"C:\\x.exe"_s, texts::kNameRequired, &TLauncherToolEdit::Name},
        {u" "_s, u""_s, texts::kFilePathRequired, &TLauncherToolEdit::FilePath},
        {u" "_s, u"C:\\nothing\\there.exe"_s, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.name.toStdString() + "' '" + c.path.toStdString() + "'");
        desktop.boxes.clear();
        TLauncherToolEdit& e = Create();
        e.Name->setText(c.name);
        e.FilePath->setText(c.path);
        e.show();
        e.Cancel->setFocus();
        QSignalSpy accepted(&e, &QDialog::accepted);
        e.OK->click();
        if (c.message == nullptr) {
            EXPECT_TRUE(desktop.boxes.empty());
            EXPECT_FALSE(e.isVisible());
            EXPECT_EQ(e.result(), QDialog::Accepted);
            EXPECT_EQ(accepted.size(), 1);
            continue;
        }
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(desktop.boxes[0].flags, mb::kIconWarning);
        EXPECT_EQ(desktop.boxes[0].parent, &e);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(e.result(), QDialog::Rejected);
        EXPECT_EQ(accepted.size(), 0);
        EXPECT_EQ(e.focusWidget(), e.*c.focus);
    }
    EXPECT_EQ(QString::fromUtf8(texts::kNameRequired), u"名前を入力してください。"_s);
    EXPECT_EQ(QString::fromUtf8(texts::kFilePathRequired), u"ファイルのパスを選択してください。"_s);
}

}  // namespace
}  // namespace nagitori::test
