#pragma once

#include <QRect>

namespace nagitori {

// The button grid of the tool and launcher pages: ten rows of two, filled row by row.
inline QRect GridButtonGeometry(int position) {
    return QRect(3 + 236 * (position % 2), 3 + 39 * (position / 2), 230, 33);
}

}  // namespace nagitori
