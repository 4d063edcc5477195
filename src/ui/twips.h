#pragma once
// The one conversion between the layout's twips and device-independent pixels.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace quillo {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel.
constexpr int px(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

// Pixels to twips.
constexpr int tw(int pixels) {
    return pixels * kTwipsPerPixel;
}

// Left, top, width, height in twips, as the layout tables give them.
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

inline QSize twipsSize(int width, int height) {
    return QSize(px(width), px(height));
}

inline QPoint twipsPoint(int left, int top) {
    return QPoint(px(left), px(top));
}

}  // namespace quillo
