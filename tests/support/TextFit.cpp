#include "support/TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>

namespace nagitori::test {
namespace {

// The room a text needs, drawn as the widgets draw it: "&" marks an access key and takes no room.
QSize TextSize(const QWidget& widget, const QString& text) {
    return widget.fontMetrics().size(Qt::TextShowMnemonic, text);
}

void Check(QStringList& findings, const QWidget& widget, const QString& text, QSize needed, QSize room) {
    if (needed.width() > room.width() || needed.height() > room.height()) {
        findings.push_back(QStringLiteral("%1 %2 \"%3\": needs %4x%5, has %6x%7")
                               .arg(QString::fromUtf8(widget.metaObject()->className()), widget.objectName(), text)
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(room.width())
                               .arg(room.height()));
    }
}

// What a button's label needs: its text and, left of it, its icon with Qt's spacing of 4 pixels.
QSize LabelSize(const QAbstractButton& button) {
    QSize needed = TextSize(button, button.text());
    if (!button.icon().isNull()) {
        needed.rwidth() += button.iconSize().width() + (button.text().isEmpty() ? 0 : 4);
        needed.setHeight(qMax(needed.height(), button.iconSize().height()));
    }
    return needed;
}

void CheckButton(QStringList& findings, const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        contents = QStyle::SE_RadioButtonContents;
    }
    QRect room = button.style()->subElementRect(contents, &option, &button);
    const auto* push = qobject_cast<const QPushButton*>(&button);
    if (push != nullptr && push->menu() != nullptr) {
        room.setWidth(room.width() - button.style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, &button));
    }
    Check(findings, button, button.text(), LabelSize(button), room.size());
}

void CheckLabel(QStringList& findings, const QLabel& label) {
    if (label.text().isEmpty() && label.pixmap().isNull()) {
        return;
    }
    if (label.wordWrap()) {
        const QSize needed(label.width(), label.heightForWidth(label.width()));
        Check(findings, label, label.text(), needed, label.size());
        return;
    }
    Check(findings, label, label.text(), label.sizeHint(), label.size());
}

void CheckGroupBox(QStringList& findings, const QGroupBox& box) {
    if (box.title().isEmpty()) {
        return;
    }
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    if (box.isCheckable()) {
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    }
    const QRect label = box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    // The label's rectangle is as wide as its text; what matters is that it ends inside the box.
    const QSize room(box.width() - label.x(), box.height());
    Check(findings, box, box.title(), TextSize(box, box.title()), room);
}

void CheckTabs(QStringList& findings, const QTabBar& bar) {
    for (int i = 0; i < bar.count(); ++i) {
        QStyleOptionTab option;
        option.initFrom(&bar);
        option.rect = bar.tabRect(i);
        option.text = bar.tabText(i);
        option.shape = bar.shape();
        option.documentMode = bar.documentMode();
        const QRect room = bar.style()->subElementRect(QStyle::SE_TabBarTabText, &option, &bar);
        Check(findings, bar, option.text, TextSize(bar, option.text), room.size());
        // A tab past the bar's end needs scrolling.
        Check(findings, bar, option.text, QSize(option.rect.right() + 1, 0), QSize(bar.width(), 0));
    }
}

void CheckListEntries(QStringList& findings, const QListView& view) {
    const QAbstractItemModel* model = view.model();
    for (int row = 0; model != nullptr && row < model->rowCount(view.rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, view.rootIndex());
        const QString text = index.data().toString();
        QStyleOptionViewItem option;
        option.initFrom(&view);
        option.rect = view.visualRect(index);
        option.text = text;
        option.font = view.font();
        option.fontMetrics = view.fontMetrics();
        option.features = QStyleOptionViewItem::HasDisplay;
        if (view.wordWrap()) {
            option.features |= QStyleOptionViewItem::WrapText;
        }
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        const QSize needed = view.itemDelegate()->sizeHint(option, index);
        Check(findings, view, text, needed, option.rect.size());
        // The entry itself must lie inside the list's visible area.
        const QRect visible = option.rect.intersected(view.viewport()->rect());
        Check(findings, view, text, option.rect.size(), visible.size());
    }
}

void CheckDropDown(QStringList& findings, const QComboBox& box) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    option.frame = box.hasFrame();
    option.subControls = QStyle::SC_All;
    const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
    if (box.isEditable()) {
        // The entries are what the user typed, of any length: only the line must fit.
        Check(findings, box, QStringLiteral("(line)"), QSize(0, box.fontMetrics().height()), field.size());
        return;
    }
    for (int i = 0; i < box.count(); ++i) {
        Check(findings, box, box.itemText(i), TextSize(box, box.itemText(i)), field.size());
    }
}

void CheckEditLine(QStringList& findings, const QLineEdit& edit) {
    // A combo box's own line edit is measured with its combo box.
    if (qobject_cast<const QComboBox*>(edit.parentWidget()) != nullptr) {
        return;
    }
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    Check(findings, edit, QStringLiteral("(line)"), QSize(0, edit.fontMetrics().height()), contents.size());
}

}  // namespace

QStringList ClippedTexts(const QWidget& window) {
    QStringList findings;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) {
            continue;
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            CheckButton(findings, *button);
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            CheckLabel(findings, *label);
        } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            CheckGroupBox(findings, *box);
        } else if (const auto* bar = qobject_cast<const QTabBar*>(widget)) {
            CheckTabs(findings, *bar);
        } else if (const auto* list = qobject_cast<const QListView*>(widget)) {
            CheckListEntries(findings, *list);
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            CheckDropDown(findings, *combo);
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            CheckEditLine(findings, *edit);
        }
    }
    return findings;
}

}  // namespace nagitori::test
