#include "app/program.h"
#include "app/command_line.h"
#include "app/demo.h"
#include "app/level_watch.h"
#include "app/main_loop.h"
#include "app/score_keeping.h"
#include "app/output_files.h"
#include "app/settings.h"
#include "app/window.h"
#include "game/game_state.h"
#include "game/level_check.h"
#include "game/sounds.h"
#include "platform/data_search.h"
#include "platform/paths.h"
#include "platform/printable_text.h"
#include "platform/video.h"

#ifndef VANTREL_VERSION
#define VANTREL_VERSION "unknown"
#endif

namespace {

// --level N: the data must hold that level, or there is nothing to play.
bool chooseFirstLevel(int n, std::FILE* err) {
    std::string name = levelFileName(n);
    if (!platform::isRegularFile(platform::findFile(name.c_str()))) {
        std::fprintf(err, "vantrel: the data holds no level %d (%s)\n", n,
                     platform::printableText(platform::findFile(name.c_str())).c_str());
        return false;
    }
    setFirstLevel(n);
    return true;
}

int playOrReplay(const CommandLine& line, std::FILE* out, std::FILE* err) {
    if (!outputsAllowed(line, err)) return 1;
    if (!line.demoFile.empty()) return playDemo(line, out, err);
    if (line.startLevel >= 0 && !chooseFirstLevel(line.startLevel, err)) return 1;
    if (!line.levelFile.empty() && !watchLevelFile(line.levelFile, err)) return 1;
    if (!startRecording(line, err)) return 1;
    startKeepingScores(err);
    if (line.screen == StartScreen::ask)
        askFullScreen();
    else
        fullScreen = line.screen == StartScreen::fullScreen;
    platform::setVerticalSync(line.verticalSync);
    int status = runGame(line.quitAfterFrames);
    finishRecording(out);
    return status;
}

int play(const CommandLine& line, std::FILE* out, std::FILE* err) {
    wantSound(err);
    startSettings(line, err);  // the sound's state, pausing, the keys
    stretchFullScreen = line.stretch;
    int status = playOrReplay(line, out, err);
    stopSound();
    return status;
}

}  // namespace

int runProgram(int argc, char** argv, std::FILE* out, std::FILE* err) {
    CommandLine line = parseCommandLine(argc, argv);
    switch (line.action) {
    case CommandLine::Action::help:
        readSettingsQuietly();  // the keys it names are those in force
        std::fputs(helpText().c_str(), out);
        return 0;
    case CommandLine::Action::version: std::fprintf(out, "vantrel %s\n", VANTREL_VERSION); return 0;
    case CommandLine::Action::scores: return printScores(out, err);
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
    return checking ? reportLevelChecks(line.levelFiles, out) : play(line, out, err);
}
