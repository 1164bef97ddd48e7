// How the player asks the C library to keep freed memory for the next picture.
#pragma once

namespace taviro::platform {

// Pictures of a frame are megabytes each, decoded, converted and copied into textures; by default
// such blocks go back to the system when freed and every new one costs a page fault per page. Kept
// in the heap, the next frame's pictures reuse them. Call once at start-up; elsewhere than glibc it
// does nothing.
void KeepFreedMemoryForReuse();

}  // namespace taviro::platform
