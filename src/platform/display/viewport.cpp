// Fitting the client area into a window.
#include "platform/display/viewport.h"

#include <algorithm>
#include <cmath>

namespace taviro::platform {

Point Viewport::ToClient(Point windowPoint) const {
    return {static_cast<int>(std::floor((windowPoint.x - area.x) / scale)),
            static_cast<int>(std::floor((windowPoint.y - area.y) / scale))};
}

Point Viewport::ToWindow(Point clientPoint) const {
    // The middle of the client pixel, so that the round trip lands on the same pixel.
    return {area.x + static_cast<int>(std::floor((clientPoint.x + 0.5) * scale)),
            area.y + static_cast<int>(std::floor((clientPoint.y + 0.5) * scale))};
}

Viewport FitViewport(int windowWidth, int windowHeight, int clientWidth, int clientHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) return {};
    double fit = std::min(static_cast<double>(windowWidth) / clientWidth,
                          static_cast<double>(windowHeight) / clientHeight);
    Viewport viewport;
    viewport.sharp = fit >= 1.0;
    viewport.scale = viewport.sharp ? std::floor(fit) : fit;
    int width = static_cast<int>(std::lround(clientWidth * viewport.scale));
    int height = static_cast<int>(std::lround(clientHeight * viewport.scale));
    viewport.area = {(windowWidth - width) / 2, (windowHeight - height) / 2, width, height};
    return viewport;
}

}  // namespace taviro::platform
