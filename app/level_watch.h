// --level-file: the game plays one level file from anywhere and loads it
// again whenever it changes on disk, so that an author sees an edit at once.
#pragma once
#include <cstdio>
#include <string>

// Reads the file as the game's own level and says on `err` what the checker
// says of it. False when the file cannot be read as a level at all: then
// the game does not start.
bool watchLevelFile(const std::string& path, std::FILE* err);

// Looks at the watched file, at most a few times a second (its modification
// time, size and identity, never its contents), and when it has changed,
// reads it and replaces the level being played, or keeps the last good
// version and says why. A file touched or saved with the text in play
// changes nothing. What the checker reports is always the version read.
// Does nothing when no file is watched.
void pollLevelFile();

// How often the file is looked at, milliseconds of real time.
constexpr unsigned levelWatchInterval = 200;
