#include "app/keyboard.h"
#include "app/key_bindings.h"
#include "app/keys_screen.h"
#include "app/settings.h"
#include "app/title_screen.h"
#include "app/window.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/rules.h"
#include "game/sounds.h"

uint8_t KeyTable[256] = {};
bool windowActive = true;
bool pauseOnFocusLoss = true;

namespace {

// M switches the sound once per press: its key stays down in the table while
// held, and this says a fresh press has not been acted on yet. (F2 and F3,
// cleared when acted on, act again on every repeat of a held key.)
bool soundKeyPressed = false;
// The same for pausing and resuming.
bool pauseKeyPressed = false;
// Keys pressed while the keys screen was open: they went to the screen, and
// do nothing else until they are let go (ESC, which closes the screen, held
// on would quit the game).
uint8_t heldForScreen[256] = {};

// A controller's Start pauses whatever the keys.
bool isPauseKey(uintptr_t code) {
    return keyBindings.isKeyOf(Action::pause, uint8_t(code)) || code == platform::key::play;
}

using platform::highWord;
using platform::lowWord;
using platform::MessageKind;

// A fresh press acts at once; repeats of a key that is still down change
// nothing, except for the one-shot keys, whose entries their users clear.
// While the keys screen is open, presses are its own.
void keyPressed(uintptr_t code) {
    if (code >= 256 || KeyTable[code] || heldForScreen[code]) return;
    if (keysScreen.open) {
        heldForScreen[code] = 1;
        keysScreenPress(uint8_t(code));
        return;
    }
    KeyTable[code] = 1;
    if (game.enteringName) {
        // Every key is the name's; the one that confirms it is let go here,
        // so that it does not go on to start the next game from the title.
        nameKeyPressed(uint8_t(code));
        if (!game.enteringName) KeyTable[code] = 0;
        return;
    }
    // K on the title, by the rules that have the screen.
    if (code == platform::key::k && !game.gameStarted && playedRules >= 2) {
        openKeysScreen();
        return;
    }
    if (titleKeyPressed(uint8_t(code))) return;  // a game of the table to watch
    if (keyBindings.isKeyOf(Action::sound, uint8_t(code))) soundKeyPressed = true;
    if (isPauseKey(code)) pauseKeyPressed = true;
    processKeys();
}

}  // namespace

intptr_t windowProcedure(const platform::Message& message) {
    switch (message.kind) {
    case MessageKind::size:
        resizeView(lowWord(uintptr_t(message.lParam)), highWord(uintptr_t(message.lParam)));
        return 0;
    case MessageKind::activate:
        windowActive = highWord(message.wParam) == 0;
        if (lowWord(message.wParam) == 0 && pauseOnFocusLoss && game.gameStarted && !game.paused)
            platform::postMessage({MessageKind::pause, 0, 0});
        return 0;
    case MessageKind::pause:
        pauseGame();
        return 0;
    case MessageKind::close:
        platform::postQuitMessage(0);  // the window itself is released by the main loop
        return 0;
    case MessageKind::keyDown:
        keyPressed(message.wParam);
        return 0;
    case MessageKind::keyUp:
        if (message.wParam < 256) KeyTable[message.wParam] = heldForScreen[message.wParam] = 0;
        return 0;
    case MessageKind::sysCommand:
        // Swallowed so that neither the screen saver nor monitor power-saving
        // starts while the game runs.
        if (message.wParam == platform::command::screenSave || message.wParam == platform::command::monitorPower)
            return 0;
        return platform::defaultWindowProcedure(message);
    default:
        return platform::defaultWindowProcedure(message);
    }
}

bool actionKeyDown(Action a) {
    for (uint8_t code : keyBindings.keys[size_t(a)])
        if (code && KeyTable[code]) return true;
    return false;
}

void clearActionKeys(Action a) {
    for (uint8_t code : keyBindings.keys[size_t(a)]) KeyTable[code] = 0;
}

void processKeys() {
    if (game.enteringName || keysScreen.open) return;  // the name, or the keys screen, takes every key
    // First, so that the press that starts play does not also pause it.
    if (pauseKeyPressed) {
        pauseKeyPressed = false;
        if (game.paused)
            resumeGame();
        else
            pauseGame();
    }
    if (soundKeyPressed) {  // sound off and on, on the title too; the settings keep it
        switchSound();
        soundKeyPressed = false;
        settings.sound = soundIsOn();
        keepSettings();
    }
    if (game.paused) {
        // Mirrors pressed meanwhile are not kept for later.
        clearActionKeys(Action::mirrorUpDown);
        clearActionKeys(Action::mirrorLeftRight);
        return;
    }
    if (game.gameStarted && game.player) {
        if (actionKeyDown(Action::left)) game.player->velocity = -walkSpeed;
        if (actionKeyDown(Action::right)) game.player->velocity = walkSpeed;  // right wins
    }
    if (actionKeyDown(Action::mirrorUpDown)) {
        game.flipVertical = !game.flipVertical;
        clearActionKeys(Action::mirrorUpDown);
        playSound(Sound::mirror);
    }
    if (actionKeyDown(Action::mirrorLeftRight)) {
        game.flipHorizontal = !game.flipHorizontal;
        clearActionKeys(Action::mirrorLeftRight);
        playSound(Sound::mirror);
    }
    // Last, so the call that starts play does not yet apply the arrows.
    bool startKey = actionKeyDown(Action::start) || KeyTable[platform::key::play];
    if (startKey && !game.gameStarted) {
        startPlay();
        playSound(Sound::start);
    }
}
