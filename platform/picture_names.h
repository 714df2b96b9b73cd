// The names pictures are read by, and where each may be read from. Level
// files come from anywhere (a demo carries its level's text with it), so a
// name must not reach outside the game's data: "data\..." names are read from
// the data directory, and bare file names (no separator) from the folder of
// the level file played with --level-file. Every other name is refused
// without a look at the disk. The rule reads the name alone, the same way on
// every system: '\' and '/' both separate.
#pragma once
#include <string>

namespace platform {

enum class PictureSource {
    dataDirectory,  // "data\..." (any letter case): from the data directory, as mapPath maps it
    levelFolder,    // a bare file name: from the level folder, when there is one
    refused,        // rooted or UNC, a drive or a ':' anywhere, a "." or ".." step, a step
                    // ending in a dot or a space, a device name, or outside data\ with a separator
};

// Where a picture of this name may come from. Doubled separators count as
// one, as they do when the name is opened.
PictureSource pictureSource(const std::string& name);

// The folder whose pictures a level may name by a bare file name: that of
// the level file played with --level-file. Empty (as it starts) for none:
// a level of the data, or one replayed from a demo, has no folder of its own.
void setLevelFolder(const std::string& directory);
const std::string& levelFolder();
// The folder of a file, by its system name: "." for a name without one.
std::string folderOf(const std::string& systemName);

// The system name of a picture, letter case not yet resolved; empty when
// the name is refused, or is a bare name with no level folder to read it from.
std::string picturePath(const std::string& name);
// The same with letter case resolved as findFile resolves it.
std::string findPicture(const std::string& name);

// Why Windows would write a file of this name as another file, or as none:
// its own name (the last step) is a device (NUL, COM1, AUX.demo...), ends in
// a dot or a space, which Windows drops ("game.demo." is game.demo), or holds
// a ':' past a drive (a hidden stream of another file). Empty when it is
// written as named. Read the same way on every system; the game asks it of
// the names it writes on Windows alone (see platform/file_writing.h).
std::string windowsNameProblem(const std::string& name);

}  // namespace platform
