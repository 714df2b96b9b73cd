// The browser page's turns: the program gives the page control back at every
// frame (platform/web_present.cpp). What the page asked for meanwhile that
// must run on the program's own stack (writing the player's files, which
// waits for the browser's storage) is done as the program goes on, by this
// hook, set by the page's program.
#pragma once
#include <functional>

namespace platform {

extern std::function<void()> afterPageTurn;

}  // namespace platform
