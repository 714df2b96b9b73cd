#include "platform/ini_reader.h"
#include <cctype>
#include <cstring>

namespace platform {

namespace {

// inih's limits: a line buffer of 200 bytes (199 and the NUL), section and
// name buffers of 50.
constexpr size_t lineBytes = 199;
constexpr size_t nameBytes = 49;

bool isSpace(char c) { return std::isspace(uint8_t(c)) != 0; }

// Where the first of `stops` is, or an inline comment (';' after
// whitespace), or the end.
size_t stopOrComment(const std::string& s, size_t at, const char* stops) {
    bool afterSpace = false;
    for (; at < s.size(); ++at) {
        char c = s[at];
        if ((stops && std::strchr(stops, c)) || (afterSpace && c == ';')) return at;
        afterSpace = isSpace(c);
    }
    return at;
}

std::string trimmed(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && isSpace(s[begin])) ++begin;
    while (end > begin && isSpace(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

}  // namespace

int readIniAsInih(const std::string& whole, IniEntry entry, void* user) {
    std::string text = whole.substr(0, whole.find('\0'));
    std::string section, previousName;
    int lineNumber = 0, error = 0;
    for (size_t at = 0; at < text.size();) {
        // A line: up to and with its newline, at most lineBytes.
        size_t newline = text.find('\n', at);
        size_t length = newline == std::string::npos ? text.size() - at : newline - at + 1;
        if (length > lineBytes) length = lineBytes;
        std::string raw = text.substr(at, length);
        at += length;
        ++lineNumber;
        if (lineNumber == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
        // Trailing whitespace off first, then leading: whether a line began
        // with whitespace is told from the line as read.
        size_t end = raw.size();
        while (end > 0 && isSpace(raw[end - 1])) --end;
        size_t start = 0;
        while (start < end && isSpace(raw[start])) ++start;
        std::string line = raw.substr(start, end - start);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (!previousName.empty() && start > 0) {
            std::string value = trimmed(line.substr(0, stopOrComment(line, 0, nullptr)));
            if (!entry(user, section.c_str(), previousName.c_str(), value.c_str()) && !error) error = lineNumber;
        } else if (line[0] == '[') {
            size_t close = stopOrComment(line, 1, "]");
            if (close < line.size() && line[close] == ']') {
                section = line.substr(1, close - 1).substr(0, nameBytes);
                previousName.clear();
            } else if (!error) {
                error = lineNumber;
            }
        } else {
            size_t equals = stopOrComment(line, 0, "=:");
            if (equals < line.size() && (line[equals] == '=' || line[equals] == ':')) {
                std::string name = trimmed(line.substr(0, equals));
                std::string rest = line.substr(equals + 1);
                std::string value = trimmed(rest.substr(0, stopOrComment(rest, 0, nullptr)));
                previousName = name.substr(0, nameBytes);
                if (!entry(user, section.c_str(), name.c_str(), value.c_str()) && !error) error = lineNumber;
            } else if (!error) {
                error = lineNumber;
            }
        }
    }
    return error;
}

}  // namespace platform
