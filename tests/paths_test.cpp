// Game file names mapped to the system's, letter case resolved as a system
// that ignores it would, the places the game looks for its data, and the
// picture names a level may give.
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/level_loader.h"
#include "platform/data_search.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/picture_names.h"
#include "support/captured.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using platform::DataPlace;

namespace {

void touch(const std::string& file) {
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file) << "0 0 0\n";
}

// The reasons, in order, of a list of places.
std::vector<std::string> reasons(const std::vector<DataPlace>& places) {
    std::vector<std::string> out;
    for (const DataPlace& p : places) out.push_back(p.why);
    return out;
}

}  // namespace

TEST(FindFile, TakesTheExactNameFirstThenAUniqueMatchIgnoringCase) {
    TempDataRoot data;
    touch(data.file("enemy1.tga"));
    touch(data.root + "/Pics/Coin.TGA");
    EXPECT_EQ(platform::findFile("data\\enemy1.tga"), data.file("enemy1.tga"));
    EXPECT_EQ(platform::findFile("DATA\\Enemy1.TGA"), data.file("enemy1.tga"));
    EXPECT_EQ(platform::findFile("pics\\coin.tga"), data.root + "/Pics/Coin.TGA");  // every component
    // Nothing to match: the mapped name, which then fails to open.
    EXPECT_EQ(platform::findFile("DATA\\nothing.tga"), data.root + "/DATA/nothing.tga");
}

TEST(FindFile, RefusesToGuessBetweenNamesThatDifferOnlyInCase) {
    TempDataRoot data;
    touch(data.file("gem.tga"));
    touch(data.file("GEM.tga"));
    EXPECT_EQ(platform::findFile("data\\gem.tga"), data.file("gem.tga"));  // exact still wins
    EXPECT_EQ(platform::findFile("data\\Gem.tga"), data.file("Gem.tga"));
}

TEST(FindFile, LevelsAndPicturesWrittenInAnotherCaseLoad) {
    TempDataRoot data;
    fs::rename(data.root + "/data", data.root + "/Data");
    std::ofstream(data.root + "/Data/LEVEL0.LVL.TXT") << "1 10 20 0 0 100 0.1 16 data\\Enemy.tga 0 0";
    writeTga(data.root + "/Data/enemy.TGA", 2, 2, 3, solid(2, 2, {1, 2, 3}));
    openGameWindow();  // the enemy's picture becomes a texture
    ASSERT_TRUE(loadLevel("data\\level0.lvl.txt"));
    EXPECT_EQ(game.enemyCount, 1);
    platform::Picture picture;
    EXPECT_EQ(picture.load("data\\ENEMY.tga"), 0);
    EXPECT_EQ(picture.width, 2);
    EXPECT_NE(game.enemies[0]->texture.glName(), 0u);
    closeGameWindow();
}

TEST(DataDirectory, NamedItselfItTakesTheNamesInData) {
    platform::setDataDirectory("/srv/levels/");
    EXPECT_EQ(platform::mapPath("data\\level0.lvl.txt"), "/srv/levels/level0.lvl.txt");
    EXPECT_EQ(platform::mapPath("Data\\x.tga"), "/srv/levels/x.tga");
    EXPECT_EQ(platform::mapPath("other\\x.tga"), "/srv/levels/../other/x.tga");
    platform::setDataRoot("/opt/game");
    EXPECT_EQ(platform::mapPath("data\\x.tga"), "/opt/game/data/x.tga");
    platform::setDataRoot("");
}

TEST(DataPlaces, ComeInTheSearchOrderEachOnce) {
    std::vector<DataPlace> places = platform::dataPlaces("/a", "/b/", "/usr/bin/", "../share/vantrel", "/usr/share/vantrel");
    EXPECT_EQ(reasons(places), (std::vector<std::string>{"--datadir", "--datadir, as data/ itself", "VANTREL_DATADIR",
                                                         "VANTREL_DATADIR, as data/ itself", "the current directory",
                                                         "beside the program", "installed, relative to the program"}));
    EXPECT_EQ(platform::markerFile(places[0]), "/a/data/level0.lvl.txt");
    EXPECT_EQ(platform::markerFile(places[1]), "/a/level0.lvl.txt");
    EXPECT_EQ(platform::markerFile(places[4]), "data/level0.lvl.txt");
    EXPECT_EQ(places[6].directory, "/usr/share/vantrel");  // and so the configured place is not tried again

    std::vector<DataPlace> bare = platform::dataPlaces("", "", "", "../share/vantrel", "/usr/local/share/vantrel");
    EXPECT_EQ(reasons(bare), (std::vector<std::string>{"the current directory", "installed"}));
}

TEST(DataSearch, TakesTheDirectoryHoldingDataOrDataItself) {
    TempDataRoot data;
    touch(data.file("level0.lvl.txt"));
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(platform::findGameData(data.root, err));
    EXPECT_EQ(platform::dataRoot(), data.root);
    ASSERT_TRUE(platform::findGameData(data.root + "/data", err));
    EXPECT_EQ(platform::findFile("data\\level0.lvl.txt"), data.file("level0.lvl.txt"));
    EXPECT_EQ(capturedText(err), "");
    std::fclose(err);
}

// Names are UTF-8 to the game and reach the file system unchanged, also
// where letter case is resolved along them.
TEST(DataSearch, FindsDataUnderANameBeyondAscii) {
    TempDataRoot data;
    std::string named = data.root + "/Zoë ✓ spiele/";
    touch(named + "data/level0.lvl.txt");
    touch(named + "data/Über.tga");
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(platform::findGameData(named, err));
    EXPECT_EQ(platform::dataRoot() + "/", named);
    EXPECT_EQ(platform::findFile("DATA\\Über.tga"), named + "data/Über.tga");
    EXPECT_EQ(platform::nameOf(platform::systemPath(named)), named);
    EXPECT_EQ(capturedText(err), "");
    std::fclose(err);
    platform::setDataRoot("");
}

TEST(DataSearch, ReadsTheEnvironmentAfterTheOption) {
    TempDataRoot option, environment;
    touch(option.file("level0.lvl.txt"));
    touch(environment.file("level0.lvl.txt"));
    setenv("VANTREL_DATADIR", environment.root.c_str(), 1);
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(platform::findGameData(option.root, err));
    EXPECT_EQ(platform::dataRoot(), option.root);
    ASSERT_TRUE(platform::findGameData("", err));
    EXPECT_EQ(platform::dataRoot(), environment.root);
    // A named directory without the data is worth a word, then the search goes on.
    ASSERT_TRUE(platform::findGameData("/nonexistent", err));
    EXPECT_EQ(platform::dataRoot(), environment.root);
    EXPECT_NE(capturedText(err).find("--datadir names /nonexistent, which holds no data/level0.lvl.txt"), std::string::npos);
    std::fclose(err);
    unsetenv("VANTREL_DATADIR");
}

// The rule reads the name alone, so that a level means the same on every
// system: whatever could leave the data on one of them is refused on all.
TEST(PictureNames, OnlyDataNamesAndNamesAloneAreTaken) {
    using platform::PictureSource;
    for (const char* name : {"data\\enemy1.tga", "DATA/Enemy1.TGA", "data\\\\enemy1.tga", "data/sub\\x.tga",
                             "data\\x..y.tga", "data\\console.tga", "data\\com10.tga", "data\\Über.tga"})
        EXPECT_EQ(platform::pictureSource(name), PictureSource::dataDirectory) << name;
    for (const char* name : {"rock.tga", "data", ".rock.tga"})
        EXPECT_EQ(platform::pictureSource(name), PictureSource::levelFolder) << name;
    for (const char* name : {"", "\\tmp\\x\\pic.tga", "/tmp/pic.tga", "C:\\pic.tga", "c:pic.tga", "\\\\host\\share\\pic.tga",
                             "//host/share/pic.tga", "data\\..\\..\\pic.tga", "data/../pic.tga", "..", "data\\.\\pic.tga",
                             "data\\...\\pic.tga", "data\\.. \\pic.tga", "data\\pic.tga.", "data\\pic.tga:hidden",
                             "data\\", "pics\\pic.tga", " data\\pic.tga", "data\\CON", "data\\nul.tga", "aux",
                             "data\\Com1.tga", "data\\lpt9", "data\\conout$.tga", "data\\COM\xC2\xB9.tga",
                             "data\\lpt\xC2\xB3"})
        EXPECT_EQ(platform::pictureSource(name), PictureSource::refused) << name;
}

// "data" in any letter case is the data directory the game found: where
// letter case counts, a folder "DATA" beside data/ is outside the data.
TEST(PictureNames, DataNamesAreReadFromTheDataDirectoryHoweverTheyWriteIt) {
    TempDataRoot data;
    fs::create_directory(data.root + "/DATA");
    writeTga(data.root + "/DATA/beside.tga", 2, 2, 3, solid(2, 2, {1, 2, 3}));
    writeTga(data.file("in.tga"), 2, 2, 3, solid(2, 2, {1, 2, 3}));
    platform::Picture picture;
    EXPECT_EQ(picture.load("DATA\\beside.tga"), -1);
    EXPECT_EQ(platform::findPicture("DATA\\beside.tga"), data.file("beside.tga"));
    EXPECT_EQ(picture.load("DATA\\In.TGA"), 0);
}

// The names the game refuses to write on Windows: those Windows would write
// as another file (a trailing dot or space dropped, a stream of another
// file), or as a device. Ordinary names, wherever they are, pass.
TEST(WindowsNames, DevicesAndNamesWindowsWouldChangeAreNamedAsSuch) {
    for (const char* name : {"NUL", "con", "AUX.demo", "C:\\games\\COM1", "lpt9.png", "dir/CONOUT$", "c:nul.demo",
                             "COM\xC2\xB9", "nul .demo"})
        EXPECT_EQ(platform::windowsNameProblem(name), "Windows keeps that name for a device") << name;
    for (const char* name : {"game.demo.", "game.demo ", "C:\\games\\shot.png. .", "..."})
        EXPECT_EQ(platform::windowsNameProblem(name),
                  "Windows drops a name's last dots and spaces, and would write another file")
            << name;
    EXPECT_EQ(platform::windowsNameProblem("game.demo:hidden"),
              "Windows would write it into a hidden stream of another file");
    for (const char* name : {"game.demo", "C:\\CON\\game.demo", "C:game.demo", "console.demo", "COM10", "..\\x.demo",
                             "Z:\\tmp\\vantrel ü.demo", ".hidden"})
        EXPECT_EQ(platform::windowsNameProblem(name), "") << name;
}
