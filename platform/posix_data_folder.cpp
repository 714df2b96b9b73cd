#include "platform/data_folder.h"
#include <cstdlib>

namespace platform {

std::string dataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return std::string(dataHome) + "/vantrel";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/vantrel";
    return "";
}

}  // namespace platform
