// Which effect the game asks for, and when: through the real main loop with
// the set clock, frame by frame.
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/sounds.h"
#include "support/pictures.h"
#include <gtest/gtest.h>
#include <vector>

namespace key = platform::key;

namespace {

std::vector<Sound> soundsOfTheFrame() {
    Sound taken[soundsKept];
    int n = takeSoundsAsked(taken);
    return std::vector<Sound>(taken, taken + n);
}

}  // namespace

// A 200-point item at x = 40 and a still enemy at x = 100 on the bottom
// floor: walking right collects the one, then runs into the other.
TEST(Sounds, EachEventSoundsInTheFrameItHappensAndQuietFramesAskForNothing) {
    TempDataRoot data;
    std::string level = "1\n100 0 0 -16 40 0 16 data\\e.tga\n0\n1\n40 0 0 12 12 0 data\\i.tga 0 0 %s 0 -1 200\n";
    writeBytes(data.file("level0.lvl.txt"), {level.begin(), level.end()});
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    play.runFrames(5);
    EXPECT_TRUE(soundsOfTheFrame().empty());
    play.press(key::m);  // sound off and on again, on the title: asks for no effect
    play.runFrame();
    EXPECT_FALSE(soundIsOn());
    play.release(key::m);
    play.press(key::m);
    play.runFrame();
    EXPECT_TRUE(soundIsOn());
    EXPECT_TRUE(soundsOfTheFrame().empty());

    play.press(key::space);
    play.runFrame();
    EXPECT_EQ(soundsOfTheFrame(), std::vector<Sound>{Sound::start});
    play.press(key::f2);
    play.runFrame();
    EXPECT_EQ(soundsOfTheFrame(), std::vector<Sound>{Sound::mirror});

    play.press(key::right);
    std::vector<Sound> heard;
    for (int frame = 0; frame < 120 && game.livesCounter->value() == startLives; ++frame) {
        double score = game.scoreCounter->value();
        play.runFrame();
        std::vector<Sound> sounds = soundsOfTheFrame();
        bool scored = game.scoreCounter->value() > score, hit = game.livesCounter->value() < startLives;
        if (scored) EXPECT_EQ(sounds, std::vector<Sound>{Sound::item3});
        if (hit) EXPECT_EQ(sounds, std::vector<Sound>{Sound::hit});
        if (!scored && !hit) EXPECT_TRUE(sounds.empty()) << "frame " << frame;
        heard.insert(heard.end(), sounds.begin(), sounds.end());
    }
    EXPECT_EQ(heard, (std::vector<Sound>{Sound::item3, Sound::hit}));
}
