// Presenting in a browser page. The page draws what the canvas holds only
// once the program gives control back to it, so a frame is presented by
// waiting, through Asyncify, for the page's next animation frame: the
// browser paces the game to the display itself. Unpaced (--no-vsync) the
// program gives control back only now and then by real time, enough for the
// page to show a frame and take keys, and otherwise draws on at once.
#include "platform/clock.h"
#include "platform/page_turn.h"
#include "platform/present.h"
#include <emscripten.h>

namespace platform {

std::function<void()> afterPageTurn;

namespace {

bool paced = true;
uint64_t lastYield = 0;  // wallMilliseconds() when the page last had control

// Longest the page goes without control while the game runs unpaced or
// waits: about one display frame.
constexpr uint64_t maxBusyMs = 16;

EM_ASYNC_JS(void, nextAnimationFrame, (), { await new Promise(resolve => requestAnimationFrame(() => resolve())); });

// Back to the page's event loop and on at once: a message to ourselves, not
// a timer, which browsers delay by 4 ms or more once nested.
EM_ASYNC_JS(void, yieldToPage, (), {
    await new Promise(resolve => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve();
        channel.port2.postMessage(0);
    });
});

void yieldNowAndThen() {
    uint64_t now = wallMilliseconds();
    if (now - lastYield < maxBusyMs) return;
    yieldToPage();
    lastYield = wallMilliseconds();
    if (afterPageTurn) afterPageTurn();
}

}  // namespace

void present::setScreenless(bool) {}

void present::restart(SDL_Window*, bool verticalSync) { paced = verticalSync; }

void present::awaitTurn(bool verticalSync) { paced = verticalSync; }

void present::show(SDL_Window*) {
    if (!paced) {
        yieldNowAndThen();
        return;
    }
    nextAnimationFrame();
    lastYield = wallMilliseconds();
    if (afterPageTurn) afterPageTurn();
}

void waitingForTicks() { yieldNowAndThen(); }

}  // namespace platform
