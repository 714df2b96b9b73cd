// The console a console program was started from (Windows).
#pragma once

namespace platform {

// Started from Explorer, a console program is given a console window of its
// own, which would stay open and empty beside the game's: it is let go at
// once. Started from a console, or with its output sent elsewhere, nothing
// changes: messages, help and a demo's end line appear there.
void releaseConsoleOfOurOwn();

}  // namespace platform
