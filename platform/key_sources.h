// Which sources hold each virtual key: the keyboard, and each input of each
// game controller (its d-pad, its stick, its buttons). One key can be held by
// several at once, a stick and the arrow key for instance; the game sees a
// single key that goes down with the first of them and up with the last.
#pragma once
#include "platform/messages.h"
#include <cstdint>

namespace platform {

struct KeySource {
    uint32_t device;  // keyboardDevice, or a controller's own number (never keyboardDevice)
    uint8_t input;    // which of the device's inputs; the keyboard has only 0
    bool operator==(const KeySource&) const = default;
};

constexpr uint32_t keyboardDevice = 0;
constexpr KeySource keyboard{keyboardDevice, 0};

// Records that the source holds the key and posts a key-down of the given
// kind. The message carries the was-down bit (30) when any source, this one
// included, already held the key.
void pressKey(uint8_t key, KeySource source, MessageKind kind, intptr_t lParam);
inline void pressKey(uint8_t key, KeySource source) { pressKey(key, source, MessageKind::keyDown, 1); }

// Forgets that the source holds the key and posts the key-up when no source
// holds it any more. A controller's release of a key it does not hold posts
// nothing. A keyboard release is posted even when the keyboard was not seen
// pressing the key (it went down before the window was there): a lost
// release would leave the key down for good.
void releaseKey(uint8_t key, KeySource source, MessageKind kind, intptr_t lParam);
void releaseKey(uint8_t key, KeySource source);

// Releases every key any input of the device holds, as releaseKey does.
void releaseDevice(uint32_t device);

bool holds(uint8_t key, KeySource source);
// Whether the source holds any key, and letting go of whatever it holds: an
// input lets go of the key it pressed, even when it would press another now.
bool holdsAny(KeySource source);
void releaseSource(KeySource source);

// Forgets every holding without posting anything: for a new game in the same
// program, which starts with every key up whatever its sources still hold
// (a finger left on a button of the page as the last game ended). A source
// that lets go of such a key later posts nothing, and one that presses it
// again presses it afresh.
void forgetHoldings();

}  // namespace platform
