// The high-score tables: who enters and where, and the file they are kept
// in, which is read strictly so that a damaged or foreign one is kept aside
// rather than taken for a table.
#include "game/score_table.h"
#include <gtest/gtest.h>

namespace {

ScoreEntry entry(const std::string& name, int64_t score) {
    return {name, score, 2, "2026-12-10", "games/" + name + "-" + std::to_string(score) + ".demo", 100};
}

}  // namespace

TEST(ScoreTables, TheBestTenOfEachStartWithTiesBelowTheEarlier) {
    ScoreBook book;
    const std::string start = levelStart(0);
    EXPECT_FALSE(book.qualifies(start, 0));  // nothing scored, nothing kept
    EXPECT_TRUE(book.qualifies(start, 1));
    for (int i = 1; i <= 10; ++i) EXPECT_GE(book.enter(start, entry("AAA", i * 100)), 0);
    EXPECT_FALSE(book.qualifies(start, 100));  // full: the last must be beaten
    EXPECT_EQ(book.enter(start, entry("BBB", 100)), -1);
    EXPECT_EQ(book.enter(start, entry("CCC", 500)), 6);  // below the 500 already there
    const ScoreTable* table = book.find(start);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->entries.size(), scoreTableSize);
    EXPECT_EQ(table->entries[5].name, "AAA");
    EXPECT_EQ(table->entries[6].name, "CCC");
    EXPECT_EQ(table->entries.back().score, 200);  // 100 fell off
    // Another start keeps a table of its own.
    EXPECT_TRUE(book.qualifies(levelStart(3), 50));
    EXPECT_TRUE(book.qualifies(ownLevelStart("0 0 0"), 50));
    EXPECT_NE(ownLevelStart("0 0 0"), ownLevelStart("0 0 1"));
}

TEST(ScoreFile, ReadsBackWhatItWroteAndRefusesAnythingElse) {
    ScoreBook book;
    book.enter(levelStart(0), entry("ABC", 7294));
    book.enter(levelStart(0), entry("Z", 50));
    book.enter(ownLevelStart("1 0 0 0 0 0 0 0 data\\e.tga 0 0"), entry("QQ", 300));
    std::string text = writeScoreBook(book), problem;
    ScoreBook read;
    ASSERT_TRUE(parseScoreBook(text, read, problem)) << problem;
    EXPECT_EQ(read.tables, book.tables);

    const std::string head = "vantrel-scores 1\ntable level 0\n";
    const std::string good = "entry ABC 10 1 2026-12-10 games/a.demo 0\n";
    for (const std::string& bad : {
             std::string("vantrel-scores 2\n"),                            // a later format
             "vantrel-scores 1\n" + good,                                  // an entry of no table
             head + "entry abc 10 1 2026-12-10 games/a.demo 0\n",          // not capital letters
             head + "entry ABCD 10 1 2026-12-10 games/a.demo 0\n",         // four letters
             head + "entry ABC 0 1 2026-12-10 games/a.demo 0\n",           // nothing scored
             head + "entry ABC 10 1 10/12/2026 games/a.demo 0\n",          // another date
             head + "entry ABC 10 1 2026-12-10 games/../../etc/x.demo 0\n",  // out of its folder
             head + "entry ABC 10 1 2026-12-10 /tmp/a.demo 0\n",
             head + "entry ABC 10 1 2026-12-10 games/a.demo 0 extra\n",
             head + good + "entry ABC 20 1 2026-12-10 games/b.demo 0\n",  // out of order
             head + "table level 0\n",                                     // the same table twice
             std::string("vantrel-scores 1\ntable level zero\n"),
         }) {
        EXPECT_FALSE(parseScoreBook(bad, read, problem)) << bad;
        EXPECT_TRUE(read.tables.empty());
    }
    std::string eleven = head;
    for (int i = 0; i < 11; ++i) eleven += good;
    EXPECT_FALSE(parseScoreBook(eleven, read, problem));
    EXPECT_EQ(problem.rfind("line 13:", 0), 0u) << problem;
}
