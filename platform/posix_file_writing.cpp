// Writing files safely on Linux and in the browser page: a temporary file
// made beside the target, fsync, rename; in the page, the browser's storage
// then takes the change.
#include "platform/file_writing.h"
#include "platform/picture_names.h"
#include "platform/player_storage.h"
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

std::string reason(int error) { return std::strerror(error ? error : EIO); }

// Opens the temporary file, made anew: a file of that name (left by a game
// that was killed) is removed first, so that a link there is replaced
// rather than followed. -1 with errno set when it cannot be made.
int makeTemporary(const std::string& target, std::string& temporary) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    if (!temporary.empty()) {
        if (unlink(temporary.c_str()) != 0 && errno != ENOENT) return -1;
        return open(temporary.c_str(), flags, 0666);
    }
    std::string stem = target + "." + std::to_string(getpid());
    for (int n = 0; n < 100; ++n) {
        temporary = stem + (n ? "-" + std::to_string(n) : "") + ".tmp";
        int fd = open(temporary.c_str(), flags, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The rename is on the disk once the folder that holds it is. Some file
// systems cannot sync a folder: the file itself is whole on the disk anyway.
void syncFolderOf(const std::string& name) {
    int fd = open(folderOf(name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool beginWriting(FileWriting& writing, const std::string& target, const std::string& temporary, std::string& why) {
    writing = FileWriting{target, temporary};
    int fd = makeTemporary(target, writing.temporary);
    if (fd < 0) {
        why = reason(errno);
        return false;
    }
    writing.file = fdopen(fd, "wb");
    if (!writing.file) {
        why = reason(errno);
        close(fd);
        unlink(writing.temporary.c_str());
        return false;
    }
    return true;
}

bool finishWriting(FileWriting& writing, std::string& why) {
    int error = 0;
    if (std::ferror(writing.file))
        error = EIO;  // a write failed before; its errno is gone
    else if (std::fflush(writing.file) != 0 || fsync(fileno(writing.file)) != 0)
        error = errno;
    if (std::fclose(writing.file) != 0 && !error) error = errno;
    writing.file = nullptr;
    if (!error && std::rename(writing.temporary.c_str(), writing.target.c_str()) != 0) error = errno;
    if (error) {
        why = reason(error);
        if (!writing.keepOnFailure) unlink(writing.temporary.c_str());
        return false;
    }
    syncFolderOf(writing.target);
    playerFilesChanged();
    return true;
}

void abandonWriting(FileWriting& writing) {
    if (!writing.file) return;
    std::fclose(writing.file);
    writing.file = nullptr;
    if (!writing.keepOnFailure) unlink(writing.temporary.c_str());
}

// Every name is the file it says here.
std::string outputNameProblem(const std::string&) { return {}; }

}  // namespace platform
