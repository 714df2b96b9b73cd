// --play-demo: the game runs its real main loop, but each frame's clock
// reading and every message it handles come from the demo, so it goes the
// same way the recorded game went, frame for frame, whatever machine or
// driver draws it.
#include "app/demo.h"
#include "app/demo_header.h"
#include "app/key_bindings.h"
#include "app/main_loop.h"
#include "app/screen_capture.h"
#include "app/window.h"
#include "game/game_state.h"
#include "game/rules.h"
#include "game/state_hash.h"
#include "platform/clock.h"
#include "platform/video.h"
#include <cstring>

namespace {

// --screenshot-at: the frames to write, each taken once it has been presented.
struct Screenshots {
    std::vector<CommandLine::Screenshot> shots;
    std::vector<bool> taken;
    uint64_t lookedAt = 0;  // the latest frame whose screenshots were written
    bool failed = false;    // one could not be written: the replay's status says so

    // Writes those of `frame`, the frame just presented, once.
    void afterPresenting(uint64_t frame, std::FILE* err) {
        if (frame == lookedAt) return;
        lookedAt = frame;
        for (size_t i = 0; i < shots.size(); ++i) {
            if (uint64_t(shots[i].frame) != frame) continue;
            taken[i] = true;
            std::string why;
            if (saveFramePng(shots[i].file, &why)) continue;
            std::fprintf(err, "vantrel: cannot write the screenshot %s: %s\n", shots[i].file.c_str(), why.c_str());
            failed = true;
        }
    }

    void tellMissed(std::FILE* err) const {
        for (size_t i = 0; i < shots.size(); ++i)
            if (!taken[i])
                std::fprintf(err, "vantrel: no screenshot %s: the replay presented no frame %ld\n",
                             shots[i].file.c_str(), shots[i].frame);
    }
};

// The tape and where the replay stands on it. The loop's message source and
// the game's clock are both handed to it (see playDemo).
struct Replay {
    DemoReader tape;
    uint32_t lastTick = 0;        // the latest frame reading handed out
    uint32_t dueReading = 0;      // the reading of the frame the tape has just begun...
    bool readingDue = false;      // ...not yet taken by the loop
    uint64_t frames = 0;          // frames begun
    bool paced = false;           // watched at the display's pace: waits take their time
    uint64_t paceFrom = 0;        // frames before it run as fast as they go, their waits skipped
    bool viewerStops = false;     // the viewer's ESC ends the replay (a kept game watched from the tables)
    bool started = false;         // the window was made and the loop asked for a message
    bool ended = false;           // the tape is used up, or the viewer closed the window
    bool stopped = false;         // the viewer closed the window before the demo's end
    bool closed = false;          // ...by closing the window
    bool wentAstray = false;      // the game did not go where the recording went
    Screenshots screenshots;
    std::FILE* err = stderr;

    // The loop's message source: the next message of the demo, or false for
    // the next frame. Levels replaced during the recorded game are replaced
    // here, before the frame whose reading followed them.
    bool nextMessage(platform::Message& out) {
        started = true;
        screenshots.afterPresenting(frames, err);
        if (ownWindowMessage(out)) return true;
        if (readingDue) wentAstray = true;  // the last frame never read its clock
        readingDue = false;
        DemoRecord r;
        while (!ended && tape.next(r)) {
            switch (r.kind) {
            case RecordKind::message: out = r.message; return true;
            case RecordKind::level: replaceLevel(r.text); break;
            case RecordKind::wait:    // the recorded game waited, this one did not
            case RecordKind::answer:  // the recorded game asked the tables, this one did not
                wentAstray = true;
                break;
            case RecordKind::frame:
                if (paceFrom && frames + 1 == paceFrom) platform::setVerticalSync(true);
                ++frames;
                dueReading = lastTick + uint32_t(r.delta);
                readingDue = true;
                return false;
            case RecordKind::end: break;
            }
        }
        ended = true;
        out = {platform::MessageKind::quit, 0, 0};
        return true;
    }

    // The game's frame reading: the recorded one.
    uint32_t frameReading() {
        if (readingDue) {
            lastTick = dueReading;
        } else {
            wentAstray = true;  // a reading the tape has not got: the clock still moves
            ++lastTick;
        }
        readingDue = false;
        return lastTick;
    }

    // A wait where the recorded game waited: as long as the game asks when
    // watched (never the recorded time, which a damaged demo could make
    // days), and none when run as fast as it goes: no clock of the game
    // moves meanwhile.
    void wait(uint32_t ms) {
        RecordKind kind;
        DemoRecord r;
        if (!tape.peekKind(kind) || kind != RecordKind::wait || !tape.next(r)) wentAstray = true;
        if (paced && frames >= paceFrom) platform::busyWait(ms);
    }

    // What the high-score tables answered the recorded game: never those
    // where it is replayed.
    bool tablesWanted() {
        RecordKind kind;
        DemoRecord r;
        if (tape.peekKind(kind) && kind == RecordKind::answer && tape.next(r)) return r.yes;
        wentAstray = true;
        return false;
    }

    // What the replay's own window says: what it posted in answer to the
    // demo's messages is in the demo already, and the viewer's keys are not
    // the player's; a size fits the view to this window, and closing it
    // ends the replay.
    bool ownWindowMessage(platform::Message& out) {
        platform::Message m;
        bool sized = false;
        for (int look = 0; look < 2; ++look) {
            if (look == 1) platform::pumpWindowMessages();
            while (platform::takeWaitingMessage(m)) {
                if (look == 1 && m.kind == platform::MessageKind::close) ended = stopped = closed = true;
                if (look == 1 && viewerStops && m.kind == platform::MessageKind::keyDown &&
                    m.wParam == platform::key::escape)
                    ended = stopped = true;
                if (m.kind == platform::MessageKind::size) {
                    out = m;
                    sized = true;
                }
            }
        }
        return sized;
    }
};

Replay replay;

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

// What a replay takes the place of, put back when it ends.
struct Replaced {
    ScoreHooks scoreHooks;
    KeyBindings keys;
};

// The game as the demo says it was recorded (its rules, keys and first
// level), and the replay handed the game's clock, the loop's messages and
// the tables' answers: a replayed game never enters a table.
Replaced beginReplaying(const DemoHeader& header, const DemoSurvey& survey) {
    replay.tape.end = survey.wholeEnd;
    replay.lastTick = header.startTick;
    Replaced was{scoreHooks, keyBindings};
    playedRules = header.rules;
    keyBindings = header.keys;
    if (header.ownLevel)
        setOwnLevel(header.ownLevelText);
    else
        setFirstLevel(header.startLevel);
    platform::setClockHooks({[](uint32_t) { return replay.frameReading(); }, [](uint32_t ms) { replay.wait(ms); }});
    platform::setMessageSource([](platform::Message& m) { return replay.nextMessage(m); });
    scoreHooks = {[](int64_t) { return replay.tablesWanted(); }, {}, {}};
    return was;
}

void endReplaying(const Replaced& was) {
    platform::setClockHooks({});
    platform::setMessageSource({});
    scoreHooks = was.scoreHooks;
    playedRules = rulesVersion;
    keyBindings = was.keys;
}

}  // namespace

int playDemo(const CommandLine& line, std::FILE* out, std::FILE* err) {
    replay = Replay{};
    replay.err = err;
    replay.screenshots.shots = line.screenshots;
    replay.screenshots.taken.assign(line.screenshots.size(), false);
    replay.paced = line.verticalSync;
    std::string bytes;
    DemoHeader header;
    DemoSurvey survey;
    if (!loadDemo(line.demoFile, bytes, header, survey, err)) return 1;
    Replaced was = beginReplaying(header, survey);
    // Watched in a window unless full screen is asked for: no question.
    fullScreen = line.screen == StartScreen::fullScreen;
    platform::setVerticalSync(line.verticalSync);
    int status = runGame();
    endReplaying(was);
    replay.screenshots.tellMissed(err);
    if (!replay.started) return status;  // the window could not be made: the box said why
    std::fprintf(out, "%s\n", endLine(replay.frames).c_str());
    if (replay.stopped) {
        std::fprintf(err, "vantrel: replay of %s stopped after %llu of its %llu frames\n", line.demoFile.c_str(),
                     (unsigned long long)replay.frames, (unsigned long long)survey.frames);
        return replay.screenshots.failed ? 1 : 0;
    }
    return compareWithRecording(survey, line.demoFile, err) && !replay.screenshots.failed ? 0 : 1;
}

// The game is forgotten first and started afresh, as a program starts, so
// that the kept game (recorded from its program's start) replays exactly.
Watched watchKeptGame(const std::string& demoFile, uint64_t paceFrom, std::FILE* out, std::FILE* err) {
    replay = Replay{};
    replay.err = err;
    replay.paced = true;
    replay.paceFrom = paceFrom;
    replay.viewerStops = true;
    std::string bytes;
    DemoHeader header;
    DemoSurvey survey;
    if (!loadDemo(demoFile, bytes, header, survey, err)) return Watched::cannotRead;
    bool wasPaced = platform::verticalSyncOn();
    Replaced was = beginReplaying(header, survey);
    forgetGame();
    platform::setVerticalSync(paceFrom == 0);
    startGame();
    platform::Message last;
    LoopPass pass = LoopPass::goOn;
    while (pass == LoopPass::goOn) pass = mainLoopPass(last);
    endReplaying(was);
    platform::setVerticalSync(wasPaced);
    if (replay.closed || pass == LoopPass::windowLost) return Watched::windowClosed;
    if (replay.stopped) return Watched::stopped;
    std::fprintf(out, "%s\n", endLine(replay.frames).c_str());
    std::fflush(out);
    compareWithRecording(survey, demoFile, err);
    return Watched::toTheEnd;
}
