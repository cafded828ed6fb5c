#include "widgets/CaptionFit.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

namespace nagitori {

namespace {

constexpr int kIconSpacing = 4;  // what Qt's styles put between a button's icon and its caption
constexpr int kNarrowest = 80;

int NeededWidth(const QPushButton& button, const QFont& font) {
    const int text = QFontMetrics(font).size(Qt::TextShowMnemonic, button.text()).width();
    return button.icon().isNull() ? text : text + button.iconSize().width() + kIconSpacing;
}

QFont Stretched(QFont font, int stretch) {
    font.setStretch(stretch);
    return font;
}

// The widest stretch from 100 down to kNarrowest at which needed(font) fits the room, else kNarrowest; the font
// itself where it fits. Each stretch tried loads a font of its own, so the search starts next to the stretch the
// width asks for (widths grow with the stretch, a little slower than it) and moves from there one step at a time.
template <typename Needed>
QFont Narrowed(const QFont& font, int room, Needed needed) {
    const int full = needed(font);
    if (full <= room) {
        return font;
    }
    int stretch = std::clamp(room * 100 / full + 1, kNarrowest, 99);
    if (needed(Stretched(font, stretch)) <= room) {
        while (stretch < 99 && needed(Stretched(font, stretch + 1)) <= room) {
            ++stretch;
        }
    } else {
        while (stretch > kNarrowest && needed(Stretched(font, --stretch)) > room) {
        }
    }
    return Stretched(font, stretch);
}

}  // namespace

void FitCaptionBesideIcon(QPushButton& button) {
    button.setFont(QFont());
    QStyleOptionButton option;
    option.initFrom(&button);
    const int room = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
    const QFont font = Narrowed(button.font(), room, [&button](const QFont& f) { return NeededWidth(button, f); });
    if (font.stretch() != button.font().stretch()) {
        button.setFont(font);
    }
}

void FitEntriesOnOneLine(QListWidget& list) {
    // The item views' text margin on either side, as the styles draw it.
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    const int room = list.width() - 2 * list.frameWidth() - 2 * margin;
    for (int row = 0; row < list.count(); ++row) {
        QListWidgetItem* item = list.item(row);
        // Whole pixels would round a line that is a fraction too wide down to one that fits.
        const QFont font = Narrowed(list.font(), room, [item](const QFont& f) {
            return static_cast<int>(std::ceil(QFontMetricsF(f).horizontalAdvance(item->text())));
        });
        if (font.stretch() != list.font().stretch()) {
            item->setFont(font);
        }
    }
}

}  // namespace nagitori
