// The mixer is SDL2_mixer: it loads the WAV files, converts them to the
// device's format and mixes any number of channels on SDL's audio thread, so
// the game's one thread only starts and stops effects.
//
// Opening runs on a thread of its own, the opener, because the driver waits
// for the sound server's answer: tens of milliseconds from a healthy one,
// 30 s from one that has hung. How the two threads share SDL:
//
// - SDL's subsystem reference counts are plain counters, and the game's
//   thread moves them while the opener runs (F1 quits and starts the video
//   subsystem, which holds the events subsystem; the end of the program
//   quits them). So only the game's thread calls SDL_InitSubSystem and
//   SDL_QuitSubSystem. It starts the audio subsystem itself, on SDL's dummy
//   driver, which opens nothing and cannot wait; the opener then replaces
//   that driver with the one asked for (SDL_AudioInit moves no count). The
//   driver hint it sets for that is set back before the opener starts, and
//   nothing else sets hints.
// - The audio subsystem holds a reference on the events subsystem for as
//   long as it is up, so the event queue the opener's driver posts device
//   events to (under SDL's lock) is never torn down under it.
// - Until the handover nothing but the opener calls SDL's audio or the mixer:
//   every such call on the game's thread is behind `open`, which is set only
//   once an acquire load has seen the opener's release store of `done`, its
//   last act. After the handover only the game's thread calls them, as before.
// - An opener that never finishes is never joined and nothing is torn down
//   under it: the audio subsystem stays up, the program never calls SDL_Quit,
//   and the opener writes only to the job it shares (it outlives the game's
//   globals at exit) and to the C libraries' own state.
#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/paths.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <atomic>
#include <memory>

namespace platform {

namespace {

// The opener's work: written by the game's thread before the opener starts,
// then by the opener alone until it stores `done`.
struct Opening {
    std::string driver;  // SDL's audio driver(s) asked for; empty for SDL's own choice
    std::vector<std::string> names, paths;  // the effects' game names, and their files as found
    bool opened = false;
    std::string why, missing;
    std::vector<Mix_Chunk*> effects;
    std::atomic<bool> done{false};
};

std::shared_ptr<Opening> opening;  // from the start of the opening to its handover
bool open = false;
bool lost = false;
std::string lostWhy;
std::vector<Mix_Chunk*> effects;

// The effects' own rate (they are made at 22050 Hz, mono); a short buffer
// keeps the delay from an event to its sound near 12 ms.
constexpr int mixRate = 22050;
constexpr int mixBuffer = 256;

void freeEffects() {
    for (Mix_Chunk* chunk : effects)
        if (chunk) Mix_FreeChunk(chunk);
    effects.clear();
}

// The audio subsystem, started on the game's thread on the dummy driver
// (see above); `asked` is the driver SDL would have taken.
bool startAudioSubsystem(std::string& asked, std::string& why) {
    const char* hint = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    asked = hint ? hint : "";
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!started) why = SDL_GetError();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return started;
}

void loadEffects(Opening& job) {
    Mix_AllocateChannels(int(job.paths.size()));
    for (size_t i = 0; i < job.paths.size(); ++i) {
        Mix_Chunk* chunk = Mix_LoadWAV(job.paths[i].c_str());
        if (!chunk) job.missing += (job.missing.empty() ? "" : ", ") + job.names[i];
        job.effects.push_back(chunk);
    }
}

// The opener's thread. SDL's errors are per thread, so they are read here.
int openOnItsOwn(void* data) {
    std::unique_ptr<std::shared_ptr<Opening>> handed(static_cast<std::shared_ptr<Opening>*>(data));
    Opening& job = **handed;
    if (SDL_AudioInit(job.driver.c_str()) != 0)
        job.why = SDL_GetError();
    else if (Mix_OpenAudioDevice(mixRate, AUDIO_S16SYS, 2, mixBuffer, nullptr, SDL_AUDIO_ALLOW_ANY_CHANGE) != 0)
        job.why = Mix_GetError();
    else {
        loadEffects(job);
        job.opened = true;
    }
    job.done.store(true, std::memory_order_release);
    return 0;
}

}  // namespace

bool startOpeningAudio(const std::vector<std::string>& files, std::string& why) {
    if (opening || open) return false;
    auto job = std::make_shared<Opening>();
    backend::quietSoundLibraries();
    if (!startAudioSubsystem(job->driver, why)) return false;
    job->names = files;
    for (const std::string& name : files) job->paths.push_back(findFile(name.c_str()));
    auto* handed = new std::shared_ptr<Opening>(job);
    if (!backend::runOpener(openOnItsOwn, handed, why)) {
        delete handed;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    opening = std::move(job);
    return true;
}

AudioOpening takeOverAudio(std::string& why, std::string& missing) {
    if (!opening) return AudioOpening::none;
    if (!opening->done.load(std::memory_order_acquire)) return AudioOpening::underway;
    std::shared_ptr<Opening> job = std::move(opening);
    if (!job->opened) {
        why = job->why;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return AudioOpening::failed;
    }
    missing = job->missing;
    effects = std::move(job->effects);
    open = true;
    lost = false;
    return AudioOpening::open;
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
    std::string why, missing;
    takeOverAudio(why, missing);
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
