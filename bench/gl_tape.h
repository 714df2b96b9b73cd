// Records the OpenGL calls of a frame and plays them back bare, so that the
// driver's own cost of exactly the game's calls can be measured apart from
// the game's logic.
//
// The bench programs define the OpenGL entry points the game's frame uses;
// being linked into the program, these definitions take the game's calls,
// note them while recording, and pass each on to the driver's own function.
#pragma once
#include <cstddef>

void startRecording();
// Ends the recording; the number of calls on the tape.
size_t stopRecording();
// Issues the recorded calls to the driver, in order, with their arguments.
void replayTape();
