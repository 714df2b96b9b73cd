#include "platform/paths.h"
#include <filesystem>
#include <vector>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string root;     // holds data/
std::string dataDir;  // data/ itself, when it was given by its own name

std::string withoutTrailingSlashes(std::string directory) {
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool startsWithDataDirectory(const std::string& name) {
    return name.size() > 5 && sameIgnoringCase(name.substr(0, 5), "data/");
}

bool exists(const std::string& path) {
    std::error_code error;
    return fs::exists(systemPath(path), error);
}

// The one entry of `directory` named `component` but for letter case; empty
// when there is none or more than one.
std::string uniqueCaseMatch(const std::string& directory, const std::string& component) {
    std::error_code error;
    fs::directory_iterator entries(systemPath(directory.empty() ? "." : directory), error), end;
    std::string found;
    for (; !error && entries != end; entries.increment(error)) {
        std::string name = nameOf(entries->path().filename());
        if (!sameIgnoringCase(name, component)) continue;
        if (!found.empty()) return {};
        found = name;
    }
    return found;
}

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Names are put together with '/', which every system takes; where the
// system's own separator differs (Windows), the name it is shown as takes
// that one throughout.
std::string withSystemSeparators(std::string name) {
    constexpr char separator = char(fs::path::preferred_separator);
    if (separator != '/')
        for (char& c : name)
            if (c == '/') c = separator;
    return name;
}

}  // namespace

// The conversions throw where they fail.
fs::path systemPath(const std::string& name) {
    try {
        return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
    } catch (const std::exception&) {
        return {};
    }
}

std::string nameOf(const fs::path& path) {
    try {
        std::u8string name = path.u8string();
        return std::string(reinterpret_cast<const char*>(name.data()), name.size());
    } catch (const std::exception&) {
        return {};
    }
}

std::string mapPath(const char* gameName) {
    std::string name = gameName ? gameName : "";
    for (char& c : name)
        if (c == '\\') c = '/';
    if (!name.empty() && name[0] == '/') return withSystemSeparators(name);
    if (!dataDir.empty() && startsWithDataDirectory(name)) return withSystemSeparators(dataDir + name.substr(4));
    if (root.empty()) return withSystemSeparators(name);
    return withSystemSeparators(root + '/' + name);
}

std::string resolveLetterCase(const std::string& systemName) {
    if (systemName.empty() || exists(systemName)) return systemName;
    std::string resolved = systemName[0] == '/' ? "/" : "";
    for (const std::string& part : components(systemName)) {
        std::string next = resolved + part;
        if (part != "." && part != ".." && !exists(next)) {
            std::string match = uniqueCaseMatch(resolved, part);
            if (match.empty()) return systemName;
            next = resolved + match;
        }
        resolved = next + '/';
    }
    resolved.pop_back();
    return resolved;
}

bool isRegularFile(const std::string& systemName) {
    std::error_code error;
    return fs::is_regular_file(systemPath(systemName), error);
}

std::string findFile(const char* gameName) { return resolveLetterCase(mapPath(gameName)); }

void setDataRoot(const std::string& directory) {
    root = withoutTrailingSlashes(directory);
    dataDir.clear();
}

const std::string& dataRoot() { return root; }

void setDataDirectory(const std::string& directory) {
    dataDir = withoutTrailingSlashes(directory);
    root = dataDir + "/..";
}

std::string dataDirectory() {
    if (!dataDir.empty()) return withSystemSeparators(dataDir);
    return resolveLetterCase(withSystemSeparators(root.empty() ? "data" : root + "/data"));
}

}  // namespace platform
