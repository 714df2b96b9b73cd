// Where the game keeps a player's settings: the folder "vantrel" in the
// system's place for programs' settings.
//   Linux:    $XDG_CONFIG_HOME/vantrel, or ~/.config/vantrel when that is
//             not set (or not an absolute path)
//   the page: the same, under the page's own home, /home/web_user
//   Windows:  %APPDATA%\vantrel
#pragma once
#include <string>

namespace platform {

// The folder, named in UTF-8; empty when the system names no such place
// (no home, no APPDATA). It may not exist yet.
std::string settingsFolder();

}  // namespace platform
