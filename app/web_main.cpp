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
#include "game/game_state.h"
#include "platform/messages.h"
#include "platform/player_storage.h"
#include <algorithm>
#include <cstdio>
#include <emscripten.h>

namespace {

// Where "save this game" finds the game so far: the page's own file, beside
// the recording, written whole each time.
constexpr const char* gameSoFarFile = "/home/web_user/game-so-far.demo";

// Tells the page the run has ended (Module.onProgramEnd) and waits until it
// asks for another (Module.runAgain).
EM_ASYNC_JS(void, awaitAnotherRun, (int status), {
    await new Promise((resolve) => {
        Module.runAgain = () => {
            Module.runAgain = null;
            resolve();
        };
        if (Module.onProgramEnd) Module.onProgramEnd(status);
    });
});

// What a run leaves behind that a program starting afresh would not have:
// keys held, messages not yet taken, the game's objects and its clock.
void forgetRun() {
    std::fill(KeyTable, KeyTable + 256, 0);
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
    std::string demo = demoSoFar();
    if (demo.empty()) return 0;
    std::FILE* file = std::fopen(gameSoFarFile, "wb");
    if (!file) return 0;
    bool written = std::fwrite(demo.data(), 1, demo.size(), file) == demo.size();
    written = std::fclose(file) == 0 && written;
    if (written) std::printf("%s\n", endLine(recordedFrames()).c_str());
    return written ? 1 : 0;
}

// main never returns: a return from there, after the loop has given the
// page control back (Asyncify), would not be taken as the program's end.
int main(int argc, char** argv) {
    platform::openPlayerStorage();
    recordingFileIsThePages = true;
    for (;;) {
        int status = runProgram(argc, argv);
        std::fflush(stdout);
        std::fflush(stderr);
        awaitAnotherRun(status);
        forgetRun();
    }
}
