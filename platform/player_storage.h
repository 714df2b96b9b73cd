// Where the player's files (the high-score tables and their games, the
// settings: platform/data_folder.h, platform/settings_folder.h) outlast the
// program. On Linux and Windows they are on the disk, and these do nothing.
// In the browser page the program's files live in memory and are gone with
// the page: there the player's folders are kept in the browser's storage
// for the page's site (IndexedDB), loaded from it at start and written back
// after every change.
#pragma once

namespace platform {

// Before the game reads any of the player's files: in the page, loads what
// the browser keeps of them, and waits until they are in place. Where the
// browser keeps nothing (no storage, or it cannot be read), or another page
// of the game is open and keeps them already, it says so once on standard
// error; the game then plays with what it loaded, or with no files, and
// writes nothing back, so that it never replaces what the browser holds.
void openPlayerStorage();

// After the game has changed a player's file (one written whole, renamed or
// removed): in the page, the change goes to the browser's storage in the
// background, the game playing on meanwhile; changes made while one is on
// its way follow it, in order.
void playerFilesChanged();

}  // namespace platform
