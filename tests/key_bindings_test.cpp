// The keys in force: play reads every action through them, and the keys
// screen changes them, refusing a key another action has.
#include "app/key_bindings.h"
#include "app/keys_screen.h"
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/sounds.h"
#include "platform/messages.h"
#include "support/pictures.h"
#include <gtest/gtest.h>

namespace key = platform::key;
constexpr uint8_t f12 = key::f1 + 11;

namespace {

class KeysInForce : public testing::Test {
protected:
    TempDataRoot data;
    void SetUp() override {
        std::string level = "0 0 0";
        writeBytes(data.file("level0.lvl.txt"), {level.begin(), level.end()});
    }
    // A fresh press and its release, each handled before a frame.
    static bool tap(ScriptedPlay& play, uint8_t code) {
        play.press(code);
        bool on = play.runFrame();
        play.release(code);
        return on && play.runFrame();
    }
};

}  // namespace

// The player's keys walk and quit; the defaults they replaced do nothing.
TEST_F(KeysInForce, PlayReadsEveryActionThroughThem) {
    keyBindings.keys[size_t(Action::left)] = {'A', 0};
    keyBindings.keys[size_t(Action::quit)] = {'Q', f12};
    ScriptedPlay play;
    ASSERT_TRUE(tap(play, key::space));
    ASSERT_TRUE(game.gameStarted);
    play.press(key::right);
    ASSERT_TRUE(play.runFrames(10));
    play.release(key::right);
    play.press('A');
    ASSERT_TRUE(play.runFrame());
    EXPECT_LT(game.player->velocity, 0);
    play.release('A');
    play.press(key::right);
    ASSERT_TRUE(play.runFrame());
    EXPECT_GT(game.player->velocity, 0);
    play.release(key::right);
    play.press(key::left);
    ASSERT_TRUE(play.runFrame());
    EXPECT_GT(game.player->velocity, 0) << "the left arrow still walks";
    EXPECT_TRUE(tap(play, key::escape)) << "ESC still quits";
    play.press(f12);
    EXPECT_FALSE(play.runFrame());
}

// K on the title opens it at LEFT. A key another action has is refused and
// nothing else comes of it (M does not switch the sound); a free key is
// taken and the next action asked for; a button is taken from the action
// that had it; BACKSPACE brings the defaults back; ESC leaves, and neither
// it nor its repeats quit the game.
TEST_F(KeysInForce, TheScreenRefusesATakenKeyGivesTheDefaultsBackAndLeavesOnEsc) {
    ScriptedPlay play;
    ASSERT_TRUE(tap(play, key::k));
    ASSERT_TRUE(keysScreen.open);
    bool sound = soundIsOn();
    ASSERT_TRUE(tap(play, key::m));
    EXPECT_EQ(keysScreen.notice, "M IS TAKEN BY SOUND");
    EXPECT_EQ(soundIsOn(), sound);
    ASSERT_TRUE(tap(play, key::f2));
    EXPECT_EQ(keysScreen.notice, "F2 IS TAKEN BY MIRROR UP-DOWN");
    EXPECT_FALSE(game.flipVertical);
    EXPECT_EQ(keysScreen.asking, int(Action::left));
    EXPECT_EQ(keyBindings, defaultKeys);

    ASSERT_TRUE(tap(play, 'J'));
    EXPECT_EQ(keyBindings.firstKey(Action::left), 'J');
    EXPECT_EQ(keyBindings.actionOf(key::left), -1);
    EXPECT_EQ(keysScreen.asking, int(Action::right));
    ASSERT_TRUE(tap(play, key::firstButton + uint8_t(platform::Button::a)));
    EXPECT_EQ(buttonBindings.actions[size_t(platform::Button::a)], uint8_t(Action::right));
    EXPECT_EQ(buttonsText(buttonBindings, Action::start, false, " "), "");
    ASSERT_TRUE(tap(play, key::enter));
    EXPECT_EQ(keysScreen.asking, int(Action::pause));

    ASSERT_TRUE(tap(play, key::backspace));
    EXPECT_EQ(keyBindings, defaultKeys);
    EXPECT_EQ(buttonBindings, defaultButtons);
    EXPECT_TRUE(keysScreen.open);

    play.press(key::escape);
    ASSERT_TRUE(play.runFrame()) << "ESC quit the game from the keys screen";
    EXPECT_FALSE(keysScreen.open);
    play.press(key::escape);  // held: the keyboard repeats it
    EXPECT_TRUE(play.runFrames(3)) << "ESC held on quit the game";
    EXPECT_FALSE(game.gameStarted);
    play.release(key::escape);
    play.press(key::escape);
    EXPECT_FALSE(play.runFrame());
}
