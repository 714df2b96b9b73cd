#include "support/level_bot.h"
#include "app/keyboard.h"
#include "app/scripted_play.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "game/stair.h"
#include "gfx/animated_sprite.h"
#include "platform/messages.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The rules, as a player learns them.
constexpr double climbStep = 0.2;      // a climb rises this much every 1/60 s, to the nearest step
constexpr double figureSize = 16;
constexpr double contactInset = 2;     // enemies test the figure's box shrunk by this on every side
constexpr double stairBoxHeight = 14;  // stairs test the figure's box 2 lower than the figure
constexpr double bounceChange = 0.19;  // at a bound an enemy's speed changes by up to this part

// The bot's own caution, in world units, and how far ahead it looks.
constexpr double marginX = 1.0;
constexpr double marginY = 1.5;
constexpr int horizon = 480;        // frames, about 7.7 seconds
constexpr int standAfterClimb = 6;  // frames the figure must be safe standing where a climb ends
constexpr int forecastFrames = horizon + 200;
// Frames on one floor after which the bot gives up: the slowest floor of the
// shipped levels takes a few hundred, rarely a few thousand.
constexpr int giveUpAfter = 4800;

// Where an enemy's bottom edge can be, frame by frame from now: it goes on
// at its present speed and turns at its bounds, where its speed may change
// by anything up to bounceChange. The two extremes, always slower and always
// faster, travel the least and the most along the up-and-down path; the
// enemy lies somewhere between them.
struct Forecast {
    double x, size;
    std::vector<double> low, high;  // index: frames from now
};

Forecast forecast(const Enemy& e, double msPerFrame) {
    Forecast f{e.x, e.size, std::vector<double>(forecastFrames + 1, e.y), std::vector<double>(forecastFrames + 1, e.y)};
    double bottom = e.lowerBound + e.size, top = e.upperBound, travel = top - bottom;
    if (travel <= 0 || e.speed == 0) return f;  // it does not move
    // The path unfolded into a line: 0 at the bottom bound, `travel` at the
    // top, 2 `travel` back at the bottom, and so on.
    double along = std::clamp(e.y - bottom, 0.0, travel);
    if (e.speed < 0) along = 2 * travel - along;
    struct Run {
        double along, step, change;
        int leg;  // the path from bound `leg` to bound `leg` + 1
    };
    double step = std::fabs(e.speed) * msPerFrame;
    int leg = e.speed > 0 ? 0 : 1;
    Run slowest{along, step, 1 - bounceChange, leg}, fastest{along, step, 1 + bounceChange, leg};
    auto advance = [travel](Run& r) {
        double bound = (r.leg + 1) * travel;
        r.along += r.step;
        if (r.along > bound) {  // stops at the bound for this frame and turns
            r.along = bound;
            r.step *= r.change;
            ++r.leg;
        }
    };
    auto fold = [=](double a) {
        double m = std::fmod(a, 2 * travel);
        return bottom + (m <= travel ? m : 2 * travel - m);
    };
    for (int k = 1; k <= forecastFrames; ++k) {
        advance(slowest);
        advance(fastest);
        double a = slowest.along, b = fastest.along;
        if (b - a >= 2 * travel) {
            f.low[k] = bottom;
            f.high[k] = top;
            continue;
        }
        double low = std::min(fold(a), fold(b)), high = std::max(fold(a), fold(b));
        for (double j = std::floor(a / travel) + 1; j * travel <= b; ++j) {
            if (int64_t(j) % 2 == 0)
                low = bottom;  // passes the bottom bound on the way
            else
                high = top;
        }
        f.low[k] = low;
        f.high[k] = high;
    }
    return f;
}

// Whether the enemy can be level with a figure standing at height y, and
// where the figure's x must then not be.
bool mayBeLevel(const Forecast& f, int frame, double y) {
    frame = std::min(frame, forecastFrames);
    return y + figureSize - contactInset + marginY >= f.low[frame] &&
           y + contactInset - marginY <= f.high[frame] + f.size;
}

struct Span {
    double from, to;
};

Span deadlyXs(const Forecast& f) {
    return {f.x - figureSize + contactInset - marginX, f.x + f.size - contactInset + marginX};
}

bool mayHit(const Forecast& f, int frame, double x, double y) {
    Span xs = deadlyXs(f);
    return xs.from <= x && x <= xs.to && mayBeLevel(f, frame, y);
}

// A stair that fires when the figure walks into it on the present floor.
struct Door {
    double left, right;  // the figure's x lies in [left, right] when its box is inside
    double rise;         // how far the climb goes; 0 for the exit
};

// Looks for the earliest frame at which the figure can be inside an armed
// stair of its floor, walking one way or the other every frame (at a wall it
// stands), without any enemy being able to touch it on the way, during the
// climb that follows, or standing where the climb ends. Plans from scratch
// every frame, so each plan only needs to be good for its first step.
class Planner {
public:
    explicit Planner(double msPerFrame) : msPerFrame(msPerFrame) {}

    // -1 to walk left, +1 to walk right.
    int choose(int previous) {
        const Player& p = *game.player;
        y = p.y;
        step = walkSpeed * msPerFrame;
        maxX = p.maxX;
        keys = int(std::lround(maxX * 2)) + 1;
        forecasts.clear();
        for (int i = 0; i < game.enemyCount; ++i) forecasts.push_back(forecast(*game.enemies[i], msPerFrame));
        doors.clear();
        for (int i = 0; i < game.stairCount; ++i) {
            const Stair& s = *game.stairs[i];
            bool fits = s.y <= y && y + stairBoxHeight <= s.y + s.height && s.width >= figureSize;
            if (fits && (s.type == climbStair || s.type == exitStair))
                doors.push_back({s.x, s.x + s.width - figureSize, s.type == climbStair ? s.height : 0});
        }
        return search(p.x, previous);
    }

private:
    struct Node {
        double x = -1;  // -1: not reached
        int parent = -1;
        int move = 0;
    };

    double msPerFrame, y = 0, step = 0, maxX = 0;
    int keys = 0;
    std::vector<Forecast> forecasts;
    std::vector<Door> doors;
    std::vector<Node> nodes;

    int key(double x) const { return int(std::lround(x * 2)); }

    bool safe(int frame, double x, double atY) const {
        for (const Forecast& f : forecasts)
            if (mayHit(f, frame, x, atY)) return false;
        return true;
    }

    bool climbIsSafe(int frame, double x, double rise) const {
        double at = y, target = y + rise;
        double due = 0.5;  // steps, the first due at the nearest whole step
        for (;;) {
            ++frame;
            due += msPerFrame * 60 / 1000;
            for (; due >= 1; due -= 1) at += climbStep;
            if (!(at < target)) break;
            if (!safe(frame, x, at)) return false;
        }
        for (int k = 0; k <= standAfterClimb; ++k)
            if (!safe(frame + k, x, target)) return false;
        return true;
    }

    const Door* doorAt(double x) const {
        for (const Door& d : doors)
            if (d.left <= x && x <= d.right) return &d;
        return nullptr;
    }

    int firstMove(int frame, int k) const {
        int move = 0;
        for (; frame > 0; --frame) {
            const Node& n = nodes[size_t(frame) * keys + k];
            move = n.move;
            k = n.parent;
        }
        return move;
    }

    int search(double startX, int previous) {
        nodes.assign(size_t(horizon + 1) * keys, Node{});
        nodes[size_t(key(startX))] = {startX, -1, 0};
        int deepest = 0;
        std::vector<Span> deadly;
        for (int frame = 1; frame <= horizon; ++frame) {
            Node* before = &nodes[size_t(frame - 1) * keys];
            Node* now = &nodes[size_t(frame) * keys];
            deadly.clear();  // only enemies level with this floor matter while walking it
            for (const Forecast& f : forecasts)
                if (mayBeLevel(f, frame, y)) deadly.push_back(deadlyXs(f));
            auto walkable = [&deadly](double x) {
                for (const Span& s : deadly)
                    if (s.from <= x && x <= s.to) return false;
                return true;
            };
            bool any = false;
            for (int k = 0; k < keys; ++k) {
                if (before[k].x < 0) continue;
                for (int move : {-1, 1}) {
                    double x = std::clamp(before[k].x + move * step, 0.0, maxX);
                    int to = key(x);
                    if (now[to].x >= 0 || !walkable(x)) continue;
                    if (const Door* d = doorAt(x)) {
                        // Walking in fires the stair: take it if it is safe, never else.
                        if (d->rise == 0 || climbIsSafe(frame, x, d->rise)) {
                            now[to] = {x, k, move};
                            return firstMove(frame, to);
                        }
                        continue;
                    }
                    now[to] = {x, k, move};
                    any = true;
                }
            }
            if (!any) break;
            deepest = frame;
        }
        return fallback(deepest, previous);
    }

    // No way in sight: stay alive as long as the forecast allows, ending as
    // near a stair as possible.
    int fallback(int deepest, int previous) const {
        if (deepest == 0) return previous;
        int best = -1;
        double bestDistance = 1e9;
        for (int k = 0; k < keys; ++k) {
            const Node& n = nodes[size_t(deepest) * keys + k];
            if (n.x < 0) continue;
            double distance = 0;
            if (!doors.empty()) {
                distance = 1e9;
                for (const Door& d : doors) distance = std::min(distance, std::fabs(n.x - (d.left + d.right) / 2));
            }
            if (distance < bestDistance) {
                bestDistance = distance;
                best = k;
            }
        }
        return firstMove(deepest, best);
    }
};

// Holds one arrow key, or none, through the window's message queue.
class Arrows {
public:
    explicit Arrows(ScriptedPlay& play) : play(play) {}
    ~Arrows() { hold(0); }
    void hold(int move) {
        if (move == held) return;
        if (held < 0) play.release(platform::key::left);
        if (held > 0) play.release(platform::key::right);
        if (move < 0) play.press(platform::key::left);
        if (move > 0) play.press(platform::key::right);
        held = move;
    }
    int holding() const { return held; }

private:
    ScriptedPlay& play;
    int held = 0;
};

}  // namespace

std::string LevelRun::describe() const {
    const char* end = finished ? "exit reached" : gameOver ? "game over" : stuck ? "stuck" : "out of frames";
    char text[160];
    std::snprintf(text, sizeof text, "%s after %d frames, %d lives lost, highest floor y = %g", end, frames,
                  livesLost, highestFloor);
    return text;
}

LevelRun playLevel(ScriptedPlay& play, int frameLimit, const std::function<void()>& afterFrame) {
    LevelRun run;
    Planner planner(play.msPerFrame);
    Arrows arrows(play);
    const int level = game.currentLevel;
    double lives = game.livesCounter->value();
    bool exploding = game.explosion->playing;
    double standingAt = game.player->y;
    int framesOnFloor = 0;
    while (run.frames < frameLimit) {
        if (exploding)
            arrows.hold(0);  // the figure is hidden and waits where it will come back
        else if (!game.climbing)
            arrows.hold(planner.choose(arrows.holding() ? arrows.holding() : 1));
        if (!play.runFrame()) break;
        ++run.frames;
        if (afterFrame) afterFrame();
        if (!game.gameStarted) {  // the last life went, and the game is back on its title
            run.gameOver = true;
            break;
        }
        if (game.explosion->playing && !exploding) ++run.livesLost;
        exploding = game.explosion->playing;
        double livesNow = game.livesCounter->value();
        if (game.currentLevel != level || livesNow > lives) {
            run.finished = true;
            break;
        }
        lives = livesNow;
        run.highestFloor = std::max(run.highestFloor, game.player->y);
        if (game.player->y != standingAt) {
            standingAt = game.player->y;
            framesOnFloor = 0;
        } else if (++framesOnFloor > giveUpAfter) {
            run.stuck = true;
            break;
        }
    }
    return run;
}
