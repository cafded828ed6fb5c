#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

class QWidget;

namespace nagitori {

// A message box set up from the Windows MessageBox flags (buttons, icon, default button, stay-on-top),
// captioned with the application title, not yet shown. Esc answers as on Windows: Cancel where there
// is one, OK on a plain OK box; a Yes/No box cannot be closed without an answer.
std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* parent, const QString& text, unsigned flags);

// The MessageBox answer (kIdOk, kIdCancel, kIdYes, kIdNo) for the button that closed the box.
int AnswerOf(const QMessageBox& box);

}  // namespace nagitori
