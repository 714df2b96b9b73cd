// --record: every clock reading the game takes and every message it handles
// goes into the demo as the game runs, and the file is flushed at least once
// a second, so a killed game leaves a demo up to its last second.
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
    uint64_t frames = 0;     // idle passes recorded: the frames drawn
    uint64_t lastFlush = 0;  // wallMilliseconds() of the latest flush
    bool reported = false;   // the write failure has been told
};

Recording recording;

constexpr uint64_t flushInterval = 1000;  // ms of real time

// Once: the game goes on unrecorded.
void reportFailure() {
    if (recording.reported) return;
    recording.reported = true;
    std::fprintf(recording.err, "vantrel: recording into %s stopped: %s; the game goes on unrecorded\n",
                 recording.path.c_str(), std::strerror(recording.tape.error ? recording.tape.error : EIO));
}

void flushNow() {
    recording.lastFlush = platform::wallMilliseconds();
    if (!recording.tape.flush()) reportFailure();
}

uint32_t recordReading(uint32_t reading) {
    recording.tape.tick(reading);
    return reading;
}

// A size message only fits the view to the window: a replay has a window
// of its own, with its own sizes.
void recordMessage(const platform::Message* taken) {
    if (taken) {
        if (taken->kind != platform::MessageKind::size) recording.tape.message(*taken);
        return;
    }
    recording.tape.frame();
    ++recording.frames;
    if (platform::wallMilliseconds() - recording.lastFlush >= flushInterval) flushNow();
}

void stopHooks() {
    platform::setTickFilter(nullptr);
    platform::setMessageWatcher(nullptr);
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
    platform::setTickFilter(recordReading);
    platform::setMessageWatcher(recordMessage);
    return true;
}

void noteLevelReplaced(const std::string& text) {
    if (recording.running) recording.tape.level(text);
}

void flushRecording() {
    if (recording.running) flushNow();
}

void finishRecording(std::FILE* out) {
    if (!recording.running) return;
    stopHooks();
    recording.running = false;
    recording.tape.end(recording.frames, gameStateHash());
    flushNow();
    if (std::fclose(recording.tape.file) != 0 && !recording.tape.failed) {
        recording.tape.failed = true;
        recording.tape.error = errno;
        reportFailure();
    }
    recording.tape.file = nullptr;
    std::fprintf(out, "%s\n", endLine(recording.frames).c_str());
}
