// --record: each frame's clock reading, every message the game handles and
// every level it loads from a watched file go into the demo as the game
// runs, and the file is flushed at least once a second, so a killed game
// leaves a demo up to its last second.
#include "app/demo.h"
#include "app/demo_header.h"
#include "game/state_hash.h"
#include "platform/clock.h"
#include <cerrno>
#include <cstring>

namespace {

struct Recording {
    bool running = false;
    std::string path;
    std::FILE* err = stderr;
    DemoWriter tape;
    uint64_t frames = 0;     // frame readings recorded: the idle passes, the frames drawn
    uint64_t lastFlush = 0;  // wallMilliseconds() of the latest flush
    bool reported = false;   // the write failure has been told

    // Once: the game goes on unrecorded.
    void reportFailure() {
        if (reported) return;
        reported = true;
        std::fprintf(err, "vantrel: recording into %s stopped: %s; the game goes on unrecorded\n", path.c_str(),
                     std::strerror(tape.error ? tape.error : EIO));
    }

    void flushNow() {
        lastFlush = platform::wallMilliseconds();
        if (!tape.flush()) reportFailure();
    }

    uint32_t frameReading(uint32_t reading) {
        tape.frame(reading);
        ++frames;
        if (platform::wallMilliseconds() - lastFlush >= flushInterval) flushNow();
        return reading;
    }

    void wait(uint32_t ms) { tape.wait(platform::busyWait(ms)); }

    // A size message only fits the view to the window: a replay has a window
    // of its own, with its own sizes.
    void message(const platform::Message& taken) {
        if (taken.kind != platform::MessageKind::size) tape.message(taken);
    }

    static constexpr uint64_t flushInterval = 1000;  // ms of real time
};

Recording recording;

void stopHooks() {
    platform::setClockHooks({});
    platform::setMessageWatcher({});
}

}  // namespace

bool startRecording(const CommandLine& line, std::FILE* err) {
    recording = Recording{};
    recording.path = line.recordFile;
    recording.err = err;
    errno = 0;
    recording.tape.file = std::fopen(line.recordFile.c_str(), "wb");
    int why = errno;
    if (recording.tape.file && !recording.tape.writeHeader(thisGameHeader(platform::tickCount())))
        why = recording.tape.error;
    if (!recording.tape.file || recording.tape.failed) {
        std::fprintf(err, "vantrel: cannot record into %s: %s\n", line.recordFile.c_str(),
                     std::strerror(why ? why : EIO));
        if (recording.tape.file) std::fclose(recording.tape.file);
        recording.tape.file = nullptr;
        return false;
    }
    recording.running = true;
    recording.lastFlush = platform::wallMilliseconds();
    platform::setClockHooks({[](uint32_t reading) { return recording.frameReading(reading); },
                             [](uint32_t ms) { recording.wait(ms); }});
    platform::setMessageWatcher([](const platform::Message& taken) { recording.message(taken); });
    return true;
}

void noteLevelReplaced(const std::string& text) {
    if (recording.running) recording.tape.level(text);
}

void flushRecording() {
    if (recording.running) recording.flushNow();
}

void finishRecording(std::FILE* out) {
    if (!recording.running) return;
    stopHooks();
    recording.running = false;
    recording.tape.end(recording.frames, gameStateHash());
    recording.flushNow();
    if (std::fclose(recording.tape.file) != 0 && !recording.tape.failed) {
        recording.tape.failed = true;
        recording.tape.error = errno;
        recording.reportFailure();
    }
    recording.tape.file = nullptr;
    std::fprintf(out, "%s\n", endLine(recording.frames).c_str());
}
