#include "runfile/HistoryComboBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace nagitori {

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseInsensitive;
#else
// An entry in other letter case names another file here.
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseSensitive;
#endif

}  // namespace

HistoryComboBox::HistoryComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Qt's own completer matches without regard to case and, when the field is left, replaces a text
    // that equals an entry in other letter case by that entry: a typed path must stay as typed.
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, &HistoryComboBox::CompleteInline);
}

void HistoryComboBox::SetEntries(const QStringList& entries) {
    const QString text = currentText();
    clear();
    addItems(entries);
    setCurrentIndex(-1);
    setEditText(text);
}

template <typename Deliver>
void HistoryComboBox::Edit(Deliver deliver) {
    const QLineEdit* edit = lineEdit();
    keptLength_ = edit->text().size() - edit->selectedText().size();
    deliver();
    keptLength_.reset();
}

void HistoryComboBox::keyPressEvent(QKeyEvent* event) {
    Edit([this, event] { QComboBox::keyPressEvent(event); });
}

void HistoryComboBox::inputMethodEvent(QInputMethodEvent* event) {
    Edit([this, event] { QComboBox::inputMethodEvent(event); });
}

void HistoryComboBox::CompleteInline(const QString& text) {
    QLineEdit* edit = lineEdit();
    // Only text typed at the end is completed; deleting never brings the remainder back.
    if (!keptLength_ || text.size() <= *keptLength_ || edit->cursorPosition() != text.size()) {
        return;
    }
    keptLength_.reset();
    for (int i = 0; i < count(); ++i) {
        const QString entry = itemText(i);
        if (!entry.startsWith(text, kFileNameCase)) {
            continue;
        }
        // The first match decides, also when it is the typed text itself and adds nothing.
        if (entry.size() > text.size()) {
            // A cursor move ends the typing as one undo step, so that undo takes back the completion alone.
            edit->cursorBackward(false);
            edit->cursorForward(false);
            const QString remainder = entry.mid(text.size());
            edit->insert(remainder);
            edit->setSelection(text.size(), remainder.size());
        }
        return;
    }
}

}  // namespace nagitori
