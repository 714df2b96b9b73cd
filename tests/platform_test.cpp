// The platform layer: what SDL reports becomes messages, the clock, the
// message boxes' script, the name mapping, text made fit for a terminal.
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/printable_text.h"
#include "platform/sdl_keys.h"
#include "platform/testing.h"
#include "platform/video.h"
#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace pt = platform::testing;
using platform::Message;
using platform::MessageKind;

namespace {

intptr_t ignoreMessages(const Message&) { return 0; }

// The video system up, so that SDL events can be pushed and pumped.
class Events : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::registerWindowClass(ignoreMessages));
        pt::discardMessages();
    }
    void TearDown() override { platform::unregisterWindowClass(); }

    void pushKey(Uint32 type, SDL_Keycode sym, Uint16 mod = 0, Uint8 repeat = 0) {
        SDL_Event e = {};
        e.type = type;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&e);
    }
    void pushWindowEvent(Uint8 event) {
        SDL_Event e = {};
        e.type = SDL_WINDOWEVENT;
        e.window.event = event;
        SDL_PushEvent(&e);
    }
    Message next() {
        Message m;
        EXPECT_TRUE(platform::peekMessage(m));
        return m;
    }
};

uint8_t codeOf(SDL_Keycode sym, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN) {
    SDL_Keysym k = {};
    k.sym = sym;
    k.scancode = scancode;
    return platform::virtualKeyFor(k);
}

}  // namespace

TEST(KeyCodes, TheGamesKeysAndTheRestOfTheKeyboard) {
    EXPECT_EQ(codeOf(SDLK_ESCAPE), 27);
    EXPECT_EQ(codeOf(SDLK_SPACE), 32);
    EXPECT_EQ(codeOf(SDLK_LEFT), 37);
    EXPECT_EQ(codeOf(SDLK_RIGHT), 39);
    EXPECT_EQ(codeOf(SDLK_F1), 112);
    EXPECT_EQ(codeOf(SDLK_F2), 113);
    EXPECT_EQ(codeOf(SDLK_F3), 114);
    EXPECT_EQ(codeOf(SDLK_F12), 123);
    EXPECT_EQ(codeOf(SDLK_F24), 135);
    EXPECT_EQ(codeOf(SDLK_a), 'A');
    EXPECT_EQ(codeOf(SDLK_z), 'Z');
    EXPECT_EQ(codeOf(SDLK_7), '7');
    EXPECT_EQ(codeOf(SDLK_KP_3, SDL_SCANCODE_KP_3), 99);
    EXPECT_EQ(codeOf(SDLK_KP_0, SDL_SCANCODE_KP_0), 96);
    EXPECT_EQ(codeOf(SDLK_RETURN), 13);
    EXPECT_EQ(codeOf(SDLK_SEMICOLON), 186);
    EXPECT_EQ(codeOf(SDLK_AUDIOPLAY), 0);
}

TEST_F(Events, KeysBecomeKeyMessagesAndRepeatsArriveAsFurtherKeyDowns) {
    pushKey(SDL_KEYDOWN, SDLK_LEFT);
    pushKey(SDL_KEYDOWN, SDLK_LEFT, 0, 1);
    pushKey(SDL_KEYUP, SDLK_LEFT);
    Message down = next(), repeat = next(), up = next();
    EXPECT_EQ(down.kind, MessageKind::keyDown);
    EXPECT_EQ(down.wParam, 37u);
    EXPECT_EQ(down.lParam & (1 << 30), 0);
    EXPECT_EQ(repeat.kind, MessageKind::keyDown);
    EXPECT_NE(repeat.lParam & (1 << 30), 0);
    EXPECT_EQ(up.kind, MessageKind::keyUp);
    EXPECT_EQ(up.wParam, 37u);
}

TEST_F(Events, AltCombinationsAndF10AreSystemKeys) {
    pushKey(SDL_KEYDOWN, SDLK_F10);
    pushKey(SDL_KEYDOWN, SDLK_x, KMOD_LALT);
    pushKey(SDL_KEYUP, SDLK_x, KMOD_LALT);
    EXPECT_EQ(next().kind, MessageKind::sysKeyDown);
    Message altX = next();
    EXPECT_EQ(altX.kind, MessageKind::sysKeyDown);
    EXPECT_EQ(altX.wParam, uintptr_t('X'));
    EXPECT_EQ(next().kind, MessageKind::sysKeyUp);
}

TEST_F(Events, AltF4AsksToClose) {
    pushKey(SDL_KEYDOWN, SDLK_F4, KMOD_LALT);
    platform::defaultWindowProcedure(next());
    Message command = next();
    EXPECT_EQ(command.kind, MessageKind::sysCommand);
    platform::defaultWindowProcedure(command);
    EXPECT_EQ(next().kind, MessageKind::close);
}

TEST_F(Events, ClosingAndQuitSignalsBecomeCloseMessages) {
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(next().kind, MessageKind::close);
    EXPECT_EQ(next().kind, MessageKind::close);
}

TEST_F(Events, MinimisingDeactivatesAndSizesToZero) {
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    Message activate = next(), size = next();
    EXPECT_EQ(activate.kind, MessageKind::activate);
    EXPECT_NE(platform::highWord(activate.wParam), 0);
    EXPECT_EQ(size.kind, MessageKind::size);
    EXPECT_EQ(size.lParam, 0);
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    Message restored = next();
    EXPECT_EQ(restored.kind, MessageKind::activate);
    EXPECT_EQ(platform::highWord(restored.wParam), 0);
    EXPECT_EQ(platform::lowWord(restored.wParam), 1);
}

TEST(Queue, PostedMessagesComeOutInOrder) {
    platform::postMessage({MessageKind::keyDown, 1, 0});
    platform::postQuitMessage(3);
    Message a, b, c;
    ASSERT_TRUE(platform::peekMessage(a));
    ASSERT_TRUE(platform::peekMessage(b));
    EXPECT_FALSE(platform::peekMessage(c));
    EXPECT_EQ(a.wParam, 1u);
    EXPECT_EQ(b.kind, MessageKind::quit);
    EXPECT_EQ(b.wParam, 3u);
}

TEST(Clock, CanBeSetSteppedAndWraps) {
    pt::setClock(1000);
    EXPECT_EQ(platform::tickCount(), 1000u);
    EXPECT_EQ(platform::tickCount(), 1000u);  // stands still
    pt::advanceClock(31);
    EXPECT_EQ(platform::tickCount(), 1031u);

    pt::setClock(0xFFFFFFF0u);
    uint32_t before = platform::tickCount();
    pt::advanceClock(0x20);
    uint32_t after = platform::tickCount();
    EXPECT_EQ(after, 0x10u);
    EXPECT_EQ(uint32_t(after - before), 0x20u);  // the unsigned difference survives the wrap

    pt::setClock(0, 5);  // moves by itself at every reading
    EXPECT_EQ(platform::tickCount(), 0u);
    EXPECT_EQ(platform::tickCount(), 5u);
}

TEST(Clock, TheSystemClockMovesForward) {
    pt::useSystemClock();
    uint32_t a = platform::tickCount();
    SDL_Delay(5);
    EXPECT_GE(uint32_t(platform::tickCount() - a), 4u);
}

TEST(MessageBoxes, AreAnsweredFromTheScriptThenWithTheirDefaultButton) {
    pt::scriptAnswers({platform::Answer::no});
    using platform::Buttons;
    using platform::Icon;
    EXPECT_EQ(platform::messageBox("q1", "c", Buttons::yesNo, Icon::question), platform::Answer::no);
    EXPECT_EQ(platform::messageBox("q2", "c", Buttons::yesNo, Icon::question), platform::Answer::yes);
    EXPECT_EQ(platform::messageBox("i", "c", Buttons::ok, Icon::information), platform::Answer::ok);
    ASSERT_EQ(pt::shownBoxes().size(), 3u);
    EXPECT_EQ(pt::shownBoxes()[0].text, "q1");
}

TEST(Paths, BackslashesBecomeSeparatorsUnderTheDataRoot) {
    EXPECT_EQ(platform::mapPath("data\\level0.lvl.txt"), "data/level0.lvl.txt");
    platform::setDataRoot("/opt/game/");
    EXPECT_EQ(platform::mapPath("data\\nuke01.tga"), "/opt/game/data/nuke01.tga");
    EXPECT_EQ(platform::mapPath("/abs/x.tga"), "/abs/x.tga");
    platform::setDataRoot("");
    EXPECT_EQ(platform::mapPath("a\\b\\c"), "a/b/c");
}

// Every byte that could start a terminal's control sequence is escaped;
// any valid character beyond ASCII is kept, and a broken sequence never
// swallows the character after it.
TEST(PrintableText, KeepsUtf8AndEscapesControlsAndBrokenBytes) {
    using platform::printableText;
    EXPECT_EQ(printableText(" data\\Enemy~1.tga"), " data\\Enemy~1.tga");
    EXPECT_EQ(printableText("\x1B]0;title\x07\x1B[2J"), "\\x1B]0;title\\x07\\x1B[2J");
    EXPECT_EQ(printableText(std::string_view("\0\t\n\r\x1F\x7F", 6)), "\\x00\\x09\\x0A\\x0D\\x1F\\x7F");
    // 2, 3 and 4 bytes, the first character after the C1 controls, the last
    // before the surrogates and the last of all.
    for (const char* kept : {"Über", "€", "😀", "\xC2\xA0", "\xED\x9F\xBF", "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBF"})
        EXPECT_EQ(printableText(kept), kept);
    // C1 controls written in UTF-8, and the same bytes on their own.
    EXPECT_EQ(printableText("a\xC2\x9B" "2Jb\xC2\x80\xC2\x9F"), "a\\xC2\\x9B2Jb\\xC2\\x80\\xC2\\x9F");
    EXPECT_EQ(printableText("\x9B" "2J\x85"), "\\x9B2J\\x85");
    // Overlong forms, surrogates, beyond U+10FFFF, bytes that never begin one.
    EXPECT_EQ(printableText("\xC0\xAF\xC1\xBF"), "\\xC0\\xAF\\xC1\\xBF");
    EXPECT_EQ(printableText("\xE0\x80\xAF"), "\\xE0\\x80\\xAF");
    EXPECT_EQ(printableText("\xF0\x8F\xBF\xBF"), "\\xF0\\x8F\\xBF\\xBF");
    EXPECT_EQ(printableText("\xED\xA0\x80"), "\\xED\\xA0\\x80");
    EXPECT_EQ(printableText("\xF4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");
    EXPECT_EQ(printableText("\xF5\xFE\xFF"), "\\xF5\\xFE\\xFF");
    // Cut short, at the end or by another character, which is read afresh.
    EXPECT_EQ(printableText("x\xE2\x82"), "x\\xE2\\x82");
    EXPECT_EQ(printableText("\xE2\x82" "A\xF0\x9F\x98\x1B[0m"), "\\xE2\\x82A\\xF0\\x9F\\x98\\x1B[0m");
    EXPECT_EQ(printableText("\xE2\xC3\x9C"), "\\xE2Ü");
}

TEST(WindowClass, CannotBeRegisteredTwiceNorUnregisteredWhileAWindowExists) {
    ASSERT_TRUE(platform::registerWindowClass(ignoreMessages));
    EXPECT_FALSE(platform::registerWindowClass(ignoreMessages));
    platform::Window* w = platform::openWindow("t", 64, 48, false);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(platform::unregisterWindowClass());
    EXPECT_TRUE(platform::closeWindow(w));
    EXPECT_TRUE(platform::unregisterWindowClass());
    EXPECT_FALSE(platform::unregisterWindowClass());
}

// A driver that shows nothing is taken only when SDL_VIDEODRIVER names it,
// which it may do in a list and in any letter case, as SDL reads it.
TEST(WindowClass, TakesADriverThatShowsNothingWhenAListNamesIt) {
    setenv("SDL_VIDEODRIVER", "nosuchdriver,OffScreen", 1);
    ASSERT_TRUE(platform::registerWindowClass(ignoreMessages));
    EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "offscreen");
    EXPECT_TRUE(platform::unregisterWindowClass());
}

TEST(PixelFormat, CanBeSetOnceAndOnlyWhatTheWindowOffers) {
    ASSERT_TRUE(platform::registerWindowClass(ignoreMessages));
    platform::Window* w = platform::openWindow("t", 64, 48, false);
    platform::Surface* s = platform::getSurface(w);
    platform::PixelFormatRequest deep;
    deep.depthBits = 32;
    EXPECT_EQ(platform::choosePixelFormat(s, deep), 0);
    platform::PixelFormatRequest game;
    EXPECT_EQ(platform::createRenderContext(s), nullptr);  // no format yet
    int format = platform::choosePixelFormat(s, game);
    ASSERT_NE(format, 0);
    EXPECT_TRUE(platform::setPixelFormat(s, format, game));
    EXPECT_FALSE(platform::setPixelFormat(s, format, game));
    platform::RenderContext* c = platform::createRenderContext(s);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(platform::makeCurrent(s, c));
    EXPECT_TRUE(platform::makeCurrent(nullptr, nullptr));
    EXPECT_TRUE(platform::deleteRenderContext(c));
    EXPECT_TRUE(platform::releaseSurface(w, s));
    EXPECT_TRUE(platform::closeWindow(w));
    EXPECT_TRUE(platform::unregisterWindowClass());
}
