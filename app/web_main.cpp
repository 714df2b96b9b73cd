// The program in a browser page. The page builds the command line from its
// address (see dist/web/index.html), and reads the recording of the game
// being played to offer it as a download. The player's files are loaded
// from the browser's storage before anything reads them.
#include "app/demo.h"
#include "app/program.h"
#include "platform/player_storage.h"
#include <emscripten.h>

// Called by the page's "save this game" link before it reads the recording,
// which is in game.demo.part until the game ends (see app/demo_record.cpp).
extern "C" EMSCRIPTEN_KEEPALIVE void vantrel_flush_demo() { flushRecording(); }

// main returns after the loop has given the page control back (Asyncify), and
// a return from there is not taken as the program's end: it ends itself, so
// that the page hears of it and learns the status.
int main(int argc, char** argv) {
    platform::openPlayerStorage();
    recordingFileIsThePages = true;
    emscripten_force_exit(runProgram(argc, argv));
}
