// The soak: 10,000 level changes, 200 switches of display mode and 1,000
// game overs, headless and the same every run (the game-over waits pass on
// the set clock). Memory and textures are reported after each part; after
// the last switch the title must look as it did at the start, and a frame of
// play must show its floors, the figure and a picture in every texture.
#include "app/window.h"
#include "bench/bench_game.h"
#include "bench/full_level.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "gfx/animated_sprite.h"
#include "gfx/texture.h"
#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

namespace {

void report(const char* when) {
    std::printf("%-22s rss %6ld KiB  heap %6zu KiB  textures %d (GL %d)\n", when, residentKiB(),
                mallinfo2().uordblks / 1024, texturesHeld(), glTextureObjects());
    std::fflush(stdout);
}

void switchMode() {
    destroyWindow();
    fullScreen = !fullScreen;
    createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreen);
}

// Leaves the title if it is on, and puts the player on enemy 0 with one life
// left; frames run until the game is back on its title.
bool oneGameOver(BenchGame& bench) {
    if (!game.gameStarted) {
        bench.play->press(platform::key::space);
        bench.play->runFrame();
        bench.play->release(platform::key::space);
    }
    game.livesCounter->setValue(1);
    game.player->x = game.enemies[0]->x;
    game.player->y = game.enemies[0]->y;
    for (int i = 0; i < 400 && game.gameStarted; ++i) bench.play->runFrame();
    return !game.gameStarted;
}

int differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (size_t i = 0; i < a.size(); i += 4) n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return n;
}

// Every texture a live object holds has its picture in the current context.
int texturesWithoutPicture() {
    int missing = 0;
    auto check = [&](const Texture& t) {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, t.glName());
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        if (t.glName() == 0 || width == 0) ++missing;
    };
    for (const Texture& t : playerFrames) check(t);
    for (int i = 0; i < game.enemyCount; ++i) check(game.enemies[i]->texture);
    for (int i = 0; i < game.explosion->frameCount; ++i) check(game.explosion->frames[i]);
    check(game.titlePicture->frames[0]);
    check(game.gameOverPicture->frames[0]);
    check(game.livesCounter->icon);
    check(game.scoreCounter->font.texture);
    return missing;
}

}  // namespace

int main(int argc, char** argv) {
    int levelChanges = argc > 1 ? std::atoi(argv[1]) : 10000;
    int switches = argc > 2 ? std::atoi(argv[2]) : 200;
    int gameOvers = argc > 3 ? std::atoi(argv[3]) : 1000;
    BenchGame bench(sourceDirectory());
    int w, h;
    switchMode();  // an even number of switches lands back here, on the title
    switchMode();
    bench.play->runFrame();
    std::vector<uint8_t> title = bench.play->frameRgba(w, h);
    bench.play->press(platform::key::space);
    bench.play->runFrames(10);
    report("start");

    for (int i = 0; i < levelChanges; ++i) changeLevel(i % 2);
    report("level changes");
    for (int i = 0; i < switches; ++i) {
        switchMode();
        bench.play->runFrames(2);
    }
    report("switches");
    int ended = 0;
    for (int i = 0; i < gameOvers; ++i) ended += oneGameOver(bench) ? 1 : 0;
    report("game overs");

    switchMode();
    switchMode();
    bench.play->runFrame();
    int titleChanged = differingPixels(title, bench.play->frameRgba(w, h));
    bench.play->press(platform::key::space);
    bench.play->runFrames(3);
    std::vector<uint8_t> frame = bench.play->frameRgba(w, h);
    auto at = [&](int x, int y) { return &frame[(size_t(y) * w + x) * 4]; };
    // Floor k lies at world y = 16 k; objects stand in front of parts of it,
    // so it counts as shown when any of a few places along it is yellow.
    int yellowFloors = 0;
    for (int k = 1; k <= 11; ++k) {
        bool shown = false;
        for (int x = w / 20; x < w && !shown; x += w / 7) {
            const uint8_t* p = at(x, h - 1 - int(16 * k * h / 200.0));
            shown = p[0] > 200 && p[1] > 200 && p[2] < 80;
        }
        yellowFloors += shown;
    }
    std::printf("game overs completed %d of %d\n", ended, gameOvers);
    std::printf("title pixels changed %d, floors shown %d of 11, textures without a picture %d\n", titleChanged,
                yellowFloors, texturesWithoutPicture());
    bool ok = ended == gameOvers && titleChanged == 0 && yellowFloors == 11 && texturesWithoutPicture() == 0;
    std::printf("%s\n", ok ? "soak passed" : "SOAK FAILED");
    return ok ? 0 : 1;
}
