// The sound's libraries on Linux: ALSA's is kept quiet.
#include "platform/backend.h"
#include <dlfcn.h>

namespace platform {

namespace {
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

// Without a sound card ALSA's library prints its own complaints, eight lines
// of configuration errors, on standard error; the game says in one line
// what went wrong, so they are silenced. The library is found where the
// mixer's dependencies loaded it; without it there is nothing to silence.
void backend::quietSoundLibraries() {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(quietAlsa);
}

}  // namespace platform
