// The game's one window with its drawing surface and rendering context, the
// view that maps the 320 x 200 world onto it, and the fixed drawing state.
#pragma once
#include "platform/video.h"

// The window runs full screen. Set from createWindow's argument; cleared when
// full screen is not available and the player takes a window instead.
extern bool fullScreen;

// Full screen, the world fills the whole screen whatever its shape (--stretch).
// Otherwise it keeps the 4:3 shape of the 640 x 480 picture: scaled up as far
// as the screen allows, centred, black around it. A window always stretches
// the world over its whole client area.
extern bool stretchFullScreen;

// Held while they exist, null otherwise.
extern platform::Window* mainWindow;
extern platform::Surface* deviceContext;
extern platform::RenderContext* renderContext;

// The world plane every view shows, in world units.
constexpr double worldWidth = 320.0;
constexpr double worldHeight = 200.0;

// Builds window, surface, pixel format and context, sets the view and the
// fixed state, and starts the game. On failure it releases what it built,
// says why in a message box and returns false.
bool createWindow(const char* title, int width, int height, int bits, bool fullScreenWanted);

// Releases whatever is held, step by step; a failed step is reported and the
// rest goes on.
void destroyWindow();

// Viewport and projection for a client area of width x height pixels: in a
// window the world plane fills it, stretched along each axis on its own; full
// screen it keeps its shape unless stretchFullScreen is set.
void resizeView(int width, int height);

// Where the world is shown in a client area of width x height pixels, with
// the origin at the bottom left, as glViewport takes it.
struct ViewArea {
    int x, y, width, height;
};
ViewArea viewArea(int width, int height);

// The fixed drawing state of every new context; then starts the game.
bool initRenderer();
