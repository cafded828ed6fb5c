#include "widgets/AccessKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>

namespace nagitori {

namespace {

// Presses a button whose access key is also a menu title's before Qt's shortcut map sees the key.
class ButtonsBeforeMenus : public QObject {
public:
    explicit ButtonsBeforeMenus(QMainWindow& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) {
            return QObject::eventFilter(watched, event);
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) {
            return false;
        }
        const QKeySequence pressed(QKeyCombination(Qt::AltModifier, Qt::Key(key->key())));
        QAbstractButton* target = nullptr;
        for (QAbstractButton* button : window_.findChildren<QAbstractButton*>()) {
            if (button->isVisible() && button->isEnabled() && QKeySequence::mnemonic(button->text()) == pressed) {
                if (target != nullptr) {
                    // Two buttons: the key moves the focus between them, as Qt does.
                    return false;
                }
                target = button;
            }
        }
        if (target == nullptr) {
            return false;
        }
        // Taken here, the key never reaches the shortcut map.
        key->accept();
        target->animateClick();
        return true;
    }

private:
    QMainWindow& window_;
};

}  // namespace

void SetUpAccessKeys(QMainWindow& window, QMenuBar& menuBar) {
    window.installEventFilter(new ButtonsBeforeMenus(window));

    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QObject::connect(f10, &QShortcut::activated, &menuBar, [&menuBar] {
        for (QAction* title : menuBar.actions()) {
            if (title->isVisible() && title->isEnabled()) {
                menuBar.setActiveAction(title);
                return;
            }
        }
    });
}

}  // namespace nagitori
