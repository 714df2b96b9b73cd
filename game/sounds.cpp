#include "game/sounds.h"
#include "platform/audio.h"
#include <string>
#include <vector>

namespace {

bool on = true;
bool wanted = false;
bool tried = false;  // the device has been opened, or tried, once
std::FILE* messages = stderr;

// A fixed array: the game makes no allocation in a steady frame.
Sound asked[soundsKept];
int askedCount = 0;

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
    if (askedCount < soundsKept) asked[askedCount++] = sound;
    if (on) platform::playEffect(int(sound));
}

void setSoundOn(bool value) {
    on = value;
    if (!on) platform::stopEffects();
}

bool soundIsOn() { return on; }
void switchSound() { setSoundOn(!on); }

void wantSound(std::FILE* out) {
    wanted = true;
    messages = out;
}

void startSound() {
    if (!wanted || tried) return;
    tried = true;
    std::string why, missing;
    if (!platform::openAudio(std::vector<std::string>(files, files + soundCount), why, missing)) {
        std::fprintf(messages, "vantrel: no sound (%s); the game plays on silently\n", why.c_str());
        return;
    }
    if (!missing.empty()) std::fprintf(messages, "vantrel: these effects are missing and stay silent: %s\n", missing.c_str());
}

void checkSoundDevice() {
    std::string why;
    if (platform::audioDeviceLost(why))
        std::fprintf(messages, "vantrel: no more sound (%s); the game plays on silently\n", why.c_str());
}

void stopSound() { platform::closeAudio(); }

int takeSoundsAsked(Sound* out) {
    int n = askedCount;
    for (int i = 0; i < n; ++i) out[i] = asked[i];
    askedCount = 0;
    return n;
}
