#include "app/command_line.h"
#include "app/key_bindings.h"
#include <algorithm>
#include <cstring>
#include <getopt.h>

namespace {

// Long options without a short form get codes above any character.
enum : int {
    datadirOption = 256, checkLevelOption, quitAfterOption, versionOption, noVsyncOption,
    levelOption, levelFileOption, recordOption, playDemoOption, screenshotOption, muteOption, stretchOption,
    scoresOption,
};

const option longOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, versionOption},
    {"window", no_argument, nullptr, 'w'},
    {"fullscreen", no_argument, nullptr, 'f'},
    {"datadir", required_argument, nullptr, datadirOption},
    {"check-level", no_argument, nullptr, checkLevelOption},
    {"quit-after", required_argument, nullptr, quitAfterOption},
    {"no-vsync", no_argument, nullptr, noVsyncOption},
    {"level", required_argument, nullptr, levelOption},
    {"level-file", required_argument, nullptr, levelFileOption},
    {"record", required_argument, nullptr, recordOption},
    {"play-demo", required_argument, nullptr, playDemoOption},
    {"screenshot-at", required_argument, nullptr, screenshotOption},
    {"mute", no_argument, nullptr, muteOption},
    {"stretch", no_argument, nullptr, stretchOption},
    {"scores", no_argument, nullptr, scoresOption},
    {nullptr, 0, nullptr, 0},
};

// ':' first: a missing argument is told apart from an unknown option.
constexpr const char* shortOptions = ":hwf";

// A whole number from 0 to a billion, nothing else; -1 when it is not one.
long wholeNumber(const char* text) {
    long value = 0;
    if (!*text) return -1;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9' || value > 100000000) return -1;
        value = value * 10 + (*p - '0');
    }
    return value <= 1000000000 ? value : -1;
}

// A whole number from 1 to a billion; 0 when it is not one.
int frameCount(const char* text) { return int(std::max(wholeNumber(text), 0L)); }

// FRAME:FILE, FRAME a frame count; false when it is not that.
bool readScreenshot(const char* text, CommandLine::Screenshot& shot) {
    const char* colon = std::strchr(text, ':');
    if (!colon || !colon[1]) return false;
    shot.frame = frameCount(std::string(text, colon).c_str());
    shot.file = colon + 1;
    return shot.frame > 0;
}

// What cannot go together, or what needs another option; empty when the
// line is sound.
std::string conflict(const CommandLine& line) {
    if (line.startLevel >= 0 && !line.levelFile.empty()) return "--level and --level-file cannot be given together";
    if (!line.demoFile.empty() && (line.startLevel >= 0 || !line.levelFile.empty()))
        return "--play-demo starts where the demo was recorded: it takes no --level or --level-file";
    if (!line.demoFile.empty() && !line.recordFile.empty()) return "--record and --play-demo cannot be given together";
    if (!line.screenshots.empty() && line.demoFile.empty()) return "--screenshot-at wants --play-demo";
    return "";
}

// After getopt_long refused an option: optopt holds an unknown short option;
// otherwise (an unknown long option, or a value given to one that takes
// none) the refused word is the one just read.
std::string unknownOption(char** argv) {
    bool shortOption = optopt > 0 && optopt < 256 && !std::strchr(shortOptions, optopt);
    return shortOption ? std::string("-") + char(optopt) : std::string(argv[optind - 1]);
}

CommandLine usageError(std::string error) {
    CommandLine line;
    line.action = CommandLine::Action::usageError;
    line.error = std::move(error);
    return line;
}

// The keys and buttons in force, an action a line.
std::string keysHelp() {
    static const char* const does[actionCount] = {
        "walk left",        "walk right",           "start playing",
        "pause, and go on", "mirror top to bottom", "mirror left to right",
        "sound off and on", "window / full screen", "quit",
    };
    std::string text;
    for (int a = 0; a < actionCount; ++a) {
        std::string keys = keysText(keyBindings, Action(a), false, ", ");
        std::string buttons = buttonsText(buttonBindings, Action(a), false, ", ");
        std::string line = "  " + keys + std::string(keys.size() < 18 ? 18 - keys.size() : 1, ' ') + does[a];
        if (!buttons.empty()) line += " (controller: " + buttons + ")";
        text += line + "\n";
    }
    return text + "A controller's left stick walks, its Start starts and pauses play, Back held\n"
                  "for a second quits, and Back and Start together switch the display.\n";
}

}  // namespace

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine line;
    bool checkLevels = false, help = false, version = false, scores = false;
    optind = 0;  // glibc starts afresh, so the line can be read more than once in a process
    opterr = 0;  // the messages are ours
    int code;
    while ((code = getopt_long(argc, argv, shortOptions, longOptions, nullptr)) != -1) {
        switch (code) {
        case 'h': help = true; break;
        case versionOption: version = true; break;
        case scoresOption: scores = true; break;
        case 'w': line.screen = StartScreen::window; break;
        case 'f': line.screen = StartScreen::fullScreen; break;
        case datadirOption: line.dataDirectory = optarg; break;
        case checkLevelOption: checkLevels = true; break;
        case noVsyncOption: line.verticalSync = false; break;
        case levelOption:
            line.startLevel = int(wholeNumber(optarg));
            if (line.startLevel < 0) return usageError("--level wants a level number, not '" + std::string(optarg) + "'");
            break;
        case levelFileOption: line.levelFile = optarg; break;
        case recordOption: line.recordFile = optarg; break;
        case muteOption: line.mute = true; break;
        case stretchOption: line.stretch = true; break;
        case playDemoOption: line.demoFile = optarg; break;
        case screenshotOption: {
            CommandLine::Screenshot shot;
            if (!readScreenshot(optarg, shot))
                return usageError("--screenshot-at wants FRAME:FILE.png, not '" + std::string(optarg) + "'");
            line.screenshots.push_back(shot);
            break;
        }
        case quitAfterOption:
            line.quitAfterFrames = frameCount(optarg);
            if (line.quitAfterFrames == 0) return usageError("--quit-after wants a number of frames, not '" + std::string(optarg) + "'");
            break;
        case ':': return usageError(std::string("option '") + argv[optind - 1] + "' needs an argument");
        default: return usageError("unknown option '" + unknownOption(argv) + "'");
        }
    }
    for (int i = optind; i < argc; ++i) line.levelFiles.push_back(argv[i]);
    if (std::string why = conflict(line); !why.empty()) return usageError(why);
    if (help) line.action = CommandLine::Action::help;
    else if (version) line.action = CommandLine::Action::version;
    else if (scores) line.action = CommandLine::Action::scores;
    else if (checkLevels) {
        if (line.levelFiles.empty()) return usageError("--check-level wants the level files to check");
        line.action = CommandLine::Action::checkLevels;
    } else if (!line.levelFiles.empty())
        return usageError("unexpected argument '" + line.levelFiles.front() + "' (to check level files, give --check-level)");
    return line;
}

std::string helpText() {
    std::string text =
           "Usage: vantrel [OPTION]...\n"
           "       vantrel --play-demo FILE [--screenshot-at FRAME:FILE.png]...\n"
           "       vantrel --check-level [--datadir DIR] FILE...\n"
           "Play Vantrel Remake, or check level files.\n"
           "\n"
           "  -w, --window        play in a window; the full-screen question is not asked\n"
           "  -f, --fullscreen    play full screen; the question is not asked\n"
           "      --datadir DIR   read the game's pictures and levels from DIR: the\n"
           "                      directory that holds data/, or data/ itself\n"
           "      --check-level   check the level files named on the line, as the game\n"
           "                      would read them, and report each problem with its\n"
           "                      token and line; opens no window\n"
           "      --quit-after N  quit by itself after N frames, as ESC does (to try an\n"
           "                      installation without a keyboard)\n"
           "      --stretch       full screen: stretch the picture over the whole screen\n"
           "                      (without it, it keeps its 4:3 shape, black beside it)\n"
           "      --no-vsync      draw frames as fast as the machine can, without waiting\n"
           "                      for the display\n"
           "      --mute          start with the sound off (M switches it on and off)\n"
           "      --level N       start on level N of the data (data/levelN.lvl.txt); a\n"
           "                      game over returns to its title\n"
           "      --level-file FILE  play the level in FILE, and load it again whenever\n"
           "                      it changes on disk\n"
           "      --record FILE   record the game into FILE, to be replayed exactly\n"
           "      --play-demo FILE  replay a recorded game, then print how it ended\n"
           "      --screenshot-at FRAME:FILE.png  with --play-demo, write that frame\n"
           "                      to FILE.png (may be given more than once)\n"
           "      --scores        print the high-score tables, one line an entry with the\n"
           "                      demo of its game, and quit\n"
           "  -h, --help          show this help and quit\n"
           "      --version       show the version and quit\n"
           "\n"
           "Without --datadir the data is looked for in $VANTREL_DATADIR, in data/ in the\n"
           "current directory, in data/ beside the program, and where it was installed.\n"
           "\n"
           "Keys in force (K on the title changes them; the settings file keeps them, with\n"
           "the sound's state: see the manual page):\n";
    text += keysHelp();
    text += "\n"
           "Exit status: 27 after ESC, 0 after closing the window, 1 when the window or\n"
           "its rendering context could not be made (the message says which step\n"
           "failed). With --check-level: 0 when every file is clean, 1 when a problem\n"
           "was found. 2 for a command line that cannot be read.\n";
    return text;
}
