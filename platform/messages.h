// Window messages: what the window system tells the game, in the shape the
// game's window procedure expects (a kind plus two parameters whose meaning
// depends on the kind), and the one queue they travel through.
#pragma once
#include <cstdint>
#include <functional>

namespace platform {

enum class MessageKind : uint32_t {
    none,
    size,        // lParam: client width in the low word, height in the high word (pixels)
    activate,    // wParam: low word 0 inactive / 1 active, high word nonzero while minimised
    close,       // the user asked to close the window
    keyDown,     // wParam: virtual-key code; lParam bit 30 set when the key was already down (repeat)
    keyUp,       // wParam: virtual-key code
    sysKeyDown,  // Alt combinations and F10; wParam as keyDown
    sysKeyUp,
    sysCommand,  // wParam: system command (see below)
    quit,        // wParam: exit code; never dispatched, it ends the message loop
    pause,       // the game is to pause (posted when the window loses the focus)
};

struct Message {
    MessageKind kind = MessageKind::none;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// The high and low 16-bit halves of a parameter.
constexpr uint16_t lowWord(uintptr_t v) { return uint16_t(v & 0xFFFF); }
constexpr uint16_t highWord(uintptr_t v) { return uint16_t((v >> 16) & 0xFFFF); }
constexpr intptr_t makeLong(uint16_t low, uint16_t high) { return intptr_t(uint32_t(low) | (uint32_t(high) << 16)); }

// The bits of a key message's lParam, after the repeat count in bits 0-15.
namespace keyBit {
constexpr intptr_t altDown = intptr_t(1) << 29;  // Alt was held (sysKeyDown, sysKeyUp)
constexpr intptr_t wasDown = intptr_t(1) << 30;  // the key was down before: a repeat, or any keyUp
constexpr intptr_t released = intptr_t(1) << 31; // set on keyUp and sysKeyUp
}  // namespace keyBit

// Virtual-key codes: the keyboard's numbering used as index into the key table.
namespace key {
constexpr uint8_t backspace = 8, tab = 9, enter = 13, shift = 16, control = 17, alt = 18;
constexpr uint8_t pause = 19, capsLock = 20, escape = 27, space = 32;
constexpr uint8_t pageUp = 33, pageDown = 34, end = 35, home = 36;
constexpr uint8_t left = 37, up = 38, right = 39, down = 40;
constexpr uint8_t printScreen = 44, insert = 45, del = 46;
constexpr uint8_t f1 = 112, f2 = 113, f3 = 114, f10 = 121;
constexpr uint8_t k = 'K', m = 'M', p = 'P';  // letters are their capitals' codes
constexpr uint8_t play = 0xFA;       // a controller's Start: starts play from the title, pauses it after
// While the keys screen asks for buttons, a controller's buttons press keys
// of their own: button b (platform::Button) firstButton + b, Start and Back
// theirs. No keyboard key has these codes.
constexpr uint8_t firstButton = 0xE0, startButton = 0xEE, backButton = 0xEF;
}  // namespace key

// System commands carried by MessageKind::sysCommand.
namespace command {
constexpr uintptr_t close = 0xF060;
constexpr uintptr_t screenSave = 0xF140;    // the screen saver is about to start
constexpr uintptr_t monitorPower = 0xF170;  // the monitor is about to power down
}  // namespace command

// The procedure that handles the window's messages; its result goes back to
// whoever sent the message.
using WindowProcedure = intptr_t (*)(const Message&);

// Takes the oldest pending message, if any. When the queue is empty, whatever
// the window system has reported since the last look is queued first.
bool peekMessage(Message& out);
// Appends a message to the queue.
void postMessage(const Message& message);
// Posts a quit message carrying the exit code.
void postQuitMessage(int exitCode);
// A recording watches what peekMessage hands out: every message it takes.
// Empty for none.
using MessageWatcher = std::function<void(const Message& taken)>;
void setMessageWatcher(MessageWatcher watcher);
// A replay hands out the messages itself: while a source is set, peekMessage
// returns what the source gives and leaves the queue alone. Empty for none.
using MessageSource = std::function<bool(Message& out)>;
void setMessageSource(MessageSource source);
// For a source: the oldest message the program has posted (or the platform
// has queued) without asking the window system; and turning what the window
// system has reported since the last look into queued messages.
bool takeWaitingMessage(Message& out);
void pumpWindowMessages();

// Hands a message to the procedure registered with the window class and
// returns its result; 0 when no class is registered.
intptr_t dispatchMessage(const Message& message);
// What happens to a message the window procedure does not handle itself.
intptr_t defaultWindowProcedure(const Message& message);

}  // namespace platform
