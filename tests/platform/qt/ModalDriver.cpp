#include "platform/qt/ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace nagitori::test {

namespace {

constexpr int kPollMilliseconds = 10;
constexpr int kMaxPolls = 200;

void CloseEverything() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog != nullptr && dialog->isVisible()) {
            dialog->done(QDialog::Rejected);
        } else if (widget->isVisible()) {
            widget->close();
        }
    }
}

void Poll(std::function<QWidget*()> find, std::function<void(QWidget&)> action, int pollsLeft) {
    if (QWidget* widget = find()) {
        action(*widget);
        return;
    }
    if (pollsLeft == 0) {
        CloseEverything();
        return;
    }
    QTimer::singleShot(kPollMilliseconds, [find = std::move(find), action = std::move(action), pollsLeft]() mutable {
        Poll(std::move(find), std::move(action), pollsLeft - 1);
    });
}

}  // namespace

void WhenModalShown(std::function<void(QWidget&)> action) {
    Poll([] { return QApplication::activeModalWidget(); }, std::move(action), kMaxPolls);
}

void WhenPopupShown(std::function<void(QWidget&)> action) {
    Poll([] { return QApplication::activePopupWidget(); }, std::move(action), kMaxPolls);
}

}  // namespace nagitori::test
