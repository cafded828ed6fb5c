#include "launcher/LauncherDialog.h"

#include <QLabel>
#include <QSignalBlocker>
#include <exception>
#include <vector>

#include "common/Messages.h"
#include "launcher/LauncherSlots.h"
#include "launcher/LauncherToolEditDialog.h"
#include "launcher/WindowSizeTexts.h"
#include "platform/qt/ThemeIcon.h"
#include "settings/SettingsPath.h"
#include "widgets/DialogFrame.h"
#include "widgets/FileDrops.h"
#include "widgets/GeneralErrorBox.h"
#include "widgets/SingleLineField.h"

namespace nagitori {

namespace {

constexpr int kClientWidth = 537;
constexpr int kClientHeight = 378;
// The row's latest icon request, which its icon answers.
constexpr int kIconRequestRole = Qt::UserRole;

QPushButton* ColumnButton(QWidget* parent, const char* name, const char* caption, int y) {
    auto* button = Named(new QPushButton(Text(caption), parent), name);
    button->setGeometry(450, y, 79, 25);
    return button;
}

// A read-only field of the information panel with its label above it; two per row.
QLineEdit* PanelField(QGroupBox* box, const char* name, const char* caption, int position) {
    auto* field = Named(SingleLine(new QLineEdit(box)), name);
    field->setReadOnly(true);
    field->setGeometry(10 + 256 * (position % 2), 33 + 42 * (position / 2), 245, 21);
    auto* label = new QLabel(Text(caption), box);
    label->setGeometry(field->x(), field->y() - 16, field->width(), 16);
    label->setBuddy(field);
    return field;
}

QString FlagText(bool on) {
    return Text(on ? launcher_texts::kFlagTrue : launcher_texts::kFlagFalse);
}

bool FlagOf(const QString& text) {
    return text != Text(launcher_texts::kFlagFalse);
}

}  // namespace

TLauncher::TLauncher(System& system, Desktop& desktop, QWidget* owner)
    : QDialog(owner), system_(system), desktop_(desktop), iconLookups_(new OffThread(this)) {
    setObjectName(QStringLiteral("Launcher"));
    setWindowTitle(Text(launcher_texts::kCaption));
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);
    BuildControls();
    ConnectHandlers();
    RunGuarded(desktop_, this, [this] { FormCreate(); });
}

void TLauncher::BuildControls() {
    LauncherList = Named(new QListWidget(this), "LauncherList");
    LauncherList->setGeometry(8, 8, 434, 211);
    LauncherList->setSelectionMode(QAbstractItemView::SingleSelection);
    LauncherList->setIconSize(QSize(16, 16));

    Add = ColumnButton(this, "Add", "追加(&A)", 8);
    Edit = ColumnButton(this, "Edit", "編集(&E)", 37);
    Delete = ColumnButton(this, "Delete", "削除(&D)", 66);
    ItemUp = ColumnButton(this, "ItemUp", "▲", 103);
    ItemDown = ColumnButton(this, "ItemDown", "▼", 132);
    OK = ColumnButton(this, "OK", "OK", 165);
    OK->setDefault(true);
    Cancel = ColumnButton(this, "Cancel", "キャンセル", 194);
    SetOkCancelIcons(*OK, *Cancel);

    ToolInfo = Named(new QGroupBox(Text("情報"), this), "ToolInfo");
    ToolInfo->setGeometry(8, 227, 521, 145);
    Name = PanelField(ToolInfo, "Name", "名前(&N):", 0);
    FilePath = PanelField(ToolInfo, "FilePath", "ファイルのパス(&P):", 1);
    CommandLine = PanelField(ToolInfo, "CommandLine", "コマンドライン引数(&L):", 2);
    CurrentDirectory = PanelField(ToolInfo, "CurrentDirectory", "カレントディレクトリ(&C):", 3);
    WindowSize = PanelField(ToolInfo, "WindowSize", "ウィンドウのサイズ(&S):", 4);
    AnAdminAdd = PanelField(ToolInfo, "AnAdminAdd", "管理者権限の付与(&G):", 5);

    QWidget* const order[] = {LauncherList, Add,  Edit,     Delete,      ItemUp,           ItemDown,   OK,
                              Cancel,       Name, FilePath, CommandLine, CurrentDirectory, WindowSize, AnAdminAdd};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    ToolInfoDisplay(-1);
}

void TLauncher::ConnectHandlers() {
    connect(LauncherList, &QListWidget::itemSelectionChanged, this, [this] { Handle(&TLauncher::LauncherListClick); });
    connect(LauncherList, &QListWidget::itemDoubleClicked, this, [this] { Handle(&TLauncher::LauncherListDblClick); });
    connect(Add, &QPushButton::clicked, this, [this] { Handle(&TLauncher::AddClick); });
    connect(Edit, &QPushButton::clicked, this, [this] { Handle(&TLauncher::EditClick); });
    connect(Delete, &QPushButton::clicked, this, [this] { Handle(&TLauncher::DeleteClick); });
    connect(ItemUp, &QPushButton::clicked, this, [this] { Handle(&TLauncher::ItemUpClick); });
    connect(ItemDown, &QPushButton::clicked, this, [this] { Handle(&TLauncher::ItemDownClick); });
    AcceptFileDrops(LauncherList->viewport(), [this](const QStringList& files) {
        RunGuarded(desktop_, this, [this, &files] { FilesDropped(files); });
    });
    ConnectOkButton(*this, *OK, desktop_, [this] { OKClick(); });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLauncher::Handle(void (TLauncher::*handler)()) {
    RunGuarded(desktop_, this, [this, handler] { (this->*handler)(); });
}

void TLauncher::FormCreate() {
    // It holds the user's paths and command lines: a new file is for the user's eyes alone.
    LauncherData.emplace(LauncherDataPath(system_.AppDataFolder()), NewFileAccess::OwnerOnly);
    for (const LauncherEntry& entry : ReadLauncherEntries(*LauncherData)) {
        NameList.push_back(QString::fromStdString(entry.name));
        FilePathList.push_back(QString::fromStdString(entry.filePath));
        CommandLineList.push_back(QString::fromStdString(entry.commandLine));
        CurrentDirectoryList.push_back(QString::fromStdString(entry.currentDirectory));
        WindowSizeList.push_back(QString::number(entry.windowSize));
        AnAdminAddList.push_back(FlagText(entry.anAdminAdd));
    }
    const QSignalBlocker blocker(LauncherList);
    LauncherList->addItems(NameList);
    for (int row = 0; row < LauncherList->count(); ++row) {
        ReadEntryIcon(row);
    }
}

void TLauncher::ReadEntryIcon(int row) {
    const qint64 request = ++iconRequests_;
    LauncherList->item(row)->setData(kIconRequestRole, request);
    ++iconsToCome_;
    System& system = system_;
    iconLookups_->Run<LoadedIcon>(
        [&system, target = FilePathList[row].toStdString()] { return LoadIcon(system.IconFor(target)); },
        [this, request](const LoadedIcon& icon) {
            --iconsToCome_;
            for (int at = 0; at < LauncherList->count(); ++at) {
                QListWidgetItem* item = LauncherList->item(at);
                if (item->data(kIconRequestRole).toLongLong() == request) {
                    item->setIcon(ThemeIcon(icon));
                }
            }
        });
}

int TLauncher::SelectedRow() const {
    const QList<QListWidgetItem*> selected = LauncherList->selectedItems();
    return selected.isEmpty() ? -1 : LauncherList->row(selected.constFirst());
}

void TLauncher::Select(int row) {
    const QSignalBlocker blocker(LauncherList);
    if (row < 0) {
        LauncherList->setCurrentItem(nullptr);
        LauncherList->clearSelection();
    } else {
        LauncherList->setCurrentRow(row);
    }
}

void TLauncher::ToolInfoDisplay(int index) {
    const bool shown = index >= 0;
    if (shown) {
        Name->setText(NameList[index]);
        FilePath->setText(FilePathList[index]);
        CommandLine->setText(CommandLineList[index]);
        CurrentDirectory->setText(CurrentDirectoryList[index]);
        // An index without an item (a hand edit) shows nothing rather than another entry's text.
        const int windowSize = WindowSizeList[index].toInt();
        WindowSize->setText(IsWindowSizeIndex(windowSize) ? Text(kWindowSizeTexts[windowSize]) : QString());
        AnAdminAdd->setText(Text(FlagOf(AnAdminAddList[index]) ? launcher_texts::kTrue : launcher_texts::kFalse));
    } else {
        for (QLineEdit* field : {Name, FilePath, CommandLine, CurrentDirectory, WindowSize, AnAdminAdd}) {
            field->clear();
        }
    }
    for (QPushButton* button : {Edit, Delete, ItemUp, ItemDown}) {
        button->setEnabled(shown);
    }
}

void TLauncher::LauncherListClick() {
    ToolInfoDisplay(SelectedRow());
}

void TLauncher::LauncherListDblClick() {
    EditClick();
}

QWidget* TLauncher::VisibleOwner() {
    return isVisible() || parentWidget() == nullptr ? this : parentWidget();
}

bool TLauncher::RunEditor(const char* caption, int index, const QString& droppedFile) {
    QWidget* const owner = VisibleOwner();
    TLauncherToolEdit editor(system_, desktop_, owner);
    editor.setWindowTitle(Text(caption));
    int windowSize = 1;
    if (index < NameList.size()) {
        editor.Name->setText(NameList[index]);
        editor.FilePath->setText(FilePathList[index]);
        editor.CommandLine->setText(CommandLineList[index]);
        editor.CurrentDirectory->setText(CurrentDirectoryList[index]);
        windowSize = WindowSizeList[index].toInt();
        editor.AnAdminAdd->setChecked(FlagOf(AnAdminAddList[index]));
    }
    // Normal size stands in for an index without an item, so that confirming the entry repairs it.
    editor.WindowSize->setCurrentIndex(IsWindowSizeIndex(windowSize) ? windowSize : 1);
    if (!droppedFile.isEmpty()) {
        editor.FileChosen(droppedFile);
    }
    const int result = desktop_.RunModal(editor);
    if (owner != this) {
        // Files dropped from another application: the focus would go back there, not to the main window.
        owner->activateWindow();
    }
    if (result != QDialog::Accepted) {
        return false;
    }
    if (index == NameList.size()) {
        for (QStringList* list :
             {&NameList, &FilePathList, &CommandLineList, &CurrentDirectoryList, &WindowSizeList, &AnAdminAddList}) {
            list->push_back(QString());
        }
    }
    NameList[index] = editor.Name->text();
    FilePathList[index] = editor.FilePath->text();
    CommandLineList[index] = editor.CommandLine->text();
    CurrentDirectoryList[index] = editor.CurrentDirectory->text();
    WindowSizeList[index] = QString::number(editor.WindowSize->currentIndex());
    AnAdminAddList[index] = FlagText(editor.AnAdminAdd->isChecked());
    return true;
}

void TLauncher::AddClick() {
    AddEntry({});
}

bool TLauncher::AddEntry(const QString& droppedFile) {
    if (NameList.size() >= kLauncherSlotCount) {
        desktop_.MessageBeep();
        return false;
    }
    if (!RunEditor(tool_edit_texts::kAddCaption, static_cast<int>(NameList.size()), droppedFile)) {
        return false;
    }
    const QSignalBlocker blocker(LauncherList);
    LauncherList->addItem(NameList.constLast());
    ReadEntryIcon(LauncherList->count() - 1);
    return true;
}

bool TLauncher::FilesDropped(const QStringList& files) {
    bool added = false;
    for (const QString& file : files) {
        if (NameList.size() >= kLauncherSlotCount) {
            desktop_.MessageBeep();
            break;
        }
        added = AddEntry(file) || added;
    }
    return added;
}

void TLauncher::EditClick() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const QString target = FilePathList[row];
    if (!RunEditor(tool_edit_texts::kEditCaption, row)) {
        return;
    }
    QListWidgetItem* item = LauncherList->item(row);
    item->setText(NameList[row]);
    // The icon of the entry as it was stays only while the target is the same.
    if (FilePathList[row] != target) {
        item->setIcon(QIcon());
    }
    ReadEntryIcon(row);
    ToolInfoDisplay(row);
}

void TLauncher::DeleteClick() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    for (QStringList* list :
         {&NameList, &FilePathList, &CommandLineList, &CurrentDirectoryList, &WindowSizeList, &AnAdminAddList}) {
        list->removeAt(row);
    }
    {
        const QSignalBlocker blocker(LauncherList);
        delete LauncherList->takeItem(row);
    }
    Select(row < LauncherList->count() ? row : -1);
    ToolInfoDisplay(SelectedRow());
}

void TLauncher::SwapEntries(int row, int other) {
    for (QStringList* list :
         {&NameList, &FilePathList, &CommandLineList, &CurrentDirectoryList, &WindowSizeList, &AnAdminAddList}) {
        list->swapItemsAt(row, other);
    }
    QListWidgetItem* first = LauncherList->item(row);
    QListWidgetItem* second = LauncherList->item(other);
    const QIcon icon = first->icon();
    first->setIcon(second->icon());
    second->setIcon(icon);
    const QVariant request = first->data(kIconRequestRole);
    first->setData(kIconRequestRole, second->data(kIconRequestRole));
    second->setData(kIconRequestRole, request);
    first->setText(NameList[row]);
    second->setText(NameList[other]);
    Select(other);
}

void TLauncher::ItemUpClick() {
    const int row = SelectedRow();
    if (row > 0) {
        SwapEntries(row, row - 1);
    }
}

void TLauncher::ItemDownClick() {
    const int row = SelectedRow();
    if (row >= 0 && row + 1 < LauncherList->count()) {
        SwapEntries(row, row + 1);
    }
}

void TLauncher::OKClick() {
    std::vector<LauncherEntry> entries;
    for (int i = 0; i < NameList.size(); ++i) {
        entries.push_back({NameList[i].toStdString(), FilePathList[i].toStdString(), CommandLineList[i].toStdString(),
                           CurrentDirectoryList[i].toStdString(), WindowSizeList[i].toInt(),
                           FlagOf(AnAdminAddList[i])});
    }
    try {
        SaveLauncherEntries(*LauncherData, entries);
    } catch (const std::exception&) {
        // The file is as it was: the dialog stays open with the user's rows, to press OK again or cancel.
        desktop_.MessageBox(VisibleOwner(), Text(messages::kSaveFailed), mb::kIconWarning);
        setResult(QDialog::Rejected);
    }
}

}  // namespace nagitori
