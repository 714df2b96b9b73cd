// Where the game looks for its data/ directory, and taking the first place
// that holds it.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// A directory that may hold the game's data.
struct DataPlace {
    std::string directory;  // empty: the current directory
    bool isDataItself;      // the directory is data/ itself, not the one holding it
    std::string why;        // how it came to be tried, for messages
};

// A place holds the data when this file is in its data/.
constexpr const char* dataMarker = "level0.lvl.txt";

// The places in the order they are tried: the directory given on the
// command line, then the one in VANTREL_DATADIR (each first as the directory
// holding data/, then as data/ itself), the current directory, the program's
// directory, the installed data relative to the program, and the installed
// data where the build put it. Empty arguments add nothing; a place reached
// twice is tried once.
std::vector<DataPlace> dataPlaces(const std::string& option, const std::string& environment,
                                  const std::string& programDirectory, const std::string& installedFromProgram,
                                  const std::string& installed);

// The system name of the marker file of a place.
std::string markerFile(const DataPlace& place);
bool holdsData(const DataPlace& place);
// Makes the place the one mapPath and findFile read from.
void useDataPlace(const DataPlace& place);

// Tries this program's places in order and takes the first that holds the
// data. Says on `err` when a directory the user named holds none, and, when
// no place does, which were tried; then false, with the current directory
// as the data root.
bool findGameData(const std::string& option, std::FILE* err);

// The directory of the running program's file, ending in a separator; empty
// when the system does not tell.
std::string programDirectory();

}  // namespace platform
