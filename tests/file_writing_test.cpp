// Files written whole or not at all: a failure at any step leaves the old
// file as it was and nothing beside it; and the lock beside a file that
// games take in turn.
#include "platform/file_writing.h"
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A folder of the test's own, removed at the end.
struct Folder {
    std::string path;
    Folder() {
        char name[] = "/tmp/vantrel-files-XXXXXX";
        path = mkdtemp(name);
        fs::permissions(path, fs::perms(0755));
    }
    ~Folder() {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(path, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

void put(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The names in a folder, sorted.
std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

TEST(FileWriting, PutsTheWholeFileInPlaceAndNothingBeside) {
    Folder folder;
    std::string why;
    ASSERT_TRUE(platform::writeFileSafely(folder / "new.png", "first", why)) << why;
    ASSERT_TRUE(platform::writeFileSafely(folder / "new.png", std::string(100000, 'x'), why)) << why;
    EXPECT_EQ(contents(folder / "new.png"), std::string(100000, 'x'));
    EXPECT_EQ(names(folder.path), std::vector<std::string>{"new.png"});

    // A named temporary file left by a killed game is replaced, never
    // written through: a link there does not reach the file it points to.
    put(folder / "precious.txt", "the player's");
    fs::create_symlink(folder / "precious.txt", folder / "game.demo.part");
    platform::FileWriting writing;
    ASSERT_TRUE(platform::beginWriting(writing, folder / "game.demo", folder / "game.demo.part", why)) << why;
    std::fputs("vantrel-demo 2\n", writing.file);
    ASSERT_TRUE(platform::finishWriting(writing, why)) << why;
    EXPECT_EQ(contents(folder / "precious.txt"), "the player's");
    EXPECT_EQ(contents(folder / "game.demo"), "vantrel-demo 2\n");
    EXPECT_EQ(names(folder.path), (std::vector<std::string>{"game.demo", "new.png", "precious.txt"}));
}

// A full disk (here a limit on the size of files), a folder that does not
// exist, one that may not be written, and a rename that is refused.
TEST(FileWriting, AFailedWriteLeavesTheOldFileWholeAndNothingBeside) {
    Folder folder;
    std::string why;
    put(folder / "old.png", "old picture");

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit was;
    getrlimit(RLIMIT_FSIZE, &was);
    rlimit small = was;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    bool written = platform::writeFileSafely(folder / "old.png", std::string(65536, 'x'), why);
    setrlimit(RLIMIT_FSIZE, &was);
    EXPECT_FALSE(written);
    EXPECT_EQ(why, "File too large");
    EXPECT_EQ(contents(folder / "old.png"), "old picture");
    EXPECT_EQ(names(folder.path), std::vector<std::string>{"old.png"});

    EXPECT_FALSE(platform::writeFileSafely(folder / "missing/new.png", "x", why));
    EXPECT_EQ(why, "No such file or directory");

    fs::create_directory(folder / "shut");
    put(folder / "shut/old.png", "old picture");
    fs::permissions(folder / "shut", fs::perms(0555));
    // Whoever runs the test, as nobody: the system's own account may write anywhere.
    bool asNobody = geteuid() == 0;
    if (asNobody) ASSERT_EQ(seteuid(65534), 0);
    written = platform::writeFileSafely(folder / "shut/old.png", "new picture", why);
    if (asNobody) ASSERT_EQ(seteuid(0), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(why, "Permission denied");
    EXPECT_EQ(contents(folder / "shut/old.png"), "old picture");
    EXPECT_EQ(names(folder / "shut"), std::vector<std::string>{"old.png"});

    fs::create_directories(folder / "taken.png/inside");
    EXPECT_FALSE(platform::writeFileSafely(folder / "taken.png", "new picture", why));
    EXPECT_EQ(why, "Is a directory");
    EXPECT_EQ(names(folder / "taken.png"), std::vector<std::string>{"inside"});
    EXPECT_EQ(names(folder.path), (std::vector<std::string>{"old.png", "shut", "taken.png"}));
}

// A game killed at any moment of a write, as the system kills it: the file
// is the old one whole, or the new one whole, never a part of either.
TEST(FileWriting, AGameKilledWhileWritingLeavesAWholeFile) {
    Folder folder;
    const std::string old = "vantrel-scores 1\n", fresh(16 << 20, 'x');
    for (int delayMs : {0, 2, 10, 40}) {
        put(folder / "scores.txt", old);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string why;
            for (;;) platform::writeFileSafely(folder / "scores.txt", fresh, why);
        }
        // Killed once its first temporary file is there (or after 2 s), a
        // moment later.
        for (int i = 0; i < 20000 && names(folder.path).size() < 2; ++i) usleep(100);
        usleep(useconds_t(delayMs) * 1000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string now = contents(folder / "scores.txt");
        EXPECT_TRUE(now == old || now == fresh) << "killed after " << delayMs << " ms: " << now.size() << " bytes";
        for (const std::string& name : names(folder.path))
            if (name != "scores.txt") fs::remove(folder / name);
    }
}

// Two holders of one file's lock, in one process as in two games.
TEST(FileLock, KeepsASecondHolderOutUntilTheFirstLetsGo) {
    Folder folder;
    std::string why;
    platform::FileLock first, second;
    ASSERT_TRUE(platform::lockFile(first, folder / "scores", 0, why)) << why;
    EXPECT_FALSE(platform::lockFile(second, folder / "scores", 50, why));
    EXPECT_EQ(why, folder / "scores.lock is held by another game (waited 50 ms)");
    platform::unlockFile(first);
    EXPECT_TRUE(platform::lockFile(second, folder / "scores", 0, why)) << why;
    platform::unlockFile(second);
    EXPECT_EQ(names(folder.path), std::vector<std::string>{"scores.lock"});
    EXPECT_FALSE(platform::lockFile(first, folder / "missing/scores", 0, why));
}
