// What the page's own controls do in the game: its on-screen buttons (held
// as keys are held), the question ESC asks in the page, and the tab being
// hidden. Everything reaches the game through its message queue, as keys
// and window messages, so that the recording of a game holds it as it holds
// the keyboard. The page reads the game's state back from here to show it.
#include "app/demo.h"
#include "app/key_bindings.h"
#include "app/keys_screen.h"
#include "game/game_state.h"
#include "game/sounds.h"
#include "platform/key_sources.h"
#include "platform/messages.h"
#include <emscripten.h>

namespace {

// The page's buttons are a device of their own beside the keyboard and the
// controllers (numbered from 1 up): each action's button an input, and the
// letters of a name one more.
constexpr uint32_t pageDevice = 0xFFFFFFFF;
constexpr uint8_t nameInput = 0xFF;

// ESC paused play to ask; "go on" resumes only such a pause.
bool pausedToAsk = false;

void pressAndRelease(uint8_t code, platform::KeySource source) {
    platform::pressKey(code, source);
    platform::releaseKey(code, source);
}

}  // namespace

// A button of the page down or up: the key bound to its action at the time it
// went down (the player may have changed the keys), let go as that key.
extern "C" EMSCRIPTEN_KEEPALIVE void vantrel_press_action(int action, int down) {
    if (action < 0 || action >= actionCount) return;
    platform::KeySource source{pageDevice, uint8_t(action)};
    platform::releaseSource(source);
    if (down) platform::pressKey(keyBindings.firstKey(Action(action)), source);
}

// A key of the name's row (a letter, ←, →, BACKSPACE, ENTER: virtual-key
// codes) down or up.
extern "C" EMSCRIPTEN_KEEPALIVE void vantrel_press_key(int code, int down) {
    if (code <= 0 || code > 255) return;
    platform::KeySource source{pageDevice, nameInput};
    if (down)
        platform::pressKey(uint8_t(code), source);
    else
        platform::releaseKey(uint8_t(code), source);
}

// The state the page shows, one bit each: play has begun (1), paused (2),
// the sound on (4), a name asked for (8), the keys screen open (16), a
// replay rather than a game played here (32).
extern "C" EMSCRIPTEN_KEEPALIVE int vantrel_state() {
    return (game.gameStarted ? 1 : 0) | (game.paused ? 2 : 0) | (soundIsOn() ? 4 : 0) | (game.enteringName ? 8 : 0) |
           (keysScreen.open ? 16 : 0) | (recordingGame() ? 0 : 32);
}

// The page saw a key with this code (the browser's codes are the game's for
// the keys that can be bound) go down. When it is the quit key, in play or on
// the title of a game played here, the page asks whether to end rather than
// handing it on: 1, and play is paused meanwhile. Elsewhere it is the game's
// own: the name screen's, the keys screen's, a replay's.
extern "C" EMSCRIPTEN_KEEPALIVE int vantrel_quit_asks(int code) {
    if (code <= 0 || code > 255 || !keyBindings.isKeyOf(Action::quit, uint8_t(code))) return 0;
    if (keysScreen.open || game.enteringName || !recordingGame()) return 0;
    pausedToAsk = game.gameStarted && !game.paused;
    if (pausedToAsk) platform::postMessage({platform::MessageKind::pause, 0, 0});
    return 1;
}

// The answer: end the game as the quit key ends it, or go on (resuming play
// if the question paused it and it is still paused). The quit key goes down
// and stays down, for the loop to see it; it is held by no source, so that
// nothing of it is left over for a game played after in the same page.
extern "C" EMSCRIPTEN_KEEPALIVE void vantrel_quit_answer(int end) {
    if (end)
        platform::postMessage({platform::MessageKind::keyDown, keyBindings.firstKey(Action::quit), 1});
    else if (pausedToAsk && game.paused)
        pressAndRelease(keyBindings.firstKey(Action::pause), {pageDevice, uint8_t(Action::quit)});
    pausedToAsk = false;
}

// The page's tab was hidden: the window has lost the focus, which pauses play
// as on the desktop.
extern "C" EMSCRIPTEN_KEEPALIVE void vantrel_page_hidden() {
    platform::postMessage({platform::MessageKind::activate, uintptr_t(platform::makeLong(0, 0)), 0});
}
