#include "platform/qt/QtMessageBox.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

#include "common/Messages.h"
#include "platform/Desktop.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/qt/MessageBoxWidth.h"

namespace nagitori {

namespace {

constexpr unsigned kButtonsMask = 0xF;
constexpr unsigned kIconMask = 0xF0;
constexpr unsigned kDefaultButtonMask = 0xF00;

// A message box wide enough for its text to end well, centred on its owner. Its size is settled only in its own
// show event.
class OwnedMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (!event->spontaneous()) {
            WidenAgainstShortLastLines(*this);
            CentreOnOwner(*this);
        }
    }
};

// Qt makes the No button the escape button of a Yes/No box; Windows offers no way out but an answer.
// The user's Esc and close box are refused; a close by the program itself (the application quitting,
// the session ending) still goes through and answers No.
class AnswerRequiredMessageBox final : public OwnedMessageBox {
public:
    explicit AnswerRequiredMessageBox(QWidget* parent) : OwnedMessageBox(parent) {
        setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowCloseButtonHint);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        OwnedMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (event->spontaneous()) {
            event->ignore();
            return;
        }
        OwnedMessageBox::closeEvent(event);
    }
};

QMessageBox::Icon IconFor(unsigned flags) {
    switch (flags & kIconMask) {
        case mb::kIconError: return QMessageBox::Critical;
        case mb::kIconQuestion: return QMessageBox::Question;
        case mb::kIconWarning: return QMessageBox::Warning;
        case mb::kIconInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* parent, const QString& text, unsigned flags) {
    const unsigned buttons = flags & kButtonsMask;
    std::unique_ptr<QMessageBox> box;
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    if (buttons == mb::kYesNo) {
        box = std::make_unique<AnswerRequiredMessageBox>(parent);
        first = box->addButton(QMessageBox::Yes);
        second = box->addButton(QMessageBox::No);
    } else {
        // Button sets other than OK/Cancel and Yes/No are not used here; they fall back to OK.
        box = std::make_unique<OwnedMessageBox>(parent);
        first = box->addButton(QMessageBox::Ok);
        if (buttons == mb::kOkCancel) {
            second = box->addButton(QMessageBox::Cancel);
        }
        box->setEscapeButton(second != nullptr ? second : first);
    }
    box->setWindowTitle(QString::fromUtf8(messages::kApplicationTitle));
    // Message texts carry paths and error texts: never let them be read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setIcon(IconFor(flags));
    // As on Windows, asking for a second default button on a one-button box keeps the first.
    const bool secondIsDefault = (flags & kDefaultButtonMask) == mb::kDefButton2 && second != nullptr;
    box->setDefaultButton(secondIsDefault ? second : first);
    box->setWindowFlag(Qt::WindowStaysOnTopHint, (flags & mb::kTopmost) != 0);
    return box;
}

int AnswerOf(const QMessageBox& box) {
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok: return kIdOk;
        case QMessageBox::Yes: return kIdYes;
        case QMessageBox::No: return kIdNo;
        default: return kIdCancel;
    }
}

}  // namespace nagitori
