#include "platform/paths.h"
#include "platform/settings_folder.h"
#include <cstdlib>

namespace platform {

std::string settingsFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || !*appData) return "";
    std::string folder = nameOf(std::filesystem::path(appData));
    return folder.empty() ? "" : folder + "\\vantrel";
}

}  // namespace platform
