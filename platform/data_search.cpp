#include "platform/data_search.h"
#include "platform/paths.h"
#include "platform/printable_text.h"
#include <SDL.h>
#include <cstdlib>
#include <filesystem>

// Set by the build from the install directories; these defaults are those of
// an install under /usr/local.
#ifndef VANTREL_DATA_FROM_PROGRAM
#define VANTREL_DATA_FROM_PROGRAM "../share/vantrel"
#endif
#ifndef VANTREL_INSTALLED_DATA
#define VANTREL_INSTALLED_DATA "/usr/local/share/vantrel"
#endif

namespace platform {

namespace {

// Without "." and ".." steps or a separator at the end (SDL gives the
// program's directory with one), in the system's own separators.
std::string normal(const std::string& directory) {
    std::filesystem::path path = systemPath(directory).lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return nameOf(path);
}

void add(std::vector<DataPlace>& places, const DataPlace& place) {
    for (const DataPlace& known : places)
        if (known.directory == place.directory && known.isDataItself == place.isDataItself) return;
    places.push_back(place);
}

// A directory the user named: the one holding data/, or data/ itself.
void addNamed(std::vector<DataPlace>& places, const std::string& directory, const std::string& why) {
    if (directory.empty()) return;
    add(places, {normal(directory), false, why});
    add(places, {normal(directory), true, why + ", as data/ itself"});
}

bool isNamed(const DataPlace& place) {
    return place.why.rfind("--datadir", 0) == 0 || place.why.rfind("VANTREL_DATADIR", 0) == 0;
}

}  // namespace

std::vector<DataPlace> dataPlaces(const std::string& option, const std::string& environment,
                                  const std::string& programDirectory, const std::string& installedFromProgram,
                                  const std::string& installed) {
    std::vector<DataPlace> places;
    addNamed(places, option, "--datadir");
    addNamed(places, environment, "VANTREL_DATADIR");
    add(places, {"", false, "the current directory"});
    if (!programDirectory.empty()) {
        add(places, {normal(programDirectory), false, "beside the program"});
        if (!installedFromProgram.empty())
            add(places, {normal(programDirectory + "/" + installedFromProgram), false, "installed, relative to the program"});
    }
    if (!installed.empty()) add(places, {normal(installed), false, "installed"});
    return places;
}

std::string markerFile(const DataPlace& place) {
    std::filesystem::path data = systemPath(place.directory);
    if (!place.isDataItself) data /= "data";
    return nameOf((data / dataMarker).make_preferred());
}

bool holdsData(const DataPlace& place) { return isRegularFile(resolveLetterCase(markerFile(place))); }

void useDataPlace(const DataPlace& place) {
    if (place.isDataItself)
        setDataDirectory(resolveLetterCase(place.directory));
    else
        setDataRoot(place.directory);
}

bool findGameData(const std::string& option, std::FILE* err) {
    const char* environment = std::getenv("VANTREL_DATADIR");
    std::vector<DataPlace> places = dataPlaces(option, environment ? environment : "", programDirectory(),
                                               VANTREL_DATA_FROM_PROGRAM, VANTREL_INSTALLED_DATA);
    for (const DataPlace& place : places) {
        if (holdsData(place)) {
            useDataPlace(place);
            return true;
        }
        // Both readings of a directory the user named have failed: worth a
        // word even when a later place serves.
        if (isNamed(place) && place.isDataItself)
            std::fprintf(err, "vantrel: %s names %s, which holds no data/%s and is not data/ itself\n",
                         place.why.substr(0, place.why.find(',')).c_str(), printableText(place.directory).c_str(),
                         dataMarker);
    }
    std::fprintf(err, "vantrel: found no game data; none of these exists:\n");
    for (const DataPlace& place : places)
        std::fprintf(err, "  %s  (%s)\n", printableText(markerFile(place)).c_str(), place.why.c_str());
    setDataRoot("");
    return false;
}

std::string programDirectory() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    std::string directory = base;
    SDL_free(base);
    return directory;
}

}  // namespace platform
