// The pictures of a transition at a point of its progress: the new frame blended over the old one, or
// both side by side sliding across the frame.
#pragma once

#include <array>
#include <cstdint>

#include "platform/controls/canvas.h"

namespace taviro::effects {

// The transition numbers scripts pass and frames store; numbers outside 1 to 5 give no animation.
enum TransitionKind { kAlphablending = 1, kSlideLeft = 2, kSlideRight = 3, kSlideUp = 4, kSlideDown = 5 };
constexpr int TransitionCount = 5;
// The names of the kinds by number; index 0 holds "".
extern const std::array<const char*, TransitionCount + 1> TransitionNames;

// True for the numbers that animate.
constexpr bool IsTransitionKind(int number) { return number >= 1 && number <= TransitionCount; }

// The opacity of the new frame at progress p (0 to 1): p × 255 truncated to a byte.
uint8_t BlendOpacity(double progress);

// Where the old and the new image have their top-left corners on the stage at progress p of a slide.
// Slide Left moves both to the left, so the new image comes in from the right edge; Slide Right comes
// in from the left edge, Slide Up from the bottom edge and Slide Down from the top edge. The distance
// is p times the frame's width (left and right) or height (up and down), truncated to whole pixels.
struct SlidePositions {
    platform::Point oldImage;
    platform::Point newImage;
};
SlidePositions SlideAt(int kind, double progress, int width, int height);

// Composes the stage at progress p: both images have the stage's size and are opaque. Kinds outside
// 1 to 5 show the new image.
void ComposeTransitionStep(int kind, double progress, const platform::PixelView& oldImage,
                           const platform::PixelView& newImage, platform::Canvas& stage);

}  // namespace taviro::effects
