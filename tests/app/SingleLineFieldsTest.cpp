#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPushButton>
#include <set>

#include "app/MainFormFixture.h"
#include "app/OptionsPage.h"

namespace nagitori::test {
namespace {

using SingleLineFields = MainFormFixture;

QString Paste(QLineEdit& field, const QString& text, const QString& before, int cursor) {
    field.setText(before);
    field.setCursorPosition(cursor);
    QApplication::clipboard()->setText(text);
    field.paste();
    return field.text();
}

// Pastes into every editable single-line field of the dialog, combo boxes included; returns the names of the
// fields it tried.
std::set<std::string> PasteIntoEveryField(QDialog& dialog) {
    std::set<std::string> names;
    const QString longText(40000, u'x');
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>()) {
        // A key field records keys; no text reaches its line.
        if (field->isReadOnly() || qobject_cast<QKeySequenceEdit*>(field->parentWidget()) != nullptr) {
            continue;
        }
        auto* box = qobject_cast<QComboBox*>(field->parentWidget());
        const std::string name = (box != nullptr ? box->objectName() : field->objectName()).toStdString();
        SCOPED_TRACE(name);
        names.insert(name);
        EXPECT_EQ(Paste(*field, QStringLiteral("text\nmore"), QString(), 0), QStringLiteral("text"));
        EXPECT_EQ(Paste(*field, QStringLiteral("/usr/bin/env\r\n"), QStringLiteral("ab"), 1),
                  QStringLiteral("a/usr/bin/envb"));
        EXPECT_EQ(field->cursorPosition(), 13);
        EXPECT_EQ(Paste(*field, longText + QStringLiteral("\rrest"), QString(), 0), longText);
        field->setText(QStringLiteral("one\ntwo\nthree"));
        EXPECT_EQ(field->text(), QStringLiteral("one"));
        field->setText(longText);
        EXPECT_EQ(field->text(), longText);
    }
    return names;
}

QPushButton* ButtonOf(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromUtf8(name));
}

TEST_F(SingleLineFields, EveryDialogKeepsTheFirstLineOfAPasteAndAnyLength) {
    TMainForm& main = Create();
    std::set<std::string> settings;
    desktop.modalScripts.push_back([&](QDialog& dialog) { settings = PasteIntoEveryField(dialog); });
    main.N8->trigger();
    EXPECT_EQ(settings, (std::set<std::string>{"CommandLine", "CurrentDirectory"}));

    std::set<std::string> run;
    desktop.modalScripts.push_back([&](QDialog& dialog) { run = PasteIntoEveryField(dialog); });
    main.N13->trigger();
    EXPECT_EQ(run, (std::set<std::string>{"ExecuteFilePath", "CommandLine", "CurrentDirectory"}));

    std::set<std::string> editor;
    desktop.modalScripts.push_back([](QDialog& dialog) { ButtonOf(dialog, "Add")->click(); });
    desktop.modalScripts.push_back([&](QDialog& dialog) { editor = PasteIntoEveryField(dialog); });
    main.N7->trigger();
    EXPECT_EQ(editor, (std::set<std::string>{"Name", "FilePath", "CommandLine", "CurrentDirectory"}));
    EXPECT_TRUE(desktop.boxes.empty());
}

// A path copied from a terminal ends with a line break: the session's save keeps it as one line.
TEST_F(SingleLineFields, AnEntryPastedWithALineBreakIsSaved) {
    TMainForm& main = Create();
    desktop.modalScripts.push_back([](QDialog& dialog) {
        ButtonOf(dialog, "Add")->click();
        ButtonOf(dialog, "OK")->click();
    });
    desktop.modalScripts.push_back([](QDialog& editor) {
        for (const char* name : {"Name", "FilePath"}) {
            QApplication::clipboard()->setText(QStringLiteral("/usr/bin/env\n"));
            editor.findChild<QLineEdit*>(QString::fromUtf8(name))->paste();
        }
        ButtonOf(editor, "OK")->click();
    });
    main.N7->trigger();
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(ReadFileBytes(DataFolder() / "LauncherData.ini"),
              "[Application_1]\nName=/usr/bin/env\nFilePath=/usr/bin/env\nCommandLine=\nCurrentDirectory=\n"
              "WindowSize=1\nAnAdminAdd=0\n");
}

}  // namespace
}  // namespace nagitori::test
