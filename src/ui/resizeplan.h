#pragma once
// Form_Resize's rule in twips: the smallest outer size, and the grid filling
// what is left of it.

#include <algorithm>

namespace quillo {

inline constexpr int kMinOuterWidth = 5375;
inline constexpr int kMinOuterHeight = 6525;
inline constexpr int kGridHeightMargin = 570;

struct ResizePlan {
    int outerWidth = 0;  // the outer size the window must have
    int outerHeight = 0;
    int gridWidth = 0;
    int gridHeight = 0;
};

constexpr ResizePlan planResize(int outerWidth, int outerHeight) {
    ResizePlan plan;
    plan.outerWidth = std::max(outerWidth, kMinOuterWidth);
    plan.outerHeight = std::max(outerHeight, kMinOuterHeight);
    plan.gridWidth = plan.outerWidth - kMinOuterWidth;
    plan.gridHeight = plan.outerHeight - kGridHeightMargin;
    return plan;
}

}  // namespace quillo
