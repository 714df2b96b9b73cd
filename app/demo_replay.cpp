// --play-demo: the game runs its real main loop, but every clock reading and
// every message it handles come from the demo, so it goes the same way the
// recorded game went, frame for frame, whatever machine or driver draws it.
#include "app/demo.h"
#include "app/demo_header.h"
#include "app/main_loop.h"
#include "app/screen_capture.h"
#include "app/window.h"
#include "game/game_state.h"
#include "game/state_hash.h"
#include "platform/clock.h"
#include "platform/video.h"
#include <cstring>

namespace {

constexpr uint64_t maxStillReadings = 50000000;

struct Replay {
    DemoReader tape;
    DemoRecord record;
    int32_t delta = 0;           // the reading run being handed out
    uint64_t runLeft = 0;        // readings left in it
    uint32_t lastTick = 0;       // the latest reading handed out
    uint64_t stillReadings = 0;  // readings in a row that found the clock standing
    uint64_t frames = 0;         // frames handed out
    uint64_t shotsTakenFor = 0;  // the frame whose screenshots are written
    bool started = false;        // the window was made and the loop asked for a message
    bool ended = false;          // the tape is used up, or the viewer closed the window
    bool stopped = false;        // the viewer closed the window before the demo's end
    bool wentAstray = false;     // the game asked for readings the tape does not have where it asked, or the reverse
    std::vector<CommandLine::Screenshot> shots;
    std::vector<bool> shotTaken;
    std::FILE* err = stderr;
};

Replay replay;

// A reading the tape has not got: the game no longer goes the recorded way.
// The clock still moves, so that a wait for time to pass ends.
uint32_t astrayReading() {
    replay.wentAstray = true;
    return ++replay.lastTick;
}

uint32_t replayReading(uint32_t) {
    // A demo whose clock stands still for longer than any recorded wait
    // (the game-over pause reads it some tens of thousands of times a
    // millisecond) is damaged: moving the clock ends the wait.
    if (replay.delta == 0 && ++replay.stillReadings > maxStillReadings) return astrayReading();
    if (replay.delta != 0) replay.stillReadings = 0;
    if (replay.runLeft == 0) {
        RecordKind kind;
        if (!replay.tape.peekKind(kind) || kind != RecordKind::ticks || !replay.tape.next(replay.record))
            return astrayReading();
        replay.delta = replay.record.delta;
        replay.runLeft = replay.record.count;
    }
    --replay.runLeft;
    replay.lastTick += uint32_t(replay.delta);
    return replay.lastTick;
}

void takeScreenshots() {
    for (size_t i = 0; i < replay.shots.size(); ++i) {
        const CommandLine::Screenshot& shot = replay.shots[i];
        if (uint64_t(shot.frame) != replay.frames) continue;
        replay.shotTaken[i] = true;
        if (!saveFramePng(shot.file)) std::fprintf(replay.err, "vantrel: cannot write %s\n", shot.file.c_str());
    }
}

// What the replay's own window says: what it posted in answer to the demo's
// messages is in the demo already, and the viewer's keys are not the
// player's; a size fits the view to this window, and closing it ends the
// replay.
bool ownWindowMessage(platform::Message& out) {
    platform::Message m;
    bool sized = false;
    for (int look = 0; look < 2; ++look) {
        if (look == 1) platform::pumpWindowMessages();
        while (platform::takeWaitingMessage(m)) {
            if (look == 1 && m.kind == platform::MessageKind::close) replay.ended = replay.stopped = true;
            if (m.kind == platform::MessageKind::size) {
                out = m;
                sized = true;
            }
        }
    }
    return sized;
}

// A level replaced during the recorded game was replaced first thing in its
// frame, before anything was drawn.
void replaceLevelsNow() {
    RecordKind kind;
    while (replay.tape.peekKind(kind) && kind == RecordKind::level && replay.tape.next(replay.record))
        replaceLevel(replay.record.text);
}

// The next message of the demo; false for a frame. Readings a frame did not
// take are passed over.
bool replayMessage(platform::Message& out) {
    replay.started = true;
    if (replay.shotsTakenFor != replay.frames) {
        replay.shotsTakenFor = replay.frames;
        takeScreenshots();  // the frame just presented
    }
    if (ownWindowMessage(out)) return true;
    if (replay.runLeft) replay.wentAstray = true;  // the frame read the clock fewer times than recorded
    replay.runLeft = 0;
    while (!replay.ended && replay.tape.next(replay.record)) {
        switch (replay.record.kind) {
        case RecordKind::ticks: replay.wentAstray = true; break;
        case RecordKind::message: out = replay.record.message; return true;
        case RecordKind::level: replaceLevel(replay.record.text); break;
        case RecordKind::frame:
            ++replay.frames;
            replaceLevelsNow();
            return false;
        case RecordKind::end: break;
        }
    }
    replay.ended = true;
    out = {platform::MessageKind::quit, 0, 0};
    return true;
}

// The demo read and checked: false, with the reason told, when it cannot be
// replayed at all.
bool loadDemo(const std::string& path, std::string& bytes, DemoHeader& header, DemoSurvey& survey, std::FILE* err) {
    std::string why;
    if (!readDemoFile(path, bytes, why)) {
        std::fprintf(err, "vantrel: cannot replay %s: %s\n", path.c_str(), why.c_str());
        return false;
    }
    if (!replay.tape.readHeader(bytes, header)) {
        std::fprintf(err, "vantrel: cannot replay %s: %s\n", path.c_str(), replay.tape.problem.c_str());
        return false;
    }
    why = headerDifference(header, thisGameHeader(0));
    if (!why.empty()) {
        std::fprintf(err, "vantrel: cannot replay %s exactly: %s\n", path.c_str(), why.c_str());
        return false;
    }
    survey = surveyDemo(bytes, replay.tape.offset);
    if (!survey.complete)
        std::fprintf(err, "vantrel: %s ends early (%s at byte %zu): replaying its %llu whole frames\n", path.c_str(),
                     survey.problem.c_str(), survey.problemOffset, (unsigned long long)survey.frames);
    else if (!survey.problem.empty())
        std::fprintf(err, "vantrel: %s: %s at byte %zu, which are not replayed\n", path.c_str(), survey.problem.c_str(),
                     survey.problemOffset);
    return true;
}

// Says whether the replay ended as the recording did; false when not.
bool compareWithRecording(const DemoSurvey& survey, const std::string& path, std::FILE* err) {
    bool same = !replay.wentAstray && survey.endFrames == replay.frames && survey.endHash == gameStateHash();
    if (!survey.complete) return !replay.wentAstray;
    if (!same)
        std::fprintf(err, "vantrel: the replay of %s went another way than the recorded game (which ended after %llu "
                          "frames, state %016llx)\n",
                     path.c_str(), (unsigned long long)survey.endFrames, (unsigned long long)survey.endHash);
    return same;
}

void tellMissedScreenshots(std::FILE* err) {
    for (size_t i = 0; i < replay.shots.size(); ++i)
        if (!replay.shotTaken[i])
            std::fprintf(err, "vantrel: no screenshot %s: the replay presented no frame %ld\n",
                         replay.shots[i].file.c_str(), replay.shots[i].frame);
}

}  // namespace

int playDemo(const CommandLine& line, std::FILE* out, std::FILE* err) {
    replay = Replay{};
    replay.err = err;
    replay.shots = line.screenshots;
    replay.shotTaken.assign(line.screenshots.size(), false);
    std::string bytes;
    DemoHeader header;
    DemoSurvey survey;
    if (!loadDemo(line.demoFile, bytes, header, survey, err)) return 1;
    replay.tape.end = survey.wholeEnd;
    replay.lastTick = header.startTick;
    if (header.ownLevel)
        setOwnLevel(header.ownLevelText);
    else
        setFirstLevel(header.startLevel);
    // Watched in a window unless full screen is asked for: no question.
    fullScreen = line.screen == StartScreen::fullScreen;
    platform::setVerticalSync(line.verticalSync);
    platform::setTickFilter(replayReading);
    platform::setMessageSource(replayMessage);
    int status = runGame();
    platform::setTickFilter(nullptr);
    platform::setMessageSource(nullptr);
    tellMissedScreenshots(err);
    if (!replay.started) return status;  // the window could not be made: the box said why
    std::fprintf(out, "%s\n", endLine(replay.frames).c_str());
    if (replay.stopped) {
        std::fprintf(err, "vantrel: replay of %s stopped after %llu of its %llu frames\n", line.demoFile.c_str(),
                     (unsigned long long)replay.frames, (unsigned long long)survey.frames);
        return 0;
    }
    return compareWithRecording(survey, line.demoFile, err) ? 0 : 1;
}
