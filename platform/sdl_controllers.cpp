#include "platform/sdl_controllers.h"
#include "platform/clock.h"
#include "platform/controller_keys.h"
#include "platform/key_sources.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// Each input of a controller is a key source of its own, so that the d-pad
// letting go of an arrow the stick still pushes keeps the arrow down. The
// buttons a player gives to actions are inputs 0 to buttonCount - 1.
enum Input : uint8_t { stickLeft = buttonCount, stickRight, buttonStart, buttonBack, backHeld, backAndStart };

// What the inputs press until the game says otherwise: the keys of the
// actions the buttons have by default.
ControllerKeys keys = {{key::space, 0, 0, key::m, key::f2, key::f3, key::left, key::right, key::up, key::down},
                       key::left, key::right, key::escape, key::f1};
bool asking = false;  // for the keys screen: buttons press keys of their own

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

// A key of 0 is none: the input presses nothing.
void press(const Controller& c, int input, uint8_t key) {
    if (key) pressKey(key, source(c, Input(input)));
}
void letGo(const Controller& c, int input) { releaseSource(source(c, Input(input))); }

bool escapeHeld(const Controller& c) { return holdsAny(source(c, backHeld)); }

// Start is the play key (it starts play from the title and pauses it after),
// unless Back is down (and has not quit yet): then the two make the pair,
// F1, whichever came second.
void pressStart(Controller& c, bool down) {
    c.startDown = down;
    if (!down) {
        letGo(c, buttonStart);
        letGo(c, backAndStart);
    } else if (asking) {
        press(c, buttonStart, key::startButton);
    } else if (c.backDown && !escapeHeld(c)) {
        c.paired = true;
        press(c, backAndStart, keys.backAndStart);
    } else {
        press(c, buttonStart, key::play);
    }
}

// Asked for, Back is a button like the others, held for no time.
void pressBack(Controller& c, bool down) {
    c.backDown = down && !asking;
    if (!down) {
        letGo(c, buttonBack);
        letGo(c, backHeld);
        letGo(c, backAndStart);
        return;
    }
    if (asking) {
        press(c, buttonBack, key::backButton);
        return;
    }
    c.backSince = tickCount();
    c.paired = c.startDown;
    if (c.paired) press(c, backAndStart, keys.backAndStart);
}

// SDL's buttons that a player may give to actions, in platform::Button's order.
constexpr SDL_GameControllerButton actionButtons[buttonCount] = {
    SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
};

void pressButton(Controller& c, uint8_t button, bool down) {
    if (button == SDL_CONTROLLER_BUTTON_START) return pressStart(c, down);
    if (button == SDL_CONTROLLER_BUTTON_BACK) return pressBack(c, down);
    for (int b = 0; b < buttonCount; ++b) {
        if (actionButtons[b] != button) continue;
        if (down)
            press(c, b, asking ? uint8_t(key::firstButton + b) : keys.buttons[b]);
        else
            letGo(c, b);
    }
}

// Lets go first, so that a stick flung from one side to the other never
// holds both arrows. Asked for buttons, it presses nothing.
void moveStick(const Controller& c, int x) {
    if (holdsAny(source(c, stickLeft)) && x > -stickLetsGo) letGo(c, stickLeft);
    if (holdsAny(source(c, stickRight)) && x < stickLetsGo) letGo(c, stickRight);
    if (asking) return;
    if (!holdsAny(source(c, stickLeft)) && x <= -stickEngages) press(c, stickLeft, keys.stickLeft);
    if (!holdsAny(source(c, stickRight)) && x >= stickEngages) press(c, stickRight, keys.stickRight);
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
            press(c, backHeld, keys.backHeld);
}

void setControllerKeys(const ControllerKeys& newKeys) { keys = newKeys; }

void askForButtons(bool on) { asking = on; }

}  // namespace platform
