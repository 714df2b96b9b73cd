// What writing a file safely does the same way on every system.
#include "platform/file_writing.h"
#include <cerrno>
#include <cstring>

namespace platform {

bool writeFileSafely(const std::string& target, const std::string& bytes, std::string& why) {
    FileWriting writing;
    if (!beginWriting(writing, target, "", why)) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), writing.file) != bytes.size()) {
        why = std::strerror(errno ? errno : EIO);
        abandonWriting(writing);
        return false;
    }
    return finishWriting(writing, why);
}

}  // namespace platform
