#include "settings/SettingDialog.h"

#include <QStyle>
#include <filesystem>
#include <vector>

#include "common/Error.h"
#include "common/Messages.h"
#include "common/Utf8Path.h"
#include "fieldtools/CommandLineFieldToolsConfigs.h"
#include "platform/qt/SummonChord.h"
#include "settings/FileAccess.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsPath.h"
#include "system/StartupRegistration.h"
#include "widgets/DialogFrame.h"
#include "widgets/GeneralErrorBox.h"
#include "widgets/SingleLineField.h"

namespace keys = nagitori::setting_keys;

namespace nagitori {

namespace {

constexpr int kClientWidth = 442;
constexpr int kClientHeight = 240;
constexpr int kStorePage = 2;
constexpr int kSystemToolsPage = 0;

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int x, int y, QWidget* buddy) {
    auto* label = Named(new QLabel(Text(caption), parent), name);
    label->move(x, y);
    label->adjustSize();
    label->setBuddy(buddy);
    return label;
}

// An edit field with its caption above it; the caption's access key focuses the field.
QLineEdit* MakeLabeledEdit(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
    auto* edit = SingleLine(new QLineEdit(parent));
    MakeLabel(parent, (std::string(name) + "Label").c_str(), caption, geometry.x(), geometry.y() - 15, edit);
    edit->setObjectName(Text(name));
    edit->setGeometry(geometry);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
    auto* button = Named(new QPushButton(Text(caption), parent), name);
    button->setGeometry(geometry);
    return button;
}

// A drop-down list without typing.
QComboBox* MakeList(QWidget* parent, const char* name, std::initializer_list<const char*> items,
                    const QRect& geometry) {
    auto* list = Named(new QComboBox(parent), name);
    for (const char* item : items) {
        list->addItem(Text(item));
    }
    list->setGeometry(geometry);
    return list;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* caption, int x, int y, int width) {
    auto* box = Named(new QCheckBox(Text(caption), parent), name);
    box->setGeometry(x, y, width, 17);
    return box;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
    auto* group = Named(new QGroupBox(Text(caption), parent), name);
    group->setGeometry(geometry);
    return group;
}

// Deletes a file and never reports anything: a missing file, a folder, a protected file or a refusal is
// passed over.
void DeleteFileQuietly(const std::string& fileName) {
    DeleteUnlessProtected(PathFromUtf8(fileName));
}

}  // namespace

TSetting::TSetting(System& system, Desktop& desktop, QWidget* owner, SettingDialogHost host)
    : QDialog(owner), system_(system), desktop_(desktop), host_(std::move(host)) {
    setObjectName(QStringLiteral("Setting"));
    setWindowTitle(QStringLiteral("設定"));
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);

    PageControl1 = Named(new QTabWidget(this), "PageControl1");
    PageControl1->setGeometry(8, 8, 426, 193);
    BuildToolPage();
    BuildStartPage();
    BuildAutoInputPage();
    BuildOtherPage();
    PageControl1->setCurrentIndex(0);

    OK = MakeButton(this, "OK", "OK", QRect(274, 208, 77, 25));
    OK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    OK->setDefault(true);
    Cancel = MakeButton(this, "Cancel", "キャンセル", QRect(357, 208, 77, 25));
    Cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    SetTabOrder();
    ConnectHandlers();
    RunGuarded(desktop_, this, [this] { FormCreate(); });
}

void TSetting::BuildToolPage() {
    TabSheet1 = Named(new QWidget(), "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("ツールの起動時オプション"));
    CommandLine = MakeLabeledEdit(TabSheet1, "CommandLine", "コマンドライン引数(&L):", QRect(8, 21, 378, 21));
    CommandLineReference = MakeButton(TabSheet1, "CommandLineReference", ">", QRect(386, 21, 22, 21));
    CurrentDirectory =
        MakeLabeledEdit(TabSheet1, "CurrentDirectory", "カレントディレクトリ(&C):", QRect(8, 63, 378, 21));
    CurrentDirectoryReference = MakeButton(TabSheet1, "CurrentDirectoryReference", "...", QRect(386, 63, 22, 21));
    WindowSize = MakeList(TabSheet1, "WindowSize", {"最小化", "通常のサイズ", "最大化"}, QRect(8, 105, 145, 21));
    Label7 = MakeLabel(TabSheet1, "Label7", "ウィンドウのサイズ(&S):", 8, 90, WindowSize);
    Administrator = MakeCheckBox(TabSheet1, "Administrator", "管理者権限を付与する(&G)", 8, 136, 400);
    CommandLineTools = new CommandLineFieldTools(desktop_, CommandLine, CommandLineReference, kSettingFieldTools);
}

void TSetting::BuildStartPage() {
    TabSheet2 = Named(new QWidget(), "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral("起動時の設定"));
    // The two check boxes share the first row, so that the summon key has the second to itself.
    WindowTopShow = MakeCheckBox(TabSheet2, "WindowTopShow", "最前面に表示する(&T)", 8, 8, 160);
    RunAdministrator = MakeCheckBox(TabSheet2, "RunAdministrator", "起動時に管理者権限を必要とする(&A)", 176, 8, 234);
    const QStringList pages = {QStringLiteral("システムツール"), QStringLiteral("Windows標準アプリケーション"),
                               QStringLiteral("ストア／UWP（Windows 10のみ）"), QStringLiteral("ランチャー"),
                               QStringLiteral("オプション")};
    RunShowTab =
        Named(new RadioGroup(QStringLiteral("起動時に表示する項目(&S)"), pages, 2, QRect(8, 50, 402, 78), TabSheet2),
              "RunShowTab");
    RunShowTab->SetItemIndex(0);
    const QIcon shield(QStringLiteral(":/shield.svg"));
    StartupEntry = MakeButton(TabSheet2, "StartupEntry", "スタートアップに登録", QRect(8, 134, 170, 25));
    StartupEntry->setIcon(shield);
    DeleteStartup = MakeButton(TabSheet2, "DeleteStartup", "スタートアップから削除", QRect(184, 134, 170, 25));
    DeleteStartup->setIcon(shield);
    SummonKey = Named(new QKeySequenceEdit(TabSheet2), "SummonKey");
    SummonKey->setClearButtonEnabled(true);
    SummonKeyLabel = MakeLabel(TabSheet2, "SummonKeyLabel", "呼び出しキー(&K):", 8, 0, SummonKey);
    SummonKeyLabel->move(8, 27 + (21 - SummonKeyLabel->height()) / 2);
    const int fieldLeft = SummonKeyLabel->geometry().right() + 7;
    SummonKey->setGeometry(fieldLeft, 27, 410 - fieldLeft, 21);
    // One key: of several pressed in one recording the last counts. The field itself is the context: it also
    // finishes editing when it loses the focus while the dialog is being taken down.
    connect(SummonKey, &QKeySequenceEdit::editingFinished, SummonKey, [field = SummonKey] {
        const QKeySequence recorded = field->keySequence();
        if (recorded.count() > 1) {
            field->setKeySequence(QKeySequence(recorded[recorded.count() - 1]));
        }
    });
}

void TSetting::BuildAutoInputPage() {
    TabSheet3 = Named(new QWidget(), "TabSheet3");
    PageControl1->addTab(TabSheet3, QStringLiteral("自動入力"));
    GroupBox1 = MakeGroupBox(TabSheet3, "GroupBox1", "ランチャーの管理(&L)", QRect(8, 8, 197, 110));
    Launcher_Name = MakeList(GroupBox1, "Launcher_Name", {"なし", "拡張子を除いたファイル名"}, QRect(10, 35, 177, 21));
    Label1 = MakeLabel(GroupBox1, "Label1", "名前:", 10, 20, Launcher_Name);
    Launcher_CurrentDirectory =
        MakeList(GroupBox1, "Launcher_CurrentDirectory", {"なし", "ファイルのディレクトリ"}, QRect(10, 77, 177, 21));
    Label3 = MakeLabel(GroupBox1, "Label3", "カレントディレクトリ:", 10, 62, Launcher_CurrentDirectory);
    GroupBox2 = MakeGroupBox(TabSheet3, "GroupBox2", "実行ファイルを指定して起動(&E)", QRect(213, 8, 197, 110));
    ExecuteFileRun_CurrentDirectory = MakeList(GroupBox2, "ExecuteFileRun_CurrentDirectory",
                                               {"なし", "ファイルのディレクトリ"}, QRect(10, 35, 177, 21));
    Label2 = MakeLabel(GroupBox2, "Label2", "カレントディレクトリ:", 10, 20, ExecuteFileRun_CurrentDirectory);
}

void TSetting::BuildOtherPage() {
    TabSheet4 = Named(new QWidget(), "TabSheet4");
    PageControl1->addTab(TabSheet4, QStringLiteral("その他"));
    GroupBox3 = MakeGroupBox(TabSheet4, "GroupBox3", "履歴の削除(&H)", QRect(8, 8, 402, 58));
    HistoryDelete_FilePath = MakeButton(GroupBox3, "HistoryDelete_FilePath", "ファイルパス", QRect(10, 22, 125, 25));
    HistoryDelete_CurrentDirectory =
        MakeButton(GroupBox3, "HistoryDelete_CurrentDirectory", "カレントディレクトリ", QRect(141, 22, 125, 25));
    GroupBox4 = MakeGroupBox(TabSheet4, "GroupBox4", "設定の初期化(&R)", QRect(8, 74, 402, 58));
    SettingReset_Setting = MakeButton(GroupBox4, "SettingReset_Setting", "ナギトリの設定", QRect(10, 22, 125, 25));
    SettingReset_LauncherSetting =
        MakeButton(GroupBox4, "SettingReset_LauncherSetting", "ランチャー", QRect(141, 22, 125, 25));
    SettingReset_AllSetting =
        MakeButton(GroupBox4, "SettingReset_AllSetting", "すべての設定を初期化", QRect(272, 22, 125, 25));
}

void TSetting::SetTabOrder() {
    std::vector<QWidget*> order = {
        PageControl1, CommandLine,   CommandLineReference, CurrentDirectory, CurrentDirectoryReference,
        WindowSize,   Administrator, WindowTopShow,        RunAdministrator, SummonKey};
    for (int i = 0; i < RunShowTab->Count(); ++i) {
        order.push_back(RunShowTab->Button(i));
    }
    order.insert(order.end(),
                 {StartupEntry, DeleteStartup, Launcher_Name, Launcher_CurrentDirectory,
                  ExecuteFileRun_CurrentDirectory, HistoryDelete_FilePath, HistoryDelete_CurrentDirectory,
                  SettingReset_Setting, SettingReset_LauncherSetting, SettingReset_AllSetting, OK, Cancel});
    for (size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TSetting::ConnectHandlers() {
    const std::pair<QPushButton*, void (TSetting::*)()> clicks[] = {
        {CurrentDirectoryReference, &TSetting::CurrentDirectoryReferenceClick},
        {StartupEntry, &TSetting::StartupEntryOrDeleteClick},
        {DeleteStartup, &TSetting::StartupEntryOrDeleteClick},
        {HistoryDelete_FilePath, &TSetting::HistoryDelete_FilePathClick},
        {HistoryDelete_CurrentDirectory, &TSetting::HistoryDelete_CurrentDirectoryClick},
        {SettingReset_Setting, &TSetting::SettingReset_SettingClick},
        {SettingReset_LauncherSetting, &TSetting::SettingReset_LauncherSettingClick},
        {SettingReset_AllSetting, &TSetting::SettingReset_AllSettingClick},
    };
    for (const auto& [button, handler] : clicks) {
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { Handle(handler); });
    }
    ConnectOkButton(*this, *OK, desktop_, [this] { OKClick(); });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(RunShowTab, &RadioGroup::ItemIndexChanged, this, [this] { Handle(&TSetting::RunShowTabClick); });
}

void TSetting::Handle(void (TSetting::*handler)()) {
    RunGuarded(desktop_, this, [this, handler] { (this->*handler)(); });
}

void TSetting::FormCreate() {
    const std::filesystem::path appData = system_.AppDataFolder();
    CurrentDirectoryHistoryDataFileName = Utf8FromPath(CurrentDirectoryHistoryPath(appData));
    FilePathHistoryDataFileName = Utf8FromPath(ExecuteFileHistoryPath(appData));
    LauncherDataFileName = Utf8FromPath(LauncherDataPath(appData));

    SettingDataFileName = Utf8FromPath(SettingsFilePath(system_));
    SettingData.emplace(PathFromUtf8(SettingDataFileName));

    ReadControls();

    StartupEntry->setEnabled(!host_.Startup);
    DeleteStartup->setEnabled(host_.Startup);
}

void TSetting::ReadControls() {
    CommandLine->setText(QString::fromStdString(keys::Read(*SettingData, keys::kCommandLine)));
    CurrentDirectory->setText(QString::fromStdString(keys::Read(*SettingData, keys::kCurrentDirectory)));
    // A number that names no item leaves the list without a selection.
    WindowSize->setCurrentIndex(keys::Read(*SettingData, keys::kWindowSize));
    Administrator->setChecked(keys::Read(*SettingData, keys::kGiveAdministrator));
    WindowTopShow->setChecked(keys::Read(*SettingData, keys::kWindowTopShow));
    RunAdministrator->setChecked(keys::Read(*SettingData, keys::kRunAdministrator));
    RunShowTab->SetItemIndex(keys::Read(*SettingData, keys::kRunShowTab));
    Launcher_Name->setCurrentIndex(keys::Read(*SettingData, keys::kLauncherName));
    Launcher_CurrentDirectory->setCurrentIndex(keys::Read(*SettingData, keys::kLauncherCurrentDirectory));
    ExecuteFileRun_CurrentDirectory->setCurrentIndex(keys::Read(*SettingData, keys::kExecuteFileRunCurrentDirectory));
    SummonKey->setKeySequence(QKeySequence::fromString(
        QString::fromStdString(keys::Read(*SettingData, keys::kSummonKey)), QKeySequence::PortableText));
}

void TSetting::SettingDataReading() {
    ReadControls();
    // Only the marks: the main window keeps its stacking and its tool settings until the next OK.
    host_.N4.setChecked(false);
    host_.N5.setChecked(false);
}

bool TSetting::SummonKeyUsable() {
    const QKeySequence key = SummonKey->keySequence();
    if (key.isEmpty() || SummonChord(key)) {
        return true;
    }
    desktop_.MessageBox(this, Text(messages::kUnusableSummonKey).arg(key.toString(QKeySequence::NativeText)),
                        mb::kIconWarning);
    PageControl1->setCurrentWidget(TabSheet2);
    SummonKey->setFocus();
    setResult(QDialog::Rejected);
    return false;
}

void TSetting::OKClick() {
    if (!SummonKeyUsable()) {
        return;
    }
    try {
        keys::Write(*SettingData, keys::kCommandLine, CommandLine->text().toStdString());
        keys::Write(*SettingData, keys::kCurrentDirectory, CurrentDirectory->text().toStdString());
        keys::Write(*SettingData, keys::kWindowSize, WindowSize->currentIndex());
        keys::Write(*SettingData, keys::kGiveAdministrator, Administrator->isChecked());
        keys::Write(*SettingData, keys::kRunAdministrator, RunAdministrator->isChecked());
        keys::Write(*SettingData, keys::kWindowTopShow, WindowTopShow->isChecked());
        keys::Write(*SettingData, keys::kRunShowTab, RunShowTab->ItemIndex());
        keys::Write(*SettingData, keys::kLauncherName, Launcher_Name->currentIndex());
        keys::Write(*SettingData, keys::kLauncherCurrentDirectory, Launcher_CurrentDirectory->currentIndex());
        keys::Write(*SettingData, keys::kExecuteFileRunCurrentDirectory,
                    ExecuteFileRun_CurrentDirectory->currentIndex());
        keys::Write(*SettingData, keys::kSummonKey,
                    SummonKey->keySequence().toString(QKeySequence::PortableText).toStdString());
    } catch (const Error&) {
        // Open with what was typed, so that the user can mend the cause and press OK again, or cancel.
        desktop_.MessageBox(this, Text(messages::kSaveFailed), mb::kIconWarning);
        setResult(QDialog::Rejected);
    }
}

void TSetting::RunShowTabClick() {
    if (RunShowTab->ItemIndex() == kStorePage && system_.OsMajorVersion() < 10) {
        desktop_.MessageBox(this, QStringLiteral("ストアアプリ／UWPアプリはWindows 10のみ有効です。"),
                            mb::kIconWarning);
        RunShowTab->SetItemIndex(kSystemToolsPage);
    }
}

void TSetting::CurrentDirectoryReferenceClick() {
    FolderOptions options;
    options.prompt = QStringLiteral("カレントディレクトリの選択");
    options.newFolderButton = false;
    if (std::optional<QString> folder = desktop_.BrowseForFolder(this, options)) {
        CurrentDirectory->setText(*folder);
    }
}

void TSetting::StartupEntryOrDeleteClick() {
    if (!system_.IsUserAnAdmin()) {
        desktop_.MessageBox(this, QStringLiteral("管理者権限が必要です。"), mb::kIconError);
        return;
    }
    const bool registered = host_.Startup;
    if (!StartupEntryOrDelete(system_, desktop_, this, registered)) {
        return;
    }
    host_.Startup = !registered;
    host_.SetStartupCaption(!registered);
    StartupEntry->setEnabled(!StartupEntry->isEnabled());
    DeleteStartup->setEnabled(!DeleteStartup->isEnabled());
}

bool TSetting::Ask(const QString& question, unsigned flags) {
    return desktop_.MessageBox(this, question, flags) == kIdYes;
}

void TSetting::HistoryDelete_FilePathClick() {
    if (Ask(QStringLiteral("実行ファイルを指定して起動ダイアログのファイルパスの入力履歴を削除しますか?"),
            mb::kYesNo | mb::kIconQuestion)) {
        DeleteFileQuietly(FilePathHistoryDataFileName);
    }
}

void TSetting::HistoryDelete_CurrentDirectoryClick() {
    if (Ask(QStringLiteral("実行ファイルを指定して起動ダイアログのカレントディレクトリの入力履歴を削除しますか?"),
            mb::kYesNo | mb::kIconQuestion)) {
        DeleteFileQuietly(CurrentDirectoryHistoryDataFileName);
    }
}

void TSetting::SummonKeyRemoved() {
    if (host_.SummonKeyReset) {
        host_.SummonKeyReset();
    }
}

void TSetting::SettingReset_SettingClick() {
    if (Ask(QStringLiteral("ナギトリの設定を初期化しますか?\r\n※ランチャーの設定は初期化されません。"),
            mb::kYesNo | mb::kIconQuestion | mb::kDefButton2)) {
        DeleteFileQuietly(SettingDataFileName);
        SettingDataReading();
        SummonKeyRemoved();
    }
}

void TSetting::SettingReset_LauncherSettingClick() {
    if (Ask(QStringLiteral("ランチャーの設定を初期化しますか?"), mb::kYesNo | mb::kIconQuestion | mb::kDefButton2)) {
        DeleteFileQuietly(LauncherDataFileName);
        host_.LauncherDataReading();
    }
}

void TSetting::SettingReset_AllSettingClick() {
    if (Ask(QStringLiteral("すべての設定を初期化しますか?"), mb::kYesNo | mb::kIconQuestion | mb::kDefButton2)) {
        DeleteFileQuietly(SettingDataFileName);
        DeleteFileQuietly(LauncherDataFileName);
        SettingDataReading();
        SummonKeyRemoved();
        host_.LauncherDataReading();
    }
}

}  // namespace nagitori
