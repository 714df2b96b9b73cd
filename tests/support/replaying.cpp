#include "support/replaying.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Replayed replayByTheGame(const std::string& game, const std::string& demo, const std::string& root) {
    std::string out = demo + ".out", err = demo + ".err";
    std::string command = "ASAN_OPTIONS=detect_leaks=0 '" + game + "' --no-vsync --datadir '" + root +
                          "' --play-demo '" + demo + "' >'" + out + "' 2>'" + err + "'";
    int status = std::system(command.c_str());
    Replayed r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(out), fileText(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}
