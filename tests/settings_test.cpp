// The player's settings file, in this process's own settings folder
// ($XDG_CONFIG_HOME, set by support/test_main.cpp): read and put in force,
// written again with what it did not know kept, a file that cannot be read
// kept aside and never written over, and a folder that cannot be written;
// and the page's and Windows' reader of it against Debian's.
#include "app/command_line.h"
#include "app/key_bindings.h"
#include "app/keyboard.h"
#include "app/program.h"
#include "app/settings.h"
#include "game/sounds.h"
#include "platform/ini_reader.h"
#include "platform/messages.h"
#include "support/captured.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace key = platform::key;

namespace {

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SettingsFile : public testing::Test {
protected:
    fs::path folder = fs::path(std::getenv("XDG_CONFIG_HOME")) / "vantrel";
    fs::path file = folder / "settings.ini";
    std::FILE* err = std::tmpfile();

    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { std::fclose(err); }

    void write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::vector<fs::path> keptAside() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("settings.ini.bad-")) found.push_back(entry.path());
        return found;
    }
    std::string help() {
        std::FILE* out = std::tmpfile();
        const char* argv[] = {"vantrel", "--help"};
        runProgram(2, const_cast<char**>(argv), out, err);
        std::string text = capturedText(out);
        std::fclose(out);
        return text;
    }
};

}  // namespace

// As a person writes it, in any letter case, with a setting of a later
// release: in force, named by --help, and still there when M writes the
// file again.
TEST_F(SettingsFile, IsPutInForceAndWrittenAgainWithWhatItDoesNotKnow) {
    write("[Game]\nSound = Off\npause_on_focus_loss = no\nvolume = 7\n"
          "[keys]\nleft = a\nright = D\npause = p pause\n"
          "[controller]\nstart = B\nsound = none\n"
          "[later]\ncolour = blue ; a comment\n");
    startSettings(CommandLine{}, err);
    EXPECT_EQ(capturedText(err), "");
    EXPECT_FALSE(soundIsOn());
    EXPECT_FALSE(pauseOnFocusLoss);
    EXPECT_EQ(keyBindings.firstKey(Action::left), 'A');
    EXPECT_EQ(keyBindings.actionOf(key::left), -1);
    EXPECT_EQ(keyBindings.actionOf(key::pause), int(Action::pause));
    EXPECT_EQ(buttonBindings.actions[size_t(platform::Button::b)], uint8_t(Action::start));
    EXPECT_EQ(buttonBindings.actions[size_t(platform::Button::a)], noAction);
    EXPECT_EQ(buttonBindings.actions[size_t(platform::Button::y)], noAction);
    EXPECT_NE(help().find("  A                 walk left"), std::string::npos) << help();

    // M, as a player presses it: the file keeps the sound on.
    windowProcedure({platform::MessageKind::keyDown, key::m, 0});
    EXPECT_TRUE(soundIsOn());
    Settings again;
    std::string problem;
    ASSERT_TRUE(readSettingsText(fileText(file), again, problem)) << problem << "\n" << fileText(file);
    EXPECT_TRUE(again.sound);
    EXPECT_FALSE(again.pauseOnFocusLoss);
    EXPECT_EQ(again.keys, keyBindings);
    EXPECT_EQ(again.buttons, buttonBindings);
    std::string text = fileText(file);
    EXPECT_NE(text.find("volume = 7"), std::string::npos) << text;
    EXPECT_NE(text.find("[later]\ncolour = blue\n"), std::string::npos) << text;

    // --mute silences this run only.
    CommandLine muted;
    muted.mute = true;
    startSettings(muted, err);
    EXPECT_FALSE(soundIsOn());
    EXPECT_NE(fileText(file).find("sound = on"), std::string::npos);
}

// A file the game cannot take is renamed aside, said once, and the game
// plays with the defaults; what it writes later goes beside it, never over it.
TEST_F(SettingsFile, OneThatCannotBeReadIsKeptAsideAndNeverWrittenOver) {
    const std::string bad = "[keys]\nleft = Right\nright = Left\n[game]\nsound = loud\n";
    write(bad);
    startSettings(CommandLine{}, err);
    std::string said = capturedText(err);
    EXPECT_NE(said.find("cannot be read (line 5: 'loud' is neither on nor off)"), std::string::npos) << said;
    EXPECT_NE(said.find("kept as settings.ini.bad-"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(keyBindings, defaultKeys);
    EXPECT_TRUE(soundIsOn());
    ASSERT_EQ(keptAside().size(), 1u);
    EXPECT_FALSE(fs::exists(file));

    windowProcedure({platform::MessageKind::keyDown, key::m, 0});
    EXPECT_TRUE(fs::exists(file));
    ASSERT_EQ(keptAside().size(), 1u);
    EXPECT_EQ(fileText(keptAside()[0]), bad);

    // Keys that cannot be played with are refused too: one for two actions.
    write("[keys]\nleft = Right\n");
    startSettings(CommandLine{}, err);
    EXPECT_NE(capturedText(err).find("(Right is given to two actions)"), std::string::npos) << capturedText(err);
    EXPECT_EQ(keptAside().size(), 2u);
}

// Where no folder can be made the game plays on, and says so once however
// often the settings change; a replay writes nothing at all.
TEST_F(SettingsFile, WhereNothingCanBeWrittenItIsSaidOnceAndAReplayWritesNothing) {
    std::string home = std::getenv("XDG_CONFIG_HOME");
    std::ofstream(home + "/not-a-folder") << "x";
    setenv("XDG_CONFIG_HOME", (home + "/not-a-folder").c_str(), 1);
    startSettings(CommandLine{}, err);
    for (int press = 0; press < 3; ++press) {
        windowProcedure({platform::MessageKind::keyDown, key::m, 0});
        windowProcedure({platform::MessageKind::keyUp, key::m, 0});
    }
    std::string said = capturedText(err);
    EXPECT_NE(said.find("the settings cannot be kept in " + home + "/not-a-folder/vantrel"), std::string::npos)
        << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);

    CommandLine replay;
    replay.demoFile = "game.demo";
    startSettings(replay, err);
    windowProcedure({platform::MessageKind::keyDown, key::m, 0});
    EXPECT_FALSE(fs::exists(file));
}

namespace {

struct IniRead {
    std::vector<std::string> entries;  // "section|name|value"
    int result = 0;
    bool operator==(const IniRead&) const = default;
};

// Every entry is taken but those whose value is "no".
bool noteEntry(void* user, const char* section, const char* name, const char* value) {
    static_cast<IniRead*>(user)->entries.push_back(std::string(section) + "|" + name + "|" + value);
    return std::string(value) != "no";
}

template <typename Reader>
IniRead readWith(Reader reader, const std::string& text) {
    IniRead read;
    read.result = reader(text, noteEntry, &read);
    return read;
}

}  // namespace

// The page and Windows read the file with the game's own reader: on
// anything a person may write, it must read what Debian's reads.
TEST(IniReaders, TheGamesOwnReadsWhatDebiansReads) {
    const std::string texts[] = {
        "\xEF\xBB\xBF[game]\nsound = on\n",
        "a=1\n[s]\n  b : 2 ; note\nc = x;y\nd = v  ;c\n   continued\n\n# c\n; c\nbad line\n[open\n e = 5\n",
        "[" + std::string(60, 's') + "]\n" + std::string(60, 'n') + " = v\n  more\nx = no\ny = 1\n",
        "k = " + std::string(300, 'v') + "\nafter = 1\n" + std::string(198, 'w') + "\nz = 2",
        "[a ;b]\nx = 1\r\ny\t=\t2\r\n[ spaced ]\n\t; indented comment\nz ;= 3\n",
        std::string("name = value\0hidden = 1\n", 24),
        "=empty name\n:\n[]\nv = \n  \n",
    };
    for (const std::string& text : texts)
        EXPECT_EQ(readWith(platform::readIniAsInih, text), readWith(platform::readIni, text)) << text;
}
