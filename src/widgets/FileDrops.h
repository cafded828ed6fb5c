#pragma once

#include <QStringList>
#include <functional>

class QWidget;

namespace nagitori {

// Makes `target` take files dropped on it from a file manager: `dropped` gets their local paths in the order of
// the drop. Drops of anything else (text, web addresses) are left to the widget.
void AcceptFileDrops(QWidget* target, std::function<void(const QStringList&)> dropped);

}  // namespace nagitori
