// File names as the game writes them ("data\level0.lvl.txt": backslash as the
// separator, relative to the directory that holds data/) mapped to names the
// operating system opens.
#pragma once
#include <filesystem>
#include <string>

namespace platform {

// Turns every backslash into the system's separator and puts the name under
// the data root (or, for names in data\, under the data directory when one
// was set with setDataDirectory).
std::string mapPath(const char* gameName);

// mapPath, then, when no file has exactly that name, a unique match that
// differs only in letter case, component by component: names written on a
// system that ignores case still find their files. When there is no such
// match (or more than one), the mapped name as it was.
std::string findFile(const char* gameName);
// The same resolution for a name that is already the system's.
std::string resolveLetterCase(const std::string& systemName);

// Names are UTF-8 throughout the game, whatever the system's own encoding
// (Windows keeps its names in UTF-16): the file system's path for a name, and
// the name of a path. Empty where there is no such conversion (on Windows,
// bytes that are not UTF-8).
std::filesystem::path systemPath(const std::string& name);
std::string nameOf(const std::filesystem::path& path);

// Whether a regular file has this system name (false on any error).
bool isRegularFile(const std::string& systemName);

// The directory that holds data/; empty means the current directory.
void setDataRoot(const std::string& directory);
const std::string& dataRoot();
// The game's data directory itself, whatever its own name: data\x is looked
// for as <directory>/x, other names beside it. setDataRoot undoes this.
void setDataDirectory(const std::string& directory);
// The system name of the data directory in force, whichever way it was set.
std::string dataDirectory();

}  // namespace platform
