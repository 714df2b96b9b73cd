// What is compared to see that a file has changed since it was last looked
// at. Editors that save by writing a new file and renaming it over the old
// one give a new file identity, whatever the time says.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

struct FileStamp {
    bool exists = false;
    uint64_t volume = 0;    // the device or volume that holds the file
    uint64_t identity = 0;  // the file's number on that volume
    uint64_t sizeBytes = 0;
    int64_t modifiedNs = 0;  // last written, in the system's own epoch
    bool operator==(const FileStamp&) const = default;
};

// The file's stamp as it stands now; exists is false when it cannot be read.
FileStamp stampOf(const std::string& systemName);

}  // namespace platform
