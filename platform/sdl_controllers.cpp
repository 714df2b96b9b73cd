#include "platform/sdl_controllers.h"
#include "platform/clock.h"
#include "platform/key_sources.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// Each input of a controller is a key source of its own, so that the d-pad
// letting go of an arrow the stick still pushes keeps the arrow down.
enum Input : uint8_t { dpadLeft, dpadRight, stickLeft, stickRight, buttonA, buttonY, buttonStart, leftShoulder,
                       rightShoulder, backHeld, backAndStart };

// The stick walks once pushed beyond 45 % of full deflection and stops only
// when back under 30 %. A stick at rest, a worn one above all, can sit a
// fifth of the way off centre: below 30 % it neither starts nor keeps a
// walk. A thumb resting near the edge wobbles by a few per cent, which one
// threshold alone would turn into a stream of presses and releases; the gap
// between the two takes it up.
constexpr int stickEngages = 32767 * 45 / 100;
constexpr int stickLetsGo = 32767 * 30 / 100;

// Back quits only when held this long (milliseconds), so that brushing it
// does not end the game.
constexpr uint32_t backHoldToQuit = 1000;

struct Controller {
    SDL_GameController* sdl = nullptr;  // open from its arrival to its removal (or the process's end)
    SDL_JoystickID id = -1;             // SDL's number for it, never reused while the process runs
    bool backDown = false;
    uint32_t backSince = 0;  // tickCount() when Back went down, milliseconds
    bool paired = false;     // this Back press has made the pair with Start: it no longer quits
    bool startDown = false;
};

bool tried = false;  // to start SDL's controller system; it is tried once
std::vector<Controller> controllers;

uint32_t deviceOf(const Controller& c) { return uint32_t(c.id) + 1; }  // the keyboard is 0
KeySource source(const Controller& c, Input input) { return {deviceOf(c), input}; }

Controller* find(SDL_JoystickID id) {
    auto at = std::find_if(controllers.begin(), controllers.end(), [id](const Controller& c) { return c.id == id; });
    return at == controllers.end() ? nullptr : &*at;
}

void stopControllers() {
    for (Controller& c : controllers) SDL_GameControllerClose(c.sdl);
    controllers.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void openController(int deviceIndex) {
    // Reported again, it is opened once: every open takes one more hold on
    // SDL's single controller, and one close would not let it go.
    if (find(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return;
    SDL_GameController* sdl = SDL_GameControllerOpen(deviceIndex);
    if (!sdl) return;
    Controller c;
    c.sdl = sdl;
    c.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(sdl));
    controllers.push_back(c);
}

// Nothing it held stays down once it is gone.
void closeController(SDL_JoystickID id) {
    Controller* c = find(id);
    if (!c) return;
    releaseDevice(deviceOf(*c));
    SDL_GameControllerClose(c->sdl);
    controllers.erase(controllers.begin() + (c - controllers.data()));
}

void hold(const Controller& c, Input input, uint8_t key, bool down) {
    if (down)
        pressKey(key, source(c, input));
    else
        releaseKey(key, source(c, input));
}

bool escapeHeld(const Controller& c) { return holds(key::escape, source(c, backHeld)); }

// Start is the play key (it starts play from the title and pauses it after),
// unless Back is down (and has not quit yet): then the two make the pair,
// F1, whichever came second.
void pressStart(Controller& c, bool down) {
    c.startDown = down;
    if (!down) {
        hold(c, buttonStart, key::play, false);
        hold(c, backAndStart, key::f1, false);
    } else if (c.backDown && !escapeHeld(c)) {
        c.paired = true;
        hold(c, backAndStart, key::f1, true);
    } else {
        hold(c, buttonStart, key::play, true);
    }
}

void pressBack(Controller& c, bool down) {
    c.backDown = down;
    if (!down) {
        hold(c, backHeld, key::escape, false);
        hold(c, backAndStart, key::f1, false);
        return;
    }
    c.backSince = tickCount();
    c.paired = c.startDown;
    if (c.paired) hold(c, backAndStart, key::f1, true);
}

void pressButton(Controller& c, uint8_t button, bool down) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: hold(c, dpadLeft, key::left, down); break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: hold(c, dpadRight, key::right, down); break;
    case SDL_CONTROLLER_BUTTON_A: hold(c, buttonA, key::space, down); break;
    case SDL_CONTROLLER_BUTTON_Y: hold(c, buttonY, key::m, down); break;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: hold(c, leftShoulder, key::f2, down); break;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: hold(c, rightShoulder, key::f3, down); break;
    case SDL_CONTROLLER_BUTTON_START: pressStart(c, down); break;
    case SDL_CONTROLLER_BUTTON_BACK: pressBack(c, down); break;
    default: break;
    }
}

// Lets go first, so that a stick flung from one side to the other never
// holds both arrows.
void moveStick(const Controller& c, int x) {
    KeySource left = source(c, stickLeft), right = source(c, stickRight);
    if (holds(key::left, left) && x > -stickLetsGo) releaseKey(key::left, left);
    if (holds(key::right, right) && x < stickLetsGo) releaseKey(key::right, right);
    if (!holds(key::left, left) && x <= -stickEngages) pressKey(key::left, left);
    if (!holds(key::right, right) && x >= stickEngages) pressKey(key::right, right);
}

}  // namespace

void startControllers() {
    if (tried) return;
    tried = true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "vantrel: game controllers cannot be used (%s); the keyboard plays\n", SDL_GetError());
        return;
    }
    std::atexit(stopControllers);
}

void translateControllerEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: openController(e.cdevice.which); break;  // a device index
    case SDL_CONTROLLERDEVICEREMOVED: closeController(e.cdevice.which); break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (Controller* c = find(e.cbutton.which))
            pressButton(*c, e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (Controller* c = find(e.caxis.which); c && e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            moveStick(*c, e.caxis.value);
        break;
    default: break;
    }
}

void checkControllerHolds() {
    for (const Controller& c : controllers)
        if (c.backDown && !c.paired && !escapeHeld(c) && tickCount() - c.backSince >= backHoldToQuit)
            pressKey(key::escape, source(c, backHeld));
}

}  // namespace platform
