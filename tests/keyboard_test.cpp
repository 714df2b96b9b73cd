// The window procedure's handling of each message, and the keys' effects.
#include "app/keyboard.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/sounds.h"
#include "platform/testing.h"
#include "support/gl_window.h"
#include <GL/gl.h>
#include <SDL.h>

namespace pt = platform::testing;
using platform::Message;
using platform::MessageKind;
namespace key = platform::key;

namespace {

intptr_t send(MessageKind kind, uintptr_t wParam = 0, intptr_t lParam = 0) {
    return windowProcedure({kind, wParam, lParam});
}

class Keys : public testing::Test {
protected:
    Player player;
    void SetUp() override { game.player = &player; }
    void TearDown() override { game.player = nullptr; }
};

}  // namespace

TEST_F(Keys, AFreshPressIsRecordedAndActsAtOnce) {
    EXPECT_EQ(send(MessageKind::keyDown, key::f2), 0);
    EXPECT_TRUE(game.flipVertical);       // acted on inside the message
    EXPECT_EQ(KeyTable[key::f2], 0);      // and cleared by the one who acted
    send(MessageKind::keyDown, key::left);
    EXPECT_EQ(KeyTable[key::left], 1);
    send(MessageKind::keyUp, key::left);
    EXPECT_EQ(KeyTable[key::left], 0);
}

TEST_F(Keys, HoldingF2OrF3MirrorsOnEveryRepeat) {
    send(MessageKind::keyDown, key::f3);
    EXPECT_TRUE(game.flipHorizontal);
    send(MessageKind::keyDown, key::f3, 1 << 30);
    EXPECT_FALSE(game.flipHorizontal);
    send(MessageKind::keyDown, key::f3, 1 << 30);
    EXPECT_TRUE(game.flipHorizontal);
}

TEST_F(Keys, HoldingMSwitchesTheSoundOnceAPress) {
    bool on = soundIsOn();
    send(MessageKind::keyDown, key::m);
    EXPECT_NE(soundIsOn(), on);
    for (int repeat = 0; repeat < 3; ++repeat) {
        send(MessageKind::keyDown, key::m, 1 << 30);
        processKeys();  // as every frame does
    }
    EXPECT_NE(soundIsOn(), on);
    send(MessageKind::keyUp, key::m);
    send(MessageKind::keyDown, key::m);
    EXPECT_EQ(soundIsOn(), on);
}

TEST_F(Keys, RepeatsOfAHeldKeyChangeNothing) {
    game.gameStarted = true;
    send(MessageKind::keyDown, key::left);
    EXPECT_DOUBLE_EQ(player.velocity, -walkSpeed);
    player.velocity = 0;
    send(MessageKind::keyDown, key::left, 1 << 30);  // no fresh press: processKeys does not run
    EXPECT_DOUBLE_EQ(player.velocity, 0);
}

TEST_F(Keys, SystemKeysAreNotRecorded) {
    EXPECT_EQ(send(MessageKind::sysKeyDown, key::f10), 0);
    EXPECT_EQ(send(MessageKind::sysKeyDown, 'X', 1 << 29), 0);
    EXPECT_EQ(KeyTable[key::f10], 0);
    EXPECT_EQ(KeyTable['X'], 0);
}

TEST_F(Keys, ArrowsAreIgnoredOnTheTitleAndSpaceIsTestedLast) {
    KeyTable[key::right] = 1;
    processKeys();
    EXPECT_DOUBLE_EQ(player.velocity, 0);
    KeyTable[key::space] = 1;
    processKeys();  // starts play, but the arrows were read before SPACE
    EXPECT_TRUE(game.gameStarted);
    EXPECT_DOUBLE_EQ(player.velocity, 0);
    processKeys();
    EXPECT_DOUBLE_EQ(player.velocity, walkSpeed);
}

TEST_F(Keys, RightWinsAndReleasingDoesNotStop) {
    game.gameStarted = true;
    KeyTable[key::left] = KeyTable[key::right] = 1;
    processKeys();
    EXPECT_DOUBLE_EQ(player.velocity, walkSpeed);
    KeyTable[key::left] = KeyTable[key::right] = 0;
    processKeys();
    EXPECT_DOUBLE_EQ(player.velocity, walkSpeed);
    KeyTable[key::left] = 1;
    processKeys();
    EXPECT_DOUBLE_EQ(player.velocity, -walkSpeed);
}

TEST_F(Keys, SpaceDuringPlayChangesNothingFurther) {
    game.gameStarted = true;
    game.flipVertical = true;
    KeyTable[key::space] = 1;
    processKeys();
    EXPECT_TRUE(game.gameStarted);
    EXPECT_TRUE(game.flipVertical);
    EXPECT_DOUBLE_EQ(player.velocity, 0);
}

TEST(WindowProcedure, ActivationLooksOnlyAtTheMinimisedState) {
    send(MessageKind::activate, uintptr_t(platform::makeLong(0, 1)));  // minimised
    EXPECT_FALSE(windowActive);
    send(MessageKind::activate, uintptr_t(platform::makeLong(1, 0)));
    EXPECT_TRUE(windowActive);
    send(MessageKind::activate, uintptr_t(platform::makeLong(0, 0)));  // lost the focus, still visible
    EXPECT_TRUE(windowActive);
}

TEST(WindowProcedure, CloseAsksTheLoopToQuitWithZero) {
    EXPECT_EQ(send(MessageKind::close), 0);
    Message m;
    ASSERT_TRUE(platform::peekMessage(m));
    EXPECT_EQ(m.kind, MessageKind::quit);
    EXPECT_EQ(m.wParam, 0u);
}

TEST(WindowProcedure, OtherSystemCommandsGoToTheDefaultHandling) {
    send(MessageKind::sysCommand, platform::command::close);
    Message m;
    ASSERT_TRUE(platform::peekMessage(m));
    EXPECT_EQ(m.kind, MessageKind::close);
}

class WindowProcedureGl : public GlTest {};

TEST_F(WindowProcedureGl, ScreenSaverCommandsAreSwallowed) {
    EXPECT_EQ(send(MessageKind::sysCommand, platform::command::screenSave), 0);
    EXPECT_EQ(send(MessageKind::sysCommand, platform::command::monitorPower), 0);
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
    platform::defaultWindowProcedure({MessageKind::sysCommand, platform::command::screenSave, 0});
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());  // what the game's procedure prevents
}

TEST_F(WindowProcedureGl, SizeResizesTheView) {
    send(MessageKind::size, 0, platform::makeLong(800, 0));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 1);
}
