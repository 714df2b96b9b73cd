// Broken pictures and level files (tests/bad_inputs/catalogue.txt): each has
// the outcome the catalogue gives it, and the game plays on with it in place.
// Missing data, and directories where files should be, are played here too.
#include "app/demo_file.h"
#include "app/demo_header.h"
#include "app/program.h"
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/level_loader.h"
#include "gfx/texture.h"
#include "platform/paths.h"
#include "support/captured.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string catalogueDir = std::string(VANTREL_SOURCE_DIR) + "/tests/bad_inputs";
const std::string shippedData = std::string(VANTREL_SOURCE_DIR) + "/data";

struct Case {
    std::string kind, file, outcome;
    std::vector<int> numbers;  // bytes a pixel, width, height; or the three counts
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.kind << " " << c.file; }

std::vector<Case> readCatalogue() {
    std::vector<Case> cases;
    std::ifstream file(catalogueDir + "/catalogue.txt");
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        Case c;
        if (!(words >> c.kind >> c.file >> c.outcome)) continue;
        int n;
        while (words >> n) c.numbers.push_back(n);
        cases.push_back(c);
    }
    return cases;
}

// A data directory with the shipped pictures and levels, each a link to the
// shipped file, so that single files can be replaced or taken away.
void linkShippedData(const TempDataRoot& data) {
    for (const auto& entry : fs::directory_iterator(shippedData))
        fs::create_symlink(entry.path(), data.file(entry.path().filename().string()));
}

void replaceWith(const TempDataRoot& data, const std::string& name, const std::string& source) {
    fs::remove(data.file(name));
    fs::copy_file(source, data.file(name));
}

// Starts the game, leaves the title, walks right and back: nothing may crash.
void playAWhile() {
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    play.runFrames(5);
    play.press(platform::key::space);
    play.runFrame();
    play.press(platform::key::right);
    play.runFrames(120);
    play.press(platform::key::left);
    play.runFrames(60);
    EXPECT_FALSE(play.ended);
}

// The demo read as a replay reads it, then replayed by the program with its
// version made this game's: it ends after its whole frames, or is refused.
void replayBadDemo(const Case& c, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DemoReader reader;
    DemoHeader header;
    bool readable = reader.readHeader(bytes, header);
    ASSERT_EQ(readable, c.outcome != "refused") << reader.problem;
    if (!readable) return;
    ASSERT_EQ(c.numbers.size(), 1u);
    EXPECT_EQ(surveyDemo(bytes, reader.offset).frames, uint64_t(c.numbers[0]));
    std::string version = "game " + header.gameVersion + "\n";
    bytes.replace(bytes.find(version), version.size(), "game " + thisGameHeader(0).gameVersion + "\n");
    std::string copy = (fs::temp_directory_path() / ("catalogue-" + c.file)).string();
    std::ofstream(copy, std::ios::binary) << bytes;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const char* argv[] = {"vantrel", "--no-vsync", "--play-demo", copy.c_str()};
    runProgram(4, const_cast<char**>(argv), out, err);
    std::string printed = capturedText(out);
    EXPECT_EQ(printed.rfind("frames " + std::to_string(c.numbers[0]) + ",", 0), 0u) << printed << capturedText(err);
    std::fclose(out);
    std::fclose(err);
    fs::remove(copy);
}

class Catalogue : public testing::TestWithParam<Case> {};

}  // namespace

TEST(CatalogueFile, ListsAtLeastThirtyCases) { EXPECT_GE(readCatalogue().size(), 30u); }

TEST_P(Catalogue, HasItsOutcomeAndTheGamePlaysOnWithIt) {
    const Case& c = GetParam();
    std::string path = catalogueDir + "/" + c.file;
    TempDataRoot data;
    linkShippedData(data);
    if (c.kind == "demo") return replayBadDemo(c, path);
    openGameWindow();
    if (c.kind == "picture") {
        replaceWith(data, c.file, path);  // a picture is read from the data
        Texture t;
        int32_t result = t.load(("data\\" + c.file).c_str(), true, true, 0xFF00FF);
        if (c.outcome == "refused") {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(t.glName(), 0u);
        } else {
            ASSERT_EQ(c.numbers.size(), 3u);
            EXPECT_EQ(result, 0);
            EXPECT_NE(t.glName(), 0u);
            EXPECT_EQ(t.image.bytesPerPixel, c.numbers[0]);
            EXPECT_EQ(t.image.width, c.numbers[1]);
            EXPECT_EQ(t.image.height, c.numbers[2]);
        }
        // In play: the title, the stairs, the lives icon and an enemy from it.
        for (const char* name : {"vantreltitle.jpg", "stair.tga", "LIFE.tga", "enemy1.tga"}) replaceWith(data, name, path);
    } else {
        ASSERT_TRUE(loadLevel((shippedData + "/level0.lvl.txt").c_str()));
        bool loaded = loadLevel(path.c_str());
        if (c.outcome == "refused") {
            EXPECT_FALSE(loaded);
            EXPECT_GT(game.stairCount, 0);  // the level in play stays
        } else {
            ASSERT_GE(c.numbers.size(), 3u);
            EXPECT_TRUE(loaded);
            EXPECT_EQ(game.enemyCount, c.numbers[0]);
            EXPECT_EQ(game.stairCount, c.numbers[1]);
            EXPECT_EQ(game.itemCount, c.numbers[2]);
        }
        replaceWith(data, "level0.lvl.txt", path);
    }
    closeGameWindow();
    playAWhile();
}

INSTANTIATE_TEST_SUITE_P(BadInputs, Catalogue, testing::ValuesIn(readCatalogue()),
                         [](const testing::TestParamInfo<Case>& info) {
                             std::string name = info.param.file;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

TEST(MissingData, TheGameStartsAndPlaysWithNoDataAtAll) {
    TempDataRoot data;  // an empty data/
    playAWhile();
    fs::remove_all(data.file(""));  // and no data/ at all
    playAWhile();
}

TEST(MissingData, SinglePicturesMissingAreDrawnBlank) {
    TempDataRoot data;
    linkShippedData(data);
    for (const char* name : {"fontgray.jpg", "stair.tga", "vantreltitle.jpg", "CA54R2JR_07.tga", "nuke05.tga"})
        fs::remove(data.file(name));
    playAWhile();
}

TEST(MissingData, DirectoriesWhereFilesShouldBe) {
    TempDataRoot data;
    linkShippedData(data);
    for (const char* name : {"level0.lvl.txt", "stair.tga", "fontgray.jpg", "CA54R2JR_09.tga"}) {
        fs::remove(data.file(name));
        fs::create_directory(data.file(name));
    }
    playAWhile();
}

// A recording that grows past the size a replay reads stops there, as on a
// full disk, and what it wrote still replays as a demo cut short.
TEST(DemoSize, ARecordingStopsWithinTheSizeAReplayReads) {
    std::string path = (fs::temp_directory_path() / "catalogue-limit.demo").string();
    DemoWriter writer;
    writer.file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(writer.file);
    ASSERT_TRUE(writer.writeHeader(thisGameHeader(0)));
    const std::string largestLevel(maxLevelTextSize, ' ');
    for (size_t i = 0; i <= maxDemoSize / maxLevelTextSize && !writer.failed; ++i) writer.level(largestLevel);
    EXPECT_FALSE(writer.flush());
    EXPECT_EQ(writer.error, EFBIG);
    std::fclose(writer.file);
    EXPECT_LE(fs::file_size(path), maxDemoSize);
    std::string bytes, why;
    EXPECT_TRUE(readDemoFile(path, bytes, why)) << why;
    fs::remove(path);
}
