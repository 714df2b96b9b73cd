#include "platform/paths.h"

namespace platform {

namespace {
std::string root;
}

std::string mapPath(const char* gameName) {
    std::string name = gameName ? gameName : "";
    for (char& c : name)
        if (c == '\\') c = '/';
    if (root.empty() || (!name.empty() && name[0] == '/')) return name;
    return root + '/' + name;
}

void setDataRoot(const std::string& directory) {
    root = directory;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
}

const std::string& dataRoot() { return root; }

}  // namespace platform
