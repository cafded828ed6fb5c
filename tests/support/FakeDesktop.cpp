#include "support/FakeDesktop.h"

#include <QAction>
#include <QMenu>
#include <stdexcept>

namespace nagitori::test {

namespace {

template <typename T>
std::optional<T> Next(std::deque<T>& queue) {
    if (queue.empty()) {
        return std::nullopt;
    }
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

}  // namespace

int FakeDesktop::MessageBox(QWidget* parent, const QString& text, unsigned flags) {
    boxes.push_back({text, flags, parent});
    if (auto answer = Next(boxAnswers)) {
        return *answer;
    }
    return (flags & 0xF) == mb::kYesNo ? kIdYes : kIdOk;
}

QStringList FakeDesktop::OpenFiles(QWidget*, const OpenFileOptions& options) {
    openFileRequests.push_back(options);
    return Next(openFileAnswers).value_or(QStringList());
}

std::optional<QString> FakeDesktop::BrowseForFolder(QWidget*, const FolderOptions& options) {
    folderRequests.push_back(options);
    return Next(folderAnswers).value_or(std::nullopt);
}

int FakeDesktop::RunModal(QDialog& dialog) {
    modalDialogs.push_back(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.setVisible(true);
    if (auto script = Next(modalScripts)) {
        (*script)(dialog);
    }
    if (dialog.isVisible()) {
        dialog.reject();
    }
    return dialog.result();
}

void FakeDesktop::PopupMenu(QMenu& menu, const QPoint& screenPos) {
    Popup popup{{}, screenPos};
    for (QAction* action : menu.actions()) {
        popup.itemTexts.push_back(action->isSeparator() ? QString() : action->text());
    }
    popups.push_back(popup);
    auto choice = Next(popupChoices);
    if (!choice) {
        return;
    }
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->text() == *choice) {
            action->trigger();
            return;
        }
    }
    throw std::logic_error("popup menu has no item " + choice->toStdString());
}

}  // namespace nagitori::test
