#include "game/level_report.h"
#include <cstdio>

namespace {

int lineOf(const LevelSource& source, int token) {
    if (token <= 0) return 0;
    return token <= int(source.tokens.size()) ? source.tokens[token - 1].line : source.lastLine;
}

}  // namespace

void LevelReport::add(int token, std::string message) {
    problems.push_back({token, lineOf(source, token), std::move(message)});
}

void LevelReport::note(int token, std::string message, int line) {
    problems.push_back({token, line ? line : lineOf(source, token), std::move(message), true});
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string printable(const std::string& text) {
    constexpr size_t longest = 60;
    std::string out;
    for (size_t i = 0; i < text.size() && i < longest; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        out += escaped;
    }
    if (text.size() > longest) out += "... (" + std::to_string(text.size()) + " characters)";
    return out;
}
