// What the user sees when a data file must not be changed, for every writer the windows drive.
#include <unistd.h>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <pwd.h>
#include <QCheckBox>
#include <cstdint>
#include <functional>

#include "app/MainFormFixture.h"
#include "common/FileErrorText.h"
#include "common/FileLimits.h"
#include "common/Messages.h"
#include "launcher/LauncherDialog.h"
#include "launcher/LauncherPage.h"
#include "platform/Desktop.h"
#include "runfile/InputHistory.h"
#include "settings/SettingDialog.h"
#include "widgets/GeneralErrorBox.h"

namespace nagitori::test {
namespace {

QPushButton* ButtonOf(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromUtf8(name));
}

std::string Boxes(const FakeDesktop& desktop) {
    std::string seen;
    for (const FakeDesktop::Box& box : desktop.boxes) {
        seen += box.text.toStdString() + " [" + std::to_string(box.flags) + "]";
    }
    return seen;
}

const std::string kSaveFailedBox = std::string(messages::kSaveFailed) + " [" + std::to_string(mb::kIconWarning) + "]";

struct Writer {
    const char* name;
    std::filesystem::path file;
    std::string before;  // what the file holds when it is there
    // Drives the write through the windows; returns what the user saw of it.
    std::function<std::string(TMainForm&)> write;
};

class MainFormFileConditions : public MainFormFixture {
protected:
    std::vector<Writer> Writers() {
        return {
            {"toggle N4", SettingsFile(), "[ToolRunOption]\nGiveAdministrator=0\n",
             [this](TMainForm& main) {
                 main.N4->trigger();
                 return std::string(main.N4->isChecked() ? "checked" : "unchecked") + Boxes(desktop);
             }},
            {"settings OK", SettingsFile(), "[ToolRunOption]\nGiveAdministrator=0\n",
             [this](TMainForm& main) {
                 desktop.modalScripts.push_back([](QDialog& dialog) {
                     dialog.findChild<QLineEdit*>(QStringLiteral("CommandLine"))->setText(QStringLiteral("/s"));
                     ButtonOf(dialog, "OK")->click();
                 });
                 main.N8->trigger();
                 return Boxes(desktop);
             }},
            {"launcher save", DataFolder() / "LauncherData.ini", "[Application_1]\nName=old\n",
             [this](TMainForm& main) {
                 // Deletes the entry there is, or adds one.
                 desktop.modalScripts.push_back([this](QDialog& dialog) {
                     auto* list = dialog.findChild<QListWidget*>(QStringLiteral("LauncherList"));
                     if (list->count() > 0) {
                         list->setCurrentRow(0);
                         ButtonOf(dialog, "Delete")->click();
                     } else {
                         desktop.modalScripts.push_back([](QDialog& editor) {
                             editor.findChild<QLineEdit*>(QStringLiteral("Name"))->setText(QStringLiteral("new"));
                             editor.findChild<QLineEdit*>(QStringLiteral("FilePath"))
                                 ->setText(QStringLiteral("/bin/true"));
                             ButtonOf(editor, "OK")->click();
                         });
                         ButtonOf(dialog, "Add")->click();
                     }
                     ButtonOf(dialog, "OK")->click();
                 });
                 main.N7->trigger();
                 return Boxes(desktop);
             }},
            {"history append", DataFolder() / kExecuteFileHistoryName, "/old/entry",
             [this](TMainForm& main) {
                 const std::filesystem::path tool = dir / "tool";
                 WriteFileBytes(tool, "");
                 desktop.modalScripts.push_back([tool](QDialog& dialog) {
                     dialog.findChild<QComboBox*>(QStringLiteral("ExecuteFilePath"))
                         ->setEditText(QString::fromStdString(tool.string()));
                     ButtonOf(dialog, "OK")->click();
                 });
                 main.N13->trigger();
                 // A history that cannot be written never stops the launch.
                 return std::to_string(system.launches.size()) + " launch " + Boxes(desktop);
             }},
        };
    }
};

struct Condition {
    const char* name;
    std::function<void(const std::filesystem::path&, const std::string& before)> make;
    const char* reason;  // of a history error
    bool failsToLoad;    // the run dialog cannot load such a history either
};

std::vector<Condition> RefusedConditions() {
    using std::filesystem::perms;
    std::vector<Condition> conditions = {
        {"read-only",
         [](const std::filesystem::path& path, const std::string& before) {
             WriteFileBytes(path, before);
             std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
         },
         file_errors::kReadOnly, false},
        {"UTF-16",
         [](const std::filesystem::path& path, const std::string&) {
             WriteFileBytes(path, std::string("\xFF\xFE[\0S\0]\0", 8));
         },
         file_errors::kNotUtf8, true},
        {"oversized",
         [](const std::filesystem::path& path, const std::string& before) {
             WriteFileBytes(path, before);
             std::filesystem::resize_file(path, kMaxDataFileBytes + 1);
         },
         file_errors::kTooLarge, true},
        {"folder",
         [](const std::filesystem::path& path, const std::string&) { std::filesystem::create_directory(path); },
         file_errors::kNotRegularFile, false},
    };
    if (::geteuid() == 0) {
        // Root's file behind a link that another user owns, and so could point anywhere.
        conditions.push_back({"another user's link",
                              [](const std::filesystem::path& path, const std::string& before) {
                                  const std::filesystem::path target = path.string() + ".root";
                                  WriteFileBytes(target, before);
                                  std::filesystem::create_symlink(target, path);
                                  const passwd* nobody = ::getpwnam("nobody");
                                  ASSERT_EQ(::lchown(path.c_str(), nobody != nullptr ? nobody->pw_uid : 65534,
                                                     nobody != nullptr ? nobody->pw_gid : 65534),
                                            0);
                              },
                              file_errors::kOtherUsersLink, false});
    }
    return conditions;
}

TEST_F(MainFormFileConditions, AFileThatMustNotChangeStaysAsItWasAndTheUserIsToldAsUsual) {
    for (const Writer& writer : Writers()) {
        for (const Condition& condition : RefusedConditions()) {
            SCOPED_TRACE(testing::Message() << writer.name << ", " << condition.name);
            desktop.boxes.clear();
            system.launches.clear();
            const std::filesystem::path& path = writer.file;
            std::filesystem::remove_all(path);
            TMainForm& main = Create();
            condition.make(path, writer.before);
            const auto sizeBefore = std::filesystem::is_regular_file(path) ? std::filesystem::file_size(path) : 0;
            const std::string bytesBefore = sizeBefore < 4096 && sizeBefore > 0 ? ReadFileBytes(path) : "";

            const std::string seen = writer.write(main);
            std::string expected;
            if (std::string(writer.name) == "toggle N4") {
                expected = "unchecked";
            } else if (std::string(writer.name) == "history append") {
                const auto box = [](const std::string& text) {
                    return GeneralErrorText(QString::fromStdString(text)).toStdString() + " [" +
                           std::to_string(mb::kIconError) + "]";
                };
                expected = "1 launch ";
                if (condition.failsToLoad) {
                    expected += box(file_errors::CannotRead(path, condition.reason));
                }
                expected += box(file_errors::CannotWrite(path, condition.reason));
            } else {
                expected = kSaveFailedBox;
            }
            EXPECT_EQ(seen, expected);
            if (std::filesystem::is_directory(path)) {
                EXPECT_TRUE(std::filesystem::is_empty(path));
            } else {
                EXPECT_EQ(std::filesystem::file_size(path), sizeBefore);
                if (!bytesBefore.empty()) {
                    EXPECT_EQ(ReadFileBytes(path), bytesBefore);
                }
            }
            std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
        }
    }
}

TEST_F(MainFormFileConditions, ALinkToNothingCreatesItsTargetSilently) {
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.name);
        desktop.boxes.clear();
        system.launches.clear();
        const std::filesystem::path& path = writer.file;
        TMainForm& main = Create();
        std::filesystem::remove_all(dir / "target");
        std::filesystem::remove_all(path);
        std::filesystem::create_symlink(dir / "target", path);
        const std::string seen = writer.write(main);
        EXPECT_EQ(seen, std::string(writer.name) == "toggle N4"        ? "checked"
                        : std::string(writer.name) == "history append" ? "1 launch "
                                                                       : "");
        EXPECT_TRUE(std::filesystem::is_symlink(path));
        EXPECT_TRUE(std::filesystem::is_regular_file(dir / "target"));
    }
}

// A failed save keeps the dialog open with what the user typed, whatever made it fail; the user mends the cause
// and presses OK again, or cancels and finds everything as it was.
TEST_F(MainFormFileConditions, AFailedSaveKeepsTheDialogOpenWithWhatWasTyped) {
    struct Dialog {
        const char* name;
        std::filesystem::path file;
        std::string before;
        QAction* TMainForm::*open;
        std::function<void(QDialog&)> type;
        std::function<std::string(QDialog&)> shown;  // what the dialog holds of it
        const char* typed;
        std::function<std::string(TMainForm&)> taken;  // what the main window shows of the file
        const char* takenBefore;
        const char* takenAfter;
    };
    const Dialog dialogs[] = {
        {"settings", SettingsFile(), "[ToolRunOption]\nCommandLine=/old\n", &TMainForm::N8,
         [](QDialog& d) {
             auto& setting = dynamic_cast<TSetting&>(d);
             setting.CommandLine->setText(QStringLiteral("/s"));
             setting.CurrentDirectory->setText(QStringLiteral("/srv"));
             setting.WindowSize->setCurrentIndex(2);
             setting.Administrator->setChecked(true);
         },
         [](QDialog& d) {
             auto& setting = dynamic_cast<TSetting&>(d);
             return (setting.CommandLine->text() + u' ' + setting.CurrentDirectory->text() + u' ' +
                     QString::number(setting.WindowSize->currentIndex()) + u' ' +
                     QString::number(setting.Administrator->isChecked()))
                 .toStdString();
         },
         "/s /srv 2 1",
         [](TMainForm& main) {
             return main.CurrentDirectory + ' ' + std::to_string(main.WindowSize) + ' ' +
                    std::to_string(main.N4->isChecked());
         },
         " 1 0", "/srv 2 1"},
        {"launcher", DataFolder() / "LauncherData.ini", "[Application_1]\nName=old\nFilePath=/x\n", &TMainForm::N7,
         [this](QDialog& d) {
             auto& launcher = dynamic_cast<TLauncher&>(d);
             desktop.modalScripts.push_back([](QDialog& e) {
                 e.findChild<QLineEdit*>(QStringLiteral("Name"))->setText(QStringLiteral("new"));
                 e.findChild<QLineEdit*>(QStringLiteral("FilePath"))->setText(QStringLiteral("/y"));
                 ButtonOf(e, "OK")->click();
             });
             launcher.Add->click();
             launcher.LauncherList->setCurrentRow(1);
             launcher.ItemUp->click();
         },
         [](QDialog& d) {
             auto& launcher = dynamic_cast<TLauncher&>(d);
             return (launcher.NameList.join(u',') + u' ' + launcher.FilePathList.join(u',')).toStdString();
         },
         "new,old /y,/x",
         [](TMainForm& main) {
             return (main.Launchers->Button(0)->text() + u',' + main.Launchers->Button(1)->text()).toStdString();
         },
         "old,", "new,old"},
    };
    struct Cause {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
        std::function<void(const std::filesystem::path&)> mend;
    };
    const Cause causes[] = {
        {"read-only file",
         [](const std::filesystem::path& file) {
             std::filesystem::permissions(file, std::filesystem::perms::owner_read);
         },
         [](const std::filesystem::path& file) {
             std::filesystem::permissions(file,
                                          std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
         }},
        // Binds root as well: a regular file where the folder should be.
        {"folder replaced by a file",
         [](const std::filesystem::path& file) {
             std::filesystem::rename(file.parent_path(), file.parent_path().string() + ".away");
             WriteFileBytes(file.parent_path(), "not a folder");
         },
         [](const std::filesystem::path& file) {
             std::filesystem::remove(file.parent_path());
             std::filesystem::rename(file.parent_path().string() + ".away", file.parent_path());
         }},
    };
    for (const Dialog& dialog : dialogs) {
        for (const Cause& cause : causes) {
            for (const bool retry : {true, false}) {
                SCOPED_TRACE(testing::Message() << dialog.name << ", " << cause.name << (retry ? ", OK" : ", cancel"));
                desktop.boxes.clear();
                WriteFileBytes(dialog.file, dialog.before);
                TMainForm& main = Create();
                std::string shownAfterFailure;
                bool openAfterFailure = false;
                desktop.modalScripts.push_back([&](QDialog& d) {
                    dialog.type(d);
                    cause.make(dialog.file);
                    ButtonOf(d, "OK")->click();
                    openAfterFailure = d.isVisible();
                    shownAfterFailure = dialog.shown(d);
                    cause.mend(dialog.file);
                    ButtonOf(d, retry ? "OK" : "Cancel")->click();
                });
                (main.*dialog.open)->trigger();

                EXPECT_EQ(Boxes(desktop), kSaveFailedBox);
                EXPECT_TRUE(openAfterFailure);
                EXPECT_EQ(shownAfterFailure, dialog.typed);
                EXPECT_EQ(dialog.taken(main), retry ? dialog.takenAfter : dialog.takenBefore);
                if (retry) {
                    EXPECT_NE(ReadFileBytes(dialog.file), dialog.before);
                } else {
                    EXPECT_EQ(ReadFileBytes(dialog.file), dialog.before);
                }
            }
        }
    }
}

}  // namespace
}  // namespace nagitori::test
