// Building and releasing the window and context, the view, the fixed state.
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/window.h"
#include "platform/testing.h"
#include "support/gl_window.h"
#include <GL/gl.h>
#include <SDL.h>

namespace pt = platform::testing;
using platform::Answer;
using Step = pt::Step;

namespace {

bool create(bool full = false) { return createWindow(windowTitle, windowWidth, windowHeight, colourBits, full); }

void expectNothingHeld() {
    pt::Holdings h = pt::holdings();
    EXPECT_FALSE(h.classRegistered);
    EXPECT_EQ(h.windows, 0);
    EXPECT_EQ(h.surfaces, 0);
    EXPECT_EQ(h.contexts, 0);
    EXPECT_FALSE(h.fullScreen);
    EXPECT_FALSE(h.cursorHidden);
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_EQ(deviceContext, nullptr);
    EXPECT_EQ(renderContext, nullptr);
}

std::vector<std::string> shownTexts() {
    std::vector<std::string> texts;
    for (const pt::ShownBox& b : pt::shownBoxes()) texts.push_back(b.text);
    return texts;
}

}  // namespace

struct CreationFailure {
    Step step;
    const char* message;
};

void PrintTo(const CreationFailure& f, std::ostream* out) { *out << f.message; }

class FailingStep : public testing::TestWithParam<CreationFailure> {};

TEST_P(FailingStep, ReleasesEverythingThenReportsIt) {
    for (bool full : {false, true}) {
        pt::forgetShownBoxes();
        pt::failStep(GetParam().step);
        EXPECT_FALSE(create(full));
        ASSERT_EQ(pt::shownBoxes().size(), 1u);
        const pt::ShownBox& box = pt::shownBoxes()[0];
        EXPECT_EQ(box.text, GetParam().message);
        EXPECT_EQ(box.caption, "ERROR");
        EXPECT_EQ(box.icon, platform::Icon::exclamation);
        EXPECT_EQ(box.buttons, platform::Buttons::ok);
        expectNothingHeld();
        pt::clearFailures();
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, FailingStep,
    testing::Values(CreationFailure{Step::window, "Window Creation Error."},
                    CreationFailure{Step::surface, "Can't Create A GL Device Context."},
                    CreationFailure{Step::choosePixelFormat, "Can't Find A Suitable PixelFormat."},
                    CreationFailure{Step::setPixelFormat, "Can't Set The PixelFormat."},
                    CreationFailure{Step::renderContext, "Can't Create A GL Rendering Context."},
                    CreationFailure{Step::makeCurrent, "Can't Activate The GL Rendering Context."}),
    [](const testing::TestParamInfo<CreationFailure>& info) { return "step" + std::to_string(int(info.param.step)); });

TEST(Creation, AFailedClassRegistrationReportsAndReleasesNothing) {
    pt::failStep(Step::registerClass);
    EXPECT_FALSE(create());
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Failed To Register The Window Class."});
    expectNothingHeld();
}

TEST(Creation, FullScreenRefusedAndAcceptedAsAWindow) {
    pt::failStep(Step::displayMode);
    pt::scriptAnswers({Answer::yes});
    ASSERT_TRUE(create(true));
    ASSERT_EQ(pt::shownBoxes().size(), 1u);
    EXPECT_EQ(pt::shownBoxes()[0].text,
              "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?");
    EXPECT_EQ(pt::shownBoxes()[0].caption, "Oruk GL");
    EXPECT_EQ(pt::shownBoxes()[0].buttons, platform::Buttons::yesNo);
    EXPECT_EQ(pt::shownBoxes()[0].icon, platform::Icon::exclamation);
    EXPECT_FALSE(fullScreen);  // so a later F1 tries full screen again
    EXPECT_FALSE(pt::holdings().fullScreen);
    EXPECT_FALSE(pt::holdings().cursorHidden);
    int w = 0, h = 0;
    ASSERT_TRUE(pt::windowSize(w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
}

TEST(Creation, FullScreenRefusedAndDeclinedClosesTheProgram) {
    pt::failStep(Step::displayMode);
    pt::scriptAnswers({Answer::no});
    EXPECT_FALSE(create(true));
    ASSERT_EQ(pt::shownBoxes().size(), 2u);
    EXPECT_EQ(pt::shownBoxes()[1].text, "Program Will Now Close.");
    EXPECT_EQ(pt::shownBoxes()[1].caption, "ERROR");
    EXPECT_EQ(pt::shownBoxes()[1].icon, platform::Icon::stop);
    EXPECT_EQ(pt::holdings().windows, 0);
    EXPECT_TRUE(pt::holdings().classRegistered);  // left registered, as it always was
}

TEST(Creation, AWindowHasA640x480ClientAreaAndReportsItsRealSize) {
    ASSERT_TRUE(create());
    int w = 0, h = 0;
    ASSERT_TRUE(pt::windowSize(w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    platform::Message m;
    bool sawSize = false;
    while (platform::peekMessage(m))
        if (m.kind == platform::MessageKind::size) {
            sawSize = true;
            EXPECT_EQ(platform::lowWord(m.lParam), 640);
            EXPECT_EQ(platform::highWord(m.lParam), 480);
        }
    EXPECT_TRUE(sawSize);
}

// Full screen shows the 640 x 480 picture as large as it fits, centred: black
// columns on a wide screen, black rows on a 5:4 one; --stretch and a window
// of any shape fill the whole area.
TEST(ViewArea, FullScreenKeepsThePictureShapeUnlessStretched) {
    auto area = [](int w, int h) {
        ViewArea a = viewArea(w, h);
        return std::vector<int>{a.x, a.y, a.width, a.height};
    };
    fullScreen = true;
    stretchFullScreen = false;
    EXPECT_EQ(area(1920, 1080), (std::vector<int>{240, 0, 1440, 1080}));
    EXPECT_EQ(area(1366, 768), (std::vector<int>{171, 0, 1024, 768}));
    EXPECT_EQ(area(1280, 1024), (std::vector<int>{0, 32, 1280, 960}));
    EXPECT_EQ(area(1024, 768), (std::vector<int>{0, 0, 1024, 768}));
    EXPECT_EQ(area(0, 0), (std::vector<int>{0, 0, 0, 0}));  // minimised
    stretchFullScreen = true;
    EXPECT_EQ(area(1920, 1080), (std::vector<int>{0, 0, 1920, 1080}));
    stretchFullScreen = false;
    fullScreen = false;
    EXPECT_EQ(area(1920, 1080), (std::vector<int>{0, 0, 1920, 1080}));
    EXPECT_EQ(area(640, 0), (std::vector<int>{0, 0, 640, 1}));
}

TEST(Creation, FullScreenViewEndsUpWithTheDesktopSize) {
    ASSERT_TRUE(create(true));
    int w = 0, h = 0;
    ASSERT_TRUE(pt::windowSize(w, h));
    platform::Message m;
    while (platform::peekMessage(m)) platform::dispatchMessage(m);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], w);
    EXPECT_EQ(viewport[3], h);
}

TEST(Creation, TheScreenSaverStaysOffWhileTheWindowExists) {
    ASSERT_TRUE(create());
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
}

TEST(Creation, ANewContextHoldsNothingOfTheOldOne) {
    ASSERT_TRUE(create());
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEndList();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    ASSERT_TRUE(glIsList(list));
    destroyWindow();
    ASSERT_TRUE(create(true));
    EXPECT_FALSE(glIsList(list));
    EXPECT_FALSE(glIsTexture(texture));
}

struct TeardownFailure {
    Step step;
    std::vector<std::string> messages;
};

void PrintTo(const TeardownFailure& f, std::ostream* out) { *out << f.messages.front(); }

class FailingRelease : public testing::TestWithParam<TeardownFailure> {};

TEST_P(FailingRelease, IsReportedAndTheTeardownGoesOn) {
    ASSERT_TRUE(create());
    pt::failStep(GetParam().step);
    destroyWindow();
    EXPECT_EQ(shownTexts(), GetParam().messages);
    for (const pt::ShownBox& b : pt::shownBoxes()) {
        EXPECT_EQ(b.caption, "SHUTDOWN ERROR");
        EXPECT_EQ(b.icon, platform::Icon::information);
    }
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_EQ(deviceContext, nullptr);
    EXPECT_EQ(renderContext, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, FailingRelease,
    testing::Values(
        TeardownFailure{Step::releaseCurrent, {"Release Of DC And RC Failed."}},
        TeardownFailure{Step::deleteContext, {"Release Rendering Context Failed."}},
        TeardownFailure{Step::releaseSurface, {"Release Device Context Failed."}},
        // A window that stays keeps its class registered.
        TeardownFailure{Step::destroyWindow, {"Could Not Release hWnd.", "Could Not Unregister Class."}},
        TeardownFailure{Step::unregisterClass, {"Could Not Unregister Class."}}),
    [](const testing::TestParamInfo<TeardownFailure>& info) { return "step" + std::to_string(int(info.param.step)); });

TEST(Teardown, ReleasesEverythingAndRestoresTheDesktop) {
    ASSERT_TRUE(create(true));
    destroyWindow();
    EXPECT_TRUE(pt::shownBoxes().empty());
    expectNothingHeld();
}

class View : public GlTest {};

TEST_F(View, MapsTheWorldPlaneOntoTheWholeClientArea) {
    resizeView(640, 480);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // A quad over the lower-left quarter of the world covers the lower-left
    // quarter of the window: stretched 2 pixels across and 2.4 up per unit.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 0, 0);
    glRectd(0, 0, 160, 100);
    EXPECT_EQ(readPixel(0, 0), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(readPixel(318, 238), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(readPixel(322, 238), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(readPixel(318, 242), (Pixel{0, 0, 0, 255}));
}

TEST_F(View, AZeroHeightBecomesOne) {
    resizeView(0, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 0);
    EXPECT_EQ(viewport[3], 1);
}

TEST_F(View, ResetsTheTextureAndProjectionMatrices) {
    glMatrixMode(GL_TEXTURE);
    glScalef(2, 2, 2);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5, 5, 5);
    resizeView(800, 600);
    GLdouble texture[16], projection[16], modelview[16];
    glGetDoublev(GL_TEXTURE_MATRIX, texture);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        double identity = (i % 5 == 0) ? 1 : 0;
        EXPECT_DOUBLE_EQ(texture[i], identity);
        EXPECT_DOUBLE_EQ(modelview[i], identity);
    }
    // The driver keeps matrices in single precision.
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 320);
    EXPECT_FLOAT_EQ(projection[5], 2.0f / 200);
    EXPECT_FLOAT_EQ(projection[12], -1);
    EXPECT_FLOAT_EQ(projection[13], -1);
}

TEST_F(View, TheRendererStartsWithTheFixedState) {
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2], 0);
    EXPECT_EQ(clear[3], 1);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src, dst, alphaFunc;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunc);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    GLfloat alphaRef = -1;
    glGetFloatv(GL_ALPHA_TEST_REF, &alphaRef);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(alphaFunc, GL_GREATER);
    EXPECT_EQ(alphaRef, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}
