// The player's settings, kept between runs in a plain-text file that a
// person can read and edit: settings.ini in the game's settings folder
// (platform/settings_folder.h).
//
//   [game]
//   sound = on                      on or off
//   pause_on_focus_loss = on
//   [keys]
//   left = Left                     one or two keys an action, by name
//   pause = P Pause
//   ...
//   [controller]
//   start = A                       the buttons of each action, or none
//   ...
//
// Read as Debian's INI reader (inih) reads (platform/ini_reader.h). A
// setting left out has its default.
// Entries this release does not know are kept, as written, when the game
// writes the file again; comments are not.
#pragma once
#include "app/command_line.h"
#include "app/key_bindings.h"
#include <cstdio>
#include <string>
#include <vector>

struct Settings {
    bool sound = true;
    bool pauseOnFocusLoss = true;
    KeyBindings keys = defaultKeys;
    ButtonBindings buttons = defaultButtons;
    struct Entry {
        std::string section, name, value;
    };
    std::vector<Entry> others;  // unknown entries, in the order read
};

// The file's text, and back. Reading is strict about what it knows: false,
// with the line and why in `problem`, for a line that is not a setting, a
// value it cannot take, a setting given twice, or keys that cannot be played
// with (see keyBindingsProblem).
std::string settingsText(const Settings& s);
bool readSettingsText(const std::string& text, Settings& s, std::string& problem);

// The settings as the file holds them (what --mute or a replay does to the
// game is not written back).
extern Settings settings;

// The file's name; empty when the system names no settings folder.
std::string settingsFile();

// Reads the file and puts it in force: the sound (off all the same with
// --mute), pausing on focus loss, the keys and the buttons. A file that
// cannot be read is renamed settings.ini.bad-DATE beside it, and said so once
// on `err`; the game goes on with the defaults and never writes over it. Only
// live play keeps changes: a replay (--play-demo) writes nothing.
void startSettings(const CommandLine& line, std::FILE* err);
// For --help: the keys in force, saying nothing and moving nothing.
void readSettingsQuietly();

// Writes `settings`, changed by M or the keys screen, when this run keeps
// them. Where nothing can be written the game plays on, and says so once.
void keepSettings();
// The keys screen has changed the bindings in force: the controllers press
// the new keys, and the settings keep them.
void keyBindingsChanged();
