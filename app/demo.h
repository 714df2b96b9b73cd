// Recording a game into a demo file, and replaying one exactly.
#pragma once
#include "app/command_line.h"
#include <cstdio>
#include <string>

// --record: opens the file and writes its header. Called once the first
// level is chosen, before the game starts. False, with the reason on `err`,
// when the file cannot be written: the game then does not start.
bool startRecording(const CommandLine& line, std::FILE* err);
// The game's own level was replaced during play (its file changed): a
// recording notes the new text, so that a replay replaces it at the same
// point of the game.
void noteLevelReplaced(const std::string& text);
// Hands what a running recording holds so far to the file, so that the
// file can be read while the game goes on.
void flushRecording();
// Ends a recording, if one runs: writes what is left and prints the end
// line on `out`.
void finishRecording(std::FILE* out);

// --play-demo: replays the demo, prints the end line on `out`; the exit
// status.
int playDemo(const CommandLine& line, std::FILE* out, std::FILE* err);
