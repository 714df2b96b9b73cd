// The demo file: what a recorded game holds, written as it is played and
// read back for a replay.
//
// A text header, one field a line, then binary records:
//
//   vantrel-demo 1
//   game 0.2.0                     the version that recorded it
//   levels 3 HASH HASH HASH        the data's level files 0, 1, 2 as read
//   start level 0                  or "start file BYTES", then the text and "\n"
//   tick 100000                    the clock when recording began
//   records
//
// Records, each one byte of kind and its fields as unsigned LEB128 numbers
// (signed ones zig-zagged first):
//
//   'T' delta count      `count` clock readings, each `delta` after the one
//                        before (the first after the header's tick)
//   'M' kind wParam lParam   a message the game took from its queue
//   'F'                  the queue was empty: a frame was drawn
//   'L' bytes text       the game's own level was replaced by this text
//   'E' frames hash      the recording ended cleanly: its frame count and
//                        the game state's hash at the end
//
// Runs of equal deltas keep the file small: a frame reads the clock many
// times, mostly within one millisecond, and the game-over pause reads it
// millions of times in a few seconds.
#pragma once
#include "platform/messages.h"
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr const char* demoMagic = "vantrel-demo 1";
// What a header may hold at most: a replay refuses more before reading it.
constexpr size_t maxDemoLevels = 10000;
// The largest demo a replay reads and a recording writes, bytes: about 19
// hours of a person's play (a minute takes some 57 KiB), or four versions of
// the largest level a level file may hold.
constexpr size_t maxDemoSize = size_t(64) << 20;

struct DemoHeader {
    std::string gameVersion;
    std::vector<uint64_t> levelHashes;  // levelHash of data level 0, 1, ... as the recording saw them
    int startLevel = 0;                 // the first level, when the game played the data's levels
    bool ownLevel = false;              // the game played a level of its own...
    std::string ownLevelText;           // ...this one
    uint32_t startTick = 0;             // the clock when recording began, ms
};

// A hash of a level's text (FNV-1a, 64 bits), for the data's levels in a
// header.
uint64_t levelHash(const std::string& text);

enum class RecordKind : uint8_t { ticks = 'T', message = 'M', frame = 'F', level = 'L', end = 'E' };

struct DemoRecord {
    RecordKind kind = RecordKind::frame;
    int32_t delta = 0;         // ticks: ms from one reading to the next (wraps like the clock)
    uint64_t count = 0;        // ticks: readings in the run, at least 1
    platform::Message message; // message
    std::string text;          // level
    uint64_t frames = 0;       // end
    uint64_t stateHash = 0;    // end
};

// Writes a demo as the game runs. Records go to the file's buffer; flush()
// hands them to the system. After a failed write the writer keeps quiet:
// `failed` is set and nothing more is written. A write that would take the
// file past maxDemoSize fails as a full disk does (EFBIG).
class DemoWriter {
public:
    std::FILE* file = nullptr;
    bool failed = false;
    int error = 0;              // errno of the failed write
    size_t written = 0;         // bytes handed to the file so far
    uint32_t lastTick = 0;      // the latest reading written (or the start tick)
    int32_t runDelta = 0;       // the run of readings not written yet
    uint64_t runCount = 0;

    bool writeHeader(const DemoHeader& header);
    void tick(uint32_t reading);
    void message(const platform::Message& message);
    void frame();
    void level(const std::string& text);
    void end(uint64_t frames, uint64_t stateHash);
    // False when this or an earlier write failed.
    bool flush();

private:
    void put(const void* bytes, size_t size);
    void putNumber(uint64_t n);
    void putRun();
    void startRecord(RecordKind kind);
};

// Reads a demo file (or FIFO, or device) whole into `bytes`, as a stream:
// what does not begin with the demo's first line is refused after reading
// that line's length, and reading stops past maxDemoSize. The bytes are held
// once, never more than maxDemoSize of them. False with the reason in `why`.
bool readDemoFile(const std::string& path, std::string& bytes, std::string& why);

// Reads a demo from its bytes, held whole in memory.
class DemoReader {
public:
    const std::string* bytes = nullptr;
    size_t offset = 0;   // where the next record starts
    size_t end = 0;      // reading stops here (the file's end, or the end of its last whole frame)
    std::string problem; // why reading stopped before `end`, when it did

    // Reads the header; false, with the reason in `problem`, when the bytes
    // are not a demo this game can read.
    bool readHeader(const std::string& demoBytes, DemoHeader& header);
    // The next record; false at `end` or at a record that is cut short or
    // damaged (then `problem` says which and where).
    bool next(DemoRecord& record);
    // Looks at the next record's kind without reading it; false at the end.
    bool peekKind(RecordKind& kind) const;
};

// What a whole read of the records found: how many whole frames there are
// and where the last one ends, whether the end record was reached and what
// it holds, or why reading stopped early.
struct DemoSurvey {
    uint64_t frames = 0;
    size_t wholeEnd = 0;       // the byte after the last whole frame's last record
    bool complete = false;     // the end record was read, and nothing follows it
    uint64_t endFrames = 0;    // the end record's figures, when complete
    uint64_t endHash = 0;
    std::string problem;       // when not complete: why (cut short, damaged, ...)
    size_t problemOffset = 0;
};

// Reads every record after the header. A frame is whole when the record
// after its own readings could be read: a replay goes no further.
DemoSurvey surveyDemo(const std::string& bytes, size_t recordsStart);
