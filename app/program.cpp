#include "app/program.h"
#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/window.h"
#include "game/level_check.h"
#include "platform/data_search.h"
#include "platform/video.h"

#ifndef VANTREL_VERSION
#define VANTREL_VERSION "unknown"
#endif

namespace {

int play(const CommandLine& line) {
    if (line.screen == StartScreen::ask)
        askFullScreen();
    else
        fullScreen = line.screen == StartScreen::fullScreen;
    platform::setVerticalSync(line.verticalSync);
    return runGame(line.quitAfterFrames);
}

}  // namespace

int runProgram(int argc, char** argv, std::FILE* out, std::FILE* err) {
    CommandLine line = parseCommandLine(argc, argv);
    switch (line.action) {
    case CommandLine::Action::help: std::fputs(helpText(), out); return 0;
    case CommandLine::Action::version: std::fprintf(out, "vantrel %s\n", VANTREL_VERSION); return 0;
    case CommandLine::Action::usageError:
        std::fprintf(err, "vantrel: %s\nTry 'vantrel --help' for more information.\n", line.error.c_str());
        return 2;
    default: break;
    }
    bool checking = line.action == CommandLine::Action::checkLevels;
    if (!platform::findGameData(line.dataDirectory, err))
        std::fputs(checking ? "vantrel: pictures named in the levels will be reported missing (see --datadir)\n"
                            : "vantrel: starting without pictures or levels (see --datadir in vantrel --help)\n",
                   err);
    return checking ? reportLevelChecks(line.levelFiles, out) : play(line);
}
