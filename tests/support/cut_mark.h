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

// The width, in pixels, from the first to the last column of a picture holding dark ink (text),
// a margin of three pixels (the frame of a box) left out; 0 when there is none.
inline int inkWidth(const QImage& picture) {
    int first = -1, last = -1;
    for (int x = 3; x < picture.width() - 3; ++x)
        for (int y = 3; y < picture.height() - 3; ++y)
            if (qGray(picture.pixel(x, y)) < 100) {
                if (first < 0) first = x;
                last = x;
            }
    return first < 0 ? 0 : last - first + 1;
}

}  // namespace testing_support
