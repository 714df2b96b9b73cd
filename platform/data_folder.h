// Where the game keeps what a player's games leave: the high-score tables
// and the games that made them, in the folder "vantrel" of the system's
// place for programs' data.
//   Linux:    $XDG_DATA_HOME/vantrel, or ~/.local/share/vantrel when that is
//             not set (or not an absolute path)
//   the page: the same, under the page's own home, /home/web_user
//   Windows:  %APPDATA%\vantrel
#pragma once
#include <string>

namespace platform {

// The folder, named in UTF-8; empty when the system names no such place
// (no home, no APPDATA). It may not exist yet.
std::string dataFolder();

}  // namespace platform
