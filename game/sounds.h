// What the player hears: the game's logic names an effect where something
// worth hearing happens (the score, the lives, the level or the explosion
// change), and this plays it, unless sound is off. Playing never changes
// what happens, what is drawn, or when.
#pragma once
#include <cstdint>
#include <cstdio>

enum class Sound : int {
    start,     // play starts from the title
    item1,     // an item collected: up to 50 points
    item2,     // up to 150
    item3,     // up to 500
    item4,     // more
    climb,     // a climb begins
    exit,      // the exit reached: a life more, the next level
    hit,       // the player hit, with the explosion
    gameOver,  // the last life gone
    mirror,    // F2 or F3
};
constexpr int soundCount = 10;

// The effect of an item worth `points`: bigger prizes sound bigger.
Sound itemSound(int32_t points);
void playSound(Sound sound);

// Stops what plays now, whether the sound is on or off (a pause).
void quietSounds();
// Sound on or off (--mute starts off; M switches). Off stops what plays.
void setSoundOn(bool on);
bool soundIsOn();
void switchSound();

// Whether the program opens the audio at all (the game does; tests and
// tools that drive it do not unless they ask), and where it says what
// went wrong.
void wantSound(std::FILE* messages);
// Starts opening the audio device once, if wanted, on a thread of its own:
// after the first frame is shown, so that it never delays it. Until the
// device is taken over, effects asked for are not played.
void startSound();
// Once per frame, never waiting: takes the device over once it is open, says
// once on the message stream when there is no sound to be had or the sound
// system keeps the game waiting (the game then plays on silently), and when
// the device went away while playing.
void checkSoundDevice();
// Closes the sound; an opening that has not finished is left to itself.
void stopSound();
