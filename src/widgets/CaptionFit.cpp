#include "widgets/CaptionFit.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace nagitori {

namespace {

constexpr int kIconSpacing = 4;  // what Qt's styles put between a button's icon and its caption
constexpr int kNarrowest = 80;

int NeededWidth(const QPushButton& button, const QFont& font) {
    const int text = QFontMetrics(font).size(Qt::TextShowMnemonic, button.text()).width();
    return button.icon().isNull() ? text : text + button.iconSize().width() + kIconSpacing;
}

}  // namespace

void FitCaptionBesideIcon(QPushButton& button) {
    button.setFont(QFont());
    QStyleOptionButton option;
    option.initFrom(&button);
    const int room = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
    QFont font = button.font();
    for (int stretch = 100; stretch > kNarrowest && NeededWidth(button, font) > room; --stretch) {
        font.setStretch(stretch - 1);
    }
    if (font.stretch() != button.font().stretch()) {
        button.setFont(font);
    }
}

}  // namespace nagitori
