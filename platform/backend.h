// What the system-independent parts of the platform layer (queue, message
// boxes, clock) need from the system backend. Only the layer includes this.
#pragma once
#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/window_steps.h"
#include <cstdint>
#include <string>

namespace platform::backend {

// Turns what the window system has reported since the last call into
// messages, in order, and posts them. Does nothing while no window class is
// registered.
void pumpEvents();
void discardEvents();
// The pump saw the audio output device go away.
void audioDeviceRemoved();

// Shows a real box; false when none could be shown.
bool showMessageBox(const char* text, const char* caption, Buttons buttons, Icon icon, Answer& answer);
// Takes the current window out of full screen, if it is in it.
void leaveFullScreenForBox();

// Lets the screen saver and monitor power-saving start, or keeps them off.
void allowScreenSaver(bool allow);

// Milliseconds since the layer started, 64 bits wide.
uint64_t systemTicks();
// A steady clock for pacing frames, in nanoseconds, never set by tests; and
// a sleep until a reading of it.
int64_t steadyNanoseconds();
void sleepUntil(int64_t steadyNs);

// Runs the sound's opener (see sdl_audio.cpp) on a thread of its own,
// detached, where the target has threads; where it has none (a browser
// page, whose audio opens without waiting), at once, before returning. False,
// with the reason, when it could not be started.
using Opener = int (*)(void* job);
bool runOpener(Opener opener, void* job, std::string& why);
// Keeps the libraries under SDL's audio from printing their own complaints.
void quietSoundLibraries();

// Whether the backend makes this step of building or releasing the window
// fail before it is tried: never in the game (no_step_failures.cpp), on
// demand in the tests (test_step_failures.cpp).
bool stepFails(WindowStep step);

// Called just before every presentation, with the frame still in the back
// buffer: nothing watches in the game (no_observers.cpp); the tests' backend
// counts the presents and calls their observer (test_video.cpp).
void framePresenting();

// The procedure of the registered window class; null when none is.
WindowProcedure registeredProcedure();

}  // namespace platform::backend
