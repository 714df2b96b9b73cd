// Replaying a demo with the real program, in a process of its own as a
// player runs it: the game's objects live as long as a process, so a test
// that recorded a game in its own process replays it in another.
#pragma once
#include <string>

struct Replayed {
    int status;
    std::string line, err;  // what it printed on standard output and error
};

std::string fileText(const std::string& path);

// `game` (the program) replaying `demo` as fast as it goes, with its data in
// `root`. Under the sanitizers the drivers' memory kept until the end is no
// leak of the game's, and a leak report would change the status read here.
Replayed replayByTheGame(const std::string& game, const std::string& demo, const std::string& root);
