#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <type_traits>

namespace nagitori {

// Makes the field keep what a single-line edit control keeps: of a pasted, dropped or set text only what comes
// before its first line break, and texts of any length whole. Returns the field.
QLineEdit* SingleLine(QLineEdit* field);

// The same for the text field of an editable combo box.
template <typename ComboBox>
requires std::is_base_of_v<QComboBox, ComboBox> ComboBox* SingleLine(ComboBox* box) {
    SingleLine(box->lineEdit());
    return box;
}

}  // namespace nagitori
