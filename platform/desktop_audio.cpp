// The sound on a desktop: the opener runs on a thread of its own, since a
// sound server may take its whole answer time, or never answer (see
// sdl_audio.cpp), and ALSA's library is kept quiet.
#include "platform/backend.h"
#include <SDL.h>
#include <dlfcn.h>

namespace platform {

namespace {
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

bool backend::runOpener(Opener opener, void* job, std::string& why) {
    SDL_Thread* thread = SDL_CreateThread(opener, "vantrel sound", job);
    if (!thread) {
        why = SDL_GetError();
        return false;
    }
    SDL_DetachThread(thread);
    return true;
}

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
