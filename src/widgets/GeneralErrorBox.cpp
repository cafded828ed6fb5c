#include "widgets/GeneralErrorBox.h"

namespace nagitori {

QString GeneralErrorText(const QString& message) {
    if (message.isEmpty()) {
        return message;
    }
    // Compare the last whole character, so a surrogate pair counts as the character it encodes.
    const char32_t last = message.toStdU32String().back();
    return last > U'.' ? message + QStringLiteral(".") : message;
}

void ShowGeneralError(Desktop& desktop, QWidget* parent, const std::exception& error) {
    desktop.MessageBox(parent, GeneralErrorText(QString::fromUtf8(error.what())), mb::kIconError);
}

}  // namespace nagitori
