#include "app/settings.h"
#include "app/keyboard.h"
#include "game/sounds.h"
#include "platform/file_writing.h"
#include "platform/ini_reader.h"
#include "platform/paths.h"
#include "platform/player_storage.h"
#include "platform/printable_text.h"
#include "platform/settings_folder.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

Settings settings;

namespace {

// A settings file is a few hundred bytes: anything past this is not one.
constexpr size_t maxSettingsSize = 64 * 1024;

bool keeping = false;          // this run writes the settings when they change
bool toldCannotKeep = false;   // that they cannot be written has been said
std::FILE* messages = stderr;  // where that is said

std::string lower(const char* text) {
    std::string s = text;
    for (char& c : s) c = char(std::tolower(uint8_t(c)));
    return s;
}

std::string shown(const std::string& name) { return platform::printableText(name); }

// ---- The text ----

// What the reader found, handed to each entry.
struct Reading {
    Settings s;
    std::string problem;  // the first value refused (inih gives its line)
    std::vector<std::string> seen;  // "section.name" of every setting read, to refuse one given twice
};

bool readOnOff(const std::string& value, bool& out) {
    std::string v = lower(value.c_str());
    if (v == "on" || v == "yes" || v == "true" || v == "1") out = true;
    else if (v == "off" || v == "no" || v == "false" || v == "0") out = false;
    else return false;
    return true;
}

int actionNamed(const std::string& name) {
    for (int a = 0; a < actionCount; ++a)
        if (name == actionName(Action(a))) return a;
    return -1;
}

// The words of a value, split at spaces.
std::vector<std::string> words(const char* value) {
    std::vector<std::string> found;
    std::string word;
    for (const char* p = value;; ++p) {
        if (*p && !std::isspace(uint8_t(*p))) {
            word += *p;
            continue;
        }
        if (!word.empty()) found.push_back(word);
        word.clear();
        if (!*p) return found;
    }
}

bool readKeys(Settings& s, int action, const char* value, std::string& problem) {
    auto& keys = s.keys.keys[size_t(action)];
    keys = {};
    std::vector<std::string> names = words(value);
    if (names.size() > keys.size()) {
        problem = "an action takes at most " + std::to_string(keys.size()) + " keys";
        return false;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        int code = keyNamed(names[i]);
        if (code < 0) {
            problem = "'" + shown(names[i]) + "' is not the name of a key";
            return false;
        }
        keys[i] = uint8_t(code);
    }
    return true;  // an action left without a key is refused with the whole set
}

bool readButtons(Settings& s, int action, const char* value, std::string& problem) {
    auto& actions = s.buttons.actions;
    for (uint8_t& a : actions)
        if (a == uint8_t(action)) a = noAction;
    for (const std::string& name : words(value)) {
        if (lower(name.c_str()) == "none") continue;
        int b = buttonNamed(name);
        if (b < 0) {
            problem = "'" + shown(name) + "' is not the name of a button";
            return false;
        }
        if (actions[size_t(b)] != noAction && actions[size_t(b)] != uint8_t(action)) {
            problem = std::string(buttonName(b)) + " is given to two actions";
            return false;
        }
        actions[size_t(b)] = uint8_t(action);
    }
    return true;
}

// True when the entry is taken.
bool takeEntry(void* user, const char* sectionText, const char* nameText, const char* value) {
    Reading& r = *static_cast<Reading*>(user);
    std::string section = lower(sectionText), name = lower(nameText), problem;
    bool known = false, ok = true;
    if (section == "game" && (name == "sound" || name == "pause_on_focus_loss")) {
        known = true;
        ok = readOnOff(value, name == "sound" ? r.s.sound : r.s.pauseOnFocusLoss);
        if (!ok) problem = "'" + shown(value) + "' is neither on nor off";
    } else if ((section == "keys" || section == "controller") && actionNamed(name) >= 0) {
        known = true;
        ok = section == "keys" ? readKeys(r.s, actionNamed(name), value, problem)
                               : readButtons(r.s, actionNamed(name), value, problem);
    }
    if (!known) {
        r.s.others.push_back({sectionText, nameText, value});
        return true;
    }
    if (ok && std::find(r.seen.begin(), r.seen.end(), section + "." + name) != r.seen.end()) {
        problem = name + " is set twice in [" + section + "]";
        ok = false;
    }
    r.seen.push_back(section + "." + name);
    if (!ok && r.problem.empty()) r.problem = problem;  // the reader says the line of the first
    return ok;
}

void writeOthers(std::string& text, const Settings& s, const std::string& section) {
    for (const Settings::Entry& e : s.others)
        if (lower(e.section.c_str()) == section) text += e.name + " = " + e.value + "\n";
}

}  // namespace

std::string settingsText(const Settings& s) {
    std::string text =
        "# Vantrel Remake's settings. The game writes this file when M or the keys\n"
        "# screen (K on the title) change something; it may be edited while the game\n"
        "# is not running. Settings it does not know are kept; comments are not.\n"
        "\n[game]\n"
        "sound = " + std::string(s.sound ? "on" : "off") + "\n"
        "pause_on_focus_loss = " + std::string(s.pauseOnFocusLoss ? "on" : "off") + "\n";
    writeOthers(text, s, "game");
    text += "\n[keys]\n"
            "# One or two keys an action: A to Z, 0 to 9, F1 to F24 (not F10), Left, Right,\n"
            "# Up, Down, Space, Enter, Escape, Backspace, Tab, Pause, Shift, Control, ...\n"
            "# (the README lists them all). No key does two actions; K opens the keys screen.\n";
    for (int a = 0; a < actionCount; ++a)
        text += std::string(actionName(Action(a))) + " = " + keysText(s.keys, Action(a), false, " ") + "\n";
    writeOthers(text, s, "keys");
    text += "\n[controller]\n"
            "# The buttons of each action, or none: A B X Y LeftShoulder RightShoulder\n"
            "# DpadLeft DpadRight DpadUp DpadDown. Start starts and pauses play, Back held\n"
            "# quits, Back and Start switch the display, the left stick walks.\n";
    for (int a = 0; a < actionCount; ++a) {
        std::string buttons = buttonsText(s.buttons, Action(a), false, " ");
        text += std::string(actionName(Action(a))) + " = " + (buttons.empty() ? "none" : buttons) + "\n";
    }
    writeOthers(text, s, "controller");
    std::vector<std::string> sections;  // the other sections, in the order read
    for (const Settings::Entry& e : s.others) {
        std::string section = lower(e.section.c_str());
        if (section == "game" || section == "keys" || section == "controller") continue;
        if (std::find(sections.begin(), sections.end(), section) == sections.end()) sections.push_back(section);
    }
    for (const std::string& section : sections) {
        bool named = false;
        for (const Settings::Entry& e : s.others) {
            if (lower(e.section.c_str()) != section) continue;
            if (!named) text += e.section.empty() ? "\n" : "\n[" + e.section + "]\n";
            named = true;
            text += e.name + " = " + e.value + "\n";
        }
    }
    return text;
}

bool readSettingsText(const std::string& text, Settings& s, std::string& problem) {
    if (text.find('\0') != std::string::npos) {
        problem = "it is not text";
        return false;
    }
    Reading r;
    int line = platform::readIni(text, takeEntry, &r);
    if (line == 0) {
        problem = keyBindingsProblem(r.s.keys);
        if (!problem.empty()) return false;
        s = r.s;
        return true;
    }
    problem = "line " + std::to_string(line) + ": " +
              (r.problem.empty() ? "not a setting (name = value) or a [section]" : r.problem);
    return false;
}

std::string settingsFile() {
    std::string folder = platform::settingsFolder();
    return folder.empty() ? "" : platform::nameOf(platform::systemPath(folder) / "settings.ini");
}

namespace {

enum class FileRead { missing, read, unreadable };

FileRead readFile(const std::string& path, std::string& text, std::string& why) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) return FileRead::missing;
        why = std::strerror(errno);
        return FileRead::unreadable;
    }
    text.clear();
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, file)) {
        text.append(buffer, got);
        if (text.size() > maxSettingsSize) break;
    }
    bool failed = std::ferror(file);
    if (failed) why = std::strerror(errno);  // a directory opens, but cannot be read
    std::fclose(file);
    if (failed) return FileRead::unreadable;
    if (text.size() > maxSettingsSize) {
        why = "it is larger than any settings file";
        return FileRead::unreadable;
    }
    return FileRead::read;
}

// A name beside the file that nothing has: settings.ini.bad-DATE, with a
// number after it when that is taken.
std::string asideName(const std::string& path) {
    char date[32];
    std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y%m%d-%H%M%S", std::localtime(&now));
    std::string name = path + ".bad-" + date;
    std::error_code error;
    for (int n = 2; fs::exists(platform::systemPath(name), error) && n < 100; ++n)
        name = path + ".bad-" + date + "-" + std::to_string(n);
    return name;
}

// The file, when it can be read; otherwise, when allowed, it is renamed
// aside and said so: false either way, and the defaults are in force.
bool readPlayersFile(Settings& read, bool moveAside) {
    std::string path = settingsFile();
    if (path.empty()) return false;
    std::string text, why;
    FileRead result = readFile(path, text, why);
    if (result == FileRead::missing) return false;
    if (result == FileRead::read && readSettingsText(text, read, why)) return true;
    if (!moveAside) return false;
    std::string aside = asideName(path);
    std::error_code error;
    fs::rename(platform::systemPath(path), platform::systemPath(aside), error);
    if (!error) {
        platform::playerFilesChanged();  // the page's storage keeps it aside too
        std::fprintf(messages,
                     "vantrel: the settings file %s cannot be read (%s); it is kept as %s, and the game starts with "
                     "the default settings\n",
                     shown(path).c_str(), why.c_str(), shown(fs::path(aside).filename().string()).c_str());
    } else {
        // Never written over: this run keeps nothing.
        std::fprintf(messages,
                     "vantrel: the settings file %s cannot be read (%s) nor put aside (%s); the game plays with the "
                     "default settings and leaves the file as it is\n",
                     shown(path).c_str(), why.c_str(), error.message().c_str());
        keeping = false;
    }
    return false;
}

void putInForce(const Settings& s, bool mute) {
    setSoundOn(s.sound && !mute);
    pauseOnFocusLoss = s.pauseOnFocusLoss;
    keyBindings = s.keys;
    buttonBindings = s.buttons;
    platform::setControllerKeys(controllerKeysFor(keyBindings, buttonBindings));
}

}  // namespace

void startSettings(const CommandLine& line, std::FILE* err) {
    messages = err;
    toldCannotKeep = false;
    keeping = line.demoFile.empty();
    settings = Settings{};
    Settings read;
    if (readPlayersFile(read, true)) settings = read;
    putInForce(settings, line.mute);
}

void readSettingsQuietly() {
    Settings read;
    if (!readPlayersFile(read, false)) return;
    keyBindings = read.keys;
    buttonBindings = read.buttons;
}

void keepSettings() {
    if (!keeping) return;
    std::string folder = platform::settingsFolder(), why;
    std::error_code error;
    if (folder.empty())
        why = "the system names no folder for a program's settings";
    else if (fs::create_directories(platform::systemPath(folder), error); error)
        why = error.message();
    if (why.empty() && platform::writeFileSafely(settingsFile(), settingsText(settings), why)) return;
    if (toldCannotKeep) return;
    toldCannotKeep = true;
    std::fprintf(messages, "vantrel: the settings cannot be kept in %s: %s; the game plays on, and keeps none\n",
                 shown(folder.empty() ? "a settings folder" : folder).c_str(), why.c_str());
}

void keyBindingsChanged() {
    platform::setControllerKeys(controllerKeysFor(keyBindings, buttonBindings));
    settings.keys = keyBindings;
    settings.buttons = buttonBindings;
    keepSettings();
}
