#pragma once
// Form_Resize's rule in twips: the smallest outer size, and the grid filling
// what is left of it.

#include <algorithm>
#include <optional>

namespace quillo {

inline constexpr int kMinOuterWidth = 5375;
inline constexpr int kMinOuterHeight = 6525;
inline constexpr int kGridHeightMargin = 570;

// The client size the window opens with.
inline constexpr int kClientWidth = 12525;
inline constexpr int kClientHeight = 6120;

// The smallest outer height for a frame (title bar and borders) of
// frameHeight. The 6525 twips were drawn for a 405-twip frame around the
// client height the window opens with. Without a window manager there is no
// frame and the limit holds as it stands; a thinner frame than that would
// make the rule grow the window past the size it opens with, so there the
// limit is that size.
constexpr int minOuterHeight(int frameHeight) {
    if (frameHeight <= 0) return kMinOuterHeight;
    return std::min(kMinOuterHeight, kClientHeight + frameHeight);
}

struct ResizePlan {
    int outerWidth = 0;  // the outer size the window must have
    int outerHeight = 0;
    int gridWidth = 0;
    int gridHeight = 0;
};

// frameHeight: the frame's height, or none while the window manager has not
// yet framed the window; the height is not raised before then.
constexpr ResizePlan planResize(int outerWidth, int outerHeight, std::optional<int> frameHeight) {
    ResizePlan plan;
    plan.outerWidth = std::max(outerWidth, kMinOuterWidth);
    plan.outerHeight =
        frameHeight ? std::max(outerHeight, minOuterHeight(*frameHeight)) : outerHeight;
    plan.gridWidth = plan.outerWidth - kMinOuterWidth;
    plan.gridHeight = plan.outerHeight - kGridHeightMargin;
    return plan;
}

}  // namespace quillo
