// The console a console program was started from (Windows).
#pragma once

namespace platform {

// Started from Explorer, a console program is given a console window of its
// own, which would stay open and empty beside the game's: it is let go at
// once. Started from a console, or with its output sent elsewhere, nothing
// changes: messages, help and a demo's end line appear there.
//
// With the console gone, what the game says on standard error (a demo that
// cannot be written or replayed, data not found, a screenshot not written)
// would be lost: it is kept aside instead, in a file the system removes when
// the program ends.
void releaseConsoleOfOurOwn();
// Shows what was kept aside, if anything, in one message box; called when the
// game has ended.
void showKeptMessages();

}  // namespace platform
