// A driver that does not wait for the display but needs time for every
// frame, made from any: preloaded (LD_PRELOAD), it makes every present take
// VANTREL_SWAP_WORK_MS milliseconds longer, before the real one runs. The
// thread sleeps meanwhile, as it does while a GPU or a renderer's own
// threads work.
#include <SDL.h>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>

namespace {

using Swap = void (*)(SDL_Window*);

long workNanoseconds() {
    const char* text = std::getenv("VANTREL_SWAP_WORK_MS");
    return text ? long(std::atof(text) * 1e6) : 0;
}

}  // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
    static Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static long work = workNanoseconds();
    timespec t{work / 1000000000, work % 1000000000};
    while (nanosleep(&t, &t) != 0) {
    }
    real(window);
}
