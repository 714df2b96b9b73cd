#include "game/name_entry.h"
#include "game/score_table.h"
#include "gfx/bitmap_font.h"
#include "platform/messages.h"
#include <GL/gl.h>
#include <string>

namespace {

namespace key = platform::key;

char nextLetter(char c, int step) { return char('A' + (c - 'A' + 26 + step) % 26); }

// ↑ and ↓ change the letter at the cursor; past the last letter they begin
// a new one at A.
void turnLetter(NameEntry& e, int step) {
    if (e.cursor < e.name.size())
        e.name[e.cursor] = nextLetter(e.name[e.cursor], step);
    else if (e.name.size() < maxNameLength)
        e.name += 'A';
}

void drawCentred(BitmapFont& font, double y, const std::string& text) {
    font.drawText((320 - double(text.size()) * glyphWidth) / 2, y, 0, text.c_str());
}

}  // namespace

bool typeName(NameEntry& e, uint8_t code) {
    if (code >= 'A' && code <= 'Z') {
        if (e.cursor >= maxNameLength) return false;
        if (e.cursor < e.name.size())
            e.name[e.cursor] = char(code);
        else
            e.name += char(code);
        ++e.cursor;
        return false;
    }
    switch (code) {
    case key::left:
        if (e.cursor > 0) --e.cursor;
        return false;
    case key::right:
        if (e.cursor < e.name.size()) ++e.cursor;
        return false;
    case key::up: turnLetter(e, 1); return false;
    case key::down: turnLetter(e, -1); return false;
    case key::backspace:
        if (e.cursor > 0) e.name.erase(--e.cursor, 1);
        return false;
    case key::enter:
    case key::space: return !e.name.empty();
    default: return false;
    }
}

void drawNameEntry(const NameEntry& e, BitmapFont& font) {
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    drawCentred(font, 156, "NEW HIGH SCORE");
    drawCentred(font, 132, std::to_string(e.score));
    drawCentred(font, 100, "YOUR NAME");
    std::string slots, mark;
    for (size_t i = 0; i < maxNameLength; ++i) {
        slots += i < e.name.size() ? e.name[i] : '.';
        mark += i == e.cursor ? '^' : ' ';
        if (i + 1 < maxNameLength) slots += ' ', mark += ' ';
    }
    drawCentred(font, 74, slots);
    drawCentred(font, 56, mark);
    drawCentred(font, 24, "LETTERS, ENTER");
    drawCentred(font, 4, "PAD: UP DOWN, A");
}
