// What keeping a high score costs: the tables (ten entries) and a kept
// game's demo (a minute of play) written whole, flushed to the disk and
// renamed over their files, the tables under their lock; beside a plain
// write of the same bytes that neither flushes nor renames.
#include "game/score_table.h"
#include "platform/file_writing.h"
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string folder;

std::string tablesText() {
    ScoreBook book;
    for (int i = 0; i < int(scoreTableSize); ++i)
        book.enter("level 0", {"ABC", 1000 + 50 * i, i % 6, "2026-12-10", "games/20261210-120000-1000-ABC.demo", 300});
    return writeScoreBook(book);
}

const std::string demo(7 * 1024, 'x');  // a minute of play, as recorded

void safeTables(benchmark::State& state) {
    std::string text = tablesText(), why, file = folder + "/scores.txt";
    for (auto _ : state) {
        platform::FileLock lock;
        if (!platform::lockFile(lock, file, 1000, why) || !platform::writeFileSafely(file, text, why))
            state.SkipWithError(why.c_str());
        platform::unlockFile(lock);
    }
    state.counters["bytes"] = double(text.size());
}

void safeDemo(benchmark::State& state) {
    std::string why, file = folder + "/game.demo";
    for (auto _ : state)
        if (!platform::writeFileSafely(file, demo, why)) state.SkipWithError(why.c_str());
}

void plainWrite(benchmark::State& state, const std::string& bytes, const char* name) {
    std::string file = folder + "/" + name;
    for (auto _ : state) {
        std::FILE* f = std::fopen(file.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void plainTables(benchmark::State& state) { plainWrite(state, tablesText(), "plain-scores.txt"); }
void plainDemo(benchmark::State& state) { plainWrite(state, demo, "plain.demo"); }

}  // namespace

BENCHMARK(safeTables)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(plainTables)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(safeDemo)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(plainDemo)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// The files go where a player's would: the home folder's disk, not a
// memory file system.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const char* home = std::getenv("HOME");
    folder = std::string(home ? home : ".") + "/.cache/vantrel-keeping-bench";
    std::filesystem::create_directories(folder);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(folder);
    benchmark::Shutdown();
    return 0;
}
