#include "gfx/frame_names.h"
#include <cstdio>
#include <cstring>

namespace {

// Widths and precisions above this would only make absurdly long names; the
// digits bound every name to a few thousand characters.
constexpr int maxFieldDigits = 3;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One conversion of the format as printf reads it.
struct Conversion {
    bool minus = false, zero = false, sign = false, alternate = false;  // '-', '0', '+' or ' ', '#'
    bool fieldsFit = true;  // width and precision of at most maxFieldDigits digits ('*' is no digit)
    int shortened = 0;      // 1 for the length modifier h, 2 for hh
    char letter = 0;        // the conversion character; anything not taken ends up here
};

// Skips digits; false when there are more than maxFieldDigits.
bool skipField(const char*& p) {
    int digits = 0;
    while (isDigit(*p)) ++p, ++digits;
    return digits <= maxFieldDigits;
}

// Reads the conversion after a '%'; `p` is left on its conversion character.
Conversion readConversion(const char*& p) {
    Conversion c;
    for (;; ++p) {
        if (*p == '-') c.minus = true;
        else if (*p == '0') c.zero = true;
        else if (*p == '+' || *p == ' ') c.sign = true;
        else if (*p == '#') c.alternate = true;
        else break;
    }
    c.fieldsFit = skipField(p);
    if (*p == '.' && !skipField(++p)) c.fieldsFit = false;
    for (; *p == 'h' && c.shortened < 2; ++p) ++c.shortened;
    c.letter = *p;
    return c;
}

// The prefix: '0', '#' and the sign flags mean nothing for a string (the
// first two are undefined for it), and a length modifier would make it a
// wide string.
bool isPlainString(const Conversion& c) {
    return c.letter == 's' && c.fieldsFit && !c.zero && !c.sign && !c.alternate && !c.shortened;
}

// The frame number: an int, or an unsigned for o u x X. h and hh take the
// int that a short or a char is promoted to, so the argument stays the same
// size. '#' is defined for o x X only.
bool isSafeInteger(const Conversion& c) {
    if (!c.letter || !std::strchr("diouxX", c.letter) || !c.fieldsFit) return false;
    return !c.alternate || std::strchr("oxX", c.letter);
}

// What a valid format needs to be printed.
struct Shape {
    bool valid = false;
    bool unsignedNumber = false;  // the number goes in as an unsigned (o u x X without h or hh)
};

Shape shapeOf(const char* format) {
    if (!format) return {};
    bool sawString = false;
    Shape shape;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        Conversion c = readConversion(p);
        if (!sawString) {  // the prefix comes first
            if (!isPlainString(c)) return {};
            sawString = true;
            continue;
        }
        if (shape.valid || !isSafeInteger(c)) return {};
        shape.valid = true;
        shape.unsignedNumber = !c.shortened && !std::strchr("di", c.letter);
    }
    return shape;
}

}  // namespace

bool validFrameNameFormat(const char* format) { return shapeOf(format).valid; }

std::string frameFileName(const char* format, const char* prefix, int32_t number) {
    Shape shape = shapeOf(format);
    if (!shape.valid) return {};
    if (!prefix) prefix = "";
    // The number goes in as the type its conversion reads.
    auto print = [&](char* out, size_t size) {
        return shape.unsignedNumber ? std::snprintf(out, size, format, prefix, unsigned(number))
                                    : std::snprintf(out, size, format, prefix, int(number));
    };
    int length = print(nullptr, 0);
    if (length <= 0) return {};
    std::string name(size_t(length), '\0');
    print(name.data(), name.size() + 1);
    return name;
}
