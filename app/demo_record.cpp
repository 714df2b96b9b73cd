// Recording: each frame's clock reading, every message the game handles,
// every level it loads from a watched file and what the high-score tables
// answer go into the demo as the game runs, kept in memory. With --record the
// demo is also written beside its file, as FILE.part, flushed at least once a
// second, and takes the file's name when the recording ends: a killed game
// leaves the file as it was, and FILE.part holding the game up to its last
// second.
#include "app/demo.h"
#include "app/demo_header.h"
#include "app/output_files.h"
#include "game/state_hash.h"
#include "platform/clock.h"
#include "platform/file_writing.h"
#include "platform/printable_text.h"
#include <cerrno>
#include <functional>
#include <cstring>

namespace {

struct Recording {
    bool running = false;
    bool toFile = false;      // --record
    std::string path;
    std::FILE* err = stderr;
    platform::FileWriting output;  // FILE.part until the end
    DemoWriter tape;
    uint64_t frames = 0;     // frame readings recorded: the idle passes, the frames drawn
    uint64_t lastFlush = 0;  // wallMilliseconds() of the latest flush
    bool reported = false;   // the write failure has been told

    // Once: the game goes on unrecorded.
    void reportFailure() {
        if (reported) return;
        reported = true;
        std::fprintf(err,
                     "vantrel: recording into %s stopped: %s; the game goes on unrecorded, and %s keeps what was "
                     "recorded\n",
                     shown(path).c_str(), std::strerror(tape.error ? tape.error : EIO), shown(output.temporary).c_str());
    }

    void flushNow() {
        lastFlush = platform::wallMilliseconds();
        if (!tape.flush()) reportFailure();
    }

    std::function<void(const std::string&)> keep;  // wants the demo as it stands at the next frame

    // The demo so far with an end record, as a replay of it ends.
    std::string endedDemo() {
        DemoWriter end;
        end.end(frames, gameStateHash());
        return tape.bytes + end.bytes;
    }

    // Where the frame under way began, and how the game stood there. The
    // game-over picture is shown, and waited on, in the middle of a frame,
    // which gives the page its turn there: the game saved then ends where
    // that frame began, as a replay takes whole frames.
    size_t frameStartBytes = 0;
    EndState frameStart;
    bool frameUnderWay = false;  // from the frame's reading until it is whole

    SavedDemo savedNow() {
        if (!frameUnderWay) return {endedDemo(), endLine(frames)};
        DemoWriter end;
        end.end(frameStart.frames, frameStart.stateHash);
        return {tape.bytes.substr(0, frameStartBytes) + end.bytes, endLine(frameStart)};
    }

    void keepNow() {
        if (!keep) return;
        auto wanting = std::move(keep);
        keep = {};
        wanting(endedDemo());
    }

    uint32_t frameReading(uint32_t reading) {
        keepNow();
        frameStartBytes = tape.bytes.size();
        frameStart = endState(frames);
        frameUnderWay = true;
        tape.frame(reading);
        ++frames;
        if (toFile && platform::wallMilliseconds() - lastFlush >= flushInterval) flushNow();
        return reading;
    }

    void wait(uint32_t ms) { tape.wait(platform::busyWait(ms)); }

    // A size message only fits the view to the window: a replay has a window
    // of its own, with its own sizes.
    void message(const platform::Message& taken) {
        if (taken.kind != platform::MessageKind::size) tape.message(taken);
    }

    static std::string shown(const std::string& name) { return platform::printableText(name); }

    static constexpr uint64_t flushInterval = 1000;  // ms of real time
};

Recording recording;

void stopHooks() {
    platform::setClockHooks({});
    platform::setMessageWatcher({});
}

}  // namespace

// The demo is written as FILE.part, which outputsAllowed has found missing,
// empty or a demo: one a killed recording left is replaced.
bool startRecording(const CommandLine& line, std::FILE* err) {
    recording = Recording{};
    recording.path = line.recordFile;
    recording.toFile = !line.recordFile.empty();
    recording.err = err;
    std::string why;
    if (!recording.toFile) {
        recording.tape.writeHeader(thisGameHeader(platform::tickCount()));
    } else if (platform::beginWriting(recording.output, line.recordFile, partialDemoName(line.recordFile), why)) {
        recording.tape.file = recording.output.file;
        if (!recording.tape.writeHeader(thisGameHeader(platform::tickCount())) || !recording.tape.flush())
            why = std::strerror(recording.tape.error ? recording.tape.error : EIO);
    }
    if (!why.empty()) {
        std::fprintf(err, "vantrel: cannot record into %s: %s\n", Recording::shown(line.recordFile).c_str(),
                     why.c_str());
        platform::abandonWriting(recording.output);
        recording.tape.file = nullptr;
        return false;
    }
    // From here on FILE.part holds a demo worth replaying, whatever happens.
    recording.output.keepOnFailure = true;
    recording.running = true;
    recording.lastFlush = platform::wallMilliseconds();
    platform::setClockHooks({[](uint32_t reading) { return recording.frameReading(reading); },
                             [](uint32_t ms) { recording.wait(ms); }});
    platform::setMessageWatcher([](const platform::Message& taken) { recording.message(taken); });
    return true;
}

uint64_t recordedFrames() { return recording.frames; }

bool recordingGame() { return recording.running; }

bool recordingToFile() { return recording.running && recording.toFile; }

const std::string& recordingFile() {
    static const std::string none;
    return recordingToFile() ? recording.path : none;
}

bool recordingFileIsThePages = false;

void noteTablesAnswer(bool wanted) {
    if (recording.running) recording.tape.answer(wanted);
}

void keepDemoAtNextFrame(std::function<void(const std::string& demo)> keep) {
    if (recording.running) recording.keep = std::move(keep);
}

void noteLevelReplaced(const std::string& text) {
    if (recording.running) recording.tape.level(text);
}

void frameWhole() { recording.frameUnderWay = false; }

SavedDemo demoSoFar() { return recording.running ? recording.savedNow() : SavedDemo{}; }

// A recording that stopped on a failed write stays in FILE.part (the player
// was told); a whole one takes FILE's place.
void finishRecording(std::FILE* out) {
    if (!recording.running) return;
    recording.keepNow();
    stopHooks();
    recording.running = false;
    if (!recording.toFile) return;
    recording.tape.end(recording.frames, gameStateHash());
    recording.flushNow();
    std::string why;
    if (recording.tape.failed) {
        platform::abandonWriting(recording.output);
    } else if (!platform::finishWriting(recording.output, why)) {
        std::fprintf(recording.err, "vantrel: the recording cannot take the place of %s: %s; it is in %s\n",
                     Recording::shown(recording.path).c_str(), why.c_str(),
                     Recording::shown(recording.output.temporary).c_str());
    }
    recording.tape.file = nullptr;
    if (out) std::fprintf(out, "%s\n", endLine(recording.frames).c_str());
}
