#include "platform/console.h"
#include "platform/message_box.h"
#include <windows.h>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace platform {

namespace {

// The file standard error goes to once the console is let go; removed by
// the system when its last handle closes, however the program ends.
HANDLE kept = INVALID_HANDLE_VALUE;

// Standard error's descriptor on a file of our own; false when there is none.
bool keepStandardError() {
    wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"vtr", 0, name)) return false;
    HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(name);
        return false;
    }
    HANDLE writer;
    int fd = -1;
    if (DuplicateHandle(GetCurrentProcess(), file, GetCurrentProcess(), &writer, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        fd = _open_osfhandle(intptr_t(writer), _O_WRONLY | _O_BINARY);
        if (fd < 0) CloseHandle(writer);
    }
    bool taken = fd >= 0 && _dup2(fd, _fileno(stderr)) == 0;
    if (fd >= 0) _close(fd);
    if (!taken) {
        CloseHandle(file);
        return false;
    }
    kept = file;
    return true;
}

}  // namespace

// The console is ours alone when no other process (a shell) is attached to
// it; output that goes to a file or a pipe is kept whatever the console.
void releaseConsoleOfOurOwn() {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE || out == nullptr || GetFileType(out) != FILE_TYPE_CHAR) return;
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) != 1) return;
    FreeConsole();
    keepStandardError();
}

void showKeptMessages() {
    if (kept == INVALID_HANDLE_VALUE) return;
    std::fflush(stderr);
    std::string text(16384, '\0');  // a screenful, and more
    DWORD got = 0;
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(kept, start, nullptr, FILE_BEGIN) ||
        !ReadFile(kept, text.data(), DWORD(text.size()), &got, nullptr))
        got = 0;
    text.resize(got);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (!text.empty()) messageBox(text.c_str(), "Vantrel Remake", Buttons::ok, Icon::exclamation);
}

}  // namespace platform
