// The program on Windows. Its file names and command line are UTF-8, as the
// manifest compiled into it asks of Windows (dist/windows/vantrel.exe.manifest),
// so the game's code reads them as on Linux. Started from Explorer, it has no
// console: what it said on standard error is shown in a box at the end.
#include "app/program.h"
#include "platform/console.h"

int main(int argc, char** argv) {
    platform::releaseConsoleOfOurOwn();
    int status = runProgram(argc, argv);
    platform::showKeptMessages();
    return status;
}
