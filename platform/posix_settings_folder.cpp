#include "platform/settings_folder.h"
#include <cstdlib>

namespace platform {

std::string settingsFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/') return std::string(configHome) + "/vantrel";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.config/vantrel";
    return "";
}

}  // namespace platform
