#pragma once
#include <QColor>
#include <QImage>
#include <algorithm>

namespace testing_support {

// Whether a grid cell's (or heading's) picture holds the mark of a cut text: red pixels at its
// right edge.
inline bool hasCutMark(const QImage& cell) {
    for (int x = std::max(0, cell.width() - 8); x < cell.width(); ++x)
        for (int y = 0; y < cell.height(); ++y) {
            const QColor c = cell.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 80 && c.blue() < 80) return true;
        }
    return false;
}

}  // namespace testing_support
