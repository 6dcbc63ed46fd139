#pragma once
#include <QColor>

namespace ui {

// Colours are written as &HBBGGRR values: blue in the high byte, red in the low byte.
inline QColor bgr(unsigned v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }
inline unsigned toBgr(const QColor& c) {
    return unsigned(c.red()) | (unsigned(c.green()) << 8) | (unsigned(c.blue()) << 16);
}
// Geometry is in twips, 15 to a pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int px(int twips) { return twips / kTwipsPerPixel; }
constexpr int twips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace ui
