// The sound in a browser page: the opener runs at once on the game's thread,
// as there are no threads and opening the page's audio never waits (it stays
// silent until the player first presses a key or clicks, which the browser
// requires before a page may sound). Nothing under it prints complaints.
#include "platform/backend.h"

namespace platform {

bool backend::runOpener(Opener opener, void* job, std::string&) {
    opener(job);
    return true;
}

void backend::quietSoundLibraries() {}

}  // namespace platform
