// The window, its drawing surface and the OpenGL rendering context, built and
// released step by step so that the caller can report each failed step.
//
// Full screen never switches the monitor's mode: a full-screen window covers
// the desktop at its own resolution and the caller's view is stretched over
// it (desktops handle real mode switches to small sizes badly).
#pragma once
#include "platform/messages.h"

namespace platform {

struct Window;         // a top-level window
struct Surface;        // the window's drawing surface, used for presenting
struct RenderContext;  // an OpenGL rendering context

struct PixelFormatRequest {
    int colourBits = 16;  // at least this many bits of colour
    int depthBits = 16;   // at least this many bits of depth buffer
    bool doubleBuffer = true;
};

// Registers the window class: brings the video system up and remembers the
// procedure that receives the window's messages. False when no display can
// be reached.
bool registerWindowClass(WindowProcedure procedure);
// Unregisters the class and shuts the video system down. False when no class
// was registered.
bool unregisterWindowClass();

// Asks for a full-screen display of the given size and depth. True when full
// screen can be used (the window is then made full screen on the desktop's
// own mode); the desktop is never switched to another mode.
bool changeDisplayMode(int width, int height, int bits);
// Leaves full screen: the window, if any, goes back to a normal window.
void restoreDisplayMode();

// Creates the window, hidden, with a client area of width x height (windowed,
// resizable, at the screen's top-left corner) or covering the desktop (full
// screen). Null on failure.
Window* openWindow(const char* title, int width, int height, bool fullScreen);
bool closeWindow(Window* window);
// Shows the window, raises it and gives it the keyboard focus. Afterwards a
// size message with the real drawable size (pixels) is waiting in the queue.
void showWindow(Window* window);

Surface* getSurface(Window* window);
bool releaseSurface(Window* window, Surface* surface);

// Picks the format that best satisfies the request: its number, 0 if none.
int choosePixelFormat(Surface* surface, const PixelFormatRequest& request);
// Gives the surface its format; like the window's visual, it can be set once.
bool setPixelFormat(Surface* surface, int format, const PixelFormatRequest& request);

// A new context shares nothing with earlier ones: no textures, no lists.
RenderContext* createRenderContext(Surface* surface);
// With both null, releases the current context.
bool makeCurrent(Surface* surface, RenderContext* context);
bool deleteRenderContext(RenderContext* context);

// Whether contexts ask for vertical sync and frames are paced to the
// display's refresh (on unless turned off), for the current context and
// every one made current later: adaptive sync is asked for first, then plain
// sync; off asks the driver not to wait at all.
void setVerticalSync(bool on);
bool verticalSyncOn();

// Presents the back buffer. With vertical sync on and a driver that does not
// wait for the display, it first waits for the next frame deadline.
bool swapBuffers(Surface* surface);
// Presents the back buffer of the window opened last, as swapBuffers does
// its surface; false when no window is open.
bool presentWindow();
void showCursor(bool show);

}  // namespace platform
