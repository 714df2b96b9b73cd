#include "app/keyboard.h"
#include "app/window.h"
#include "game/game_state.h"
#include "game/player.h"
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

bool isPauseKey(uintptr_t code) {
    return code == platform::key::p || code == platform::key::pause || code == platform::key::play;
}

using platform::highWord;
using platform::lowWord;
using platform::MessageKind;

// A fresh press acts at once; repeats of a key that is still down change
// nothing, except for the one-shot keys, whose entries their users clear.
void keyPressed(uintptr_t code) {
    if (code >= 256 || KeyTable[code]) return;
    KeyTable[code] = 1;
    if (game.enteringName) {
        // Every key is the name's; the one that confirms it is let go here,
        // so that it does not go on to start the next game from the title.
        nameKeyPressed(uint8_t(code));
        if (!game.enteringName) KeyTable[code] = 0;
        return;
    }
    if (code == platform::key::m) soundKeyPressed = true;
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
        if (message.wParam < 256) KeyTable[message.wParam] = 0;
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

void processKeys() {
    if (game.enteringName) return;  // the name takes every key
    // First, so that the press that starts play does not also pause it.
    if (pauseKeyPressed) {
        pauseKeyPressed = false;
        if (game.paused)
            resumeGame();
        else
            pauseGame();
    }
    if (soundKeyPressed) {  // sound off and on, on the title too
        switchSound();
        soundKeyPressed = false;
    }
    if (game.paused) {
        // Mirrors pressed meanwhile are not kept for later.
        KeyTable[platform::key::f2] = KeyTable[platform::key::f3] = 0;
        return;
    }
    if (game.gameStarted && game.player) {
        if (KeyTable[platform::key::left]) game.player->velocity = -walkSpeed;
        if (KeyTable[platform::key::right]) game.player->velocity = walkSpeed;  // right wins
    }
    if (KeyTable[platform::key::f2]) {
        game.flipVertical = !game.flipVertical;
        KeyTable[platform::key::f2] = 0;
        playSound(Sound::mirror);
    }
    if (KeyTable[platform::key::f3]) {
        game.flipHorizontal = !game.flipHorizontal;
        KeyTable[platform::key::f3] = 0;
        playSound(Sound::mirror);
    }
    // Last, so the call that starts play does not yet apply the arrows.
    bool startKey = KeyTable[platform::key::space] || KeyTable[platform::key::play];
    if (startKey && !game.gameStarted) {
        startPlay();
        playSound(Sound::start);
    }
}
