// Pictures of the scene for transitions and scripts: a control of a window composed off screen, never
// read from the desktop.
#pragma once

#include "platform/controls/canvas.h"
#include "platform/controls/control.h"
#include "platform/display/viewport.h"
#include "platform/sdl/scene_renderer.h"

struct SDL_Renderer;

namespace taviro::platform {

// Composes a control and everything in it, as if it were shown, into a canvas of the control's size.
// The pixels come out opaque. Throws GameError when the renderer cannot draw off screen.
void CaptureControl(SDL_Renderer* renderer, SceneRenderer& scene, const Control& control, Canvas& into);

// Where a canvas of client pixels lies on the desktop: its top-left corner and its scale, in desktop
// pixels.
struct DesktopPlacement {
    Point origin;
    double scale = 1.0;
};

// Paints black the pixels of the canvas that fall outside a desktop of the given size, as a copy of the
// screen would leave them.
void BlackOutsideDesktop(Canvas& canvas, const DesktopPlacement& placement, Point desktopSize);

}  // namespace taviro::platform
