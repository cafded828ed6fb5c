#pragma once

#include <QComboBox>
#include <QStringList>
#include <optional>

class QInputMethodEvent;
class QKeyEvent;

namespace nagitori {

// A combo box that takes free typing and offers a history, oldest entry at the top. Typing at the end
// of the text is completed from the first entry that begins with the typed text (letter for letter where
// file names tell letter case apart, in any case on Windows): the entry's remainder is appended and
// selected, so further typing replaces it, and undo takes it back. What the user typed is never changed,
// and the list never grows from typing.
class HistoryComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit HistoryComboBox(QWidget* parent);

    // Replaces the list; the text in the field stays.
    void SetEntries(const QStringList& entries);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    template <typename Deliver>
    void Edit(Deliver deliver);
    void CompleteInline(const QString& text);

    // While the user edits: the length of the text the edit keeps (all of it but the selection).
    std::optional<qsizetype> keptLength_;
};

}  // namespace nagitori
