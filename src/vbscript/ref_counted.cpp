// Deferred destruction of reference-counted values.
#include "vbscript/ref_counted.h"

#include <vector>

namespace taviro::vbscript {

namespace {
// Values whose last reference went; finalized one at a time by the outermost release, so that
// destroying a value which owns the last reference to another never nests.
thread_local std::vector<RefCounted*> pendingFinalize;
thread_local bool finalizing = false;
}  // namespace

void RefCounted::LastReleased() {
    pendingFinalize.push_back(this);
    if (finalizing) return;
    finalizing = true;
    while (!pendingFinalize.empty()) {
        RefCounted* next = pendingFinalize.back();
        pendingFinalize.pop_back();
        next->Finalize();
    }
    finalizing = false;
}

}  // namespace taviro::vbscript
