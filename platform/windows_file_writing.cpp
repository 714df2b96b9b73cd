// Writing files safely on Windows: a temporary file made beside the target,
// FlushFileBuffers, MoveFileExW over the target; the lock beside a file with
// LockFileEx; and the names Windows would write as another file, or as none.
// Names are UTF-8 in the game and UTF-16 for Windows' own calls.
#include "platform/file_writing.h"
#include "platform/paths.h"
#include "platform/picture_names.h"
#include <windows.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <io.h>

namespace platform {

namespace {

// Windows' reason for a failure, told as the C library tells its own.
std::string reason(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return std::strerror(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return std::strerror(EACCES);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return std::strerror(ENOSPC);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return std::strerror(EEXIST);
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME: return std::strerror(EINVAL);
    default: return std::strerror(EIO);
    }
}

std::wstring wide(const std::string& name) { return systemPath(name).wstring(); }

// Makes the temporary file anew (one of that name, left by a game that was
// killed, is removed first); INVALID_HANDLE_VALUE when it cannot be made.
HANDLE makeTemporary(const std::string& target, std::string& temporary) {
    auto make = [](const std::string& name) {
        return CreateFileW(wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    if (!temporary.empty()) {
        if (!DeleteFileW(wide(temporary).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            return INVALID_HANDLE_VALUE;
        return make(temporary);
    }
    std::string stem = target + "." + std::to_string(GetCurrentProcessId());
    for (int n = 0; n < 100; ++n) {
        temporary = stem + (n ? "-" + std::to_string(n) : "") + ".tmp";
        HANDLE file = make(temporary);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool beginWriting(FileWriting& writing, const std::string& target, const std::string& temporary, std::string& why) {
    writing = FileWriting{target, temporary};
    HANDLE file = makeTemporary(target, writing.temporary);
    if (file == INVALID_HANDLE_VALUE) {
        why = reason(GetLastError());
        return false;
    }
    int fd = _open_osfhandle(intptr_t(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) CloseHandle(file);
    writing.file = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (!writing.file) {
        why = std::strerror(errno ? errno : EIO);
        if (fd >= 0) _close(fd);
        DeleteFileW(wide(writing.temporary).c_str());
        return false;
    }
    return true;
}

bool finishWriting(FileWriting& writing, std::string& why) {
    why.clear();
    if (std::ferror(writing.file))
        why = std::strerror(EIO);  // a write failed before; its errno is gone
    else if (std::fflush(writing.file) != 0)
        why = std::strerror(errno ? errno : EIO);
    else if (!FlushFileBuffers(HANDLE(_get_osfhandle(_fileno(writing.file)))))
        why = reason(GetLastError());
    if (std::fclose(writing.file) != 0 && why.empty()) why = std::strerror(errno ? errno : EIO);
    writing.file = nullptr;
    if (why.empty() && !MoveFileExW(wide(writing.temporary).c_str(), wide(writing.target).c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        why = reason(GetLastError());
    if (why.empty()) return true;
    if (!writing.keepOnFailure) DeleteFileW(wide(writing.temporary).c_str());
    return false;
}

void abandonWriting(FileWriting& writing) {
    if (!writing.file) return;
    std::fclose(writing.file);
    writing.file = nullptr;
    if (!writing.keepOnFailure) DeleteFileW(wide(writing.temporary).c_str());
}

std::string outputNameProblem(const std::string& name) { return windowsNameProblem(name); }

// The lock is the first byte of TARGET.lock (Windows locks bytes, even past
// a file's end), held through the handle: closing it, or the process ending,
// lets it go.
bool lockFile(FileLock& lock, const std::string& target, uint32_t waitMs, std::string& why) {
    unlockFile(lock);
    std::string name = target + ".lock";
    HANDLE file = CreateFileW(wide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = name + ": " + reason(GetLastError());
        return false;
    }
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        OVERLAPPED start = {};
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) break;
        DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            why = name + ": " + reason(error);
            CloseHandle(file);
            return false;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            why = name + " is held by another game (waited " + std::to_string(waitMs) + " ms)";
            CloseHandle(file);
            return false;
        }
        Sleep(5);
    }
    lock.handle = intptr_t(file);
    return true;
}

void unlockFile(FileLock& lock) {
    if (lock.handle == -1) return;
    HANDLE file = HANDLE(lock.handle);
    OVERLAPPED start = {};
    UnlockFileEx(file, 0, 1, 0, &start);
    CloseHandle(file);
    lock.handle = -1;
}

}  // namespace platform
