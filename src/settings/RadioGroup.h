#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

namespace nagitori {

// A captioned group of radio buttons in columns, filled column by column, that selects one item or
// none. Its index changes by a click or by SetItemIndex; every change, and only a change, emits
// ItemIndexChanged.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, int columns, const QRect& geometry, QWidget* parent);

    // -1 when nothing is selected.
    int ItemIndex() const { return itemIndex_; }
    // Clamps into -1 .. the last item; -1 selects nothing.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const { return static_cast<QRadioButton*>(group_->button(index)); }
    int Count() const { return static_cast<int>(group_->buttons().size()); }

signals:
    void ItemIndexChanged();

private:
    QButtonGroup* group_;
    int itemIndex_ = -1;
};

}  // namespace nagitori
