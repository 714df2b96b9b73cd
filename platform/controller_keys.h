// What a game controller's inputs press: the keys of the actions the player
// gave them (set from the settings), or, while the keys screen asks for
// buttons, keys of their own that name the buttons.
#pragma once
#include <cstdint>

namespace platform {

// The buttons a player may give to actions. Start, Back and the left stick
// keep roles of their own: Start starts and pauses play, Back held quits,
// Back and Start together switch the display, the stick walks.
enum class Button : uint8_t { a, b, x, y, leftShoulder, rightShoulder, dpadLeft, dpadRight, dpadUp, dpadDown };
constexpr int buttonCount = 10;

struct ControllerKeys {
    uint8_t buttons[buttonCount];  // the key each button presses; 0 for none
    uint8_t stickLeft, stickRight; // the left stick pushed left and right
    uint8_t backHeld;              // Back held for a second
    uint8_t backAndStart;          // Back and Start together
};

// Today's keys for every controller from now on. A key held meanwhile is let
// go as it was pressed.
void setControllerKeys(const ControllerKeys& keys);

// While asking, a button presses key::firstButton + its number, Start and
// Back key::startButton and key::backButton, and the stick presses nothing:
// the keys screen takes them for the buttons they are.
void askForButtons(bool asking);

}  // namespace platform
