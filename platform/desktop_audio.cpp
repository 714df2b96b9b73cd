// The sound on a desktop: the opener runs on a thread of its own, since a
// sound server may take its whole answer time, or never answer (see
// sdl_audio.cpp).
#include "platform/backend.h"
#include <SDL.h>

namespace platform {

bool backend::runOpener(Opener opener, void* job, std::string& why) {
    SDL_Thread* thread = SDL_CreateThread(opener, "vantrel sound", job);
    if (!thread) {
        why = SDL_GetError();
        return false;
    }
    SDL_DetachThread(thread);
    return true;
}

}  // namespace platform
