#include "ui/preview/loadedpicture.h"

#include <algorithm>
#include <cmath>

namespace quillo {

QString faultText(const LoadedPicture& picture) {
    switch (picture.fault) {
        case PictureFault::None:
            return {};
        case PictureFault::NotAnImage:
            return QStringLiteral("画像として読めません");
        case PictureFault::TooLarge:
            return QStringLiteral("大きすぎて表示できません");
        case PictureFault::ReadFailed:
            return picture.failure.description;
    }
    return {};
}

QSize fitWithin(QSize picture, QSize bounds) {
    if (picture.isEmpty() || bounds.isEmpty()) return {};
    const double scale = std::min({1.0, double(bounds.width()) / picture.width(),
                                   double(bounds.height()) / picture.height()});
    const auto side = [scale](int length) { return std::max(1, int(std::lround(length * scale))); };
    return {std::min(side(picture.width()), bounds.width()),
            std::min(side(picture.height()), bounds.height())};
}

}  // namespace quillo
