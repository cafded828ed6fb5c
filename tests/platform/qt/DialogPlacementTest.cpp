#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "platform/qt/DialogPlacement.h"
#include "platform/qt/QtMessageBox.h"

namespace nagitori {
namespace {

QPoint Centre(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    return frame.topLeft() + QPoint(frame.width() / 2, frame.height() / 2);
}

// Each time it is shown, after its owner moved, and a message box once its size is settled. (How far Qt's own
// placement misses under a window manager shows on a real X server: tests/sessions.)
TEST(DialogPlacement, DialogsAndMessageBoxesOpenCentredOnTheirOwner) {
    QWidget owner(nullptr, Qt::FramelessWindowHint);
    owner.setGeometry(120, 90, 661, 425);
    owner.show();

    QDialog dialog(&owner);
    dialog.setFixedSize(291, 103);
    CentreOnOwnerWhenShown(dialog);
    for (int time = 0; time < 2; ++time) {
        dialog.show();
        EXPECT_LE((Centre(dialog) - Centre(owner)).manhattanLength(), 1);
        dialog.hide();
        owner.move(owner.pos() + QPoint(30, 20));
    }

    const auto box = BuildMessageBox(&owner, QStringLiteral("ランチャーの設定を初期化しますか?"), 36);
    box->show();
    EXPECT_LE((Centre(*box) - Centre(owner)).manhattanLength(), 1);
}

TEST(DialogPlacement, StaysOnTheScreenNearItsEdge) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(room.right() - 100, room.bottom() - 50, 200, 100);
    owner.show();
    QDialog dialog(&owner);
    dialog.setFixedSize(400, 300);
    CentreOnOwnerWhenShown(dialog);
    dialog.show();
    EXPECT_TRUE(room.contains(dialog.frameGeometry()))
        << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();
}

}  // namespace
}  // namespace nagitori
