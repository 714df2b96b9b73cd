#include "gfx/frame_names.h"
#include <cstdio>
#include <cstring>

namespace {

// Widths and precisions above this would only make absurdly long names.
constexpr int maxFieldDigits = 3;

bool isFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIntegerConversion(char c) { return std::strchr("diouxX", c) != nullptr && c != '\0'; }
bool isSignedConversion(char c) { return c == 'd' || c == 'i'; }

// Skips digits, at most maxFieldDigits of them; false when there are more.
bool skipField(const char*& p) {
    int digits = 0;
    while (isDigit(*p)) ++p, ++digits;
    return digits <= maxFieldDigits;
}

// The conversion character of the integer conversion; 0 when the format is
// not valid.
char integerConversionOf(const char* format) {
    if (!format) return 0;
    bool sawString = false;
    char integer = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        if (*p == 's') {  // the prefix, first and plain
            if (sawString || integer) return 0;
            sawString = true;
            continue;
        }
        while (isFlag(*p)) ++p;
        if (!skipField(p)) return 0;
        if (*p == '.' && !skipField(++p)) return 0;
        if (!sawString || integer || !isIntegerConversion(*p)) return 0;
        integer = *p;
    }
    return sawString ? integer : 0;
}

}  // namespace

bool validFrameNameFormat(const char* format) { return integerConversionOf(format) != 0; }

std::string frameFileName(const char* format, const char* prefix, int32_t number) {
    char conversion = integerConversionOf(format);
    if (!conversion) return {};
    if (!prefix) prefix = "";
    // The number goes in as the type its conversion reads.
    auto print = [&](char* out, size_t size) {
        return isSignedConversion(conversion) ? std::snprintf(out, size, format, prefix, int(number))
                                              : std::snprintf(out, size, format, prefix, unsigned(number));
    };
    int length = print(nullptr, 0);
    if (length <= 0) return {};
    std::string name(size_t(length), '\0');
    print(name.data(), name.size() + 1);
    return name;
}

