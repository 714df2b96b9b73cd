// How a frame reaches the screen, which differs from target to target: on a
// desktop it is the driver's swap, paced to the display by the layer where
// the driver does not wait; in a browser page, the page's next animation
// frame. Used by the SDL window code only.
#pragma once

struct SDL_Window;

namespace platform::present {

// The video driver draws into memory, where nobody sees the window.
void setScreenless(bool screenless);
// A context was just made current on the window, or vertical sync was
// switched: the swap interval is asked for again and pacing starts afresh.
void restart(SDL_Window* window, bool verticalSync);
// Waits, if the frame must, before it is presented.
void awaitTurn(bool verticalSync);
// Presents the window's back buffer.
void show(SDL_Window* window);

}  // namespace platform::present
