#include "fieldtools/CommandLineFieldTools.h"

namespace nagitori {

namespace {

QAction* NamedAction(QAction* action, const char* name) {
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

}  // namespace

CommandLineFieldTools::CommandLineFieldTools(Desktop& desktop, QLineEdit* field, QPushButton* button,
                                             const CommandLineFieldToolsConfig& config)
    : QObject(button), desktop_(desktop), field_(field), button_(button), config_(config) {
    CommandLineMenu = new QMenu(button);
    CommandLineMenu->setObjectName(QStringLiteral("CommandLineMenu"));
    InsertFileName = NamedAction(CommandLineMenu->addAction(QStringLiteral("ファイル名の挿入")), config.itemNames[0]);
    InsertDirectoryPath =
        NamedAction(CommandLineMenu->addAction(QStringLiteral("ディレクトリパスの挿入")), config.itemNames[1]);
    Separator = NamedAction(CommandLineMenu->addSeparator(), config.itemNames[2]);
    Clear = NamedAction(CommandLineMenu->addAction(QStringLiteral("クリア")), config.itemNames[3]);

    connect(button, &QPushButton::clicked, this, &CommandLineFieldTools::OpenMenu);
    connect(InsertFileName, &QAction::triggered, this, &CommandLineFieldTools::InsertFileNameClick);
    connect(InsertDirectoryPath, &QAction::triggered, this, &CommandLineFieldTools::InsertDirectoryPathClick);
    connect(Clear, &QAction::triggered, this, &CommandLineFieldTools::ClearClick);
}

void CommandLineFieldTools::OpenMenu() {
    const QPoint topRight(button_->x() + button_->width(), button_->y());
    desktop_.PopupMenu(*CommandLineMenu, button_->parentWidget()->mapToGlobal(topRight));
}

void CommandLineFieldTools::InsertFileNameClick() {
    OpenFileOptions options;
    options.title = QStringLiteral("ファイル名の挿入");
    options.filter = QStringLiteral("すべてのファイル（*.*）|*.*");
    options.multiSelect = true;
    for (const QString& path : desktop_.OpenFiles(field_->window(), options)) {
        const QString text = field_->text();
        const bool space = config_.spaceBeforeFileNameInEmptyField || !text.isEmpty();
        field_->setText(text + (space ? QStringLiteral(" ") : QString()) + path);
    }
}

void CommandLineFieldTools::InsertDirectoryPathClick() {
    FolderOptions options;
    options.prompt = QStringLiteral("ディレクトリパスの挿入");
    options.newFolderButton = config_.newFolderButton;
    if (auto folder = desktop_.BrowseForFolder(field_->window(), options)) {
        field_->setText(field_->text() + QStringLiteral(" ") + *folder);
    }
}

void CommandLineFieldTools::ClearClick() {
    field_->clear();
}

}  // namespace nagitori
