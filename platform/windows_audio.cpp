// The sound's libraries on Windows: its audio interfaces report through SDL
// only, so there is nothing of their own to keep quiet.
#include "platform/backend.h"

namespace platform {

void backend::quietSoundLibraries() {}

}  // namespace platform
