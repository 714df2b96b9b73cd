// Sound effects through a mixer: each effect has a channel of its own, so
// that effects sound together and a new play cuts only an earlier play of
// the same effect.
#pragma once
#include <string>
#include <vector>

namespace platform {

// Opens the audio device and loads the effects (game names such as
// "data\sfx-hit.wav"; effect i is files[i]). False, with the reason, when
// there is no device to play on; an effect whose file cannot be loaded stays
// silent and is named in `missing`.
bool openAudio(const std::vector<std::string>& files, std::string& why, std::string& missing);
bool audioIsOpen();
// Starts effect i from its beginning (cutting an earlier play of it); nothing
// when the audio is closed or i is not an effect.
void playEffect(int i);
// Silences every effect at once.
void stopEffects();
void closeAudio();
// True once after the device the effects play on has gone away (the audio
// is closed by then), with SDL's reason.
bool audioDeviceLost(std::string& why);

}  // namespace platform
