// The program in a browser page. The page builds the command line from its
// address (see dist/web/index.html), and reads the recording of the game
// being played to offer it as a download. The player's files are loaded
// from the browser's storage before anything reads them.
//
// The program runs again in the same page for "play again" (or "replay
// again"): it never exits, but waits for the page between runs, and each
// run starts from the state a program starts with, so that its recording
// replays as any other.
#include "app/demo.h"
#include "app/demo_header.h"
#include "app/keyboard.h"
#include "app/program.h"
#include "app/score_keeping.h"
#include "game/game_state.h"
#include "platform/key_sources.h"
#include "platform/messages.h"
#include "platform/page_turn.h"
#include "platform/player_storage.h"
#include <algorithm>
#include <cstdio>
#include <emscripten.h>

namespace {

// Where "save this game" finds the game so far: the page's own file, beside
// the recording, written whole each time.
constexpr const char* gameSoFarFile = "/home/web_user/game-so-far.demo";
// Where the page puts the files of a scores archive it has opened.
constexpr const char* loadedScoresFolder = "/home/web_user/loaded-scores";

// Tells the page the run has ended (Module.onProgramEnd, when `status` is
// not -1) and waits until it asks for another run (Module.runAgain: 1) or
// for something else the program does (Module.wakeProgram: 0).
EM_ASYNC_JS(int, awaitPage, (int status), {
    return await new Promise((resolve) => {
        const answer = (value) => {
            Module.runAgain = Module.wakeProgram = null;
            resolve(value);
        };
        Module.runAgain = () => answer(1);
        Module.wakeProgram = () => answer(0);
        if (status !== -1 && Module.onProgramEnd) Module.onProgramEnd(status);
    });
});

// Whether the page has put a scores archive's files in loadedScoresFolder
// since last asked (Module.scoresToLoad).
EM_JS(int, scoresToLoad, (), {
    const asked = Module.scoresToLoad ? 1 : 0;
    Module.scoresToLoad = false;
    return asked;
});

// The page hears how the loading went: the number of entries that joined the
// tables, or -1 (app/score_keeping.h), what was said being on the console.
EM_JS(void, scoresLoaded, (int entered), {
    if (Module.onScoresLoaded) Module.onScoresLoaded(entered);
});

// The page's "load scores": the tables and games it has put in
// loadedScoresFolder join the player's. Writing the player's files waits for
// the browser's storage, so this runs on the program's own stack (after a
// page turn or between runs), never called from the page's script.
void loadAskedScores() {
    if (scoresToLoad()) scoresLoaded(mergeScores(loadedScoresFolder, stdout, stderr));
}

// What a run leaves behind that a program starting afresh would not have:
// keys held (and which source holds each), messages not yet taken, the
// game's objects and its clock.
void forgetRun() {
    std::fill(KeyTable, KeyTable + 256, 0);
    platform::forgetHoldings();
    platform::Message left;
    while (platform::takeWaitingMessage(left)) {
    }
    forgetGame();
}

}  // namespace

// "save this game" during play: the demo of the game so far, ended as it
// stands now (the last frame shown), so that it replays whole to this
// state. The end line it will replay to goes to the console. 1 when written.
// Called by the page's script while the program waits for its turn: it
// writes only to the page's own memory, which never waits.
extern "C" EMSCRIPTEN_KEEPALIVE int vantrel_save_game_so_far() {
    SavedDemo saved = demoSoFar();
    const std::string& demo = saved.demo;
    if (demo.empty()) return 0;
    std::FILE* file = std::fopen(gameSoFarFile, "wb");
    if (!file) return 0;
    bool written = std::fwrite(demo.data(), 1, demo.size(), file) == demo.size();
    written = std::fclose(file) == 0 && written;
    if (written) std::printf("%s\n", saved.line.c_str());
    return written ? 1 : 0;
}

// main never returns: a return from there, after the loop has given the
// page control back (Asyncify), would not be taken as the program's end.
int main(int argc, char** argv) {
    platform::openPlayerStorage();
    recordingFileIsThePages = true;
    platform::afterPageTurn = loadAskedScores;
    for (;;) {
        int status = runProgram(argc, argv);
        std::fflush(stdout);
        std::fflush(stderr);
        while (!awaitPage(status)) {
            loadAskedScores();
            status = -1;
        }
        forgetRun();
    }
}
