#include "launcher/LauncherToolEditDialog.h"

#include "fieldtools/CommandLineFieldToolsConfigs.h"
#include "launcher/PathHelpers.h"
#include "launcher/WindowSizeTexts.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsPath.h"
#include "widgets/DialogFrame.h"
#include "widgets/GeneralErrorBox.h"
#include "widgets/SingleLineField.h"

namespace keys = nagitori::setting_keys;

namespace nagitori {

namespace {

constexpr int kClientWidth = 487;
constexpr int kClientHeight = 271;
constexpr int kFieldWidth = 432;
constexpr int kSideButtonX = 444;
constexpr int kSideButtonWidth = 35;

QLabel* LabelAbove(QWidget* parent, const char* caption, QWidget* field) {
    auto* label = new QLabel(Text(caption), parent);
    label->setGeometry(field->x(), field->y() - 16, field->width(), 16);
    label->setBuddy(field);
    return label;
}

QLineEdit* Field(QWidget* parent, const char* name, int y) {
    auto* field = Named(SingleLine(new QLineEdit(parent)), name);
    field->setGeometry(8, y, kFieldWidth, 21);
    return field;
}

// A push button with a separate arrow part that opens its menu below the button.
QToolButton* SplitButton(QWidget* parent, const char* name, int y, QMenu* menu) {
    auto* button = Named(new QToolButton(parent), name);
    button->setText(QStringLiteral("..."));
    button->setGeometry(kSideButtonX, y - 1, kSideButtonWidth, 23);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setMenu(menu);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QPushButton* SmallButton(QWidget* parent, const char* name, int y) {
    auto* button = Named(new QPushButton(QStringLiteral(">"), parent), name);
    button->setGeometry(kSideButtonX, y - 1, kSideButtonWidth, 23);
    return button;
}

QMenu* MenuWithItem(QWidget* parent, const char* menuName, QAction*& item, const char* itemName, const char* caption) {
    auto* menu = Named(new QMenu(parent), menuName);
    item = Named(menu->addAction(Text(caption)), itemName);
    return menu;
}

}  // namespace

TLauncherToolEdit::TLauncherToolEdit(System& system, Desktop& desktop, QWidget* owner)
    : QDialog(owner), system_(system), desktop_(desktop) {
    setObjectName(QStringLiteral("LauncherToolEdit"));
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);
    BuildControls();
    ConnectHandlers();
    RunGuarded(desktop_, this, [this] { FormCreate(); });
}

void TLauncherToolEdit::BuildControls() {
    NameMenu = MenuWithItem(this, "NameMenu", N1, "N1", "実行ファイルの名前");
    FilePathMenu = MenuWithItem(this, "FilePathMenu", N7, "N7", "ディレクトリの選択");
    CurrentDirectoryMenu = MenuWithItem(this, "CurrentDirectoryMenu", N6, "N6", "実行ファイルのディレクトリ");

    Name = Field(this, "Name", 24);
    NameLabel = LabelAbove(this, "名前(&N):", Name);
    NameAutoSet = SmallButton(this, "NameAutoSet", 24);
    FilePath = Field(this, "FilePath", 70);
    FilePathLabel = LabelAbove(this, "ファイルのパス(&P):", FilePath);
    FilePathReference = SplitButton(this, "FilePathReference", 70, FilePathMenu);
    CommandLine = Field(this, "CommandLine", 116);
    CommandLineLabel = LabelAbove(this, "コマンドライン引数(&L):", CommandLine);
    CommandLineSet = SmallButton(this, "CommandLineSet", 116);
    CurrentDirectory = Field(this, "CurrentDirectory", 162);
    CurrentDirectoryLabel = LabelAbove(this, "カレントディレクトリ(&C):", CurrentDirectory);
    CurrentDirectoryReference = SplitButton(this, "CurrentDirectoryReference", 162, CurrentDirectoryMenu);

    WindowSize = Named(new QComboBox(this), "WindowSize");
    WindowSize->setGeometry(8, 208, 145, 21);
    for (const char* item : kWindowSizeTexts) {
        WindowSize->addItem(Text(item));
    }
    WindowSize->setCurrentIndex(-1);
    Label1 = Named(LabelAbove(this, "ウィンドウのサイズ(&S):", WindowSize), "Label1");

    AnAdminAdd = Named(new QCheckBox(Text("管理者権限を付与する(&G)"), this), "AnAdminAdd");
    AnAdminAdd->setGeometry(168, 210, 220, 17);

    OK = Named(new QPushButton(QStringLiteral("OK"), this), "OK");
    OK->setGeometry(316, 240, 77, 25);
    OK->setDefault(true);
    Cancel = Named(new QPushButton(Text("キャンセル"), this), "Cancel");
    Cancel->setGeometry(402, 240, 77, 25);
    SetOkCancelIcons(*OK, *Cancel);

    CommandLineTools = new CommandLineFieldTools(desktop_, CommandLine, CommandLineSet, kLauncherToolEditFieldTools);

    QWidget* const order[] = {Name,
                              NameAutoSet,
                              FilePath,
                              FilePathReference,
                              CommandLine,
                              CommandLineSet,
                              CurrentDirectory,
                              CurrentDirectoryReference,
                              WindowSize,
                              AnAdminAdd,
                              OK,
                              Cancel};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TLauncherToolEdit::ConnectHandlers() {
    connect(FilePathReference, &QToolButton::clicked, this,
            [this] { Handle(&TLauncherToolEdit::FilePathReferenceClick); });
    connect(N7, &QAction::triggered, this, [this] { Handle(&TLauncherToolEdit::N7Click); });
    connect(CurrentDirectoryReference, &QToolButton::clicked, this,
            [this] { Handle(&TLauncherToolEdit::CurrentDirectoryReferenceClick); });
    connect(N6, &QAction::triggered, this, [this] { Handle(&TLauncherToolEdit::N6Click); });
    connect(NameAutoSet, &QPushButton::clicked, this, [this] { Handle(&TLauncherToolEdit::NameAutoSetClick); });
    connect(N1, &QAction::triggered, this, [this] { Handle(&TLauncherToolEdit::N1Click); });
    ConnectOkButton(*this, *OK, desktop_, [this] { OKClick(); });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLauncherToolEdit::Handle(void (TLauncherToolEdit::*handler)()) {
    RunGuarded(desktop_, this, [this, handler] { (this->*handler)(); });
}

void TLauncherToolEdit::FormCreate() {
    SettingData.emplace(SettingsFilePath(system_));
    if (keys::Read(*SettingData, keys::kWindowTopShow)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
}

void TLauncherToolEdit::FilePathReferenceClick() {
    OpenFileOptions options;
    options.title = Text(tool_edit_texts::kExecutableTitle);
    options.filter = Text(tool_edit_texts::kExecutableFilter);
    options.initialFileName = FilePath->text();
    options.initialFolder = QString::fromStdString(FolderPartOfPath(FilePath->text().toStdString()));
    const QStringList chosen = desktop_.OpenFiles(this, options);
    if (!chosen.isEmpty()) {
        FileChosen(chosen.constFirst());
    }
}

void TLauncherToolEdit::FileChosen(const QString& file) {
    FilePath->setText(file);
    const std::string path = FilePath->text().toStdString();

    // The options are read at each choice, so a change in the settings dialog applies at once.
    if (Name->text().isEmpty() && keys::Read(*SettingData, keys::kLauncherName) == 1) {
        Name->setText(QString::fromStdString(FileNameWithoutExtension(path)));
    }
    if (CurrentDirectory->text().isEmpty() && keys::Read(*SettingData, keys::kLauncherCurrentDirectory) == 1) {
        CurrentDirectory->setText(QString::fromStdString(FolderOfPath(path)));
    }
}

void TLauncherToolEdit::N7Click() {
    FolderOptions options;
    options.prompt = Text(tool_edit_texts::kFolderPrompt);
    options.newFolderButton = true;
    options.startFolder = QString::fromStdString(FolderPartOfPath(FilePath->text().toStdString()));
    if (auto folder = desktop_.BrowseForFolder(this, options)) {
        FilePath->setText(*folder);
    }
}

void TLauncherToolEdit::CurrentDirectoryReferenceClick() {
    FolderOptions options;
    options.prompt = Text(tool_edit_texts::kCurrentDirectoryPrompt);
    options.newFolderButton = true;
    options.startFolder = CurrentDirectory->text();
    if (auto folder = desktop_.BrowseForFolder(this, options)) {
        CurrentDirectory->setText(*folder);
    }
}

void TLauncherToolEdit::N6Click() {
    CurrentDirectory->setText(QString::fromStdString(FolderOfPath(FilePath->text().toStdString())));
}

void TLauncherToolEdit::NameAutoSetClick() {
    const QPoint topRight(NameAutoSet->x() + NameAutoSet->width(), NameAutoSet->y());
    desktop_.PopupMenu(*NameMenu, mapToGlobal(topRight));
}

void TLauncherToolEdit::N1Click() {
    Name->setText(QString::fromStdString(FileNameWithoutExtension(FilePath->text().toStdString())));
}

void TLauncherToolEdit::OKClick() {
    QLineEdit* missing = nullptr;
    const char* text = nullptr;
    if (Name->text().isEmpty()) {
        missing = Name;
        text = tool_edit_texts::kNameRequired;
    } else if (FilePath->text().isEmpty()) {
        missing = FilePath;
        text = tool_edit_texts::kFilePathRequired;
    } else {
        return;
    }
    desktop_.MessageBox(this, Text(text), mb::kIconWarning);
    missing->setFocus();
    setResult(QDialog::Rejected);
}

}  // namespace nagitori
