#include "platform/qt/DialogPlacement.h"

#include <QEvent>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace nagitori {

namespace {

class CentreWhenShown final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Spontaneous show events come from the window system after mapping, too late to place it.
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            CentreOnOwner(*static_cast<QWidget*>(watched));
        }
        return false;
    }
};

}  // namespace

void CentreOnOwner(QWidget& dialog) {
    const QWidget* owner = dialog.parentWidget() == nullptr ? nullptr : dialog.parentWidget()->window();
    if (owner == nullptr || !owner->isVisible()) {
        return;
    }
    const QRect ownerFrame = owner->frameGeometry();
    const QRect ownerClient = owner->geometry();
    const QMargins frame(ownerClient.left() - ownerFrame.left(), ownerClient.top() - ownerFrame.top(),
                         ownerFrame.right() - ownerClient.right(), ownerFrame.bottom() - ownerClient.bottom());
    const QSize framed = dialog.size().grownBy(frame);
    QPoint corner = ownerFrame.topLeft() +
                    QPoint((ownerFrame.width() - framed.width()) / 2, (ownerFrame.height() - framed.height()) / 2);
    // Near the screen's edge the dialog moves in as far as it fits, as Qt's own placement does.
    if (const QScreen* screen = owner->screen()) {
        const QRect room = screen->availableGeometry();
        corner.setX(std::clamp(corner.x(), room.left(), std::max(room.left(), room.right() + 1 - framed.width())));
        corner.setY(std::clamp(corner.y(), room.top(), std::max(room.top(), room.bottom() + 1 - framed.height())));
    }
    // The client area's own position: the window manager then puts its frame around it, where it was planned.
    dialog.setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), dialog.size()));
}

void CentreOnOwnerWhenShown(QWidget& dialog) {
    dialog.installEventFilter(new CentreWhenShown(&dialog));
}

}  // namespace nagitori
