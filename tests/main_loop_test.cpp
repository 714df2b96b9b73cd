// The program's loop: the question, dispatch and idle passes, ESC and F1,
// minimised windows, the exit code.
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/window.h"
#include "game/game_state.h"
#include "platform/testing.h"
#include "support/gl_window.h"

namespace pt = platform::testing;
using platform::Answer;
using platform::key::escape;
using platform::key::f1;

namespace {

// Runs passes until one that is not a dispatch, or a limit.
LoopPass runUntilIdle(platform::Message& last, int limit = 100) {
    for (int i = 0; i < limit; ++i) {
        uint64_t swaps = pt::swapCount();
        LoopPass pass = mainLoopPass(last);
        if (pass != LoopPass::goOn || pt::swapCount() != swaps) return pass;
    }
    return LoopPass::goOn;
}

void drainMessages(platform::Message& last) {
    while (platform::peekMessage(last)) platform::dispatchMessage(last);
}

}  // namespace

TEST(FullScreenQuestion, IsAskedFirstAndNoGivesA640x480Window) {
    pt::scriptAnswers({Answer::no});
    pt::injectMessage({platform::MessageKind::close, 0, 0});
    EXPECT_EQ(gameMain(), 0);
    ASSERT_FALSE(pt::shownBoxes().empty());
    const pt::ShownBox& box = pt::shownBoxes().front();
    EXPECT_EQ(box.text, "Would You Like To Run In Fullscreen Mode?");
    EXPECT_EQ(box.caption, "Start FullScreen?");
    EXPECT_EQ(box.buttons, platform::Buttons::yesNo);
    EXPECT_EQ(box.icon, platform::Icon::question);
    EXPECT_FALSE(fullScreen);
    EXPECT_EQ(pt::windowsOpened(), 1u);
}

TEST(FullScreenQuestion, YesCoversTheDesktopWithTheCursorHidden) {
    pt::scriptAnswers({Answer::yes});
    ASSERT_TRUE(createWindow(windowTitle, windowWidth, windowHeight, colourBits, true));
    EXPECT_TRUE(fullScreen);
    EXPECT_TRUE(pt::holdings().fullScreen);
    EXPECT_TRUE(pt::holdings().cursorHidden);
    destroyWindow();
    EXPECT_FALSE(pt::holdings().cursorHidden);
}

TEST(ExitCode, ClosingTheWindowEndsWithZero) {
    pt::scriptAnswers({Answer::no});
    pt::injectMessage({platform::MessageKind::close, 0, 0});
    EXPECT_EQ(gameMain(), 0);
    platform::testing::Holdings after = pt::holdings();
    EXPECT_FALSE(after.classRegistered);
    EXPECT_EQ(after.windows + after.surfaces + after.contexts, 0);
}

TEST(ExitCode, AfterEscIsTheEscKeysCode) {
    // ESC ends the loop on the idle pass after its key-down message, which
    // is then the last message taken.
    openGameWindow();
    platform::Message last;
    drainMessages(last);
    pt::injectKeyDown(escape);
    EXPECT_EQ(mainLoopPass(last), LoopPass::goOn);
    EXPECT_EQ(mainLoopPass(last), LoopPass::leave);
    EXPECT_EQ(last.wParam, escape);
}

TEST(ExitCode, AQuitMessageLeavesAtOnceWithItsCode) {
    openGameWindow();
    pt::discardMessages();
    platform::postQuitMessage(7);
    platform::Message last;
    EXPECT_EQ(mainLoopPass(last), LoopPass::leave);
    EXPECT_EQ(last.wParam, 7u);
}

TEST(LoopPasses, ADispatchPassDrawsAndPresentsNothing) {
    openGameWindow();
    platform::Message last;
    drainMessages(last);
    uint64_t swaps = pt::swapCount();
    pt::injectKeyDown('A');
    EXPECT_EQ(mainLoopPass(last), LoopPass::goOn);
    EXPECT_EQ(pt::swapCount(), swaps);
    EXPECT_EQ(mainLoopPass(last), LoopPass::goOn);  // idle: presents
    EXPECT_EQ(pt::swapCount(), swaps + 1);
}

TEST(LoopPasses, ThePassThatEndsTheLoopPresentsNothing) {
    openGameWindow();
    platform::Message last;
    drainMessages(last);
    KeyTable[escape] = 1;
    uint64_t swaps = pt::swapCount();
    EXPECT_EQ(mainLoopPass(last), LoopPass::leave);
    EXPECT_EQ(pt::swapCount(), swaps);
}

TEST(LoopPasses, AMinimisedWindowIsNotDrawnButStillPresentsAndTestsKeys) {
    openGameWindow();
    platform::Message last;
    drainMessages(last);
    pt::injectMessage({platform::MessageKind::activate, uintptr_t(platform::makeLong(0, 1)), 0});
    ASSERT_EQ(mainLoopPass(last), LoopPass::goOn);
    ASSERT_FALSE(windowActive);

    // SPACE is read only by the frame: while minimised it must stay unread.
    KeyTable[platform::key::space] = 1;
    uint64_t swaps = pt::swapCount();
    EXPECT_EQ(mainLoopPass(last), LoopPass::goOn);
    EXPECT_FALSE(game.gameStarted);
    EXPECT_EQ(pt::swapCount(), swaps + 1);

    KeyTable[f1] = 1;  // F1 still switches
    EXPECT_EQ(mainLoopPass(last), LoopPass::goOn);
    EXPECT_EQ(pt::windowsOpened(), 2u);
    pt::discardMessages();  // the new window's size message

    KeyTable[escape] = 1;  // and ESC still ends the program
    EXPECT_EQ(mainLoopPass(last), LoopPass::leave);
}

TEST(LoopPasses, RestoringTheWindowStartsDrawingAgain) {
    openGameWindow();
    platform::Message last;
    drainMessages(last);
    windowActive = false;
    KeyTable[platform::key::space] = 1;
    mainLoopPass(last);
    EXPECT_FALSE(game.gameStarted);
    pt::injectMessage({platform::MessageKind::activate, uintptr_t(platform::makeLong(1, 0)), 0});
    mainLoopPass(last);
    mainLoopPass(last);
    EXPECT_TRUE(game.gameStarted);
}

TEST(ModeSwitch, EscAndF1InOneIdlePassSwitchThenEnd) {
    pt::scriptAnswers({Answer::no});
    pt::injectKeyDown(f1);
    pt::injectKeyDown(escape);
    gameMain();
    EXPECT_EQ(pt::windowsOpened(), 2u);
    EXPECT_TRUE(fullScreen);  // the second window was full screen
    platform::testing::Holdings after = pt::holdings();
    EXPECT_FALSE(after.classRegistered);
    EXPECT_EQ(after.windows + after.surfaces + after.contexts, 0);
    EXPECT_FALSE(after.cursorHidden);
}

TEST(ModeSwitch, HeldF1SwitchesOnEveryRepeat) {
    openGameWindow();
    platform::Message last;
    drainMessages(last);
    pt::injectKeyDown(f1);
    runUntilIdle(last);
    EXPECT_EQ(pt::windowsOpened(), 2u);
    EXPECT_TRUE(fullScreen);
    EXPECT_EQ(KeyTable[f1], 0);

    pt::injectKeyDown(f1, true);  // key repeat of the held key
    runUntilIdle(last);
    EXPECT_EQ(pt::windowsOpened(), 3u);
    EXPECT_FALSE(fullScreen);
}

TEST(ModeSwitch, AFailedRecreationEndsTheProgramWithoutAnotherTeardown) {
    openGameWindow();
    platform::Message last;
    drainMessages(last);
    pt::failStep(pt::Step::window);
    KeyTable[f1] = 1;
    EXPECT_EQ(mainLoopPass(last), LoopPass::windowLost);
    ASSERT_EQ(pt::shownBoxes().size(), 1u);
    EXPECT_EQ(pt::shownBoxes()[0].text, "Window Creation Error.");
    platform::testing::Holdings after = pt::holdings();
    EXPECT_FALSE(after.classRegistered);
    EXPECT_EQ(after.windows + after.surfaces + after.contexts, 0);
}

// A window that cannot be made is a failure, whether at start or after F1.
TEST(ExitCode, AWindowThatCannotBeMadeAtStartEndsWithOne) {
    pt::scriptAnswers({Answer::no});
    pt::failStep(pt::Step::renderContext);
    EXPECT_EQ(gameMain(), 1);
    EXPECT_EQ(pt::shownBoxes().back().text, "Can't Create A GL Rendering Context.");
}

TEST(ExitCode, AWindowThatCannotBeMadeAgainAfterF1EndsWithOne) {
    fullScreen = false;
    // The first frame presses F1 and makes every later window fail; a second
    // frame would mean the game played on, and it quits rather than hang.
    pt::observeSwaps([] {
        if (pt::swapCount() > 0) {
            platform::postQuitMessage(0);
            return;
        }
        pt::failStep(pt::Step::window);
        KeyTable[f1] = 1;
    });
    EXPECT_EQ(runGame(), 1);
    pt::observeSwaps({});
    EXPECT_EQ(pt::swapCount(), 1u);
    EXPECT_EQ(pt::shownBoxes().back().text, "Window Creation Error.");
    EXPECT_FALSE(pt::holdings().classRegistered);
}
