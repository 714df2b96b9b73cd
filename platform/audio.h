// Sound effects through a mixer: each effect has a channel of its own, so
// that effects sound together and a new play cuts only an earlier play of
// the same effect.
//
// Opening the device can take a sound server's whole answer time (forever,
// when it has hung), so it happens on a thread of its own; the game's thread
// takes the device over once it is open and never waits for it.
#pragma once
#include <string>
#include <vector>

namespace platform {

// Starts opening the audio device and loading the effects (game names such
// as "data\sfx-hit.wav"; effect i is files[i]) on a thread of its own, once.
// False, with the reason, when the opening cannot even start.
bool startOpeningAudio(const std::vector<std::string>& files, std::string& why);

enum class AudioOpening {
    none,      // nothing is being opened
    underway,  // the opener has not finished
    open,      // finished: the device is the game's from now on
    failed,    // finished: there is no device to play on
};
// Looks, without waiting, whether the opening has finished. When it has, it
// is taken over and said once: `open` (an effect whose file cannot be loaded
// stays silent and is named in `missing`), or `failed` with the reason.
AudioOpening takeOverAudio(std::string& why, std::string& missing);
bool audioIsOpen();
// Starts effect i from its beginning (cutting an earlier play of it); nothing
// when the audio is not open (or not yet taken over) or i is not an effect.
void playEffect(int i);
// Every effect the game asks for, heard or not (sound off, no device), in
// the order asked: nothing takes note in the game (no_observers.cpp); the
// tests' backend keeps them (tests/support/sounds_asked.cpp).
void effectAsked(int i);
// Silences every effect at once.
void stopEffects();
// Closes the device the game took over, and an opening that has finished.
// An opening still underway is left to itself: nothing waits for it, and
// nothing is torn down under it.
void closeAudio();
// True once after the device the effects play on has gone away (the audio
// is closed by then), with SDL's reason.
bool audioDeviceLost(std::string& why);

}  // namespace platform
