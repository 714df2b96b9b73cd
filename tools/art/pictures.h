// Every picture the game shows, as drawn by this tool, and how the game
// shows each (for the preview).
#pragma once
#include <string>
#include <vector>

#include "canvas.h"

namespace art {

struct Picture {
    enum class Show {
        plain,   // the whole picture, upright, with its alpha
        player,  // mirrored, cropped to columns 0.2-0.8 and rows 0.2-1.0, magenta keyed out
        stair,   // mirrored and tinted green
        opaque,  // the whole picture, alpha ignored
    };
    std::string file;  // name in data/
    Canvas canvas;
    int channels;     // 3, or 4 with alpha
    int jpegQuality;  // 0 for TGA (or PNG, when the file's name ends in .png)
    Show show;
    double screenWidth, screenHeight;  // pixels it covers in the 640 x 480 window
};

using Pictures = std::vector<Picture>;

void addFont(Pictures& out);
void addPlayer(Pictures& out);
void addStair(Pictures& out);
void addLife(Pictures& out);
void addExplosion(Pictures& out);
void addGameOver(Pictures& out);
void addEnemies(Pictures& out);
void addItems(Pictures& out);
void addTitle(Pictures& out);
// The desktop icon, as PNG: not read by the game, installed for the desktop
// (64 and 256) and offered by the page (192 and 512).
void addIcon(Pictures& out);

// Pieces the title screen borrows. Sizes and positions in the canvas's
// design units.
enum class Enemy { spider, blob, eye, urchin };
void drawEnemy(Canvas& c, Enemy kind, double cx, double cy, double size);
void drawGem(Canvas& c, double cx, double cy, double size, double turn, double sparkle);
void drawCoin(Canvas& c, double cx, double cy, double size);
// The standing player, as seen on screen, in 18 x 25 blocks of the given
// size with its top-left corner at (x, y).
void drawPlayerBlocks(Canvas& c, double x, double y, double block);

}  // namespace art
