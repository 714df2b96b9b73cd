// Recording a game into a demo file, and replaying one exactly.
#pragma once
#include "app/command_line.h"
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// Every game played is recorded, in memory (a minute of play takes a few
// KiB), so that the demo of one that enters a high-score table can be kept
// with it; with --record, into the file too. Called once the first level
// is chosen, before the game starts. False, with the reason on `err`, when
// the file cannot be written: the game then does not start.
bool startRecording(const CommandLine& line, std::FILE* err);
// The frames recorded so far.
uint64_t recordedFrames();
// What the high-score tables answered the game, noted for a replay.
void noteTablesAnswer(bool wanted);
// The demo of everything recorded so far, ended as a replay of it ends: at
// the next frame's reading, once what the game is handling now is done.
// `keep` is given it then (or when the recording ends first).
void keepDemoAtNextFrame(std::function<void(const std::string& demo)> keep);
// The game's own level was replaced during play (its file changed): a
// recording notes the new text, so that a replay replaces it at the same
// point of the game.
void noteLevelReplaced(const std::string& text);
// The loop's frame is drawn whole and about to be shown: a game saved from
// now until the next frame's reading ends after it.
void frameWhole();
// The demo of everything recorded so far, ended as a replay of it would end
// now: whole, where the file of a running recording lacks its end; and the
// line its replay ends on. Asked in the middle of a frame (at the game-over
// picture), it ends before that frame. Empty when nothing is being recorded.
struct SavedDemo {
    std::string demo, line;
};
SavedDemo demoSoFar();
// Ends the recording: with --record, writes what is left and prints the end
// line on `out` (unless null).
void finishRecording(std::FILE* out);

// --play-demo: replays the demo, prints the end line on `out`; the exit
// status.
int playDemo(const CommandLine& line, std::FILE* out, std::FILE* err);

// Whether a game played here is being recorded (not in a replay), and
// whether into a file (--record): its name, empty when not.
bool recordingGame();
bool recordingToFile();
const std::string& recordingFile();

// The page records into a file of its own, for its "save this game": a kept
// game watched from the tables ends that recording, and the next begins in
// the same file. A player's --record file is never written over: while one
// is recorded, no kept game is watched. Set by the page's program.
extern bool recordingFileIsThePages;

// Replays a kept game in the game's own window, the frames before
// `paceFrom` as fast as they go and the rest at the display's pace, until
// its end or the viewer's ESC. The game's own recording and tables step
// aside meanwhile (the caller ends and starts them); its state afterwards is
// the replayed game's, for the caller to forget.
// Replayed to its end, it prints its end line on `out`, as --play-demo
// does, and says on `err` when it went another way than it was kept.
enum class Watched { toTheEnd, stopped, cannotRead, windowClosed };
Watched watchKeptGame(const std::string& demoFile, uint64_t paceFrom, std::FILE* out, std::FILE* err);
