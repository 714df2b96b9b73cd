// Level files: token conversions, sections and records, slot-by-slot
// replacement, and files that are broken.
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/level_loader.h"
#include "game/stair.h"
#include "gfx/animated_sprite.h"
#include "platform/picture_names.h"
#include "support/pictures.h"
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

const char* exampleLevel =
    "2\n"
    "60 100 0 20 170 0.04 16 data\\enemyA.tga\n"
    "200 60 0 20 120 -0.03 12 data\\enemyB.tga\n"
    "3\n"
    "120 17 0 20 32 0 1\n"
    "40 49 0 20 32 0 1\n"
    "290 161 0 30 30 0 4\n"
    "2\n"
    "150 20 0 16 16 0 data\\bonus 1 8 %s%02d.tga 80 8000 100\n"
    "250 100 0 16 16 0 data\\gem.tga 0 0 %s 0 5000 50\n";

std::string enemies(int n) {
    std::string text = std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) text += std::to_string(i * 10) + " 50 0 20 170 0.04 16 data\\e.tga\n";
    return text;
}

std::string stairs(int n) {
    std::string text = std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) text += std::to_string(i * 10) + " 17 0 20 32 0 1\n";
    return text;
}

class Levels : public testing::Test {
protected:
    TempDataRoot data;
    bool load(const std::string& text) {
        writeBytes(data.file("level.txt"), std::vector<uint8_t>(text.begin(), text.end()));
        return loadLevel("data\\level.txt");
    }
};

}  // namespace

TEST(LevelTokens, ConvertAsTheCLibraryReadsTextWithoutOverflow) {
    EXPECT_EQ(integerToken("12abc"), 12);
    EXPECT_EQ(integerToken("abc"), 0);
    EXPECT_EQ(integerToken("0.5"), 0);
    EXPECT_EQ(integerToken("-7"), -7);
    EXPECT_EQ(integerToken("+7"), 7);
    EXPECT_EQ(integerToken("99999999999999999999"), INT_MAX);
    EXPECT_EQ(integerToken("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(integerToken("-2147483648"), INT_MIN);
    EXPECT_EQ(realToIntegerToken("40.9"), 40);
    EXPECT_EQ(realToIntegerToken("-2.5"), -2);
    EXPECT_EQ(realToIntegerToken("1e30"), INT_MAX);
    EXPECT_EQ(realToIntegerToken("-1e30"), INT_MIN);
    EXPECT_EQ(realToIntegerToken("nan"), 0);
    EXPECT_DOUBLE_EQ(realToken("0.04x"), 0.04);
    EXPECT_DOUBLE_EQ(realToken("x0.04"), 0);
    for (const char* odd : {"nan", "-inf", "infinity", "1e999"}) EXPECT_EQ(realToken(odd), 0) << odd;
}

// Whole numbers stop at the first character that is not a decimal digit;
// reals are what strtod makes of them, hexadecimal included, with infinities
// and NaN read as 0.
TEST(LevelTokens, HexadecimalExponentsInfAndNanInEachKindOfField) {
    std::string text = "0 4\n"
                       "0x10 1e3 inf nan 20 -0x.8 0x10\n"
                       "0X1p4 1e-3 INF NAN 20 1e999 1e3\n"
                       "0 0 infinity -nan 20 0 inf\n"
                       "0 0 0 0 20 0 nan\n"
                       "2\n0 0 0 8 8 0 p 0x10 1e3 %s%d 0x10 inf 1e3\n"
                       "0 0 0 8 8 0 p 1 2 %s%d 1e3 nan 0x7fffffff\n";
    LevelDescription level;
    ASSERT_TRUE(parseLevel(text.data(), text.size(), level));
    ASSERT_EQ(level.stairs.size(), 4u);
    const StairRecord& a = level.stairs[0];
    EXPECT_EQ(a.x, 16);
    EXPECT_EQ(a.y, 1000);
    EXPECT_EQ(a.z, 0);
    EXPECT_EQ(a.width, 0);
    EXPECT_EQ(a.depth, -0.5);
    EXPECT_EQ(a.type, 0);
    const StairRecord& b = level.stairs[1];
    EXPECT_EQ(b.x, 16);
    EXPECT_DOUBLE_EQ(b.y, 0.001);
    EXPECT_EQ(b.z, 0);
    EXPECT_EQ(b.width, 0);
    EXPECT_EQ(b.depth, 0);
    EXPECT_EQ(b.type, 1);
    EXPECT_EQ(level.stairs[2].z, 0);
    EXPECT_EQ(level.stairs[2].width, 0);
    EXPECT_EQ(level.stairs[2].type, 0);
    EXPECT_EQ(level.stairs[3].type, 0);
    ASSERT_EQ(level.items.size(), 2u);
    const ItemRecord& i = level.items[0];
    EXPECT_EQ(i.firstFrame, 0);
    EXPECT_EQ(i.lastFrame, 1);
    EXPECT_EQ(i.frameInterval, 16);  // a real, cut to a whole number
    EXPECT_EQ(i.lifetime, 0);
    EXPECT_EQ(i.points, 1);
    EXPECT_EQ(level.items[1].frameInterval, 1000);
    EXPECT_EQ(level.items[1].lifetime, 0);
    EXPECT_EQ(level.items[1].points, 0);
}

TEST_F(Levels, TheExampleLoadsRecordByRecord) {
    ASSERT_TRUE(load(exampleLevel));
    ASSERT_EQ(game.enemyCount, 2);
    Enemy& e = *game.enemies[1];
    EXPECT_EQ(e.x, 200);
    EXPECT_EQ(e.upperBound, 120);
    EXPECT_DOUBLE_EQ(e.speed, -0.03);
    EXPECT_EQ(e.size, 12);
    EXPECT_EQ(e.texture.path, "data\\enemyb.tga");
    ASSERT_EQ(game.stairCount, 3);
    EXPECT_EQ(game.stairs[2]->type, 4);
    EXPECT_EQ(game.stairs[1]->y, 49);
    ASSERT_EQ(game.itemCount, 2);
    AnimatedSprite& bonus = *game.items[0];
    EXPECT_EQ(bonus.frameCount, 8);
    EXPECT_EQ(bonus.frames[7].path, "data\\bonus08.tga");
    EXPECT_EQ(bonus.frameInterval, 80);
    EXPECT_EQ(bonus.lifetime, 8000u);
    EXPECT_EQ(bonus.points, 100);
    AnimatedSprite& gem = *game.items[1];
    EXPECT_EQ(gem.frameCount, 1);
    EXPECT_EQ(gem.frames[0].path, "data\\gem.tga");
    EXPECT_EQ(gem.points, 50);
}

TEST_F(Levels, LineBreaksCarryNoMeaning) {
    std::string oneLine = exampleLevel;
    for (char& c : oneLine)
        if (c == '\n') c = ' ';
    ASSERT_TRUE(load("\t " + oneLine));
    EXPECT_EQ(game.enemyCount, 2);
    EXPECT_EQ(game.items[1]->points, 50);
}

TEST_F(Levels, FewerObjectsLeaveTheLaterSlotsAsTheyWere) {
    ASSERT_TRUE(load(enemies(5) + "0 0"));
    Enemy* fourth = game.enemies[3];
    Enemy* fifth = game.enemies[4];
    ASSERT_TRUE(load(enemies(3) + "0 0"));
    EXPECT_EQ(game.enemyCount, 3);
    EXPECT_EQ(game.enemies[3], fourth);
    EXPECT_EQ(game.enemies[4], fifth);
}

TEST_F(Levels, ReloadingReArmsStairsAndBringsItemsBack) {
    ASSERT_TRUE(load(exampleLevel));
    game.stairs[0]->test(122, 17, 0, 16, 14, 0);
    ASSERT_EQ(game.stairs[0]->type, 0);
    delete game.items[0];
    game.items[0] = nullptr;  // collected
    ASSERT_TRUE(load(exampleLevel));
    EXPECT_EQ(game.stairs[0]->type, 1);
    ASSERT_NE(game.items[0], nullptr);
}

TEST_F(Levels, MissingOrUnreadableFilesChangeNothing) {
    ASSERT_TRUE(load(exampleLevel));
    Enemy* first = game.enemies[0];
    EXPECT_FALSE(loadLevel("data\\nothing.lvl.txt"));
    EXPECT_FALSE(loadLevel("data"));  // a directory
    EXPECT_EQ(game.enemyCount, 2);
    EXPECT_EQ(game.enemies[0], first);
}

TEST_F(Levels, ZeroAndNegativeCountsBuildNothing) {
    ASSERT_TRUE(load(exampleLevel));
    Stair* first = game.stairs[0];
    ASSERT_TRUE(load("0 -3 -1"));
    EXPECT_EQ(game.enemyCount, 0);
    EXPECT_EQ(game.stairCount, -3);  // kept as the file says; every user treats it as none
    EXPECT_EQ(game.stairs[0], first);
}

TEST_F(Levels, CountsAboveCapacityKeepWhatFitsAndReadOnPastTheRest) {
    ASSERT_TRUE(load(enemies(25) + stairs(30) + "1 1 2 3 4 5 6 data\\x.tga 0 0 %s 0 -1 77"));
    EXPECT_EQ(game.enemyCount, maxEnemies);
    EXPECT_EQ(game.enemies[19]->x, 190);
    EXPECT_EQ(game.stairCount, maxStairs);
    ASSERT_EQ(game.itemCount, 1);
    EXPECT_EQ(game.items[0]->points, 77);
    EXPECT_EQ(game.items[0]->lifetime, foreverLifetime);
}

TEST_F(Levels, AFileThatEndsInsideARecordIsRefused) {
    ASSERT_TRUE(load(exampleLevel));
    Enemy* first = game.enemies[0];
    std::string whole = exampleLevel;
    for (size_t cut : {size_t(1), size_t(30), whole.size() - 4}) {
        EXPECT_FALSE(load(whole.substr(0, cut))) << cut;
        EXPECT_EQ(game.enemies[0], first);
        EXPECT_EQ(game.itemCount, 2);
    }
    EXPECT_FALSE(load(""));
    EXPECT_FALSE(load("2147483647"));  // a count far beyond the file
}

// A level whose last token ends `end` bytes into the text: no enemies or
// stairs, then items of tokens "1", padded after the item count.
std::string levelEndingAt(size_t end) {
    const size_t items = 645000, tokens = items * itemFields;
    std::string text = "0 0 " + std::to_string(items);
    text.append(end - text.size() - 2 * tokens, ' ');
    for (size_t i = 0; i < tokens; ++i) text += " 1";
    return text;
}

TEST_F(Levels, TextAfterTheLastRecordIsNotReadWhateverItsSizeButTheLevelHasALimit) {
    // A gibibyte after the level (a hole in the file: it reads as zero bytes).
    std::string path = data.file("level.txt");
    std::ofstream(path, std::ios::binary) << exampleLevel << "2\n" << "a log that follows\n";
    std::filesystem::resize_file(path, uintmax_t(1) << 30);
    ASSERT_TRUE(loadLevel("data\\level.txt"));
    EXPECT_EQ(game.itemCount, 2);
    std::string text;
    LevelTextEnd end;
    ASSERT_TRUE(readLevelText(path, text, nullptr, &end));
    EXPECT_EQ(text + "\n", exampleLevel);  // up to the last token: nothing after it is kept
    EXPECT_TRUE(end.textFollows);
    EXPECT_EQ(end.linesBeforeText, 1);
    EXPECT_FALSE(end.tooLarge);

    // The limit is on the level's own text: ending at the limit, followed by
    // more, it is read; one byte further it is refused, from a file too.
    LevelDescription level;
    LevelSource source;
    std::string atLimit = levelEndingAt(maxLevelTextSize) + " 2 and more";
    ASSERT_TRUE(parseLevel(atLimit.data(), atLimit.size(), level));
    EXPECT_EQ(level.itemCount, 645000);
    std::string pastLimit = levelEndingAt(maxLevelTextSize + 1) + "\n";
    EXPECT_FALSE(parseLevel(pastLimit.data(), pastLimit.size(), level, &source));
    EXPECT_TRUE(source.tooLarge);
    EXPECT_FALSE(source.overlongToken);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << pastLimit;
    EXPECT_FALSE(loadLevel("data\\level.txt"));
    EXPECT_EQ(game.itemCount, 2);
    ASSERT_TRUE(readLevelText(path, text, nullptr, &end));
    EXPECT_TRUE(end.tooLarge);
    EXPECT_EQ(text.size(), maxLevelTextSize + 1);
}

TEST_F(Levels, LongTokensAreNamesUpToALimit) {
    std::string name = "data\\" + std::string(300, 'n') + ".tga";
    ASSERT_TRUE(load("1 0 0 0 0 190 0 16 " + name + " 0 0"));
    EXPECT_EQ(game.enemies[0]->texture.path.size(), name.size());
    EXPECT_FALSE(load("1 0 0 0 0 190 0 16 " + std::string(maxTokenLength + 1, 'n') + " 0 0"));
}

TEST_F(Levels, ItemsWithHostileFormatsOrRangesGetOneBlankFrame) {
    ASSERT_TRUE(load("0 0 3 "
                     "0 0 0 8 8 0 data\\a 1 3 %n 30 -1 1 "
                     "0 0 0 8 8 0 data\\a 5 1 %s%02d 30 -1 1 "
                     "0 0 0 8 8 0 data\\a -2147483648 2147483647 %s%d 30 -1 1"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(game.items[i]->frameCount, 1);
        EXPECT_EQ(game.items[i]->frames[0].glName(), 0u);
    }
}

TEST_F(Levels, NonFiniteRealsReadAsZero) {
    ASSERT_TRUE(load("0 1 nan inf -inf 20 32 nan 1 0"));
    Stair& s = *game.stairs[0];
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 0);
    EXPECT_EQ(s.width, 20);
    EXPECT_EQ(s.test(100, 100, 0, 16, 14, 0), 0);  // a NaN zone would take in every box
}

// A level comes from anywhere (a demo carries one): every name that leads
// out of the data is refused before anything is opened, though a readable
// picture waits at each place it names, the frames a format makes included.
TEST_F(Levels, PicturesNamedOutsideTheDataAreNeverOpened) {
    std::string root = data.root;
    std::filesystem::create_directories(root + "/C:");
    std::filesystem::create_directories(root + "/mine");
    for (const std::string& file : {data.file("in.tga"), root + "/out.tga", root + "/out1.tga", root + "/out2.tga",
                                    root + "/C:/pic.tga", root + "/mine/Own.tga"})
        writeTga(file, 2, 2, 3, solid(2, 2, {1, 2, 3}));
    std::string absolute = root + "/out.tga";
    for (char& c : absolute)
        if (c == '/') c = '\\';
    std::string level = "6\n";
    for (const std::string& name : {std::string("data\\in.tga"), absolute, root + "/out.tga",
                                    std::string("data\\..\\out.tga"), std::string("C:\\pic.tga"), std::string("out.tga")})
        level += "0 50 0 20 170 0.04 16 " + name + "\n";
    level += "0\n2\n0 0 0 8 8 0 data\\..\\out1.tga 0 0 %s 30 -1 1\n"
             "0 0 0 8 8 0 data\\x 1 2 %.4s\\..\\out%d.tga 30 -1 1\n";  // data\..\out1.tga, data\..\out2.tga
    ASSERT_TRUE(load(level));
    EXPECT_EQ(game.enemies[0]->texture.image.width, 2);
    for (int i = 1; i < 6; ++i) EXPECT_EQ(game.enemies[i]->texture.image.bytesPerPixel, 0) << i;
    EXPECT_EQ(game.items[0]->frames[0].image.bytesPerPixel, 0);
    ASSERT_EQ(game.items[1]->frameCount, 2);
    for (int k = 0; k < 2; ++k) EXPECT_EQ(game.items[1]->frames[k].image.bytesPerPixel, 0) << k;

    // Played with --level-file, a name alone is a picture beside the level
    // file, its letter case resolved; the names outside stay refused.
    platform::setLevelFolder(root + "/mine");
    ASSERT_TRUE(load("2\n0 50 0 20 170 0.04 16 OWN.TGA\n0 50 0 20 170 0.04 16 data\\..\\out.tga\n0 0"));
    platform::setLevelFolder("");
    EXPECT_EQ(game.enemies[0]->texture.image.width, 2);
    EXPECT_EQ(game.enemies[1]->texture.image.bytesPerPixel, 0);
}
