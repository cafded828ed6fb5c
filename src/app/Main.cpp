#include "app/Main.h"

#include <QTimer>

#include <QApplication>
#include <QDir>
#include <QWindow>
#include <system_error>

#include "app/OptionsPage.h"
#include "app/WindowIcon.h"
#include "common/Messages.h"
#include "common/Utf8Path.h"
#include "launcher/LauncherManagement.h"
#include "launcher/LauncherPage.h"
#include "runfile/ExecuteFileRun.h"
#include "settings/SettingDialog.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsPath.h"
#include "system/StartupRegistration.h"
#include "system/VersionInformationDialog.h"
#include "tools/Catalogue.h"
#include "tools/ToolPages.h"
#include "widgets/AccessKeys.h"
#include "widgets/CaptionFit.h"
#include "widgets/FileDrops.h"
#include "widgets/GeneralErrorBox.h"

namespace keys = nagitori::setting_keys;

namespace nagitori {

namespace {

constexpr int kClientWidth = 661;
constexpr int kClientHeight = 404;
constexpr int kStoreEntry = 2;

const char* const kEntryTexts[] = {"システムツール", "Windows標準アプリケーション", "ストア／UWP（Windows 10のみ）",
                                   "ランチャー", "オプション"};

QAction* AddItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

// The data folder, and the application-data folder above it when a fresh account has none yet: made private
// to the user, as the XDG base directories ask. Nothing higher is made (a home that does not exist is not ours
// to make), a folder that exists keeps its permissions, and a failure is ignored.
void CreateDataFolder(const std::filesystem::path& appData) {
    if (!appData.empty()) {
        QDir().mkdir(QString::fromStdString(Utf8FromPath(appData)),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    std::error_code ignored;
    std::filesystem::create_directory(DataFolder(appData), ignored);
}

}  // namespace

TMainForm::TMainForm(System& system, Desktop& desktop, QWidget* parent)
    : QMainWindow(parent), system_(system), desktop_(desktop) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromUtf8(messages::kApplicationTitle));
    setWindowIcon(WindowIcon(qApp->devicePixelRatio()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    centralArea = new QWidget(this);
    centralArea->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(centralArea);
    BuildMenu();
    BuildPages();
    SetUpAccessKeys(*this, *AppMenu);
    // The client area excludes the menu bar, so the window grows by it; never resizable.
    setFixedSize(kClientWidth, kClientHeight + AppMenu->sizeHint().height());

    RunGuarded(desktop_, this, [this] { FormCreate(); });
    ConnectHandlers();
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildPages() {
    Item = new QListWidget(centralArea);
    Item->setObjectName(QStringLiteral("Item"));
    Item->setGeometry(8, 8, 161, 385);
    Item->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Two entries are wider than the list: a little narrower they fit; where even that is not enough, they take
    // a second line rather than lose their end.
    Item->setWordWrap(true);
    for (const char* text : kEntryTexts) {
        Item->addItem(QString::fromUtf8(text));
    }
    FitEntriesOnOneLine(*Item);

    // Pages without headers: exactly one of them, or none, is visible.
    Tab = new QWidget(centralArea);
    Tab->setObjectName(QStringLiteral("Tab"));
    Tab->setGeometry(175, 0, 489, 425);
    Tab->setFocusPolicy(Qt::NoFocus);
    Page5 = new OptionsPage(Tab);
    for (int i = 0; i < 5; ++i) {
        QWidget* page = i == 4 ? Page5 : new QWidget(Tab);
        page->setObjectName(QStringLiteral("Page%1").arg(i + 1));
        page->setWindowTitle(QString::fromUtf8(kEntryTexts[i]));
        page->setGeometry(0, 0, Tab->width(), Tab->height());
        page->hide();
        Pages[static_cast<size_t>(i)] = page;
    }
    Tools = new ToolPages(system_, desktop_, this, {Pages[0], Pages[1], Pages[2]},
                          {ToolRunCommand, CommandLine, CurrentDirectory, WindowSize, *N4, SettingDataReader});
    Launchers = new LauncherPage(system_, desktop_, this, Pages[3], LauncherReading);

    // The page area comes before the list in the tab order, yet is no stop itself.
    setTabOrder(Tab, Item);
}

void TMainForm::BuildMenu() {
    AppMenu = menuBar();
    AppMenu->setObjectName(QStringLiteral("AppMenu"));

    N1 = AppMenu->addMenu(QStringLiteral("アプリケーション(&A)"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = AddItem(N1, "N2", "終了(&X)");
    N2->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    N3 = AppMenu->addMenu(QStringLiteral("ツール(&T)"));
    N3->setObjectName(QStringLiteral("N3"));
    N4 = AddItem(N3, "N4", "ツールの起動時に管理者権限を付与する");
    N4->setCheckable(true);
    N5 = AddItem(N3, "N5", "ウィンドウを最前面に表示する");
    N5->setCheckable(true);
    N6 = AddSeparator(N3, "N6");
    N13 = AddItem(N3, "N13", "実行ファイルを指定して起動(&E)");
    N14 = AddSeparator(N3, "N14");
    N7 = AddItem(N3, "N7", "ランチャーの管理(&L)");
    N8 = AddItem(N3, "N8", "設定(&S)");

    N9 = AppMenu->addMenu(QStringLiteral("ヘルプ(&H)"));
    N9->setObjectName(QStringLiteral("N9"));
    N10 = AddItem(N9, "N10", "ヘルプ(&H)");
    N10->setShortcut(QKeySequence(Qt::Key_F1));
    N11 = AddSeparator(N9, "N11");
    N12 = AddItem(N9, "N12", "バージョン情報(&A)...");
}

void TMainForm::FormCreate() {
    const std::filesystem::path appData = system_.AppDataFolder();
    LauncherReading.emplace(LauncherDataPath(appData));

    SettingDataFileName = Utf8FromPath(SettingsFilePath(system_));
    SettingDataReader.emplace(PathFromUtf8(SettingDataFileName));

    if (keys::Read(*SettingDataReader, keys::kRunAdministrator) && !system_.IsUserAnAdmin()) {
        desktop_.MessageBox(this, QStringLiteral("管理者権限で起動してください。"), mb::kIconError | mb::kTopmost);
        terminateRequested_ = true;
    }

    CurrentDirectory = keys::Read(*SettingDataReader, keys::kCurrentDirectory);
    WindowSize = keys::Read(*SettingDataReader, keys::kWindowSize);
    N4->setChecked(keys::Read(*SettingDataReader, keys::kGiveAdministrator));
    N5->setChecked(keys::Read(*SettingDataReader, keys::kWindowTopShow));

    const int startEntry = keys::Read(*SettingDataReader, keys::kRunShowTab);
    Item->setCurrentRow(startEntry >= 0 && startEntry < Item->count() ? startEntry : -1);

    ToolRunCommand = BuildToolRunCommand();

    Startup = DetectStartup(system_);
    if (Startup) {
        Page5->SetStartupCaption(true);
    }

    if (!WindowsTenOrLater()) {
        const int selected = Item->currentRow();
        delete Item->takeItem(kStoreEntry);
        Item->setCurrentRow(selected == kStoreEntry ? -1 : selected > kStoreEntry ? selected - 1 : selected);
    }

    if (N5->isChecked()) {
        SetStayOnTop(true);
    }

    CreateDataFolder(appData);

    Launchers->LauncherDataReading();

    ShowPage(PageOfEntry(Item->currentRow()));
}

void TMainForm::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    // The icons come right after the window's first frame: looking them up asks the desktop's application
    // database, which the window need not wait for.
    if (!iconsRequested_) {
        iconsRequested_ = true;
        QTimer::singleShot(0, this, [this] { IconsReading(); });
    }
}

void TMainForm::IconsReading() {
    Tools->IconsReading();
    Launchers->IconsReading();
}

bool TMainForm::IconsPending() const {
    return Tools->IconsPending() || Launchers->IconsPending();
}

void TMainForm::ConnectHandlers() {
    AcceptFileDrops(Pages[3], [this](const QStringList& files) {
        RunGuarded(desktop_, this, [this, &files] { LauncherFilesDropped(files); });
    });
    connect(Item, &QListWidget::itemSelectionChanged, this, [this] { Handle(&TMainForm::ItemClick); });
    connect(N2, &QAction::triggered, this, [this] { Handle(&TMainForm::N2Click); });
    connect(N4, &QAction::triggered, this, [this] { Handle(&TMainForm::N4Click); });
    connect(N5, &QAction::triggered, this, [this] { Handle(&TMainForm::N5Click); });
    connect(N13, &QAction::triggered, this, [this] { Handle(&TMainForm::N13Click); });
    connect(N7, &QAction::triggered, this, [this] { Handle(&TMainForm::LauncherSettingDialogOpenClick); });
    connect(N8, &QAction::triggered, this, [this] { Handle(&TMainForm::SettingDialogOpenClick); });
    connect(N10, &QAction::triggered, this, [this] { Handle(&TMainForm::HelpClick); });
    connect(N12, &QAction::triggered, this, [this] { Handle(&TMainForm::VersionInformationDialogOpenClick); });

    const std::pair<QPushButton*, void (TMainForm::*)()> buttons[] = {
        {Page5->Help, &TMainForm::HelpClick},
        {Page5->StartupEntry, &TMainForm::StartupEntryClick},
        {Page5->SettingDialogOpen, &TMainForm::SettingDialogOpenClick},
        {Page5->ExecuteFileRunDialogOpen, &TMainForm::N13Click},
        {Page5->LauncherSettingDialogOpen, &TMainForm::LauncherSettingDialogOpenClick},
        {Page5->VersionInformationDialogOpen, &TMainForm::VersionInformationDialogOpenClick},
    };
    for (const auto& [button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { Handle(handler); });
    }
    connect(Tools, &ToolPages::Clicked, this, [this](int tag) {
        auto handler = IsStoreTag(tag) ? &ToolPages::Win10AppRunClick : &ToolPages::ToolRunClick;
        RunGuarded(desktop_, this, [this, handler, tag] { (Tools->*handler)(tag); });
    });
}

void TMainForm::Handle(void (TMainForm::*handler)()) {
    RunGuarded(desktop_, this, [this, handler] { (this->*handler)(); });
}

bool TMainForm::WindowsTenOrLater() const {
    return system_.OsMajorVersion() >= 10;
}

int TMainForm::PageOfEntry(int entry) const {
    if (entry < 0) {
        return -1;
    }
    return !WindowsTenOrLater() && entry >= kStoreEntry ? entry + 1 : entry;
}

void TMainForm::ShowPage(int page) {
    if (page >= 0 && page < kCatalogueSize / kButtonsPerPage) {
        Tools->BuildPage(page);
    }
    for (int i = 0; i < static_cast<int>(Pages.size()); ++i) {
        Pages[static_cast<size_t>(i)]->setVisible(i == page);
    }
}

int TMainForm::ShownPage() const {
    for (int i = 0; i < static_cast<int>(Pages.size()); ++i) {
        if (!Pages[static_cast<size_t>(i)]->isHidden()) {
            return i;
        }
    }
    return -1;
}

void TMainForm::SetStayOnTop(bool on) {
    Qt::WindowFlags flags = windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == on) {
        return;
    }
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    QWindow* handle = windowHandle();
    if (handle == nullptr) {
        setWindowFlags(flags);
        return;
    }
    // New widget flags would hide the window and make a new native one; the native window's own flags
    // change its stacking in place.
    overrideWindowFlags(flags);
    handle->setFlags(flags);
}

void TMainForm::StartupEntryClick() {
    if (!system_.IsUserAnAdmin()) {
        desktop_.MessageBox(this, QStringLiteral("管理者権限が必要です。"), mb::kIconError);
        return;
    }
    if (StartupEntryOrDelete(system_, desktop_, this, Startup)) {
        Startup = !Startup;
        Page5->SetStartupCaption(Startup);
    }
}

void TMainForm::SettingDialogOpenClick() {
    auto applySummonKey = [this](const QString& key) {
        if (ApplySummonKey) {
            ApplySummonKey(key);
        }
    };
    TSetting dialog(system_, desktop_, this,
                    {Startup, [this](bool registered) { Page5->SetStartupCaption(registered); },
                     [this] { LauncherDataReading(); }, *N4, *N5, [applySummonKey] { applySummonKey({}); }});
    if (desktop_.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    // The tool command line is not taken over: each launch reads it from the file.
    CurrentDirectory = dialog.CurrentDirectory->text().toStdString();
    WindowSize = dialog.WindowSize->currentIndex();
    N4->setChecked(dialog.Administrator->isChecked());
    const bool turnedOn = !N5->isChecked() && dialog.WindowTopShow->isChecked();
    N5->setChecked(dialog.WindowTopShow->isChecked());
    SetStayOnTop(dialog.WindowTopShow->isChecked());
    if (turnedOn) {
        ExplainStayOnTop();
    }
    applySummonKey(dialog.SummonKey->keySequence().toString(QKeySequence::PortableText));
}

void TMainForm::N13Click() {
    ExecuteFileRun(system_, desktop_, this);
}

void TMainForm::LauncherSettingDialogOpenClick() {
    if (OpenLauncherManagement(system_, desktop_, this)) {
        LauncherDataReading();
    }
}

void TMainForm::VersionInformationDialogOpenClick() {
    ShowVersionInformation(system_, desktop_, this);
}

void TMainForm::LauncherFilesDropped(const QStringList& files) {
    if (AddDroppedLaunchers(system_, desktop_, this, files)) {
        LauncherDataReading();
    }
}

void TMainForm::LauncherDataReading() {
    Launchers->LauncherDataReading();
    Launchers->IconsReading();
}

void TMainForm::ItemClick() {
    const int entry = Item->currentRow();
    if (entry >= 0) {
        ShowPage(PageOfEntry(entry));
    }
}

void TMainForm::N2Click() {
    close();
}

void TMainForm::N4Click() {
    try {
        ProfileFile file(PathFromUtf8(SettingDataFileName));
        keys::Write(file, keys::kGiveAdministrator, N4->isChecked());
    } catch (const std::exception&) {
        N4->setChecked(!N4->isChecked());
    }
}

void TMainForm::N5Click() {
    try {
        ProfileFile file(PathFromUtf8(SettingDataFileName));
        keys::Write(file, keys::kWindowTopShow, N5->isChecked());
    } catch (const std::exception&) {
        N5->setChecked(!N5->isChecked());
        return;
    }
    SetStayOnTop(N5->isChecked());
    if (N5->isChecked()) {
        ExplainStayOnTop();
    }
}

void TMainForm::ExplainStayOnTop() {
    if (stayOnTopExplained_ || desktop_.KeepsWindowsOnTop()) {
        return;
    }
    stayOnTopExplained_ = true;
    desktop_.MessageBox(this,
                        QStringLiteral("このデスクトップ（Wayland）では、ウィンドウを最前面に表示できません。"
                                       "設定は保存しました。"),
                        mb::kIconInformation);
}

void TMainForm::HelpClick() {
    LaunchRequest request;
    request.target = Utf8FromPath(system_.ExecutablePath().parent_path() / "readme.txt");
    request.showCommand = kSwShowNormal;
    request.parent = winId();
    system_.ShellExecute(request);
}

}  // namespace nagitori
