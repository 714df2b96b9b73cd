#include "platform/printable_text.h"
#include <cstdint>

namespace platform {

namespace {

bool isContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence of two or more bytes that starts at
// `at`, or 0 when none does. The ranges of the second byte rule out overlong
// forms, surrogates (U+D800 to U+DFFF) and code points beyond U+10FFFF.
size_t sequenceLength(std::string_view text, size_t at) {
    auto byte = [&](size_t i) { return at + i < text.size() ? uint8_t(text[at + i]) : uint8_t(0); };
    uint8_t lead = byte(0);
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;  // where the second byte must lie
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (!isContinuation(byte(i))) return 0;
    return length;
}

// U+0080 to U+009F: C2 80 to C2 9F.
bool isC1Control(std::string_view text, size_t at) { return uint8_t(text[at]) == 0xC2 && uint8_t(text[at + 1]) <= 0x9F; }

void escape(uint8_t byte, std::string& out) {
    const char* digits = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

}  // namespace

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        uint8_t byte = uint8_t(text[at]);
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7F) escape(byte, out);
            else out += char(byte);
            ++at;
            continue;
        }
        size_t length = sequenceLength(text, at);
        if (length == 0 || isC1Control(text, at)) {
            // Byte by byte: what follows a broken sequence is read afresh.
            size_t escaped = length ? length : 1;
            for (size_t i = 0; i < escaped; ++i) escape(uint8_t(text[at + i]), out);
            at += escaped;
            continue;
        }
        out.append(text.substr(at, length));
        at += length;
    }
    return out;
}

}  // namespace platform
