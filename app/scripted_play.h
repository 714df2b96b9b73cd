// Plays the real game without a player and without a display, the same way
// every time: the clock is set and moves a fixed time per frame, keys are
// pressed and released through the window's message queue at given frames,
// and every frame goes through the real main loop (drawScene, gameFrame,
// the loader and the pictures in the data directory). For tests, benchmarks
// and the level-solving bot.
#pragma once
#include "app/main_loop.h"
#include <cstdint>
#include <string>
#include <vector>

class ScriptedPlay {
public:
    struct KeyEvent {
        int frame;  // before this frame runs
        uint8_t key;
        bool down;
    };

    uint32_t msPerFrame;    // the clock moves this much after every frame
    int framesRun = 0;
    bool ended = false;     // the program would have ended (ESC, closing, a failed switch)
    std::vector<KeyEvent> script;

    // Opens the game's window (windowed; the full-screen question is not
    // asked) with the clock at `startTick`; the game starts on its title.
    explicit ScriptedPlay(uint32_t startTick = 100000, uint32_t msPerFrame = 16);
    ~ScriptedPlay();
    ScriptedPlay(const ScriptedPlay&) = delete;
    ScriptedPlay& operator=(const ScriptedPlay&) = delete;

    bool opened() const;
    // Queues a key message now; it is handled at the start of the next frame.
    void press(uint8_t key);
    void release(uint8_t key);
    // Handles the waiting messages, runs one frame and presents it. False
    // once the program would have ended.
    bool runFrame();
    bool runFrames(int count);

    // The last presented frame: width x height RGBA pixels, top row first.
    std::vector<uint8_t> frameRgba(int& width, int& height) const;
    bool savePng(const std::string& file) const;

private:
    platform::Message last;
};
