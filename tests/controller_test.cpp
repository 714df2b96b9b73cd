// Game controllers: SDL's virtual joysticks, made game controllers by a
// mapping of this test's own, press the game's keys through the same
// messages as the keyboard; the keyboard's events are real SDL events.
#include "app/key_bindings.h"
#include "app/scripted_play.h"
#include "app/window.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "platform/controller_keys.h"
#include "platform/key_sources.h"
#include "platform/testing.h"
#include "platform/video.h"
#include "support/pictures.h"
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace pt = platform::testing;
namespace key = platform::key;
using platform::Message;
using platform::MessageKind;

namespace {

// The test pad: six buttons, a hat for the d-pad and the left stick.
enum Button { buttonA, buttonBack, buttonStart, leftShoulder, rightShoulder, buttonY, buttonCount };
constexpr const char* padLayout =
    ",Vantrel test pad,a:b0,back:b1,start:b2,leftshoulder:b3,rightshoulder:b4,y:b5,dpleft:h0.8,dpright:h0.2,dpup:h0.1,dpdown:h0.4,"
    "leftx:a0,lefty:a1,";

SDL_VirtualJoystickDesc padDescription() {
    SDL_VirtualJoystickDesc d = {};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_UNKNOWN;  // SDL makes up no mapping for it: only ours makes it a controller
    d.naxes = 2;
    d.nbuttons = buttonCount;
    d.nhats = 1;
    d.vendor_id = 0x7E57;
    d.product_id = 0x0001;
    d.name = "Vantrel test pad";
    return d;
}

// The mapping goes by the pad's GUID, which SDL derives from its
// description: a pad attached for a moment, not yet a controller, tells it.
bool mapThePad() {
    SDL_VirtualJoystickDesc d = padDescription();
    int index = SDL_JoystickAttachVirtualEx(&d);
    if (index < 0) return false;
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    SDL_JoystickDetachVirtual(index);
    return SDL_GameControllerAddMapping((guid + std::string(padLayout)).c_str()) >= 0;
}

// A pad plugged in; the layer opens it at the next pump. Needs the layer's
// controller system started (by a pump with the window class registered).
class Pad {
public:
    Pad() {
        static const bool mapped = mapThePad();
        EXPECT_TRUE(mapped) << SDL_GetError();
        SDL_VirtualJoystickDesc d = padDescription();
        int index = SDL_JoystickAttachVirtualEx(&d);
        EXPECT_TRUE(SDL_IsGameController(index));
        joystick = SDL_JoystickOpen(index);
        EXPECT_NE(joystick, nullptr) << SDL_GetError();
    }
    ~Pad() { unplug(); }
    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    void press(Button b) { SDL_JoystickSetVirtualButton(joystick, b, SDL_PRESSED); }
    void release(Button b) { SDL_JoystickSetVirtualButton(joystick, b, SDL_RELEASED); }
    SDL_JoystickID id() const { return SDL_JoystickInstanceID(joystick); }
    void dpad(Uint8 hat) { SDL_JoystickSetVirtualHat(joystick, 0, hat); }
    // The stick's x, in per cent of full deflection (negative: left).
    void stick(int percent) { SDL_JoystickSetVirtualAxis(joystick, 0, Sint16(32767 * percent / 100)); }
    void unplug() {
        if (!joystick) return;
        SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* joystick = nullptr;
};

// The offscreen driver never gives a window the keyboard focus, and while
// windows exist but none has it, SDL drops every joystick press (releases
// still come). The game keeps that default, so that a game in the
// background does not play; the tests cannot.
void allowBackgroundEvents() { SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1"); }

void pushKey(Uint32 type, SDL_Keycode sym, bool repeat = false) {
    SDL_Event e = {};
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.repeat = repeat;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
}

intptr_t ignoreMessages(const Message&) { return 0; }

// Pumps SDL and lists the key messages that came out: "+39" a key-down of
// virtual key 39, "+39r" one with the was-down bit, "-39" a key-up.
std::string keys() {
    std::string out;
    Message m;
    while (platform::peekMessage(m)) {
        if (m.kind != MessageKind::keyDown && m.kind != MessageKind::keyUp) continue;
        if (!out.empty()) out += ' ';
        out += (m.kind == MessageKind::keyDown ? "+" : "-") + std::to_string(m.wParam);
        if (m.kind == MessageKind::keyDown && (m.lParam & (intptr_t(1) << 30))) out += 'r';
    }
    return out;
}

// The platform layer alone: its messages are read as they come out.
class Pads : public testing::Test {
protected:
    void SetUp() override {
        allowBackgroundEvents();
        ASSERT_TRUE(platform::registerWindowClass(ignoreMessages));
        pt::discardMessages();
        keys();  // the first pump starts the controllers
    }
    void TearDown() override {
        keys();  // the pads unplugged at the end of the test are closed
        platform::unregisterWindowClass();
    }
};

}  // namespace

TEST_F(Pads, ButtonsAndTheDpadPressHoldAndRelease) {
    Pad pad;
    EXPECT_EQ(keys(), "");  // plugged in: nothing pressed
    pad.press(buttonA);
    EXPECT_EQ(keys(), "+32");
    EXPECT_EQ(keys(), "");  // held: no repeats
    pad.press(buttonStart);
    EXPECT_EQ(keys(), "+250");  // the play key: starts play, or pauses it
    pad.release(buttonA);
    EXPECT_EQ(keys(), "-32");
    pad.release(buttonStart);
    EXPECT_EQ(keys(), "-250");

    pad.dpad(SDL_HAT_LEFT);
    EXPECT_EQ(keys(), "+37");
    pad.dpad(SDL_HAT_CENTERED);
    EXPECT_EQ(keys(), "-37");
    pad.dpad(SDL_HAT_RIGHT | SDL_HAT_UP);  // a diagonal walks too (and turns a letter)
    EXPECT_EQ(keys(), "+39 +38");
    pad.dpad(SDL_HAT_CENTERED);
    EXPECT_EQ(keys(), "-39 -38");
    pad.dpad(SDL_HAT_DOWN);  // up and down are the arrows that turn a name's letters
    EXPECT_EQ(keys(), "+40");
    pad.dpad(SDL_HAT_CENTERED);
    EXPECT_EQ(keys(), "-40");

    // Mirroring and the sound switch act on every key-down: each press must
    // bring a fresh one.
    for (int i = 0; i < 2; ++i) {
        pad.press(leftShoulder);
        pad.press(rightShoulder);
        pad.press(buttonY);
        EXPECT_EQ(keys(), "+113 +114 +77");
        pad.release(leftShoulder);
        pad.release(rightShoulder);
        pad.release(buttonY);
        EXPECT_EQ(keys(), "-113 -114 -77");
    }
}

TEST_F(Pads, TheStickWalksBeyondItsDeadZoneAndDoesNotChatterAtItsEdge) {
    Pad pad;
    std::string seen;
    for (int percent : {20, 40, 44, 46, 40, 35, 44, 31, 47, 32, 29, 31, 40, 44, 29, 0}) {
        pad.stick(percent);
        std::string k = keys();
        seen += k.empty() ? "" : " " + k;
    }
    EXPECT_EQ(seen, " +39 -39");  // in at 46 %, out at 29 %, no more
    pad.stick(-46);
    EXPECT_EQ(keys(), "+37");
    pad.stick(100);  // flung across: the left arrow goes first
    EXPECT_EQ(keys(), "-37 +39");
    pad.stick(-100);
    EXPECT_EQ(keys(), "-39 +37");
    pad.stick(0);
    EXPECT_EQ(keys(), "-37");
}

TEST_F(Pads, UnpluggingAHeldPadReleasesEveryKeyItHeldOnce) {
    pt::setClock(5000);
    auto pad = std::make_unique<Pad>();
    keys();
    pad->stick(80);
    EXPECT_EQ(keys(), "+39");
    pad->dpad(SDL_HAT_LEFT);
    EXPECT_EQ(keys(), "+37");
    pad->press(buttonA);
    pad->press(buttonBack);
    EXPECT_EQ(keys(), "+32");
    pt::advanceClock(1000);
    EXPECT_EQ(keys(), "+27");
    pad.reset();
    std::string released = keys();
    for (const char* up : {"-39", "-37", "-32", "-27"}) EXPECT_EQ(released.find(up), released.rfind(up)) << released;
    EXPECT_EQ(released.size(), std::string("-39 -37 -32 -27").size()) << released;

    // Nothing of it is left holding a key: neither the keyboard nor a new pad
    // finds any of them still down.
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    EXPECT_EQ(keys(), "+39 -39");
    Pad another;
    keys();
    another.press(buttonA);
    EXPECT_EQ(keys(), "+32");
    // A removal heard of before the pad's last button-ups (SDL sends those
    // first, but they are not what releases the keys).
    SDL_Event removed = {};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = another.id();
    SDL_PushEvent(&removed);
    EXPECT_EQ(keys(), "-32");
    another.unplug();
    EXPECT_EQ(keys(), "");
}

TEST_F(Pads, TwoPadsAndTheKeyboardHoldAKeyUntilTheLastLetsGo) {
    Pad first, second;
    keys();
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    EXPECT_EQ(keys(), "+39");
    first.stick(100);
    EXPECT_EQ(keys(), "+39r");
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    EXPECT_EQ(keys(), "");  // the stick still pushes
    second.dpad(SDL_HAT_RIGHT);
    EXPECT_EQ(keys(), "+39r");
    first.stick(0);
    EXPECT_EQ(keys(), "");
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    pushKey(SDL_KEYDOWN, SDLK_RIGHT, true);  // the keyboard's own repeat
    EXPECT_EQ(keys(), "+39r +39r");
    second.dpad(SDL_HAT_CENTERED);
    EXPECT_EQ(keys(), "");  // the key is still down on the keyboard
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    EXPECT_EQ(keys(), "-39");

    // The same button on both pads.
    first.press(buttonA);
    second.press(buttonA);
    EXPECT_EQ(keys(), "+32 +32r");
    first.release(buttonA);
    EXPECT_EQ(keys(), "");
    second.release(buttonA);
    EXPECT_EQ(keys(), "-32");
}

// A new game in the same program starts with every key up: what a pad (or a
// finger on the page's button) held at the end of the last one no longer
// keeps the keyboard's key down.
TEST_F(Pads, ForgottenHoldingsKeepNoKeyDownForTheNextGame) {
    Pad pad;
    keys();
    pad.stick(100);
    EXPECT_EQ(keys(), "+39");
    platform::forgetHoldings();
    pushKey(SDL_KEYDOWN, SDLK_RIGHT);
    pushKey(SDL_KEYUP, SDLK_RIGHT);
    EXPECT_EQ(keys(), "+39 -39");
    pad.stick(0);
    EXPECT_EQ(keys(), "");
}

TEST_F(Pads, BackHeldForASecondQuitsAndAShorterPressDoesNothing) {
    pt::setClock(5000);
    Pad pad;
    keys();
    pad.press(buttonBack);
    EXPECT_EQ(keys(), "");
    pt::advanceClock(999);
    EXPECT_EQ(keys(), "");
    pad.release(buttonBack);
    EXPECT_EQ(keys(), "");
    pt::advanceClock(5000);
    EXPECT_EQ(keys(), "");  // the short press is over: nothing comes of it later

    pad.press(buttonBack);
    keys();
    pt::advanceClock(1000);
    EXPECT_EQ(keys(), "+27");
    pt::advanceClock(1000);
    EXPECT_EQ(keys(), "");  // once
    pad.release(buttonBack);
    EXPECT_EQ(keys(), "-27");
}

// The buttons press the first key of the action the player gave them, and
// a key held when that changes is let go as it was pressed. While the keys
// screen asks, they press keys naming themselves, Back at once, and the
// stick nothing.
TEST_F(Pads, ButtonsPressTheKeysOfTheirActionsOrNameThemselvesWhenAsked) {
    Pad pad;
    ::keys();
    KeyBindings keys = defaultKeys;
    keys.keys[size_t(Action::left)] = {'A', 0};
    keys.keys[size_t(Action::quit)] = {'Q', 0};
    ButtonBindings buttons = defaultButtons;
    buttons.actions[size_t(platform::Button::y)] = uint8_t(Action::left);
    buttons.actions[size_t(platform::Button::a)] = noAction;
    platform::setControllerKeys(controllerKeysFor(keys, buttons));
    pad.press(buttonY);
    pad.press(buttonA);
    pad.stick(-80);
    EXPECT_EQ(::keys(), "+65 +65r");
    platform::setControllerKeys(controllerKeysFor(defaultKeys, defaultButtons));
    pad.release(buttonY);
    pad.stick(0);
    EXPECT_EQ(::keys(), "-65");

    platform::askForButtons(true);
    pad.press(buttonY);
    pad.press(buttonBack);
    pad.stick(-80);
    EXPECT_EQ(::keys(), "+239 +227");  // SDL reports the buttons in its order
    pad.release(buttonY);
    pad.release(buttonBack);
    EXPECT_EQ(::keys(), "-239 -227");
    platform::askForButtons(false);
    pad.stick(0);
    pad.release(buttonA);
    ::keys();
}

TEST_F(Pads, BackWithStartIsF1InsteadOfSpaceAndNoLongerQuits) {
    pt::setClock(5000);
    Pad pad;
    keys();
    pad.press(buttonBack);
    keys();
    pad.press(buttonStart);
    EXPECT_EQ(keys(), "+112");
    pt::advanceClock(3000);
    EXPECT_EQ(keys(), "");  // the pair cancelled the quit
    pad.release(buttonStart);
    EXPECT_EQ(keys(), "-112");
    pad.release(buttonBack);
    EXPECT_EQ(keys(), "");

    // Start first: it is the play key at once; Back then completes the pair.
    pad.press(buttonStart);
    EXPECT_EQ(keys(), "+250");
    pad.press(buttonBack);
    EXPECT_EQ(keys(), "+112");
    pt::advanceClock(3000);
    pad.release(buttonBack);
    EXPECT_EQ(keys(), "-112");
    pad.release(buttonStart);
    EXPECT_EQ(keys(), "-250");
}

namespace {

// The real game, headless, with a level of the test's own.
class PadPlays : public testing::Test {
protected:
    TempDataRoot data;
    std::unique_ptr<ScriptedPlay> play;

    void SetUp() override {
        allowBackgroundEvents();
        writeLevel(0, level0);
        writeLevel(1, "0 0 0");
        play = std::make_unique<ScriptedPlay>();
        ASSERT_TRUE(play->opened());
        ASSERT_TRUE(play->runFrame());  // its first pump starts the controllers
    }
    void TearDown() override { play.reset(); }

    void writeLevel(int n, const std::string& text) {
        writeBytes(data.file("level" + std::to_string(n) + ".lvl.txt"), {text.begin(), text.end()});
    }
    // Runs frames until the condition holds; false after `limit` frames.
    template <typename Condition>
    bool runUntil(Condition done, int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            if (!play->runFrame()) return false;
        }
        return done();
    }

    // No enemies; a climb to the first floor at x = 100, the exit on that
    // floor at x = 20.
    static constexpr const char* level0 = "0 2 100 0 0 28 16 0 1 20 16 0 28 16 0 4 0";
};

}  // namespace

TEST_F(PadPlays, APadStartsPlayWalksClimbsAndReachesTheExit) {
    Pad pad;
    play->runFrame();
    EXPECT_FALSE(game.gameStarted);
    pad.press(buttonA);
    ASSERT_TRUE(runUntil([] { return game.gameStarted; }, 3));
    pad.release(buttonA);
    pad.stick(70);
    ASSERT_TRUE(runUntil([] { return game.climbing; })) << "x = " << game.player->x;
    pad.stick(10);  // inside the dead zone
    ASSERT_TRUE(runUntil([] { return !game.climbing; }));
    EXPECT_EQ(game.player->y, 16);
    EXPECT_GT(game.player->velocity, 0);  // the figure walks on by itself, as with the keyboard
    pad.dpad(SDL_HAT_LEFT);
    ASSERT_TRUE(runUntil([] { return game.currentLevel == 1; })) << "x = " << game.player->x;
    EXPECT_EQ(game.livesCounter->value(), startLives + 1);
    pad.dpad(SDL_HAT_CENTERED);
    play->runFrame();
}

// Start leaves the title, and once play has begun pauses it and resumes it.
TEST_F(PadPlays, StartStartsPlayThenPausesAndResumesIt) {
    Pad pad;
    play->runFrame();
    auto pressStart = [&] {
        pad.press(buttonStart);
        ASSERT_TRUE(play->runFrames(2));
        pad.release(buttonStart);
        ASSERT_TRUE(play->runFrames(2));
    };
    pressStart();
    EXPECT_TRUE(game.gameStarted);
    EXPECT_FALSE(game.paused);
    pressStart();
    EXPECT_TRUE(game.paused);
    pressStart();
    EXPECT_FALSE(game.paused);
}

TEST_F(PadPlays, BackAndStartHeldAcrossTheSwitchSwitchOnceAndNeverStartPlay) {
    Pad pad;
    play->runFrame();
    uint64_t windows = pt::windowsOpened();
    pad.press(buttonBack);
    play->runFrame();
    pad.press(buttonStart);
    ASSERT_TRUE(play->runFrames(3));
    EXPECT_EQ(pt::windowsOpened(), windows + 1);
    EXPECT_TRUE(fullScreen);
    // Both buttons still down in the new window: they do not come again, and
    // Back's hold does not quit.
    ASSERT_TRUE(play->runFrames(100));
    EXPECT_FALSE(game.gameStarted);  // Start held would start play in the new window
    pad.release(buttonStart);
    pad.release(buttonBack);
    ASSERT_TRUE(play->runFrames(3));
    EXPECT_EQ(pt::windowsOpened(), windows + 1);
    int width = 0, height = 0;
    ASSERT_TRUE(pt::windowSize(width, height));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width);  // the old window's last events did not size the new one's view
    EXPECT_EQ(viewport[3], height);
}
