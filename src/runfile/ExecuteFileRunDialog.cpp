#include "runfile/ExecuteFileRunDialog.h"

#include <QStyle>
#include <array>
#include <string>
#include <vector>

#include "fieldtools/CommandLineFieldToolsConfigs.h"
#include "launcher/PathHelpers.h"
#include "runfile/ExistingFile.h"
#include "runfile/InputHistory.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsPath.h"
#include "widgets/DialogFrame.h"
#include "widgets/FileDrops.h"
#include "widgets/GeneralErrorBox.h"
#include "widgets/SingleLineField.h"

namespace keys = nagitori::setting_keys;

namespace nagitori {

namespace {

constexpr int kClientWidth = 428;
constexpr int kClientHeight = 235;
// Fields stand in one column with their labels above and their buttons to the right.
constexpr int kLeft = 8;
constexpr int kFieldWidth = 369;
constexpr int kButtonLeft = 381;
constexpr int kButtonWidth = 39;
constexpr int kRowHeight = 46;

int LabelTop(int row) {
    return 8 + kRowHeight * row;
}
int FieldTop(int row) {
    return LabelTop(row) + 16;
}

QStringList ToStringList(const std::vector<std::string>& entries) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries) {
        list.push_back(QString::fromStdString(entry));
    }
    return list;
}

}  // namespace

TExecuteFileRun::TExecuteFileRun(System& system, Desktop& desktop, QWidget* owner)
    : QDialog(owner), SettingData(SettingsFilePath(system)), system_(system), desktop_(desktop) {
    setObjectName(QStringLiteral("ExecuteFileRun"));
    setWindowTitle(Text("実行ファイルを指定して起動"));
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);
    BuildControls();
    // The dialog is not shown yet: a failure while loading is reported over its owner.
    RunGuarded(desktop_, owner, [this] { FormCreate(); });
    ConnectHandlers();
}

void TExecuteFileRun::BuildControls() {
    const auto label = [this](const char* name, const char* caption, int row, QWidget* buddy) {
        auto* widget = new QLabel(Text(caption), this);
        widget->setObjectName(Text(name));
        widget->setGeometry(kLeft, LabelTop(row), kFieldWidth, FieldTop(row) - LabelTop(row));
        widget->setBuddy(buddy);
        return widget;
    };
    const auto place = [](QWidget* widget, const char* name, int row) {
        widget->setObjectName(Text(name));
        widget->setGeometry(kLeft, FieldTop(row), kFieldWidth, 21);
    };
    const auto placeButton = [](QAbstractButton* button, const char* name, int row) {
        button->setObjectName(Text(name));
        button->setText(QStringLiteral("..."));
        button->setGeometry(kButtonLeft, FieldTop(row) - 1, kButtonWidth, 23);
    };

    ExecuteFilePath = SingleLine(new HistoryComboBox(this));
    place(ExecuteFilePath, "ExecuteFilePath", 0);
    ExecuteFilePathLabel = label("ExecuteFilePathLabel", "実行ファイルのパス(&P):", 0, ExecuteFilePath);
    FilePathReference = new QPushButton(this);
    placeButton(FilePathReference, "FilePathReference", 0);

    CommandLine = SingleLine(new QLineEdit(this));
    place(CommandLine, "CommandLine", 1);
    CommandLineLabel = label("CommandLineLabel", "コマンドライン引数(&L):", 1, CommandLine);
    CommandLineSet = new QPushButton(this);
    placeButton(CommandLineSet, "CommandLineSet", 1);
    CommandLineSet->setText(QStringLiteral(">"));
    CommandLineTools = new CommandLineFieldTools(desktop_, CommandLine, CommandLineSet, kExecuteFileRunFieldTools);
    CommandLineMenu = CommandLineTools->CommandLineMenu;
    N1 = CommandLineTools->InsertFileName;
    N2 = CommandLineTools->InsertDirectoryPath;
    N3 = CommandLineTools->Separator;
    N4 = CommandLineTools->Clear;

    CurrentDirectory = SingleLine(new HistoryComboBox(this));
    place(CurrentDirectory, "CurrentDirectory", 2);
    CurrentDirectoryLabel = label("CurrentDirectoryLabel", "カレントディレクトリ(&C):", 2, CurrentDirectory);
    CurrentDirectoryReference = new QToolButton(this);
    placeButton(CurrentDirectoryReference, "CurrentDirectoryReference", 2);
    CurrentDirectoryReference->setPopupMode(QToolButton::MenuButtonPopup);
    CurrentDirectoryMenu = new QMenu(CurrentDirectoryReference);
    CurrentDirectoryMenu->setObjectName(QStringLiteral("CurrentDirectoryMenu"));
    N5 = CurrentDirectoryMenu->addAction(Text("実行ファイルのディレクトリ"));
    N5->setObjectName(QStringLiteral("N5"));
    CurrentDirectoryReference->setMenu(CurrentDirectoryMenu);

    WindowSize = new QComboBox(this);
    WindowSize->setObjectName(QStringLiteral("WindowSize"));
    WindowSize->setGeometry(kLeft, FieldTop(3), 145, 21);
    WindowSize->addItems({Text("最小化"), Text("通常のサイズ"), Text("最大化")});
    WindowSizeLabel = label("WindowSizeLabel", "ウィンドウのサイズ(&S):", 3, WindowSize);
    AnAdminAdd = new QCheckBox(Text("管理者権限を付与する(&G)"), this);
    AnAdminAdd->setObjectName(QStringLiteral("AnAdminAdd"));
    AnAdminAdd->setGeometry(168, FieldTop(3) + 2, 209, 17);

    OK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(260, 202, 77, 25);
    OK->setDefault(true);
    Cancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), Text("キャンセル"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setGeometry(343, 202, 77, 25);

    const std::array<QWidget*, 10> order{
        ExecuteFilePath, FilePathReference, CommandLine, CommandLineSet, CurrentDirectory, CurrentDirectoryReference,
        WindowSize,      AnAdminAdd,        OK,          Cancel};
    for (size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TExecuteFileRun::ConnectHandlers() {
    const auto guarded = [this](void (TExecuteFileRun::*handler)()) {
        return [this, handler] { RunGuarded(desktop_, this, [this, handler] { (this->*handler)(); }); };
    };
    connect(FilePathReference, &QPushButton::clicked, this, guarded(&TExecuteFileRun::FilePathReferenceClick));
    connect(CurrentDirectoryReference, &QToolButton::clicked, this,
            guarded(&TExecuteFileRun::CurrentDirectoryReferenceClick));
    connect(N5, &QAction::triggered, this, guarded(&TExecuteFileRun::N5Click));
    AcceptFileDrops(ExecuteFilePath->lineEdit(), [this](const QStringList& files) {
        RunGuarded(desktop_, this, [this, &files] { FileChosen(files.constFirst()); });
    });
    ConnectOkButton(*this, *OK, desktop_, [this] { OKClick(); });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TExecuteFileRun::FormCreate() {
    WindowSize->setCurrentIndex(1);
    // A history that cannot be read ends the creation here: its list stays empty.
    const std::filesystem::path appData = system_.AppDataFolder();
    ExecuteFilePath->SetEntries(ToStringList(InputHistory(ExecuteFileHistoryPath(appData)).Load()));
    CurrentDirectory->SetEntries(ToStringList(InputHistory(CurrentDirectoryHistoryPath(appData)).Load()));
    if (keys::Read(SettingData, keys::kWindowTopShow)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
}

void TExecuteFileRun::FilePathReferenceClick() {
    const QString typed = ExecuteFilePath->currentText();
    OpenFileOptions options;
    options.title = Text("実行ファイルの参照");
    options.filter = Text("実行ファイル（*.exe;*.bat;*.cmd;*.com）|*.exe;*.bat;*.cmd;*.com");
    options.initialFileName = typed;
    options.initialFolder = QString::fromStdString(FolderPartOfPath(typed.toStdString()));
    const QStringList chosen = desktop_.OpenFiles(this, options);
    if (!chosen.isEmpty()) {
        FileChosen(chosen.constFirst());
    }
}

void TExecuteFileRun::FileChosen(const QString& file) {
    ExecuteFilePath->setEditText(file);
    // A working directory the user already entered is never overwritten.
    if (CurrentDirectory->currentText().isEmpty() &&
        keys::Read(SettingData, keys::kExecuteFileRunCurrentDirectory) == 1) {
        CurrentDirectory->setEditText(QString::fromStdString(FolderOfPath(file.toStdString())));
    }
}

void TExecuteFileRun::CurrentDirectoryReferenceClick() {
    FolderOptions options;
    options.prompt = Text("カレントディレクトリの選択");
    options.newFolderButton = true;
    options.startFolder = CurrentDirectory->currentText();
    if (const auto folder = desktop_.BrowseForFolder(this, options)) {
        CurrentDirectory->setEditText(*folder);
    }
}

void TExecuteFileRun::N5Click() {
    CurrentDirectory->setEditText(QString::fromStdString(FolderOfPath(ExecuteFilePath->currentText().toStdString())));
}

void TExecuteFileRun::RejectPath(const QString& message) {
    desktop_.MessageBox(this, message, mb::kIconWarning);
    ExecuteFilePath->setFocus();
    setResult(QDialog::Rejected);
}

void TExecuteFileRun::OKClick() {
    const QString path = ExecuteFilePath->currentText();
    if (path.isEmpty()) {
        RejectPath(Text("実行ファイルを選択してください。"));
        return;
    }
    if (!IsExistingFile(path.toStdString())) {
        RejectPath(QStringLiteral("\"") + path + Text("\"が見つかりません。"));
        ExecuteFilePath->lineEdit()->selectAll();
        return;
    }
    const std::filesystem::path appData = system_.AppDataFolder();
    InputHistory(ExecuteFileHistoryPath(appData)).Add(path.toStdString());
    const QString directory = CurrentDirectory->currentText();
    if (!directory.isEmpty()) {
        InputHistory(CurrentDirectoryHistoryPath(appData)).Add(directory.toStdString());
    }
}

}  // namespace nagitori
