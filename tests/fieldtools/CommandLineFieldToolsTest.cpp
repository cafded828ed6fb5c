#include <gtest/gtest.h>

#include <QDialog>

#include "fieldtools/CommandLineFieldToolsConfigs.h"
#include "support/FakeDesktop.h"

namespace nagitori::test {
namespace {

using namespace Qt::StringLiterals;

// A dialog holding nothing but the field and its ">" button.
struct FieldDialog {
    explicit FieldDialog(FakeDesktop& desktop, const CommandLineFieldToolsConfig& config)
        : field(new QLineEdit(&dialog)), button(new QPushButton(QStringLiteral(">"), &dialog)) {
        dialog.move(100, 50);
        field->setGeometry(10, 20, 200, 21);
        button->setGeometry(212, 20, 21, 21);
        tools = new CommandLineFieldTools(desktop, field, button, config);
    }
    QDialog dialog;
    QLineEdit* field;
    QPushButton* button;
    CommandLineFieldTools* tools;
};

struct Variant {
    const char* name;
    const CommandLineFieldToolsConfig* config;
    bool settingsDialog;
};
const Variant kVariants[] = {
    {"setting", &kSettingFieldTools, true},
    {"launcher editor", &kLauncherToolEditFieldTools, false},
    {"run a file", &kExecuteFileRunFieldTools, false},
};

TEST(CommandLineFieldTools, FileNamesAreAppendedWithTheDialogsSpacingRule) {
    struct Case {
        QString before;
        QStringList chosen;
        QString settingAfter;
        QString otherAfter;
    };
    const Case cases[] = {
        {u""_s, {u"/a/b c.txt"_s}, u"/a/b c.txt"_s, u" /a/b c.txt"_s},
        {u""_s, {u"/a/1"_s, u"/a/2"_s}, u"/a/1 /a/2"_s, u" /a/1 /a/2"_s},
        {u"-x"_s, {u"/a/1"_s, u"/a/2"_s}, u"-x /a/1 /a/2"_s, u"-x /a/1 /a/2"_s},
        {u"-x"_s, {}, u"-x"_s, u"-x"_s},
    };
    for (const Variant& v : kVariants) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << v.name << " '" << c.before.toStdString() << "'");
            FakeDesktop desktop;
            FieldDialog d(desktop, *v.config);
            d.field->setText(c.before);
            desktop.openFileAnswers.push_back(c.chosen);
            desktop.popupChoices.push_back(QStringLiteral("ファイル名の挿入"));
            d.button->click();
            EXPECT_EQ(d.field->text(), v.settingsDialog ? c.settingAfter : c.otherAfter);
            ASSERT_EQ(desktop.openFileRequests.size(), 1u);
            const OpenFileOptions& request = desktop.openFileRequests[0];
            EXPECT_EQ(request.title, QStringLiteral("ファイル名の挿入"));
            EXPECT_EQ(request.filter, QStringLiteral("すべてのファイル（*.*）|*.*"));
            EXPECT_TRUE(request.multiSelect);
            EXPECT_TRUE(request.initialFolder.isEmpty());
            EXPECT_TRUE(request.initialFileName.isEmpty());
        }
    }
}

TEST(CommandLineFieldTools, AFolderAlwaysGetsItsLeadingSpace) {
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(v.name);
        FakeDesktop desktop;
        FieldDialog d(desktop, *v.config);
        desktop.folderAnswers.push_back(QStringLiteral("/home/me/My Files"));
        d.tools->InsertDirectoryPath->trigger();
        EXPECT_EQ(d.field->text(), QStringLiteral(" /home/me/My Files"));
        ASSERT_EQ(desktop.folderRequests.size(), 1u);
        EXPECT_EQ(desktop.folderRequests[0].prompt, QStringLiteral("ディレクトリパスの挿入"));
        EXPECT_EQ(desktop.folderRequests[0].newFolderButton, !v.settingsDialog);
        EXPECT_TRUE(desktop.folderRequests[0].startFolder.isEmpty());

        d.tools->InsertDirectoryPath->trigger();  // cancelled
        EXPECT_EQ(d.field->text(), QStringLiteral(" /home/me/My Files"));
        d.tools->Clear->trigger();
        EXPECT_EQ(d.field->text(), QString());
        d.tools->Clear->trigger();
        EXPECT_EQ(d.field->text(), QString());
    }
}

TEST(CommandLineFieldTools, MenuOpensAtTheButtonsTopRightCorner) {
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(v.name);
        FakeDesktop desktop;
        FieldDialog d(desktop, *v.config);
        d.button->click();
        ASSERT_EQ(desktop.popups.size(), 1u);
        EXPECT_EQ(desktop.popups[0].screenPos, d.dialog.mapToGlobal(QPoint(233, 20)));
        EXPECT_EQ(desktop.popups[0].itemTexts,
                  QStringList({u"ファイル名の挿入"_s, u"ディレクトリパスの挿入"_s, QString(), u"クリア"_s}));
        const QList<QAction*> actions = d.tools->CommandLineMenu->actions();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(actions[i]->objectName(), QString::fromUtf8(v.config->itemNames[static_cast<size_t>(i)]));
        }
    }
}

}  // namespace
}  // namespace nagitori::test
