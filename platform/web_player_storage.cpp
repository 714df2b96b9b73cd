// The player's storage in the browser page. The program's files are in
// memory; the folders of the player's files, HOME/.local/share and
// HOME/.config (where platform/data_folder.h and platform/settings_folder.h
// put the game's own folders), are mounted from the browser's IndexedDB
// (emscripten's IDBFS): loaded whole at start, while the program waits
// (Asyncify), and written back whole after each change, the game playing on
// meanwhile.
//
// A page writes back its whole copy, so a page whose copy is out of date
// would undo what another wrote meanwhile (a score kept by a game in another
// tab, say). So only one page of the game at a time keeps the player's
// files: the one holding the browser's lock "vantrel player files" (where
// the browser has locks), from start until the page is left. Another page
// plays with the files as they were when it started, and keeps nothing.
#include "platform/player_storage.h"
#include <cstdlib>
#include <emscripten.h>

namespace platform {

namespace {

// Mounts and loads the folders under `homeName`, and on success sets
// Module.playerStorage, which writes them back. The code is made into one
// line: every statement ends in a semicolon, and strings are in double quotes.
EM_ASYNC_JS(void, loadPlayerFiles, (const char* homeName), {
    const home = UTF8ToString(homeName);
    const say = (text) => err("vantrel: " + text);
    const reason = (e) => String((e && e.message) || e);

    // A page being reloaded lets its lock go only a moment after the new
    // one has started: the lock is waited for, a little.
    let keeper = true;
    if (typeof navigator !== "undefined" && navigator.locks && typeof AbortController !== "undefined") {
        keeper = await new Promise((resolve) => {
            const giveUp = new AbortController();
            const timer = setTimeout(() => giveUp.abort(), 2000);
            navigator.locks.request("vantrel player files", { signal: giveUp.signal }, () => {
                clearTimeout(timer);
                resolve(true);
                return new Promise(() => {});
            }).catch(() => resolve(false));
        });
    }

    let why = "";
    try {
        for (const folder of [home + "/.local/share", home + "/.config"]) {
            FS.mkdirTree(folder);
            FS.mount(IDBFS, {}, folder);
        }
        why = await new Promise((resolve) => FS.syncfs(true, (e) => resolve(e ? reason(e) : "")));
    } catch (e) {
        why = reason(e);
    }
    if (why) {
        say("the browser's storage cannot be read (" + why + "): the scores and settings of this page are not kept");
        return;
    }
    if (!keeper) {
        say("another page of the game is open and keeps the scores and settings: this page's are not kept");
        return;
    }

    // One write at a time; changes made meanwhile go in one more, which
    // also mends a write that failed because a file went while it read.
    let writing = false;
    let again = false;
    let told = false;
    Module.playerStorage = function write() {
        if (writing) {
            again = true;
            return;
        }
        writing = true;
        again = false;
        FS.syncfs(false, (e) => {
            writing = false;
            if (again) {
                write();
            } else if (e && !told) {
                told = true;
                say("the browser did not keep the scores and settings (" + reason(e) + ")");
            }
        });
    };
});

EM_JS(void, writePlayerFiles, (), {
    if (Module.playerStorage) Module.playerStorage();
});

}  // namespace

void openPlayerStorage() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') loadPlayerFiles(home);
}

void playerFilesChanged() { writePlayerFiles(); }

}  // namespace platform
