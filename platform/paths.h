// File names as the game writes them ("data\level0.lvl.txt": backslash as the
// separator, relative to the directory that holds data/) mapped to names the
// operating system opens.
#pragma once
#include <string>

namespace platform {

// Turns every backslash into the system's separator and puts the name under
// the data root.
std::string mapPath(const char* gameName);

// The directory that holds data/; empty means the current directory.
void setDataRoot(const std::string& directory);
const std::string& dataRoot();

}  // namespace platform
