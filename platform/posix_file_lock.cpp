// The lock beside a file on Linux: flock on TARGET.lock, which the system
// lets go when the descriptor is closed, or the process ends.
#include "platform/file_writing.h"
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

bool lockFile(FileLock& lock, const std::string& target, uint32_t waitMs, std::string& why) {
    unlockFile(lock);
    std::string name = target + ".lock";
    int fd = open(name.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = name + ": " + std::strerror(errno);
        return false;
    }
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        if (error != EWOULDBLOCK && error != EINTR) {
            why = name + ": " + std::strerror(error);
            close(fd);
            return false;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            why = name + " is held by another game (waited " + std::to_string(waitMs) + " ms)";
            close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    lock.handle = fd;
    return true;
}

void unlockFile(FileLock& lock) {
    if (lock.handle < 0) return;
    close(int(lock.handle));  // lets the lock go
    lock.handle = -1;
}

}  // namespace platform
