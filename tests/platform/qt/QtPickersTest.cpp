#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QTest>
#include <QToolButton>
#include <stdexcept>

#include "platform/qt/QtPickers.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

const QString kAllFiles = QStringLiteral("すべてのファイル（*.*）|*.*");
const QString kExecutables = QStringLiteral("実行ファイル（*.exe;*.bat;*.cmd;*.com）|*.exe;*.bat;*.cmd;*.com");

QString QtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QFileSystemModel& ModelOf(QFileDialog& dialog) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (model == nullptr) {
        throw std::logic_error("the file dialog has no file system model");
    }
    return *model;
}

// The names the dialog lists in its current folder, sorted.
QStringList ListedNames(QFileDialog& dialog) {
    QFileSystemModel& model = ModelOf(dialog);
    QModelIndex root = model.index(dialog.directory().absolutePath());
    const QAbstractItemModel* listed = &model;
    if (QAbstractProxyModel* proxy = dialog.proxyModel()) {
        root = proxy->mapFromSource(root);
        listed = proxy;
    }
    QStringList names;
    for (int row = 0; row < listed->rowCount(root); ++row) {
        names.push_back(listed->index(row, 0, root).data().toString());
    }
    names.sort();
    return names;
}

// The file-type box shows the description alone, as on Windows.
bool ShowsFilterDescription(QFileDialog& dialog, const QString& description) {
    for (const QComboBox* box : dialog.findChildren<QComboBox*>()) {
        if (box->count() == 1 && box->itemText(0) == description) {
            return true;
        }
    }
    return false;
}

TEST(QtPickers, TurnsFiltersIntoQtNameFilters) {
    struct Case {
        QString filter;
        QStringList nameFilters;
    };
    const Case cases[] = {
        {kAllFiles, {QStringLiteral("すべてのファイル（*.*） (*)")}},
        {kExecutables, {QStringLiteral("実行ファイル（*.exe;*.bat;*.cmd;*.com） (*.exe *.bat *.cmd *.com)")}},
        {QStringLiteral("Text|*.txt|Logs|*.log;*.old"),
         {QStringLiteral("Text (*.txt)"), QStringLiteral("Logs (*.log *.old)")}},
        {QStringLiteral("Text| *.txt ;;*.log"), {QStringLiteral("Text (*.txt *.log)")}},
        {QString(), {}},
        {QStringLiteral("Text"), {}},
        {QStringLiteral("Text|"), {}},
        {QStringLiteral("Text|*.txt|Orphan"), {QStringLiteral("Text (*.txt)")}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameFiltersFromFilter(c.filter), c.nameFilters) << c.filter.toStdString();
    }
}

TEST(QtPickers, OpenFileDialogFiltersByThePatternsAfterTheDescription) {
    test::TempDir dir;
    for (const char* name : {"a.exe", "B.BAT", "c.cmd", "d.com", "notes.txt", "Makefile", "tool"}) {
        test::WriteFileBytes(dir / name, "x");
    }
    // A program of this system: no extension, but execute permission.
    std::filesystem::permissions(dir / "tool", std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    struct Case {
        QString filter;
        QStringList patterns;
        QStringList listed;
    };
    const Case cases[] = {
        {kAllFiles,
         {QStringLiteral("*")},
         {QStringLiteral("B.BAT"), QStringLiteral("Makefile"), QStringLiteral("a.exe"), QStringLiteral("c.cmd"),
          QStringLiteral("d.com"), QStringLiteral("notes.txt"), QStringLiteral("tool")}},
        {kExecutables,
         {QStringLiteral("*.exe"), QStringLiteral("*.bat"), QStringLiteral("*.cmd"), QStringLiteral("*.com"),
          QStringLiteral("*")},
         {QStringLiteral("B.BAT"), QStringLiteral("a.exe"), QStringLiteral("c.cmd"), QStringLiteral("d.com"),
          QStringLiteral("tool")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        OpenFileOptions options;
        options.filter = c.filter;
        options.initialFolder = QtPath(dir.Path());
        const auto dialog = BuildOpenFileDialog(nullptr, options);
        EXPECT_EQ(ModelOf(*dialog).nameFilters(), c.patterns);
        EXPECT_TRUE(ShowsFilterDescription(*dialog, c.filter.section(u'|', 0, 0)));
        // The model reads the folder in the background.
        EXPECT_TRUE(QTest::qWaitFor([&] { return ListedNames(*dialog) == c.listed; }, 2000))
            << ListedNames(*dialog).join(u' ').toStdString();
    }
}

TEST(QtPickers, OpenFileDialogTakesTitleModeFolderAndFileName) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "tool.exe", "x");
    const QString folder = QtPath(dir.Path());

    OpenFileOptions options;
    options.title = QStringLiteral("実行ファイルの選択");
    options.filter = kExecutables;
    options.initialFolder = folder;
    options.initialFileName = QStringLiteral("tool.exe");
    auto dialog = BuildOpenFileDialog(nullptr, options);
    EXPECT_EQ(dialog->windowTitle(), options.title);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->directory().absolutePath(), folder);
    EXPECT_EQ(dialog->selectedFiles(), QStringList{folder + QStringLiteral("/tool.exe")});

    // A folder that does not exist is not offered: the picker opens where the last one was, and so does
    // the next one.
    options.multiSelect = true;
    options.initialFolder = folder + QStringLiteral("/missing/deeper");
    options.initialFileName.clear();
    dialog = BuildOpenFileDialog(nullptr, options);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(dialog->directory().absolutePath(), folder);
    options.initialFolder.clear();
    EXPECT_EQ(BuildOpenFileDialog(nullptr, options)->directory().absolutePath(), folder);
}

TEST(QtPickers, FolderDialogChoosesFoldersFromTheStartFolder) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    const QString start = QtPath(dir / "sub");

    // A start folder that does not exist is not offered: the picker stays where the last one was.
    for (const QString& startFolder : {start, start + QStringLiteral("/missing/deeper"), QString()}) {
        SCOPED_TRACE(startFolder.toStdString());
        FolderOptions options;
        options.prompt = QStringLiteral("ディレクトリパスの挿入");
        options.startFolder = startFolder;
        const auto dialog = BuildFolderDialog(nullptr, options);
        EXPECT_EQ(dialog->windowTitle(), options.prompt);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
        // Choosing at once returns the folder shown: it is preselected.
        EXPECT_EQ(dialog->directory().absolutePath(), start);
        EXPECT_EQ(dialog->selectedFiles(), QStringList{start});
    }
}

// Counts the folders in a folder.
int FolderCount(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        count += entry.is_directory() ? 1 : 0;
    }
    return count;
}

TEST(QtPickers, FolderDialogMakesANewFolderOnlyWhenAsked) {
    for (bool offered : {true, false}) {
        SCOPED_TRACE(offered);
        test::TempDir dir;
        std::filesystem::create_directory(dir / "sub");
        FolderOptions options;
        options.newFolderButton = offered;
        options.startFolder = QtPath(dir / "sub");
        const auto dialog = BuildFolderDialog(nullptr, options);
        auto* button = dialog->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
        ASSERT_NE(button, nullptr);
        // Moving to another folder must not bring the button back.
        dialog->setDirectory(QtPath(dir.Path()));
        EXPECT_EQ(button->isEnabled(), offered);
        // The list's context menu offers its new-folder item as the button is enabled.
        button->click();
        EXPECT_EQ(FolderCount(dir.Path()), offered ? 2 : 1);
    }
}

TEST(QtPickers, DropsTrailingSeparatorsExceptARootsOwn) {
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/user/", "/home/user"},
        {"/home/user", "/home/user"},
        {"/home/user//", "/home/user"},
        {"/", "/"},
        {"///", "/"},
        // A backslash is part of a name here, and "C:" an ordinary folder name.
        {"/home/u/a\\", "/home/u/a\\"},
        {"C:\\", "C:\\"},
        {"C:/", "C:"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithoutTrailingSeparator(QString::fromUtf8(c.path)), QString::fromUtf8(c.expected)) << c.path;
    }
}

}  // namespace
}  // namespace nagitori
