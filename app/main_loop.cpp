#include "app/main_loop.h"
#include "app/demo.h"
#include "app/key_bindings.h"
#include "app/keyboard.h"
#include "app/keys_screen.h"
#include "app/level_watch.h"
#include "app/sound_mark.h"
#include "app/title_screen.h"
#include "app/window.h"
#include "game/game_frame.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/sounds.h"
#include "gfx/animated_sprite.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/video.h"
#include <GL/gl.h>

namespace {

uint64_t framesPresented = 0;

// The exit status when the window or its context could not be made, at start
// or after F1: the box said which step failed, the status says it failed.
constexpr int windowNotMade = 1;

bool createGameWindow() { return createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreen); }

// F1: tear down, flip the mode, build again. The teardown still sees the
// mode being left, so it knows to restore the desktop.
bool switchMode() {
    clearActionKeys(Action::fullScreen);
    destroyWindow();
    fullScreen = !fullScreen;
    return createGameWindow();
}

// Clears the frame, applies the keys, and draws the title picture or one
// game frame. False would stop the program; it is always true.
bool drawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glLoadIdentity();
    processKeys();  // keys pressed since the last frame take effect in this one
    bool title = false;
    if (keysScreen.open)
        drawKeysScreen();
    else if (game.enteringName)
        drawNameEntry(game.nameEntry, game.scoreCounter->font);
    else if (game.gameStarted)
        gameFrame();
    else {
        drawTitle();  // its picture, or its table of high scores
        drawTitleKeys();
        title = true;
    }
    if (!title) titleLeft();
    drawSoundMark();
    return true;
}

// The queue is empty: draw (unless minimised), then present, unless this pass
// ends the program. A minimised window is still presented and its keys tested.
//
// The order of an idle pass is what recorded games rely on:
//   1. the level watcher: a watched level file that changed is loaded (and a
//      recording notes its text) before the frame that shows it;
//   2. the frame's clock reading, the one reading every clock of the game
//      sees this frame (a recording notes it, a replay hands out its own);
//   3. the frame: keys, then the title or the game;
//   4. presenting, ESC, F1: the frame is whole before it is shown (a game
//      saved while the page has its turn at the present ends after it).
// A replay replaces a level where its recording noted it, before the frame's
// reading: a level loaded after the reading, or a second reading in a pass,
// would move every recorded game.
LoopPass idlePass() {
    pollLevelFile();
    platform::takeFrameReading();
    if (framesPresented > 0) startSound();  // once, after the first frame is shown; it opens on a thread of its own
    bool leaveLoop = false;
    if (windowActive && !drawScene()) leaveLoop = true;
    // The keys screen takes ESC and F1 for its own while it is open.
    bool screenOpen = keysScreen.open;
    if (!leaveLoop) {
        if (actionKeyDown(Action::quit) && !screenOpen)
            leaveLoop = true;
        else {
            frameWhole();
            platform::swapBuffers(deviceContext);
            ++framesPresented;
        }
    }
    checkSoundDevice();
    // Tested even on the pass that is about to end the program.
    if (actionKeyDown(Action::fullScreen) && !screenOpen && !switchMode()) return LoopPass::windowLost;
    // A kept game asked for from the title's table is watched after the
    // frame that asked; the window closed meanwhile ends the program.
    if (!leaveLoop && !watchAskedGame(stdout, stderr)) leaveLoop = true;
    return leaveLoop ? LoopPass::leave : LoopPass::goOn;
}

}  // namespace

LoopPass mainLoopPass(platform::Message& last) {
    if (!platform::peekMessage(last)) return idlePass();
    if (last.kind == platform::MessageKind::quit) return LoopPass::leave;
    // No character messages are wanted (text input is off), so there is
    // nothing to translate before dispatching.
    platform::dispatchMessage(last);
    return LoopPass::goOn;
}

void askFullScreen() {
    platform::Answer answer = platform::messageBox("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                                                   platform::Buttons::yesNo, platform::Icon::question);
    if (answer == platform::Answer::no) fullScreen = false;
}

int gameMain() {
    askFullScreen();
    return runGame();
}

int runGame(int quitAfterFrames) {
    if (!createGameWindow()) return windowNotMade;
    uint64_t quitAt = quitAfterFrames > 0 ? framesPresented + uint64_t(quitAfterFrames) : 0;
    platform::Message last;
    for (;;) {
        LoopPass pass = mainLoopPass(last);
        if (pass == LoopPass::windowLost) return windowNotMade;
        if (pass == LoopPass::leave) break;
        if (quitAt && framesPresented >= quitAt) {
            // Handled like a real press of the quit key: the program ends after the next frame.
            platform::postMessage({platform::MessageKind::keyDown, keyBindings.firstKey(Action::quit), 0});
            quitAt = 0;
        }
    }
    destroyWindow();
    return int(last.wParam);
}
