#include "platform/console.h"
#include <windows.h>

namespace platform {

// The console is ours alone when no other process (a shell) is attached to
// it; output that goes to a file or a pipe is kept whatever the console.
void releaseConsoleOfOurOwn() {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE || out == nullptr || GetFileType(out) != FILE_TYPE_CHAR) return;
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
}

}  // namespace platform
