#include "settings/RadioGroup.h"

#include <algorithm>

namespace nagitori {

namespace {

constexpr int kTitleHeight = 16;
constexpr int kMargin = 8;

}  // namespace

RadioGroup::RadioGroup(const QString& title, const QStringList& items, int columns, const QRect& geometry,
                       QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    setGeometry(geometry);
    const int count = static_cast<int>(items.size());
    const int rows = std::max((count + columns - 1) / columns, 1);
    const int columnWidth = (geometry.width() - 2 * kMargin) / columns;
    const int rowHeight = (geometry.height() - kTitleHeight - kMargin / 2) / rows;
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(items[i], this);
        const int x = kMargin + (i / rows) * columnWidth;
        int width = columnWidth - kMargin / 2;
        if (i + rows >= count) {
            // Nothing stands to its right: a long caption may use the room up to the frame.
            width = std::clamp(button->sizeHint().width(), width, geometry.width() - kMargin - x);
        }
        button->setGeometry(x, kTitleHeight + (i % rows) * rowHeight, width, rowHeight);
        group_->addButton(button, i);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            SetItemIndex(id);
        }
    });
}

void RadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, Count() - 1);
    if (index == itemIndex_) {
        return;
    }
    // Set first, so that the buttons' own signals find nothing left to change.
    itemIndex_ = index;
    if (index >= 0) {
        Button(index)->setChecked(true);
    } else if (QAbstractButton* checked = group_->checkedButton()) {
        // An exclusive group refuses to clear its last checked button.
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
    emit ItemIndexChanged();
}

}  // namespace nagitori
