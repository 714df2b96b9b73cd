// The level checker: where the parser says each token came from, what is
// odd about a token, each problem the checker knows with its token and
// line, the shipped levels (clean) and the catalogue of broken inputs.
#include "game/level_check.h"
#include "game/level_file.h"
#include "platform/paths.h"
#include "platform/printable_text.h"
#include "support/captured.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string sourceDir = VANTREL_SOURCE_DIR;

std::string readText(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The pictures of the shipped data are there to be found.
class LevelCheck : public testing::Test {
protected:
    void SetUp() override { platform::setDataRoot(sourceDir); }
    void TearDown() override { platform::setDataRoot(""); }
};

struct Expected {
    int token, line;
    std::string says;
};

std::vector<LevelProblem> check(const std::string& text) { return checkLevelText(text.data(), text.size()); }

void expectProblems(const std::string& text, const std::vector<Expected>& expected) {
    std::vector<LevelProblem> found = check(text);
    ASSERT_EQ(found.size(), expected.size()) << text << "\n" << (found.empty() ? "" : found[0].message);
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].token, expected[i].token) << found[i].message;
        EXPECT_EQ(found[i].line, expected[i].line) << found[i].message;
        EXPECT_NE(found[i].message.find(expected[i].says), std::string::npos) << found[i].message;
    }
}

const std::string enemy = "60 100 0 20 170 0.04 16 data\\enemy1.tga";
const std::string stair = "120 0 0 24 16 0 1";
const std::string item = "150 18 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50";

// No enemy, no stair, one item.
std::string oneItem(const std::string& record) { return "0\n0\n1\n" + record + "\n"; }
std::string oneStair(const std::string& record) { return "0\n1\n" + record + "\n0\n"; }
std::string oneEnemy(const std::string& record) { return "1\n" + record + "\n0\n0\n"; }

}  // namespace

TEST(LevelSource, NotesEachTokensLineAndKindAndWhereEachCountStood) {
    std::string text = "1\n\n  60 100\t0 20 170 0.04 16 data\\e.tga\r\n0\n1 " + item;
    LevelDescription plain, noted;
    LevelSource source;
    ASSERT_TRUE(parseLevel(text.data(), text.size(), plain));
    ASSERT_TRUE(parseLevel(text.data(), text.size(), noted, &source));
    EXPECT_EQ(plain, noted);
    ASSERT_EQ(source.tokens.size(), 1u + 8 + 1 + 1 + 13);
    EXPECT_EQ(source.tokens[1].line, 3);
    EXPECT_EQ(source.tokens[8].text, "data\\e.tga");
    EXPECT_EQ(source.tokens[8].kind, TokenKind::text);
    EXPECT_EQ(source.tokens[9].line, 4);
    EXPECT_EQ(source.tokens[21].kind, TokenKind::realToInteger);  // the frame interval
    EXPECT_EQ(source.enemyCountToken, 1);
    EXPECT_EQ(source.stairCountToken, 10);
    EXPECT_EQ(source.itemCountToken, 11);
}

TEST(LevelSource, ReadingStopsWhereThePlainParseStops) {
    std::string cut = "1\n" + enemy + "\n2\n" + stair + "\n120 16";
    LevelSource source;
    LevelDescription level;
    EXPECT_FALSE(parseLevel(cut.data(), cut.size(), level, &source));
    EXPECT_EQ(source.tokens.size(), 1u + 8 + 1 + 7 + 2);
    EXPECT_EQ(source.stairCountToken, 10);
    EXPECT_EQ(source.itemCountToken, 0);
    EXPECT_EQ(source.lastLine, 5);
}

TEST(TokenTroubles, FollowHowTheGameReadsEachKind) {
    struct Case {
        const char* token;
        TokenKind kind;
        TokenTrouble trouble;
    } cases[] = {
        {"12", TokenKind::integer, TokenTrouble::none},
        {"-2147483648", TokenKind::integer, TokenTrouble::none},
        {"+7", TokenKind::integer, TokenTrouble::none},
        {"2147483648", TokenKind::integer, TokenTrouble::outOfRange},
        {"-2147483649", TokenKind::integer, TokenTrouble::outOfRange},
        {"12abc", TokenKind::integer, TokenTrouble::trailingText},
        {"0.5", TokenKind::integer, TokenTrouble::notWhole},
        {".5", TokenKind::integer, TokenTrouble::notWhole},
        {"1e3", TokenKind::integer, TokenTrouble::notWhole},
        {"0x10", TokenKind::integer, TokenTrouble::trailingText},  // reads 0: not a fraction
        {"inf", TokenKind::integer, TokenTrouble::notANumber},
        {"nan", TokenKind::integer, TokenTrouble::notANumber},
        {"abc", TokenKind::integer, TokenTrouble::notANumber},
        {"-", TokenKind::integer, TokenTrouble::notANumber},
        {"-0.25e2", TokenKind::real, TokenTrouble::none},
        {"1e308", TokenKind::real, TokenTrouble::none},
        {"1e309", TokenKind::real, TokenTrouble::notFinite},
        {"nan", TokenKind::real, TokenTrouble::notFinite},
        {"3,5", TokenKind::real, TokenTrouble::trailingText},
        {"x1", TokenKind::real, TokenTrouble::notANumber},
        {"0x10", TokenKind::real, TokenTrouble::none},  // reads 16
        {"40.9", TokenKind::realToInteger, TokenTrouble::none},
        {"1e3", TokenKind::realToInteger, TokenTrouble::none},
        {"3e9", TokenKind::realToInteger, TokenTrouble::outOfRange},
        {"-inf", TokenKind::realToInteger, TokenTrouble::notFinite},
        {"%s%02d.tga", TokenKind::text, TokenTrouble::none},
    };
    for (const Case& c : cases) EXPECT_EQ(tokenTrouble(c.token, c.kind), c.trouble) << c.token;
}

TEST_F(LevelCheck, ShippedLevelsAreClean) {
    int checked = 0;
    for (int n = 0; std::filesystem::exists(sourceDir + "/data/level" + std::to_string(n) + ".lvl.txt"); ++n, ++checked)
        for (const LevelProblem& p : checkLevelFile(sourceDir + "/data/level" + std::to_string(n) + ".lvl.txt"))
            ADD_FAILURE() << "level" << n << ":" << p.line << ": token " << p.token << ": " << p.message;
    EXPECT_GE(checked, 6);
}

TEST_F(LevelCheck, TokensTheGameMisreadsAreNamedByTheirFieldAndWhatTheGameReads) {
    expectProblems("1\n60 100 0 20 170 fast 16 data\\enemy1.tga\n0\n0",
                   {{7, 2, "enemy 1 speed: 'fast' is not a number; the game reads 0"}});
    expectProblems("1.5\n" + enemy + "\n0 0", {{1, 1, "the enemy count: '1.5' is not a whole number; the game reads 1"}});
    expectProblems(oneStair("120 0 0 24 16 0 1x"), {{9, 3, "stair 1 type: '1x' has text after its number; the game reads 1"}});
    expectProblems(oneItem("150 18 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 99999999999"),
                   {{16, 4, "item 1 points: '99999999999' is beyond the 32-bit limits; the game reads 2147483647"}});
    expectProblems(oneItem("inf 18 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50"),
                   {{4, 4, "item 1 x: 'inf' is not a finite number; the game reads 0"}});
}

TEST_F(LevelCheck, CountsBeyondTheTablesAndNegativeCountsAreReported) {
    std::string many = "21\n";
    for (int i = 0; i < 21; ++i) many += enemy + "\n";
    expectProblems(many + "0 0", {{1, 1, "21 enemies, more than the 20 the game holds: enemies 21 to 21 are read and left out"}});
    expectProblems("0 -2 0", {{2, 1, "a negative stair count (-2): the game reads it as none"}});
}

TEST_F(LevelCheck, FilesTheGameRefusesSayWhereReadingStopped) {
    expectProblems("1\n" + enemy + "\n1\n120 0 0\n",
                   {{14, 5, "the file ends inside stair 1 (after 3 of its 7 tokens): the game refuses the whole file"}});
    expectProblems("1\n" + enemy + "\n", {{10, 3, "the file ends before the stair count"}});
    expectProblems("2\n" + enemy + "\n", {{10, 3, "the file ends where enemy 2 should begin"}});
    expectProblems("", {{1, 1, "the file ends before the enemy count"}});
    expectProblems("1\n" + std::string(5000, 'x'), {{2, 2, "longer than 4095 characters: the game refuses the whole file"}});
}

// What follows the last record is a note: the level plays as it is, but a
// count may be too low. A level of its own running past the limit is refused.
TEST_F(LevelCheck, TextAfterTheLevelIsANoteAndALevelPastTheLimitAProblem) {
    expectProblems(oneItem(item) + "\n" + item, {{17, 6, "text follows the level's last record: the game does not read it"}});
    EXPECT_TRUE(check(oneItem(item) + " \n\t ").empty());
    expectProblems("0 0 1" + std::string(maxLevelTextSize, ' ') + item,
                   {{4, 1, "the level's records run on past 16 MiB: the game refuses the whole file"}});

    std::string file = testing::TempDir() + "/followed.lvl.txt";
    // The level ends just before the first 64 KiB that are read, the junk lies beyond them.
    std::ofstream(file) << std::string(65400, ' ') << oneItem(item) << "\n\n" << std::string(200, ' ') << "junk";
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(reportLevelChecks({file}, out), 0);
    std::string text = capturedText(out);
    std::fclose(out);
    EXPECT_EQ(text, file + ":7: token 17: note: text follows the level's last record: the game does not read it"
                           " (if it holds records, a count is too low)\n" + file + ": clean\n");
}

TEST_F(LevelCheck, FramesAndFormatsTheSpriteRefusesAreReported) {
    expectProblems(oneItem("150 18 0 12 12 0 data\\gem 8 1 %s%02d.tga 80 -1 50"),
                   {{12, 4, "item 1: frames 8 to 1 run backwards: the game shows it without a picture"}});
    expectProblems(oneItem("150 18 0 12 12 0 data\\gem 1 1001 %s%02d.tga 80 -1 50"),
                   {{12, 4, "item 1 has 1001 frames, more than the 1000 the game takes"}});
    expectProblems(oneItem("150 18 0 12 12 0 data\\gem 1 8 %s%s 80 -1 50"),
                   {{13, 4, "item 1: the frame-name format '%s%s' is not one the game takes"}});
    // One frame: the prefix is the file and the format is not used.
    expectProblems(oneItem("150 18 0 12 12 0 data\\coin.tga 3 3 %n 80 -1 50"), {});
}

TEST_F(LevelCheck, PicturesAreLookedUpAsTheGameLooksThemUp) {
    expectProblems(oneEnemy("60 100 0 20 170 0.04 16 data\\nothing.tga"),
                   {{9, 2, "enemy 1: picture 'data\\nothing.tga' not found (looked for " + sourceDir + "/data/nothing.tga)"}});
    expectProblems(oneEnemy("60 100 0 20 170 0.04 16 DATA\\Enemy1.TGA"), {});
    expectProblems(oneItem("150 18 0 12 12 0 data\\gem 7 10 %s%02d.tga 80 -1 50"),
                   {{10, 4, "item 1: 2 of its 4 frames not found, the first: picture 'data\\gem09.tga' not found"}});
}

// Each name the game refuses to open has its own word, not "not found".
TEST_F(LevelCheck, PicturesNamedOutsideTheDataAreReportedAsRefused) {
    const std::string outside = "is not in the game's data: the game does not open it";
    for (const char* name : {"\\tmp\\x\\pic.tga", "/etc/pic.tga", "C:\\pic.tga", "\\\\host\\share\\pic.tga",
                             "data\\..\\..\\pic.tga"})
        expectProblems(oneEnemy(std::string("60 100 0 20 170 0.04 16 ") + name),
                       {{9, 2, "enemy 1: picture '" + std::string(name) + "' " + outside}});
    expectProblems(oneItem("150 18 0 12 12 0 enemy1.tga 0 0 %s 0 -1 50"),
                   {{10, 4, "item 1: picture 'enemy1.tga' is a name alone, which only a level played with --level-file"}});
    expectProblems(oneItem("150 18 0 12 12 0 data\\gem 1 8 %.4s\\..\\x%d.tga 80 -1 50"),
                   {{10, 4, "item 1: 8 of its 8 frames are named outside the game's data, the first: picture "
                            "'data\\..\\x1.tga' " + outside}});

    // The same name alone: refused in a level of the data, a picture beside
    // a level file anywhere else (as --level-file plays it).
    std::string dir = testing::TempDir() + "/alone";
    std::filesystem::create_directories(dir + "/data");
    std::filesystem::create_directories(dir + "/mine");
    for (const std::string& folder : {dir + "/data/", dir + "/mine/"}) {
        std::ofstream(folder + "rock.tga") << "a picture";
        std::ofstream(folder + "level0.lvl.txt") << oneEnemy("60 100 0 20 170 0.04 16 Rock.tga");
    }
    platform::setDataRoot(dir);
    std::vector<LevelProblem> inData = checkLevelFile(dir + "/data/level0.lvl.txt");
    ASSERT_EQ(inData.size(), 1u);
    EXPECT_NE(inData[0].message.find("'Rock.tga' is a name alone"), std::string::npos) << inData[0].message;
    EXPECT_TRUE(checkLevelFile(dir + "/mine/level0.lvl.txt").empty());
    std::filesystem::remove_all(dir);
}

// Text from the file reaches the report escaped: no byte of it can make the
// terminal act, while names beyond ASCII show as written.
TEST_F(LevelCheck, TheReportOfACraftedLevelHoldsNoRawControlByte) {
    std::string file = testing::TempDir() + "/\x1B]0;owned\x07.lvl.txt";
    std::string longName = "data\\";
    for (int i = 0; i < 40; ++i) longName += "Ü";
    std::ofstream(file) << "1\n60 100\x1B[2J 0 20 170 0.04 16 data\\\x1B]2;x\x07\xC2\x9B\x9B.tga\n0\n2\n"
                        << "150 18 0 12 12 0 data\\Über.tga 0 0 %s 0 -1 50\n"
                        << "150 18 0 12 12 0 " << longName << " 0 0 %s 0 -1 50\n";
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(reportLevelChecks({file}, out), 1);
    std::string text = capturedText(out);
    std::fclose(out);
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(line, platform::printableText(line));  // nothing left to escape
        EXPECT_EQ(line.find("\\xC3"), std::string::npos) << line;  // no character cut in two
    }
    EXPECT_EQ(count, 5);
    EXPECT_NE(text.find("\\x1B]0;owned\\x07.lvl.txt:2: token 3: enemy 1 y: '100\\x1B[2J' has text after its number"),
              std::string::npos) << text;
    EXPECT_NE(text.find("'data\\\\x1B]2;x\\x07\\xC2\\x9B\\x9B.tga' not found"), std::string::npos) << text;
    EXPECT_NE(text.find("picture 'data\\Über.tga' not found"), std::string::npos) << text;
    std::filesystem::remove(file);
}

TEST_F(LevelCheck, StairsThePlayerNeverEntersAndClimbsAboveTheTopFloor) {
    expectProblems(oneStair("120 0 0 15 16 0 1"), {{6, 3, "stair 1 is 15 wide, narrower than the player (16)"}});
    expectProblems(oneStair("120 0 0 24 13.5 0 4"), {{7, 3, "stair 1 is 13.5 high, lower than the player as stairs test it (14)"}});
    expectProblems(oneStair("310 0 0 20 16 0 1"), {{3, 3, "stair 1 spans x = 310 to 330, where the player"}});
    expectProblems(oneStair("-20 0 0 30 16 0 1"), {{3, 3, "stair 1 spans x = -20 to 10"}});
    expectProblems(oneStair("120 -10 0 24 16 0 1"), {{4, 3, "stair 1 reaches only to y = 6, too low"}});
    expectProblems(oneStair("120 170 0 24 16 0 1"), {{7, 3, "stair 1: a climb here ends at y = 186 or higher, above the top floor"}});
    // Just inside every limit.
    expectProblems("0\n5\n304 0 0 16 14 0 1\n0 -2 0 16 16 0 1\n120 160 0 24 16 0 1\n120 170 0 24 16 0 4\n"
                   "120 170 0 24 16 0 0\n0\n", {});
}

TEST_F(LevelCheck, EnemiesWhoseBoundsLeaveNoRoomAreReported) {
    expectProblems(oneEnemy("60 100 0 160 170 0.04 16 data\\enemy1.tga"),
                   {{5, 2, "enemy 1: lower bound + size (160 + 16) is above the upper bound (170)"}});
    expectProblems(oneEnemy("60 100 0 154 170 0.04 16 data\\enemy1.tga"), {});
}

TEST_F(LevelCheck, ItemsOutOfThePlayersReachAreReported) {
    expectProblems(oneItem("321 18 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50"), {{4, 4, "item 1 spans x = 321 to 333"}});
    expectProblems(oneItem("-13 18 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50"), {{4, 4, "outside the player's 0 to 320"}});
    expectProblems(oneItem("150 -13 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50"), {{5, 4, "item 1 lies below y = 0"}});
    expectProblems(oneItem("150 191 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50"),
                   {{5, 4, "item 1 starts at y = 191, above the top of the player on the top floor (y = 190)"}});
    expectProblems("0\n0\n3\n-12 -12 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50\n320 190 0 12 12 0 data\\coin.tga 0 0 %s 0 -1 50\n" + item, {});
}

TEST_F(LevelCheck, ReportNamesEachFileWithItsLinesAndEndsWithOneForProblems) {
    std::string dir = testing::TempDir();
    std::string clean = dir + "/clean.lvl.txt", broken = dir + "/broken.lvl.txt";
    std::ofstream(clean) << "1\n" << enemy << "\n1\n" << stair << "\n1\n" << item << "\n";
    std::ofstream(broken) << "0\n1\n120 0 0 8 16 0 1\n0\n";
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(reportLevelChecks({clean}, out), 0);
    EXPECT_EQ(reportLevelChecks({clean, broken, dir + "/missing.lvl.txt"}, out), 1);
    std::string text = capturedText(out);
    std::fclose(out);
    EXPECT_EQ(text, clean + ": clean\n" + clean + ": clean\n" + broken +
                        ":3: token 6: stair 1 is 8 wide, narrower than the player (16): the player can never be inside it\n" +
                        broken + ": 1 problem\n" + dir + "/missing.lvl.txt: cannot be read: No such file or directory\n" +
                        dir + "/missing.lvl.txt: 1 problem\n");
}

// tests/bad_inputs/catalogue.txt: a level the game refuses, or one marked
// "problem", has at least one problem; one marked "clean" has none (notes may
// come with it). Reading
// with and without the source notes gives the same level.
TEST_F(LevelCheck, CatalogueLevelsHaveProblemsExactlyWhereTheCatalogueSays) {
    std::ifstream catalogue(sourceDir + "/tests/bad_inputs/catalogue.txt");
    std::string line;
    int levels = 0;
    while (std::getline(catalogue, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string kind, file, outcome, mark;
        if (!(words >> kind >> file >> outcome) || kind != "level") continue;
        if (outcome == "loads") {
            int counts[3];
            words >> counts[0] >> counts[1] >> counts[2] >> mark;
        }
        ++levels;
        std::string path = sourceDir + "/tests/bad_inputs/" + file;
        std::vector<LevelProblem> problems;  // notes aside
        for (const LevelProblem& p : checkLevelFile(path))
            if (!p.note) problems.push_back(p);
        if (mark == "clean")
            EXPECT_TRUE(problems.empty()) << file << ": " << problems.front().message;
        else
            EXPECT_FALSE(problems.empty()) << file << " (" << outcome << " " << mark << ")";

        std::string text = readText(path);
        LevelDescription plain, noted;
        LevelSource source;
        EXPECT_EQ(parseLevel(text.data(), text.size(), plain), parseLevel(text.data(), text.size(), noted, &source));
        EXPECT_EQ(plain, noted) << file;
    }
    EXPECT_GE(levels, 20);
}
