// The player's storage on Linux and Windows: the player's files are on the
// disk, written there whole by platform/file_writing.h, and stay.
#include "platform/player_storage.h"

namespace platform {

void openPlayerStorage() {}

void playerFilesChanged() {}

}  // namespace platform
