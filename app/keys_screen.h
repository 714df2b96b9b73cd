// The keys screen, opened from the title with K: it asks for each action's
// key in turn, from LEFT to QUIT, and shows every action's keys and
// controller buttons beside it.
//   a key          becomes the action's only key, unless another action has
//                  it: that is shown and refused, and the question stays
//   a button       becomes the action's button, taken from any other action
//                  that had it
//   ENTER, Start   keep the action's keys and buttons, on to the next
//   BACKSPACE      the default keys and buttons back, every one
//   ESC, Back      leave, keeping what was set
// After QUIT it closes by itself. Every change is in force at once and
// written to the settings (by live play only). While it is open nothing else
// acts: the keys it takes, ESC included, do nothing more until let go.
#pragma once
#include <cstdint>
#include <string>

struct KeysScreen {
    bool open = false;
    int asking = 0;      // the action whose key is asked for
    std::string notice;  // what the last press did, when it was not simply taken
    bool refused = false;  // the notice says a key was refused
};

extern KeysScreen keysScreen;

// K on the title: the screen opens at LEFT, and controllers' buttons press
// keys of their own until it closes.
void openKeysScreen();
void closeKeysScreen();
// A fresh press while it is open: a key's code, or a button's
// (platform::key::firstButton and on).
void keysScreenPress(uint8_t code);

// Draws the screen over the whole picture.
void drawKeysScreen();
// On the title: the keys in force, on two lines at the bottom.
void drawTitleKeys();
// What those lines say, each piece an action and its keys.
std::string titleKeysText();
