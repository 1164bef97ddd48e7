// Where the game's client area appears in a window or on a screen of another size: scaled to fit
// with its aspect kept and letterboxed, by a whole factor when one fits so pixels stay sharp.
#pragma once

#include "platform/controls/geometry.h"

namespace taviro::platform {

struct Viewport {
    Rect area;           // where the client area is drawn, in window pixels
    double scale = 1.0;  // window pixels per client pixel
    bool sharp = true;   // a whole factor: drawn with nearest-pixel sampling

    // A window point as a client point (it may fall outside the client area on the bars).
    Point ToClient(Point windowPoint) const;
    Point ToWindow(Point clientPoint) const;
};

Viewport FitViewport(int windowWidth, int windowHeight, int clientWidth, int clientHeight);

}  // namespace taviro::platform
