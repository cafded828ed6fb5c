#include "widgets/SingleLineField.h"

#include <QValidator>
#include <limits>

namespace nagitori {
namespace {

qsizetype FirstLineBreak(const QString& text, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            return i;
        }
    }
    return -1;
}

// The field's text never holds a line break, so a break can only come with the text just inserted, which ends at
// the cursor: the inserted text is cut at its first break and the text after the cursor stays.
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        const qsizetype lineBreak = FirstLineBreak(input);
        if (lineBreak < 0) {
            return Acceptable;
        }
        const qsizetype insertionEnd = pos > lineBreak ? pos : input.size();
        input.remove(lineBreak, insertionEnd - lineBreak);
        pos = static_cast<int>(lineBreak);
        if (const qsizetype stray = FirstLineBreak(input, lineBreak); stray >= 0) {
            input.truncate(stray);
        }
        return Acceptable;
    }
};

}  // namespace

QLineEdit* SingleLine(QLineEdit* field) {
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setValidator(new SingleLineValidator(field));
    return field;
}

}  // namespace nagitori
