// The mixer is SDL2_mixer: it loads the WAV files, converts them to the
// device's format and mixes any number of channels on SDL's audio thread, so
// the game's one thread only starts and stops effects.
#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/paths.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

namespace platform {

namespace {

bool open = false;
bool lost = false;
std::string lostWhy;
std::vector<Mix_Chunk*> effects;

// The effects' own rate (they are made at 22050 Hz, mono); a short buffer
// keeps the delay from an event to its sound near 12 ms.
constexpr int mixRate = 22050;
constexpr int mixBuffer = 256;

// Without a sound card ALSA's library prints its own complaints, eight lines
// of configuration errors, on standard error; the game says in one line
// what went wrong, so they are silenced. The library is found where the
// mixer's dependencies loaded it; without it there is nothing to silence.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
void silenceAlsa() {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(quietAlsa);
}

void freeEffects() {
    for (Mix_Chunk* chunk : effects)
        if (chunk) Mix_FreeChunk(chunk);
    effects.clear();
}

}  // namespace

bool openAudio(const std::vector<std::string>& files, std::string& why, std::string& missing) {
    if (open) return true;
    silenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
        return false;
    }
    if (Mix_OpenAudioDevice(mixRate, AUDIO_S16SYS, 2, mixBuffer, nullptr, SDL_AUDIO_ALLOW_ANY_CHANGE) != 0) {
        why = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(int(files.size()));
    for (const std::string& name : files) {
        Mix_Chunk* chunk = Mix_LoadWAV(findFile(name.c_str()).c_str());
        if (!chunk) missing += (missing.empty() ? "" : ", ") + name;
        effects.push_back(chunk);
    }
    open = true;
    lost = false;
    return true;
}

bool audioIsOpen() { return open; }

void playEffect(int i) {
    if (!open || i < 0 || size_t(i) >= effects.size() || !effects[size_t(i)]) return;
    Mix_PlayChannel(i, effects[size_t(i)], 0);
}

void stopEffects() {
    if (open) Mix_HaltChannel(-1);
}

void closeAudio() {
    if (!open) return;
    Mix_HaltChannel(-1);
    freeEffects();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open = false;
}

bool audioDeviceLost(std::string& why) {
    if (!lost) return false;
    lost = false;
    why = lostWhy;
    return true;
}

// Called by the event pump: an output device was removed. SDL2_mixer opens
// one device, so while it is open this is ours.
void backend::audioDeviceRemoved() {
    if (!open) return;
    lostWhy = "the sound device went away";
    closeAudio();
    lost = true;
}

}  // namespace platform
