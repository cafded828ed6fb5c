#include <sys/stat.h>

#include <QTest>
#include <functional>
#include <memory>
#include <optional>

#include "common/Messages.h"
#include "launcher/LauncherDialog.h"
#include "launcher/LauncherDialogFixture.h"
#include "launcher/LauncherManagement.h"
#include "launcher/LauncherToolEditDialog.h"
#include "platform/qt/ThemeIcon.h"

namespace nagitori::test {
namespace {

using namespace Qt::StringLiterals;

// Three used slots with gaps between them; the second has a window size without an item.
constexpr char kThreeEntries[] =
    "[Application_1]\nName=メモ帳\nFilePath=C:\\Windows\\notepad.exe\nCommandLine=/a\nCurrentDirectory=C:\\Windows\n"
    "WindowSize=2\nAnAdminAdd=0\n"
    "[Application_2]\nFilePath=/no/name\n"
    "[Application_3]\nName=端末\nFilePath=/usr/bin/xterm\nWindowSize=7\nAnAdminAdd=5\n"
    "[Application_5]\nName=電卓\nFilePath=calc\nWindowSize=0\nAnAdminAdd=-1\n";

// The rows and the six lists, row by row: name, path, command line, directory, size, flag.
std::vector<QStringList> Entries(const TLauncher& l) {
    std::vector<QStringList> entries;
    for (int i = 0; i < l.LauncherList->count(); ++i) {
        entries.push_back({l.LauncherList->item(i)->text(), l.NameList[i], l.FilePathList[i], l.CommandLineList[i],
                           l.CurrentDirectoryList[i], l.WindowSizeList[i], l.AnAdminAddList[i]});
    }
    const qsizetype count = l.LauncherList->count();
    for (const QStringList* list : {&l.NameList, &l.FilePathList, &l.CommandLineList, &l.CurrentDirectoryList,
                                    &l.WindowSizeList, &l.AnAdminAddList}) {
        EXPECT_EQ(list->size(), count);
    }
    return entries;
}

const QStringList kNotepad = {u"メモ帳"_s, u"メモ帳"_s, u"C:\\Windows\\notepad.exe"_s, u"/a"_s, u"C:\\Windows"_s,
                              u"2"_s,      u"0"_s};
const QStringList kTerminal = {u"端末"_s, u"端末"_s, u"/usr/bin/xterm"_s, u""_s, u""_s, u"7"_s, u"-1"_s};
const QStringList kCalculator = {u"電卓"_s, u"電卓"_s, u"calc"_s, u""_s, u""_s, u"0"_s, u"-1"_s};

QStringList Panel(const TLauncher& l) {
    return {l.Name->text(),       l.FilePath->text(),  l.CommandLine->text(), l.CurrentDirectory->text(),
            l.WindowSize->text(), l.AnAdminAdd->text()};
}

const QStringList kEmptyPanel = {u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};

class LauncherManagement : public LauncherDialogFixture {
protected:
    TLauncher& Create(const std::string& data = kThreeEntries) {
        WriteLauncherData(data);
        return Open();
    }
    TLauncher& Open() {
        dialog = std::make_unique<TLauncher>(system, desktop, nullptr);
        return *dialog;
    }

    // The editor's next run: script gets the editor (nothing, for a run the test leaves open).
    void ScriptEditor(std::function<void(TLauncherToolEdit&)> script) {
        desktop.modalScripts.push_back([script = std::move(script)](QDialog& d) {
            auto* editor = dynamic_cast<TLauncherToolEdit*>(&d);
            ASSERT_NE(editor, nullptr);
            script(*editor);
        });
    }

    bool EditButtonsEnabled() const {
        const bool edit = dialog->Edit->isEnabled();
        EXPECT_EQ(dialog->Delete->isEnabled(), edit);
        EXPECT_EQ(dialog->ItemUp->isEnabled(), edit);
        EXPECT_EQ(dialog->ItemDown->isEnabled(), edit);
        return edit;
    }

    std::unique_ptr<TLauncher> dialog;
};

TEST_F(LauncherManagement, Controls) {
    TLauncher& l = Create("");
    EXPECT_EQ(l.objectName(), u"Launcher"_s);
    EXPECT_EQ(l.windowTitle(), u"ランチャーの管理"_s);
    EXPECT_EQ(l.size(), QSize(537, 378));
    EXPECT_EQ(l.minimumSize(), l.maximumSize());
    EXPECT_FALSE(l.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    struct Button {
        QPushButton* button;
        const char* name;
        const char* caption;
        bool enabled;
    };
    for (const Button& b : {Button{l.Add, "Add", "追加(&A)", true}, Button{l.Edit, "Edit", "編集(&E)", false},
                            Button{l.Delete, "Delete", "削除(&D)", false}, Button{l.ItemUp, "ItemUp", "▲", false},
                            Button{l.ItemDown, "ItemDown", "▼", false}, Button{l.OK, "OK", "OK", true},
                            Button{l.Cancel, "Cancel", "キャンセル", true}}) {
        EXPECT_EQ(b.button->objectName(), QString::fromUtf8(b.name));
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.button->isEnabled(), b.enabled) << b.name;
        // One column right of the list.
        EXPECT_GT(b.button->x(), l.LauncherList->geometry().right());
    }
    EXPECT_TRUE(l.OK->isDefault());
    EXPECT_EQ(l.LauncherList->objectName(), u"LauncherList"_s);
    EXPECT_EQ(l.LauncherList->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(l.LauncherList->isSortingEnabled());

    EXPECT_EQ(l.ToolInfo->objectName(), u"ToolInfo"_s);
    EXPECT_EQ(l.ToolInfo->title(), u"情報"_s);
    EXPECT_GT(l.ToolInfo->y(), l.LauncherList->geometry().bottom());
    struct Field {
        QLineEdit* field;
        const char* name;
        const char* label;
    };
    const Field fields[] = {{l.Name, "Name", "名前(&N):"},
                            {l.FilePath, "FilePath", "ファイルのパス(&P):"},
                            {l.CommandLine, "CommandLine", "コマンドライン引数(&L):"},
                            {l.CurrentDirectory, "CurrentDirectory", "カレントディレクトリ(&C):"},
                            {l.WindowSize, "WindowSize", "ウィンドウのサイズ(&S):"},
                            {l.AnAdminAdd, "AnAdminAdd", "管理者権限の付与(&G):"}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const Field& f = fields[i];
        EXPECT_EQ(f.field->objectName(), QString::fromUtf8(f.name));
        EXPECT_EQ(f.field->parentWidget(), l.ToolInfo);
        EXPECT_EQ(LabelOf(f.field), QString::fromUtf8(f.label));
        EXPECT_TRUE(f.field->isReadOnly());
        // Two per row, left then right.
        EXPECT_EQ(f.field->x() < l.ToolInfo->width() / 2, i % 2 == 0) << f.name;
        if (i > 0) {
            EXPECT_EQ(f.field->y() > fields[i - 1].field->y(), i % 2 == 0) << f.name;
        }
    }

    QStringList order;
    QWidget* w = l.LauncherList;
    for (int i = 0; i < 14; ++i, w = w->nextInFocusChain()) {
        while ((w->focusPolicy() & Qt::TabFocus) == 0) {
            w = w->nextInFocusChain();
        }
        order.push_back(w->objectName());
    }
    EXPECT_EQ(order, (QStringList{u"LauncherList"_s, u"Add"_s, u"Edit"_s, u"Delete"_s, u"ItemUp"_s, u"ItemDown"_s,
                                  u"OK"_s, u"Cancel"_s, u"Name"_s, u"FilePath"_s, u"CommandLine"_s,
                                  u"CurrentDirectory"_s, u"WindowSize"_s, u"AnAdminAdd"_s}));
}

TEST_F(LauncherManagement, AFileWithGapsLoadsAsAGapFreeList) {
    TLauncher& l = Create();
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad, kTerminal, kCalculator}));
    EXPECT_EQ(l.SelectedRow(), -1);
    EXPECT_EQ(Panel(l), kEmptyPanel);
    EXPECT_FALSE(EditButtonsEnabled());

    // No file, or no folder: an empty list and no message.
    std::filesystem::remove_all(DataFolder());
    EXPECT_TRUE(Entries(Open()).empty());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(LauncherManagement, ThePanelShowsTheSelectedEntry) {
    TLauncher& l = Create();
    l.show();
    l.LauncherList->setCurrentRow(0);
    EXPECT_EQ(Panel(l), (QStringList{u"メモ帳"_s, u"C:\\Windows\\notepad.exe"_s, u"/a"_s, u"C:\\Windows"_s, u"最大化"_s,
                                     u"False"_s}));
    EXPECT_TRUE(EditButtonsEnabled());
    // By keyboard too; a size without an item shows nothing, not the last entry's size.
    QTest::keyClick(l.LauncherList, Qt::Key_Down);
    EXPECT_EQ(Panel(l), (QStringList{u"端末"_s, u"/usr/bin/xterm"_s, u""_s, u""_s, u""_s, u"True"_s}));
    l.LauncherList->setCurrentRow(2);
    EXPECT_EQ(Panel(l), (QStringList{u"電卓"_s, u"calc"_s, u""_s, u""_s, u"最小化"_s, u"True"_s}));
    // The last row still enables all four buttons.
    EXPECT_TRUE(EditButtonsEnabled());

    l.ToolInfoDisplay(-1);
    EXPECT_EQ(Panel(l), kEmptyPanel);
    EXPECT_FALSE(EditButtonsEnabled());
}

TEST_F(LauncherManagement, AddAppendsTheEnteredEntryWithoutSelectingIt) {
    TLauncher& l = Create();
    l.LauncherList->setCurrentRow(0);
    ScriptEditor([&l](TLauncherToolEdit& e) {
        EXPECT_EQ(e.windowTitle(), u"ツールの追加"_s);
        EXPECT_EQ(e.parentWidget(), &l);
        for (QLineEdit* field : {e.Name, e.FilePath, e.CommandLine, e.CurrentDirectory}) {
            EXPECT_TRUE(field->text().isEmpty());
        }
        EXPECT_EQ(e.WindowSize->currentIndex(), 1);
        EXPECT_FALSE(e.AnAdminAdd->isChecked());
        e.Name->setText(u"新規"_s);
        e.FilePath->setText(u"/bin/new"_s);
        e.CommandLine->setText(u" -x"_s);
        e.CurrentDirectory->setText(u"/bin"_s);
        e.WindowSize->setCurrentIndex(2);
        e.AnAdminAdd->setChecked(true);
        e.OK->click();
    });
    l.Add->click();
    const QStringList added = {u"新規"_s, u"新規"_s, u"/bin/new"_s, u" -x"_s, u"/bin"_s, u"2"_s, u"-1"_s};
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad, kTerminal, kCalculator, added}));
    EXPECT_EQ(l.SelectedRow(), 0);
    EXPECT_EQ(l.Name->text(), u"メモ帳"_s);
    EXPECT_EQ(desktop.modalDialogs, std::vector<QString>{u"LauncherToolEdit"_s});

    // Cancelled: nothing changes.
    ScriptEditor([](TLauncherToolEdit& e) {
        e.Name->setText(u"捨てる"_s);
        e.FilePath->setText(u"/x"_s);
        e.Cancel->click();
    });
    l.Add->click();
    EXPECT_EQ(Entries(l).size(), 4u);
}

TEST_F(LauncherManagement, AddOnlyBeepsAtTwentyEntries) {
    std::string data;
    for (int slot = 1; slot <= 20; ++slot) {
        data += "[Application_" + std::to_string(slot) + "]\nName=e" + std::to_string(slot) + "\n";
    }
    TLauncher& l = Create(data);
    ASSERT_EQ(l.LauncherList->count(), 20);
    l.Add->click();
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(desktop.modalDialogs.empty());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(l.LauncherList->count(), 20);
}

TEST_F(LauncherManagement, EditReplacesTheSelectedEntry) {
    TLauncher& l = Create();
    // Nothing selected: no editor.
    l.EditClick();
    EXPECT_TRUE(desktop.modalDialogs.empty());

    l.LauncherList->setCurrentRow(1);
    ScriptEditor([](TLauncherToolEdit& e) {
        EXPECT_EQ(e.windowTitle(), u"ツールの編集"_s);
        EXPECT_EQ(e.Name->text(), u"端末"_s);
        EXPECT_EQ(e.FilePath->text(), u"/usr/bin/xterm"_s);
        // The hand-edited size 7 has no item: normal size is offered, and OK repairs the entry.
        EXPECT_EQ(e.WindowSize->currentIndex(), 1);
        EXPECT_TRUE(e.AnAdminAdd->isChecked());
        e.Name->setText(u"端末2"_s);
        e.AnAdminAdd->setChecked(false);
        e.OK->click();
    });
    l.Edit->click();
    const QStringList edited = {u"端末2"_s, u"端末2"_s, u"/usr/bin/xterm"_s, u""_s, u""_s, u"1"_s, u"0"_s};
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad, edited, kCalculator}));
    EXPECT_EQ(l.SelectedRow(), 1);
    EXPECT_EQ(Panel(l), (QStringList{u"端末2"_s, u"/usr/bin/xterm"_s, u""_s, u""_s, u"通常のサイズ"_s, u"False"_s}));

    // Cancelled: nothing changes.
    ScriptEditor([](TLauncherToolEdit& e) {
        e.Name->setText(u"捨てる"_s);
        e.Cancel->click();
    });
    l.Edit->click();
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad, edited, kCalculator}));
}

TEST_F(LauncherManagement, DoubleClickOnARowEditsIt) {
    TLauncher& l = Create();
    l.show();
    QString edited;
    ScriptEditor([&edited](TLauncherToolEdit& e) { edited = e.Name->text(); });
    const QRect row = l.LauncherList->visualItemRect(l.LauncherList->item(2));
    QTest::mouseClick(l.LauncherList->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(l.LauncherList->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(edited, u"電卓"_s);
    EXPECT_EQ(desktop.modalDialogs.size(), 1u);
}

TEST_F(LauncherManagement, DeleteSelectsTheFollowingEntryOrNothing) {
    TLauncher& l = Create();
    l.Delete->click();  // nothing selected
    EXPECT_EQ(Entries(l).size(), 3u);

    l.LauncherList->setCurrentRow(1);
    l.Delete->click();
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad, kCalculator}));
    EXPECT_EQ(l.SelectedRow(), 1);
    EXPECT_EQ(l.Name->text(), u"電卓"_s);
    EXPECT_TRUE(EditButtonsEnabled());

    l.Delete->click();  // the last row
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad}));
    EXPECT_EQ(l.SelectedRow(), -1);
    EXPECT_EQ(Panel(l), kEmptyPanel);
    EXPECT_FALSE(EditButtonsEnabled());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(LauncherManagement, UpAndDownMoveTheEntryWithItsSelection) {
    TLauncher& l = Create();
    l.LauncherList->setCurrentRow(1);
    l.ItemUp->click();
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kTerminal, kNotepad, kCalculator}));
    EXPECT_EQ(l.SelectedRow(), 0);
    EXPECT_EQ(l.Name->text(), u"端末"_s);

    l.ItemUp->click();  // first row: nothing changes
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kTerminal, kNotepad, kCalculator}));
    EXPECT_EQ(l.SelectedRow(), 0);

    l.ItemDown->click();
    l.ItemDown->click();
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad, kCalculator, kTerminal}));
    EXPECT_EQ(l.SelectedRow(), 2);
    l.ItemDown->click();  // last row: nothing changes
    EXPECT_EQ(Entries(l), (std::vector<QStringList>{kNotepad, kCalculator, kTerminal}));
    EXPECT_EQ(l.SelectedRow(), 2);
    EXPECT_EQ(Panel(l)[0], u"端末"_s);
    EXPECT_EQ(desktop.beeps, 0);
}

// Each row's icon is looked up off the interface thread and lands on the row of its entry, wherever that row has
// moved meanwhile; an answer for an entry that is gone or was asked again lands nowhere.
TEST_F(LauncherManagement, RowIconsLandOnTheirOwnEntryOnly) {
    const IconReference shield{{}, ":/shield.svg"};
    const IconReference logo{{}, ":/nagitori.svg"};
    system.icons = {{"/slow/a", shield}, {"/slow/b", shield}, {"/slow/d", shield}, {"/quick", logo}};
    system.hangingLookups = {"/slow/a", "/slow/b", "/slow/d"};
    TLauncher& l = Create(
        "[Application_1]\nName=A\nFilePath=/slow/a\n[Application_2]\nName=B\nFilePath=/slow/b\n"
        "[Application_3]\nName=C\nFilePath=/quick\n[Application_4]\nName=D\nFilePath=/slow/d\n");
    ASSERT_TRUE(QTest::qWaitFor([&l] { return !l.LauncherList->item(2)->icon().isNull(); }));
    EXPECT_TRUE(l.IconsPending());

    // D goes, A moves below C, and B is changed to what answers at once.
    l.LauncherList->setCurrentRow(3);
    l.Delete->click();
    l.LauncherList->setCurrentRow(0);
    l.ItemDown->click();
    l.ItemDown->click();
    ScriptEditor([](TLauncherToolEdit& editor) {
        editor.FilePath->setText(u"/quick"_s);
        editor.OK->click();
    });
    l.LauncherList->setCurrentRow(0);
    l.Edit->click();
    ASSERT_EQ(l.NameList, (QStringList{u"B"_s, u"C"_s, u"A"_s}));
    ASSERT_EQ(l.FilePathList[0], u"/quick"_s);
    system.ReleaseLookups();
    ASSERT_TRUE(QTest::qWaitFor([&l] { return !l.IconsPending(); }));

    const auto picture = [](const QIcon& icon) { return icon.pixmap(16).toImage(); };
    const QImage logoPicture = picture(ThemeIcon(LoadIcon(logo)));
    EXPECT_EQ(picture(l.LauncherList->item(0)->icon()), logoPicture) << "B's first answer came too late to land";
    EXPECT_EQ(picture(l.LauncherList->item(1)->icon()), logoPicture) << "D's answer had no row to land on";
    EXPECT_EQ(picture(l.LauncherList->item(2)->icon()), picture(ThemeIcon(LoadIcon(shield)))) << "A's followed A";
}

// A hand-edited file: gaps, a nameless section, values to normalise, and what the launcher never touches.
constexpr char kHandEdited[] =
    "; ナギトリ launcher\r\n"
    "[Application_1]\r\nName=メモ帳\r\nFilePath=C:\\Windows\\notepad.exe\r\nCommandLine=\r\n"
    "CurrentDirectory=C:\\Windows\r\nWindowSize=abc\r\nAnAdminAdd=True\r\n\r\n"
    "[Other]\r\n; keep me\r\nKey=value\r\n\r\n"
    "[Application_3]\r\nName=端末\r\nFilePath=/usr/bin/xterm\r\nWindowSize=2\r\nAnAdminAdd=5\r\n"
    "[Application_4]\r\nFilePath=/orphan\r\n"
    "[Application_21]\r\nName=beyond\r\n";
constexpr char kKept[] =
    "; ナギトリ launcher\r\n[Other]\r\n; keep me\r\nKey=value\r\n\r\n[Application_21]\r\nName=beyond\r\n";

TEST_F(LauncherManagement, OkWritesTheListAsContiguousSlots) {
    const std::string notepad =
        "Name=メモ帳\r\nFilePath=C:\\Windows\\notepad.exe\r\nCommandLine=\r\nCurrentDirectory=C:\\Windows\r\n"
        "WindowSize=1\r\nAnAdminAdd=0\r\n";
    const std::string terminal =
        "Name=端末\r\nFilePath=/usr/bin/xterm\r\nCommandLine=\r\nCurrentDirectory=\r\nWindowSize=2\r\nAnAdminAdd=1\r\n";
    struct Case {
        const char* what;
        std::function<void(TLauncher&)> change;
        std::string expected;
    };
    const Case cases[] = {
        {"unchanged", [](TLauncher&) {}, kKept + ("[Application_1]\r\n" + notepad + "[Application_2]\r\n" + terminal)},
        {"moved",
         [](TLauncher& l) {
             l.LauncherList->setCurrentRow(1);
             l.ItemUp->click();
         },
         kKept + ("[Application_1]\r\n" + terminal + "[Application_2]\r\n" + notepad)},
        {"all deleted",
         [](TLauncher& l) {
             l.LauncherList->setCurrentRow(0);
             l.Delete->click();
             l.Delete->click();
         },
         kKept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TLauncher& l = Create(kHandEdited);
        desktop.modalScripts.push_back([&c](QDialog& d) {
            auto& launcher = dynamic_cast<TLauncher&>(d);
            c.change(launcher);
            launcher.OK->click();
        });
        EXPECT_EQ(desktop.RunModal(l), QDialog::Accepted);
        EXPECT_EQ(ReadFileBytes(DataFile()), c.expected);
        EXPECT_TRUE(desktop.boxes.empty());
    }
}

TEST_F(LauncherManagement, AFailedSaveChangesNothingAndKeepsTheDialogOpen) {
    struct Case {
        const char* what;
        std::function<void()> breakFolder;
    };
    const Case cases[] = {
        {"data folder is a regular file",
         [this] {
             std::filesystem::remove_all(DataFolder());
             WriteFileBytes(DataFolder(), "not a folder");
         }},
        {"data folder missing", [this] { std::filesystem::remove_all(DataFolder()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desktop.boxes.clear();
        std::filesystem::remove_all(DataFolder());
        std::filesystem::create_directories(DataFolder());
        TLauncher& l = Create();
        c.breakFolder();
        const auto before = std::filesystem::exists(DataFolder()) ? ReadFileBytes(DataFolder()) : std::string();
        l.show();
        l.OK->click();
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].text, QString::fromUtf8(messages::kSaveFailed));
        EXPECT_EQ(desktop.boxes[0].flags, mb::kIconWarning);
        EXPECT_TRUE(l.isVisible());
        EXPECT_EQ(l.result(), QDialog::Rejected);
        EXPECT_EQ(std::filesystem::exists(DataFolder()) ? ReadFileBytes(DataFolder()) : std::string(), before);
        EXPECT_FALSE(std::filesystem::is_directory(DataFolder()));
    }
}

// It holds the user's paths and command lines: new, it is the user's alone; a mode the user chose stays.
TEST_F(LauncherManagement, ANewDataFileIsTheUsersAloneAndAnOldOneKeepsItsMode) {
    const mode_t previousMask = ::umask(022);
    for (const std::optional<mode_t> existing : {std::optional<mode_t>(), std::optional<mode_t>(0644)}) {
        SCOPED_TRACE(existing ? "existing file" : "new file");
        std::filesystem::remove(DataFile());
        if (existing) {
            WriteLauncherData(kThreeEntries);
            ASSERT_EQ(::chmod(DataFile().c_str(), *existing), 0);
        }
        TLauncher& l = Open();
        ScriptEditor([](TLauncherToolEdit& e) {
            e.Name->setText(u"新"_s);
            e.FilePath->setText(u"/usr/bin/true"_s);
            e.OK->click();
        });
        l.Add->click();
        l.show();
        l.OK->click();
        ASSERT_FALSE(l.isVisible());
        struct stat status {};
        ASSERT_EQ(::stat(DataFile().c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, existing.value_or(0600));
    }
    ::umask(previousMask);
}

TEST_F(LauncherManagement, CancelWritesNothing) {
    const std::function<void(TLauncher&)> closers[] = {
        [](TLauncher& l) { l.Cancel->click(); },
        [](TLauncher& l) { l.close(); },
        [](TLauncher& l) { QTest::keyClick(&l, Qt::Key_Escape); },
    };
    for (const auto& closeDialog : closers) {
        TLauncher& l = Create(kHandEdited);
        desktop.modalScripts.push_back([&closeDialog](QDialog& d) {
            auto& launcher = dynamic_cast<TLauncher&>(d);
            launcher.LauncherList->setCurrentRow(1);
            launcher.ItemUp->click();
            launcher.Delete->click();
            closeDialog(launcher);
        });
        EXPECT_EQ(desktop.RunModal(l), QDialog::Rejected);
        EXPECT_EQ(ReadFileBytes(DataFile()), kHandEdited);
    }
}

TEST_F(LauncherManagement, OpenLauncherManagementIsTrueOnlyAfterOk) {
    QWidget owner;
    WriteLauncherData(kHandEdited);
    struct Case {
        const char* button;  // null: no script, the dialog is left open
        bool result;
    };
    for (const Case& c : {Case{"OK", true}, Case{"Cancel", false}, Case{nullptr, false}}) {
        SCOPED_TRACE(c.button ? c.button : "none");
        QWidget* parent = nullptr;
        if (c.button != nullptr) {
            desktop.modalScripts.push_back([&parent, name = QString::fromUtf8(c.button)](QDialog& d) {
                parent = d.parentWidget();
                d.findChild<QPushButton*>(name)->click();
            });
        }
        EXPECT_EQ(OpenLauncherManagement(system, desktop, &owner), c.result);
        EXPECT_EQ(desktop.modalDialogs.back(), u"Launcher"_s);
        EXPECT_EQ(parent, c.button ? &owner : nullptr);
        EXPECT_TRUE(owner.findChildren<QDialog*>().isEmpty());
    }
    // Only OK rewrote the file.
    EXPECT_NE(ReadFileBytes(DataFile()), kHandEdited);
}

}  // namespace
}  // namespace nagitori::test
