// The demo file: what a recorded game was given, written as it is played
// and read back for a replay.
//
// A text header, one field a line, then binary records:
//
//   vantrel-demo 2
//   game 0.3.0                     the release that recorded it
//   rules 1                        the version of the game's rules it played by
//   keys left=65 right=68 ...      the keys in force when it began, when they
//                                  were not the defaults (rules 2 on; see
//                                  app/key_bindings.h)
//   levels 3 HASH HASH HASH        the data's level files 0, 1, 2 as read
//   start level 0                  or "start file BYTES", then the text and "\n"
//   tick 100000                    the clock when recording began
//   records
//
// Records, each one byte of kind and its fields as unsigned LEB128 numbers
// (signed ones zig-zagged first):
//
//   'M' kind wParam lParam   a message the game took from its queue (the
//                        parameters' low 32 bits, lParam rotated left by 2
//                        bits so that a key's flags in its top bits take
//                        one byte)
//   'F' delta            a frame: its clock reading, `delta` ms after the
//                        frame before (the first after the header's tick)
//   0x80 + delta         the same for a delta of 0 to 127 ms, in one byte:
//                        a minute of play at 60 frames a second takes 3.5 KiB
//   'W' ms               the frame waited (the game-over picture), this long
//   'A' answer           what the high-score tables answered in the frame:
//                        1 when they wanted the game's name, 0 when not
//   'L' bytes text       the game's own level was replaced by this text,
//                        before the next frame's reading
//   'E' frames hash      the recording ended cleanly: its frame count and
//                        the game state's hash at the end
//
// A demo holds what the game was given (one clock reading a frame, the
// messages, the levels), not how the code asked for it: adding or moving a
// reading of the clock in the game does not move a recorded game.
#pragma once
#include "app/key_bindings.h"
#include "platform/messages.h"
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr const char* demoMagic = "vantrel-demo 2";
// What a header may hold at most: a replay refuses more before reading it.
constexpr size_t maxDemoLevels = 10000;
// The largest demo a replay reads and a recording writes, bytes: days of a
// person's play, or four versions of the largest level a level file may
// hold.
constexpr size_t maxDemoSize = size_t(64) << 20;

struct DemoHeader {
    std::string gameVersion;            // the release that recorded it
    uint32_t rules = 0;                 // the version of the rules it played by
    KeyBindings keys = defaultKeys;     // the keys in force when it began
    std::vector<uint64_t> levelHashes;  // levelHash of data level 0, 1, ... as the recording saw them
    int startLevel = 0;                 // the first level, when the game played the data's levels
    bool ownLevel = false;              // the game played a level of its own...
    std::string ownLevelText;           // ...this one
    uint32_t startTick = 0;             // the clock when recording began, ms
};

// A hash of a level's text (FNV-1a, 64 bits), for the data's levels in a
// header.
uint64_t levelHash(const std::string& text);

enum class RecordKind : uint8_t { message = 'M', frame = 'F', wait = 'W', answer = 'A', level = 'L', end = 'E' };
// A frame record of one byte: this bit set, and the delta in the others.
constexpr uint8_t shortFrameBit = 0x80;
constexpr int32_t maxShortFrameDelta = 0x7F;

struct DemoRecord {
    RecordKind kind = RecordKind::frame;
    int32_t delta = 0;         // frame: ms since the frame before (wraps like the clock)
    uint32_t waited = 0;       // wait: ms
    bool yes = false;          // answer
    platform::Message message; // message
    std::string text;          // level
    uint64_t frames = 0;       // end
    uint64_t stateHash = 0;    // end
};

// Writes a demo as the game runs: the whole of it is kept in `bytes` (a game
// keeps the demo of one that enters a high-score table), and flush() hands
// what is new to the file, if any. After a failed write to the file nothing
// more goes there, and `failed` is set; the demo in memory goes on. A record
// that would take the demo past maxDemoSize fails as a full disk does
// (EFBIG), and ends the demo in memory too.
class DemoWriter {
public:
    std::FILE* file = nullptr;  // none: the demo is kept in memory only
    std::string bytes;          // the demo so far
    size_t handed = 0;          // of which handed to the file
    bool failed = false;        // the file does not hold the whole demo (a write failed, or it is full)
    bool fileFailed = false;    // a write to the file failed
    bool full = false;          // maxDemoSize reached: nothing more is kept
    int error = 0;              // errno of the failed write
    uint32_t lastTick = 0;      // the latest frame's reading (or the start tick)
    // Room made at once for the demo in memory: hours of play, so that a
    // frame of the game never waits for it to grow.
    static constexpr size_t reserved = size_t(1) << 20;

    bool writeHeader(const DemoHeader& header);
    void frame(uint32_t reading);
    void wait(uint32_t waited);
    void answer(bool yes);
    void message(const platform::Message& message);
    void level(const std::string& text);
    void end(uint64_t frames, uint64_t stateHash);
    // False when this or an earlier write failed, or the demo is full.
    bool flush();

private:
    void put(const void* data, size_t size);
    void putNumber(uint64_t n);
    void startRecord(RecordKind kind);
};

// Reads a demo file (or FIFO, or device) whole into `bytes`, as a stream:
// what does not begin with the demo's first line is refused after reading
// that line's length (a demo of another format, after its next line, which
// names the release that recorded it), and reading stops past maxDemoSize.
// The bytes are held once, never more than maxDemoSize of them. False with
// the reason in `why`.
bool readDemoFile(const std::string& path, std::string& bytes, std::string& why);

// Reads a demo from its bytes, held whole in memory.
class DemoReader {
public:
    const std::string* bytes = nullptr;
    size_t offset = 0;   // where the next record starts
    size_t end = 0;      // reading stops here (the file's end, or the end of its last whole frame)
    std::string problem; // why reading stopped before `end`, when it did

    // Reads the header; false, with the reason in `problem`, when the bytes
    // are not a demo this game can read. A demo of another format, or of
    // rules this release does not know, is refused naming the release that
    // recorded it, before any header line a later release may have added.
    bool readHeader(const std::string& demoBytes, DemoHeader& header);
    // The next record; false at `end` or at a record that is cut short or
    // damaged (then `problem` says which and where). Only what a recording
    // writes is read: a message of a kind it never holds is damage.
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
// after its own (its wait and answers) could be read: a replay goes no
// further.
DemoSurvey surveyDemo(const std::string& bytes, size_t recordsStart);
