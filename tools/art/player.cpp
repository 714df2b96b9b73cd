// The player figure: pixel art in 32 x 32 pictures on a magenta key.
//
// The game shows each picture mirrored left to right and cropped to columns
// 20-80 % and rows 20-100 %, which is the block from column 7 to 24 and row 7
// to 31 here. The poses below are drawn as they should look on screen and
// are mirrored on the way into the file.
#include <cstdio>
#include <map>

#include "output.h"
#include "pictures.h"

namespace art {

namespace {

constexpr int side = 32;
constexpr int poseWidth = 18, poseHeight = 25;
constexpr int left = 7, top = 7;  // where the pose sits in the picture

using Pose = std::vector<const char*>;

const std::map<char, Colour>& palette() {
    static const std::map<char, Colour> p = {
        {'k', rgb(22, 18, 34)},                           // outline
        {'C', rgb(222, 52, 44)},  {'c', rgb(150, 30, 34)},  // cap
        {'y', rgb(255, 150, 120)},                        // cap shine
        {'h', rgb(110, 60, 24)},                          // hair
        {'S', rgb(250, 200, 156)}, {'s', rgb(214, 150, 112)},  // skin
        {'w', rgb(255, 255, 255)}, {'e', rgb(30, 30, 60)},     // eyes
        {'Y', rgb(255, 204, 48)},  {'o', rgb(206, 136, 22)},   // shirt
        {'P', rgb(74, 118, 228)},  {'p', rgb(44, 70, 160)},    // trousers
        {'O', rgb(150, 84, 40)},                          // shoes and belt
    };
    return p;
}

// Standing, facing the player. The three differ a little: hands, a glance.
const Pose standA = {
    "......kkkkkk......",
    "....kkCCCCCCkk....",
    "...kCCyyCCCCCCk...",
    "...kCyCCCCCCCCk...",
    "..kcccccccccccck..",
    "...khSSSSSSSShk...",
    "...kSSweSSewSSk...",
    "...kSSweSSewSSk...",
    "...ksSSSSSSSSsk...",
    "....ksSSkkSSsk....",
    ".....kksSSskk.....",
    "...kYYYYSSYYYYk...",
    "..kYYYYYYYYYYYYk..",
    ".kYoYYYYYYYYYYoYk.",
    ".kYokYYYYYYYYkoYk.",
    ".kYokYYYYYYYYkoYk.",
    ".kSSkYYYYYYYYkSSk.",
    "..kkkOOOOOOOOkkk..",
    "....kPPPPPPPPk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "...kOOOOkkOOOOk...",
    "...kkkkkkkkkkkk...",
};

const Pose standB = {  // hands a little out
    "......kkkkkk......",
    "....kkCCCCCCkk....",
    "...kCCyyCCCCCCk...",
    "...kCyCCCCCCCCk...",
    "..kcccccccccccck..",
    "...khSSSSSSSShk...",
    "...kSSweSSewSSk...",
    "...kSSweSSewSSk...",
    "...ksSSSSSSSSsk...",
    "....ksSSkkSSsk....",
    ".....kksSSskk.....",
    "...kYYYYSSYYYYk...",
    "..kYYYYYYYYYYYYk..",
    ".kYoYYYYYYYYYYoYk.",
    ".kYokYYYYYYYYkoYk.",
    "kYokkYYYYYYYYkkoYk",
    "kSSk.kYYYYYYk.kSSk",
    ".kk.kOOOOOOOOk.kk.",
    "....kPPPPPPPPk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "...kOOOOkkOOOOk...",
    "...kkkkkkkkkkkk...",
};

const Pose standC = {  // glancing aside
    "......kkkkkk......",
    "....kkCCCCCCkk....",
    "...kCCyyCCCCCCk...",
    "...kCyCCCCCCCCk...",
    "..kcccccccccccck..",
    "...khSSSSSSSShk...",
    "...kSSewSSewSSk...",
    "...kSSewSSewSSk...",
    "...ksSSSSSSSSsk...",
    "....ksSSkkSSsk....",
    ".....kksSSskk.....",
    "...kYYYYSSYYYYk...",
    "..kYYYYYYYYYYYYk..",
    ".kYoYYYYYYYYYYoYk.",
    ".kYokYYYYYYYYkoYk.",
    ".kYokYYYYYYYYkoYk.",
    ".kSSkYYYYYYYYkSSk.",
    "..kkkOOOOOOOOkkk..",
    "....kPPPPPPPPk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "....kpPPkkPPpk....",
    "...kOOOOkkOOOOk...",
    "...kkkkkkkkkkkk...",
};

// Walking to the right: stride with the near leg behind, legs passing,
// stride with the near leg in front. The arm swings against the near leg.
const Pose walkA = {
    ".....kkkkkk.......",
    "...kkCCCCCCkk.....",
    "..kCCCCCCyyCCk....",
    "..kCCCCCCCyCCk....",
    "..kccccccccccccck.",
    "..khhSSSSSSSSSkkk.",
    "..khhSSSSSweSSk...",
    "..khhSSSSSweSSSk..",
    "..khhSsSSSSSSSk...",
    "...khSSSSSSkSk....",
    "....kksSSSSkk.....",
    "....kYYYYYYYk.....",
    "...kYYYYYYYYYk....",
    "..kYYYYYYYYYYk....",
    "..kYokYYYYYYYk....",
    ".koYkkYYYYYYYk....",
    ".kSSk.kYYYYYYk....",
    "..kk.kOOOOOOOk....",
    ".....kPPPPPPPk....",
    "....kPPPkkpppk....",
    "...kPPPk..kpppk...",
    "..kPPPk....kpppk..",
    "..kPPk......kppk..",
    ".kOOOk......kOOOOk",
    ".kkkkk......kkkkkk",
};

const Pose walkB = {
    ".....kkkkkk.......",
    "...kkCCCCCCkk.....",
    "..kCCCCCCyyCCk....",
    "..kCCCCCCCyCCk....",
    "..kccccccccccccck.",
    "..khhSSSSSSSSSkkk.",
    "..khhSSSSSweSSk...",
    "..khhSSSSSweSSSk..",
    "..khhSsSSSSSSSk...",
    "...khSSSSSSkSk....",
    "....kksSSSSkk.....",
    "....kYYYYYYYk.....",
    "...kYYYYYYYYYk....",
    "...kYYkoYYYYYk....",
    "...kYYkoYYYYYk....",
    "...kYYkoYYYYYk....",
    "...kYYkSSkYYYk....",
    "...kOOkSSkOOOk....",
    "....kPPkkpppk.....",
    "....kPPPkpppk.....",
    "....kPPPkpppkk....",
    "....kPPPkkppOOk...",
    "....kPPPk.kkkk....",
    "...kOOOOOk........",
    "...kkkkkkk........",
};

const Pose walkC = {
    ".....kkkkkk.......",
    "...kkCCCCCCkk.....",
    "..kCCCCCCyyCCk....",
    "..kCCCCCCCyCCk....",
    "..kccccccccccccck.",
    "..khhSSSSSSSSSkkk.",
    "..khhSSSSSweSSk...",
    "..khhSSSSSweSSSk..",
    "..khhSsSSSSSSSk...",
    "...khSSSSSSkSk....",
    "....kksSSSSkk.....",
    "....kYYYYYYYk.....",
    "...kYYYYYYYYYk....",
    "...kYYYYYYYYYkk...",
    "...kYYYYYYYYkoYk..",
    "....kYYYYYYYkYok..",
    "....kYYYYYYYkSSk..",
    "....kOOOOOOOkkk...",
    ".....kPPPPPPPk....",
    "....kpppkkPPPk....",
    "...kpppk..kPPPk...",
    "..kpppk....kPPPk..",
    "..kppk......kPPk..",
    ".kOOOk......kOOOOk",
    ".kkkkk......kkkkkk",
};

Canvas poseCanvas(const Pose& pose, bool mirror) {
    if (pose.size() != size_t(poseHeight)) fail("player pose with the wrong number of rows");
    Canvas c(side, side, side, side);
    c.clear(rgb(255, 0, 255));
    for (int y = 0; y < poseHeight; ++y) {
        std::string row = pose[y];
        if (row.size() != size_t(poseWidth)) fail("player pose row of the wrong width: " + row);
        for (int x = 0; x < poseWidth; ++x) {
            char key = row[size_t(x)];
            if (key == '.') continue;
            auto it = palette().find(key);
            if (it == palette().end()) fail(std::string("player pose with an unknown colour: ") + key);
            int column = mirror ? poseWidth - 1 - x : x;
            c.setPixel(left + column, top + y, it->second);
        }
    }
    return c;
}

}  // namespace

void addPlayer(Pictures& out) {
    // As seen on screen; the files hold the mirror image of each.
    struct Frame {
        const Pose* pose;
        bool facingLeft;
    };
    const Frame frames[12] = {
        {&standA, false}, {&standB, false}, {&standC, false},  // loaded, never shown
        {&walkA, true},   {&walkB, true},   {&walkC, true},    // walking left
        {&standA, false}, {&standB, false}, {&standC, false},  // standing
        {&walkA, false},  {&walkB, false},  {&walkC, false},   // walking right
    };
    for (int i = 0; i < 12; ++i) {
        // Mirrored once to face left on screen, once more for the game's own mirror.
        bool mirrorInFile = !frames[i].facingLeft;
        char name[32];
        std::snprintf(name, sizeof name, "CA54R2JR_%02d.tga", i);
        out.push_back(Picture{name, poseCanvas(*frames[i].pose, mirrorInFile), 3, 0, Picture::Show::player, 32, 38.4});
    }
}

void drawPlayerBlocks(Canvas& c, double x, double y, double block) {
    Canvas pose = poseCanvas(standA, false);
    for (int py = 0; py < poseHeight; ++py)
        for (int px = 0; px < poseWidth; ++px) {
            Colour k = pose.pixel(left + px, top + py);
            if (k.r == 1 && k.g == 0 && k.b == 1) continue;
            double bx = x + px * block, by = y + py * block;
            c.fill(Box{bx, by, bx + block, by + block},
                   [=](double sx, double sy) { return sx >= bx && sx < bx + block && sy >= by && sy < by + block ? 1.0f : 0.0f; },
                   k, 2);
        }
}

}  // namespace art
