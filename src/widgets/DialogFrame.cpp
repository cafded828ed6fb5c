#include "widgets/DialogFrame.h"

#include <QStyle>

#include "platform/qt/DialogPlacement.h"
#include "widgets/GeneralErrorBox.h"

namespace nagitori {

void SetUpDialogFrame(QDialog& dialog, int clientWidth, int clientHeight) {
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(clientWidth, clientHeight);
    CentreOnOwnerWhenShown(dialog);
}

void ConnectOkButton(QDialog& dialog, QPushButton& ok, Desktop& desktop, std::function<void()> okClick) {
    QObject::connect(&ok, &QPushButton::clicked, &dialog, [&dialog, &desktop, okClick = std::move(okClick)] {
        dialog.setResult(QDialog::Accepted);
        RunGuarded(desktop, &dialog, okClick);
        if (dialog.result() == QDialog::Accepted) {
            dialog.accept();
        }
    });
}

void SetOkCancelIcons(QPushButton& ok, QPushButton& cancel) {
    ok.setIcon(ok.style()->standardIcon(QStyle::SP_DialogOkButton));
    cancel.setIcon(cancel.style()->standardIcon(QStyle::SP_DialogCancelButton));
}

}  // namespace nagitori
