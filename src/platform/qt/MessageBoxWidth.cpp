#include "platform/qt/MessageBoxWidth.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QTextLayout>
#include <algorithm>

namespace nagitori {

namespace {

// Fewer letters than this (punctuation and blanks not counted) make a last line look stranded.
constexpr int kShortestLastLine = 3;
// However long the text, the box stays within this much of the screen and below Qt's own upper bound.
constexpr int kWidestBox = 1000;

int Letters(QStringView text) {
    return static_cast<int>(
        std::count_if(text.begin(), text.end(), [](QChar c) { return !c.isPunct() && !c.isSpace(); }));
}

// Whether some paragraph, wrapped at `width` as the label wraps it, ends in a short line.
bool EndsInShortLine(const QString& text, const QFont& font, int width) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    for (const QString& paragraph : text.split(lineEnd)) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine last;
        int lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            last = line;
            ++lines;
        }
        layout.endLayout();
        if (lines > 1 && Letters(QStringView(paragraph).mid(last.textStart(), last.textLength())) < kShortestLastLine) {
            return true;
        }
    }
    return false;
}

}  // namespace

void WidenAgainstShortLastLines(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr || !label->wordWrap()) {
        return;
    }
    const int room = label->contentsRect().width();
    if (!EndsInShortLine(label->text(), label->font(), room)) {
        return;
    }
    int widest = kWidestBox;
    if (const QScreen* screen = box.screen()) {
        widest = std::min(widest, screen->availableGeometry().width() * 9 / 10);
    }
    const int step = std::max(1, label->fontMetrics().averageCharWidth() / 2);
    for (int width = room + step; width - room + box.width() <= widest; width += step) {
        if (!EndsInShortLine(label->text(), label->font(), width)) {
            // Qt sizes the box around the label's least width, and only on a layout request once shown.
            label->setMinimumWidth(width + label->width() - room);
            QEvent request(QEvent::LayoutRequest);
            QCoreApplication::sendEvent(&box, &request);
            return;
        }
    }
}

}  // namespace nagitori
