#include "support/sounds_asked.h"
#include "platform/audio.h"

namespace platform::testing {
namespace {
// A fixed array: a steady frame makes no allocation, in the tests either.
Sound asked[soundsKept];
int askedCount = 0;
}  // namespace
}  // namespace platform::testing

void platform::effectAsked(int i) {
    using namespace platform::testing;
    if (askedCount < soundsKept) asked[askedCount++] = Sound(i);
}

int takeSoundsAsked(Sound* out) {
    using namespace platform::testing;
    int n = askedCount;
    for (int i = 0; i < n; ++i) out[i] = asked[i];
    askedCount = 0;
    return n;
}
