#include "game/sounds.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include <string>
#include <vector>

namespace {

bool on = true;
bool wanted = false;
bool tried = false;  // the opening of the device has been started, or tried, once
std::FILE* messages = stderr;

// How long the sound system may take to answer before the game says it plays
// on without it: a healthy one answers in tens of milliseconds. Real time,
// never the game's clock, which demos record reading by reading.
constexpr double answerWait = 1.5;  // seconds
bool awaiting = false;              // the device is being opened, and not yet taken over
uint64_t openingSince = 0;          // platform::wallMilliseconds() when the opening started
bool saidLate = false;              // the game has said the sound system keeps it waiting

const char* const files[soundCount] = {
    "data\\sfx-start.wav", "data\\sfx-item1.wav", "data\\sfx-item2.wav", "data\\sfx-item3.wav",
    "data\\sfx-item4.wav", "data\\sfx-climb.wav", "data\\sfx-exit.wav",  "data\\sfx-hit.wav",
    "data\\sfx-gameover.wav", "data\\sfx-mirror.wav",
};

}  // namespace

Sound itemSound(int32_t points) {
    if (points <= 50) return Sound::item1;
    if (points <= 150) return Sound::item2;
    if (points <= 500) return Sound::item3;
    return Sound::item4;
}

void playSound(Sound sound) {
    platform::effectAsked(int(sound));
    if (on) platform::playEffect(int(sound));
}

void setSoundOn(bool value) {
    on = value;
    if (!on) platform::stopEffects();
}

void quietSounds() { platform::stopEffects(); }

bool soundIsOn() { return on; }
void switchSound() { setSoundOn(!on); }

void wantSound(std::FILE* out) {
    wanted = true;
    messages = out;
}

namespace {

void sayNoSound(const std::string& why) {
    std::fprintf(messages, "vantrel: no sound (%s); the game plays on silently\n", why.c_str());
}

// Once per frame while the device is being opened: takes it over when it is
// ready, and says once when the sound system keeps the game waiting. One
// that answers after that is taken over all the same, and says so.
void lookAtOpening() {
    std::string why, missing;
    platform::AudioOpening now = platform::takeOverAudio(why, missing);
    double waited = double(platform::wallMilliseconds() - openingSince) / 1000;
    if (now == platform::AudioOpening::underway) {
        if (!saidLate && waited >= answerWait) {
            std::fprintf(messages, "vantrel: the sound system has not answered in %.1f s; the game plays on silently\n",
                         answerWait);
            saidLate = true;
        }
        return;
    }
    awaiting = false;
    if (now == platform::AudioOpening::failed) {
        if (!saidLate) sayNoSound(why);  // the game has said it plays silently, and so it goes on
        return;
    }
    if (saidLate) std::fprintf(messages, "vantrel: the sound system answered after %.1f s; the sound is on\n", waited);
    if (!missing.empty()) std::fprintf(messages, "vantrel: these effects are missing and stay silent: %s\n", missing.c_str());
}

}  // namespace

void startSound() {
    if (!wanted || tried) return;
    tried = true;
    std::string why;
    if (!platform::startOpeningAudio(std::vector<std::string>(files, files + soundCount), why)) {
        sayNoSound(why);
        return;
    }
    awaiting = true;
    openingSince = platform::wallMilliseconds();
}

void checkSoundDevice() {
    if (awaiting) lookAtOpening();
    std::string why;
    if (platform::audioDeviceLost(why))
        std::fprintf(messages, "vantrel: no more sound (%s); the game plays on silently\n", why.c_str());
}

// The device is opened again by the next startSound, should the program
// play on (the page's "play again").
void stopSound() {
    platform::closeAudio();
    tried = awaiting = saidLate = false;
}
