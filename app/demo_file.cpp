#include "app/demo_file.h"
#include "game/level_file.h"
#include "game/rules.h"
#include "game/state_hash.h"
#include "platform/paths.h"
#include "platform/printable_text.h"
#include <bit>
#include <cerrno>
#include <cfloat>
#include <cinttypes>
#include <cstring>
#include <filesystem>
#include <limits>

// A demo replays on another build only if the game's doubles round alike
// there: IEEE 754 doubles, each operation rounded to its own precision (not
// the x87's wider registers), and no fast-math reordering. The build adds
// -ffp-contract=off for the fused multiply-adds, which no macro shows.
static_assert(std::numeric_limits<double>::is_iec559, "the game's state needs IEEE 754 doubles");
static_assert(FLT_EVAL_METHOD == 0, "doubles must be evaluated in double precision (SSE2, not the x87)");
#ifdef __FAST_MATH__
#error "fast-math changes the game's arithmetic from one build to another: demos would not replay"
#endif

namespace {

// Zig-zag: small negative numbers stay small.
uint64_t zigzag(int64_t n) { return (uint64_t(n) << 1) ^ uint64_t(n >> 63); }
int64_t unzigzag(uint64_t n) { return int64_t(n >> 1) ^ -int64_t(n & 1); }


// The kinds of message a recording holds: all the game takes from its queue
// but a size, which only fits the view to the recording's own window.
bool recordedKind(uint8_t kind) {
    using K = platform::MessageKind;
    switch (K(kind)) {
    case K::activate:
    case K::close:
    case K::keyDown:
    case K::keyUp:
    case K::sysKeyDown:
    case K::sysKeyUp:
    case K::sysCommand:
    case K::quit:
    case K::pause: return true;
    default: return false;
    }
}

}  // namespace

uint64_t levelHash(const std::string& text) { return fnv1a(text.data(), text.size()); }

// ---- Writing ----

void DemoWriter::put(const void* data, size_t size) {
    if (full) return;
    if (size > maxDemoSize - bytes.size()) {  // a replay would refuse the whole demo
        full = failed = true;
        if (!error) error = EFBIG;
        return;
    }
    if (bytes.capacity() == 0) bytes.reserve(reserved);
    bytes.append(static_cast<const char*>(data), size);
}

void DemoWriter::putNumber(uint64_t n) {
    uint8_t out[10];
    size_t used = 0;
    do {
        uint8_t b = n & 0x7F;
        n >>= 7;
        out[used++] = uint8_t(b | (n ? 0x80 : 0));
    } while (n);
    put(out, used);
}

void DemoWriter::startRecord(RecordKind kind) {
    uint8_t byte = uint8_t(kind);
    put(&byte, 1);
}

bool DemoWriter::writeHeader(const DemoHeader& h) {
    std::string text = std::string(demoMagic) + "\ngame " + h.gameVersion + "\nrules " + std::to_string(h.rules);
    if (h.keys != defaultKeys) text += "\n" + keysLine(h.keys);
    text += "\nlevels " + std::to_string(h.levelHashes.size());
    char hex[20];
    for (uint64_t v : h.levelHashes) {
        std::snprintf(hex, sizeof hex, " %016" PRIx64, v);
        text += hex;
    }
    if (h.ownLevel)
        text += "\nstart file " + std::to_string(h.ownLevelText.size()) + "\n" + h.ownLevelText;
    else
        text += "\nstart level " + std::to_string(h.startLevel);
    text += "\ntick " + std::to_string(h.startTick) + "\nrecords\n";
    lastTick = h.startTick;
    put(text.data(), text.size());
    return flush();
}

void DemoWriter::frame(uint32_t reading) {
    int32_t delta = int32_t(reading - lastTick);
    lastTick = reading;
    if (delta >= 0 && delta <= maxShortFrameDelta) {
        uint8_t byte = uint8_t(shortFrameBit | delta);
        put(&byte, 1);
        return;
    }
    startRecord(RecordKind::frame);
    putNumber(zigzag(delta));
}

void DemoWriter::wait(uint32_t waited) {
    startRecord(RecordKind::wait);
    putNumber(waited);
}

void DemoWriter::answer(bool yes) {
    startRecord(RecordKind::answer);
    putNumber(yes ? 1 : 0);
}

void DemoWriter::message(const platform::Message& m) {
    startRecord(RecordKind::message);
    uint8_t kind = uint8_t(m.kind);
    put(&kind, 1);
    putNumber(uint32_t(m.wParam));
    putNumber(std::rotl(uint32_t(m.lParam), 2));
}

void DemoWriter::level(const std::string& text) {
    startRecord(RecordKind::level);
    putNumber(text.size());
    put(text.data(), text.size());
}

void DemoWriter::end(uint64_t frames, uint64_t stateHash) {
    startRecord(RecordKind::end);
    putNumber(frames);
    putNumber(stateHash);
}

// What fits within maxDemoSize goes to the file even once the demo is full.
bool DemoWriter::flush() {
    if (!file || fileFailed) return !failed;
    size_t pending = bytes.size() - handed;
    bool ok = std::fwrite(bytes.data() + handed, 1, pending, file) == pending && std::fflush(file) == 0;
    handed = bytes.size();
    if (!ok) {
        fileFailed = failed = true;
        error = errno;
    }
    return !failed;
}

// ---- Reading ----

namespace {

// Room for the whole demo, made before it is read so that it never moves
// (a string that grows copies itself): a regular file's size, or for a FIFO
// or device, whose size nobody knows, the most a demo may be, which the
// system commits only as it is filled. Past maxDemoSize for a file too large.
uint64_t roomNeeded(const std::string& path) {
    std::error_code error;
    std::filesystem::path name = platform::systemPath(path);
    if (!std::filesystem::is_regular_file(name, error)) return maxDemoSize;
    uint64_t size = std::filesystem::file_size(name, error);
    return error ? maxDemoSize : size;
}

const std::string tooLarge = "it is larger than any demo (" + std::to_string(maxDemoSize >> 20) + " MiB)";

// The bytes after the first line, appended to `bytes`: false past
// maxDemoSize or when they cannot be read.
bool readRest(const std::string& path, std::FILE* file, std::string& bytes, std::string& why) {
    uint64_t room = roomNeeded(path);
    if (room > maxDemoSize) {
        why = tooLarge;
        return false;
    }
    bytes.reserve(size_t(room));
    char buffer[65536];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, file)) {
        if (got > maxDemoSize - bytes.size()) {
            why = tooLarge;
            return false;
        }
        bytes.append(buffer, got);
    }
    if (!std::ferror(file)) return true;
    why = std::strerror(errno);
    return false;
}

}  // namespace

bool readDemoFile(const std::string& path, std::string& bytes, std::string& why) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = std::strerror(errno);
        return false;
    }
    // The first line decides: a stream of anything else (/dev/zero, a
    // picture, a FIFO fed by the wrong program) is not read any further.
    const std::string firstLine = std::string(demoMagic) + "\n";
    bytes.resize(firstLine.size());
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    bool ok = bytes == firstLine && readRest(path, file, bytes, why);
    if (!ok && why.empty() && bytes.compare(0, 13, "vantrel-demo ") == 0) {
        // Another format: its next line names the release that recorded it.
        size_t had = bytes.size();
        bytes.resize(had + 128);
        bytes.resize(had + std::fread(bytes.data() + had, 1, 128, file));
    }
    if (!ok && why.empty()) {
        if (std::ferror(file)) {
            why = std::strerror(errno);  // a directory opens, but cannot be read
        } else {
            DemoReader reader;
            DemoHeader header;
            reader.readHeader(bytes, header);
            why = reader.problem;
        }
    }
    std::fclose(file);
    if (!ok) bytes.clear();
    return ok;
}

namespace {

// A cursor over the bytes that never reads past `end`.
struct Cursor {
    const std::string& bytes;
    size_t at;
    size_t end;

    bool byte(uint8_t& out) {
        if (at >= end) return false;
        out = uint8_t(bytes[at++]);
        return true;
    }
    bool number(uint64_t& out) {
        out = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            uint8_t b;
            if (!byte(b)) return false;
            if (shift == 63 && b > 1) return false;  // more than 64 bits
            out |= uint64_t(b & 0x7F) << shift;
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    // One header line, without its newline; false when none ends within `limit`.
    bool line(std::string& out, size_t limit) {
        size_t stop = bytes.find('\n', at);
        if (stop == std::string::npos || stop >= end || stop - at > limit) return false;
        out.assign(bytes, at, stop - at);
        at = stop + 1;
        return true;
    }
};

bool startsWith(const std::string& s, const char* prefix, std::string& rest) {
    size_t n = std::strlen(prefix);
    if (s.compare(0, n, prefix) != 0) return false;
    rest = s.substr(n);
    return true;
}

// A whole decimal number, no sign, no spaces, at most `max`.
bool decimal(const std::string& s, uint64_t max, uint64_t& out) {
    if (s.empty() || s.size() > 20) return false;
    out = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        uint64_t digit = uint64_t(c - '0');
        if (out > (max - digit) / 10) return false;
        out = out * 10 + digit;
    }
    return true;
}

bool readLevelHashes(const std::string& rest, DemoHeader& h) {
    size_t space = rest.find(' ');
    uint64_t count;
    if (!decimal(rest.substr(0, space), maxDemoLevels, count)) return false;
    std::string hashes = space == std::string::npos ? "" : rest.substr(space);
    if (hashes.size() != count * 17) return false;
    for (uint64_t i = 0; i < count; ++i) {
        const char* field = hashes.c_str() + i * 17;
        if (field[0] != ' ') return false;
        uint64_t v = 0;
        for (int d = 1; d <= 16; ++d) {
            char c = field[d];
            int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0) return false;
            v = v << 4 | uint64_t(digit);
        }
        h.levelHashes.push_back(v);
    }
    return true;
}

// The rules' versions count from 1.
bool readRules(const std::string& line, DemoHeader& h) {
    std::string rest;
    uint64_t n;
    if (!startsWith(line, "rules ", rest) || !decimal(rest, UINT32_MAX, n) || n == 0) return false;
    h.rules = uint32_t(n);
    return true;
}

bool readStart(Cursor& c, const std::string& line, DemoHeader& h) {
    std::string rest;
    uint64_t n;
    if (startsWith(line, "start level ", rest)) {
        if (!decimal(rest, INT32_MAX, n)) return false;
        h.startLevel = int(n);
        return true;
    }
    if (!startsWith(line, "start file ", rest) || !decimal(rest, maxLevelTextSize, n)) return false;
    if (c.end - c.at < n + 1 || c.bytes[c.at + n] != '\n') return false;
    h.ownLevel = true;
    h.ownLevelText.assign(c.bytes, c.at, n);
    c.at += n + 1;
    return true;
}

// A demo of another format names the release that recorded it on its next
// line: the refusal says which release replays it. Format 1 held every
// reading of the clock the code took, so only its own release replays it;
// a later format is a later release's.
std::string otherFormatProblem(Cursor& c, const std::string& magic) {
    std::string line, version;
    uint64_t format = 0;
    if (!decimal(magic.substr(13), UINT32_MAX, format) || !c.line(line, 64) || !startsWith(line, "game ", version) ||
        version.empty())
        return "it is a demo of a format this game does not read";
    std::string release = "vantrel " + platform::printableText(version);
    if (format < 2) return "it was recorded by " + release + ", and only " + release + " replays it";
    return "it was recorded by " + release + " in a later format: replay it with " + release + " or later";
}

}  // namespace

bool DemoReader::readHeader(const std::string& demoBytes, DemoHeader& h) {
    bytes = &demoBytes;
    Cursor c{demoBytes, 0, demoBytes.size()};
    std::string line, rest;
    uint64_t n;
    problem.clear();
    bool named = c.line(line, 64);
    if (!named || line != demoMagic) {
        problem = named && line.compare(0, 13, "vantrel-demo ") == 0 ? otherFormatProblem(c, line)
                                                                     : "it is not a demo";
        return false;
    }
    h = DemoHeader{};
    bool ok = c.line(line, 64) && startsWith(line, "game ", h.gameVersion) && !h.gameVersion.empty() &&
              c.line(line, 64) && readRules(line, h);
    // Later rules may come with header lines of their own: what follows is
    // not this release's to read.
    if (ok && h.rules > rulesVersion) {
        std::string release = "vantrel " + platform::printableText(h.gameVersion);
        problem = "it was recorded by " + release + " by rules " + std::to_string(h.rules) +
                  ", which this release does not know: replay it with " + release + " or later";
        return false;
    }
    // The keys, by rules that have them, when they were not the defaults.
    bool keysRead = true;
    ok = ok && c.line(line, 32 + maxDemoLevels * 17);
    if (ok && line.starts_with("keys ")) keysRead = h.rules >= 2 && readKeysLine(line, h.keys) && c.line(line, 32 + maxDemoLevels * 17);
    ok = ok && keysRead && startsWith(line, "levels ", rest) && readLevelHashes(rest, h) && c.line(line, 64) &&
              readStart(c, line, h) && c.line(line, 64) && startsWith(line, "tick ", rest) &&
              decimal(rest, UINT32_MAX, n) && c.line(line, 64) && line == "records";
    if (!ok) {
        problem = "its header is damaged or cut short";
        return false;
    }
    h.startTick = uint32_t(n);
    offset = c.at;
    end = demoBytes.size();
    return true;
}

bool DemoReader::peekKind(RecordKind& kind) const {
    if (!bytes || offset >= end) return false;
    uint8_t byte = uint8_t((*bytes)[offset]);
    kind = byte & shortFrameBit ? RecordKind::frame : RecordKind(byte);
    return true;
}

bool DemoReader::next(DemoRecord& r) {
    if (!bytes || offset >= end) return false;
    Cursor c{*bytes, offset, end};
    uint8_t kind = 0, messageKind = 0;
    uint64_t a = 0, b = 0;
    bool ok = c.byte(kind);
    r.kind = kind & shortFrameBit ? RecordKind::frame : RecordKind(kind);
    switch (r.kind) {
    case RecordKind::message:
        // The parameters as the platform makes them from 32 bits: on a
        // 32-bit target a set top bit makes lParam negative there too.
        ok = c.byte(messageKind) && recordedKind(messageKind) && c.number(a) && a <= UINT32_MAX && c.number(b) &&
             b <= UINT32_MAX;
        r.message = {platform::MessageKind(messageKind), uintptr_t(uint32_t(a)),
                     intptr_t(std::rotr(uint32_t(b), 2))};
        break;
    case RecordKind::frame:
        if (kind & shortFrameBit) {
            r.delta = kind & maxShortFrameDelta;
            break;
        }
        ok = c.number(a) && a <= UINT32_MAX;
        r.delta = int32_t(unzigzag(a));
        break;
    case RecordKind::wait:
        ok = c.number(a) && a <= UINT32_MAX;
        r.waited = uint32_t(a);
        break;
    case RecordKind::answer:
        ok = c.number(a) && a <= 1;
        r.yes = a == 1;
        break;
    case RecordKind::level:
        ok = c.number(a) && a <= maxLevelTextSize && c.end - c.at >= a;
        if (ok) r.text.assign(*bytes, c.at, size_t(a));
        if (ok) c.at += size_t(a);
        break;
    case RecordKind::end:
        ok = c.number(r.frames) && c.number(r.stateHash);
        break;
    default: ok = false;
    }
    if (!ok) {
        problem = c.at >= bytes->size() ? "it is cut short" : "it is damaged";
        return false;
    }
    offset = c.at;
    return true;
}

DemoSurvey surveyDemo(const std::string& bytes, size_t recordsStart) {
    DemoSurvey s;
    DemoReader reader;
    reader.bytes = &bytes;
    reader.offset = recordsStart;
    reader.end = bytes.size();
    DemoRecord r;
    uint64_t framesSeen = 0;
    bool inFrame = false;  // an 'F' has been read, and only its wait and answers since
    s.wholeEnd = recordsStart;
    for (;;) {
        size_t at = reader.offset;
        if (!reader.next(r)) {
            s.problemOffset = at;
            s.problem = at >= bytes.size() ? "it is cut short" : reader.problem;
            return s;
        }
        if (r.kind == RecordKind::wait || r.kind == RecordKind::answer) continue;
        if (inFrame) {
            s.frames = framesSeen;
            s.wholeEnd = at;
        }
        inFrame = r.kind == RecordKind::frame;
        if (inFrame) ++framesSeen;
        if (r.kind == RecordKind::end) {
            s.complete = true;
            s.frames = framesSeen;
            s.endFrames = r.frames;
            s.endHash = r.stateHash;
            s.wholeEnd = at;
            if (reader.offset != bytes.size()) {
                s.problemOffset = reader.offset;
                s.problem = "bytes follow its end";
            }
            return s;
        }
    }
}
