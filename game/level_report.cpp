#include "game/level_report.h"
#include "platform/printable_text.h"
#include <algorithm>
#include <cstdint>
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
    size_t shown = std::min(text.size(), longest);
    // Cut between characters: a sequence split in two would show as bytes.
    for (int back = 0; back < 3 && shown < text.size() && (uint8_t(text[shown]) & 0xC0) == 0x80; ++back) --shown;
    std::string out = platform::printableText(std::string_view(text).substr(0, shown));
    if (text.size() > longest) out += "... (" + std::to_string(text.size()) + " characters)";
    return out;
}
