#include "platform/picture_names.h"
#include "platform/paths.h"
#include <filesystem>
#include <vector>

namespace platform {

namespace {

std::string folder;  // of the level file played with --level-file; empty for none

bool isSeparator(char c) { return c == '\\' || c == '/'; }

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

std::string upperAscii(std::string text) {
    for (char& c : text) c = upperAscii(c);
    return text;
}

// The steps of a name, doubled separators counting as one.
std::vector<std::string> stepsOf(const std::string& name) {
    std::vector<std::string> steps;
    std::string step;
    for (char c : name) {
        if (!isSeparator(c)) {
            step += c;
            continue;
        }
        if (!step.empty()) steps.push_back(step);
        step.clear();
    }
    if (!step.empty()) steps.push_back(step);
    return steps;
}

// Names Windows opens as devices in any folder, whatever the extension
// (CON.tga is the console on many of its versions).
bool isDeviceName(const std::string& step) {
    std::string base = upperAscii(step.substr(0, step.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (base == device) return true;
    if (base.rfind("COM", 0) != 0 && base.rfind("LPT", 0) != 0) return false;
    std::string number = base.substr(3);  // a digit, or a superscript 1, 2 or 3 in UTF-8
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

// A step that names a file or folder where it stands: not "." or "..", and
// none that Windows would read as another name (it drops a step's trailing
// dots and spaces, so "..." and ".. " would climb as ".." does).
bool isPlainStep(const std::string& step) {
    return step.back() != '.' && step.back() != ' ' && !isDeviceName(step);
}

}  // namespace

PictureSource pictureSource(const std::string& name) {
    // Rooted ("\x", "/x") and UNC ("\\server\share") names, drives ("C:\x",
    // "C:x") and Windows' streams ("x.tga:more") are never the data's.
    if (name.empty() || isSeparator(name[0]) || name.find(':') != std::string::npos) return PictureSource::refused;
    std::vector<std::string> steps = stepsOf(name);
    for (const std::string& step : steps)
        if (!isPlainStep(step)) return PictureSource::refused;
    if (steps.size() == 1 && name.find_first_of("\\/") == std::string::npos) return PictureSource::levelFolder;
    if (steps.size() >= 2 && upperAscii(steps[0]) == "DATA") return PictureSource::dataDirectory;
    return PictureSource::refused;
}

void setLevelFolder(const std::string& directory) { folder = directory; }

const std::string& levelFolder() { return folder; }

std::string folderOf(const std::string& systemName) {
    std::filesystem::path parent = systemPath(systemName).parent_path();
    return parent.empty() ? "." : nameOf(parent);
}

std::string picturePath(const std::string& name) {
    switch (pictureSource(name)) {
    case PictureSource::dataDirectory:
        // The data directory the game found, however the level writes "data":
        // where letter case counts, a "DATA" beside data/ is not the data.
        return mapPath(("data" + name.substr(name.find_first_of("\\/"))).c_str());
    case PictureSource::levelFolder:
        if (folder.empty()) return {};
        return nameOf((systemPath(folder) / systemPath(name)).make_preferred());
    case PictureSource::refused: break;
    }
    return {};
}

std::string windowsNameProblem(const std::string& name) {
    std::vector<std::string> steps = stepsOf(name);
    if (steps.empty()) return {};
    std::string own = steps.back();
    if (steps.size() == 1 && own.size() >= 2 && own[1] == ':') own = own.substr(2);  // "C:game.demo"
    if (own.empty() || own == "." || own == "..") return {};
    if (isDeviceName(own)) return "Windows keeps that name for a device";
    if (own.back() == '.' || own.back() == ' ')
        return "Windows drops a name's last dots and spaces, and would write another file";
    if (own.find(':') != std::string::npos) return "Windows would write it into a hidden stream of another file";
    return {};
}

std::string findPicture(const std::string& name) {
    std::string path = picturePath(name);
    return path.empty() ? path : resolveLetterCase(path);
}

}  // namespace platform
