// The program's options, read with glibc's getopt_long. Reading them starts
// nothing: runProgram (app/program.h) acts on the result.
#pragma once
#include <string>
#include <vector>

enum class StartScreen { ask, window, fullScreen };

struct CommandLine {
    enum class Action { play, help, version, checkLevels, scores, usageError };
    Action action = Action::play;
    StartScreen screen = StartScreen::ask;  // the last of --window and --fullscreen counts
    std::string dataDirectory;              // --datadir; empty when not given
    std::vector<std::string> levelFiles;    // the files for --check-level
    int quitAfterFrames = 0;                // --quit-after; 0 = never
    bool verticalSync = true;               // false with --no-vsync: frames are not paced
    bool mute = false;                      // --mute: the sound starts off
    bool stretch = false;                   // --stretch: full screen fills the screen, whatever its shape
    int startLevel = -1;                    // --level N; -1 when not given
    std::string levelFile;                  // --level-file; empty when not given
    std::string recordFile;                 // --record; empty when not given
    std::string demoFile;                   // --play-demo; empty when not given
    struct Screenshot {
        long frame;        // the demo frame to capture, counted from 1
        std::string file;  // the PNG to write
    };
    std::vector<Screenshot> screenshots;    // every --screenshot-at, in order
    std::string error;                      // what was wrong, for usageError
};

// Reads argv[1] onwards. argv's order may be changed (options first).
CommandLine parseCommandLine(int argc, char** argv);

// What --help prints, with the keys and buttons in force.
std::string helpText();
