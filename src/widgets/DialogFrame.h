#pragma once

#include <QDialog>
#include <QPushButton>
#include <QString>
#include <functional>

#include "platform/Desktop.h"

namespace nagitori {

// A UTF-8 literal as shown text.
inline QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Gives a control the name that tests and screenshots find it by.
template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

// A fixed dialog border without minimize and maximize boxes, and the given client size. The owner is the
// parent; the dialog opens centred on it.
void SetUpDialogFrame(QDialog& dialog, int clientWidth, int clientHeight);

// The OK button sets the result to OK and runs okClick (inside the general error box guard); the dialog
// closes as accepted unless okClick put the result back to none (QDialog::Rejected, 0).
void ConnectOkButton(QDialog& dialog, QPushButton& ok, Desktop& desktop, std::function<void()> okClick);

// Standard OK and Cancel icons on the two buttons.
void SetOkCancelIcons(QPushButton& ok, QPushButton& cancel);

}  // namespace nagitori
