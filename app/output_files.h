// The files the game writes for the player (a recording, screenshots) take
// the place only of files of their own kind that the game does not read
// meanwhile: anything else of the player's stays as it is.
#pragma once
#include "app/command_line.h"
#include <cstdio>
#include <string>

// Where a recording into `demoFile` goes while the game runs; it takes the
// demo's name when the recording ends, and is what a killed game leaves.
std::string partialDemoName(const std::string& demoFile);

// Looks at every file the command line would write (--record and its
// partial demo, each --screenshot-at) before anything is written: each may
// be missing, empty, or a file of its kind (a demo, a PNG picture), but not
// the level file played or the demo replayed, nor a name the system would
// write as another file. False, telling why on `err`, when one may not be
// written.
bool outputsAllowed(const CommandLine& line, std::FILE* err);
