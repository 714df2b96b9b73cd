#include "app/keys_screen.h"
#include "app/key_bindings.h"
#include "app/settings.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "platform/controller_keys.h"
#include "platform/messages.h"
#include <GL/gl.h>
#include <algorithm>

namespace key = platform::key;

KeysScreen keysScreen;

namespace {

void askNext() {
    keysScreen.asking += 1;
    if (keysScreen.asking >= actionCount) closeKeysScreen();
}

void refuse(const std::string& why) {
    keysScreen.notice = why;
    keysScreen.refused = true;
}

void takeButton(Action a, int button) {
    for (uint8_t& action : buttonBindings.actions)
        if (action == uint8_t(a)) action = noAction;
    buttonBindings.actions[size_t(button)] = uint8_t(a);
    keyBindingsChanged();
    askNext();
}

void takeKey(Action a, uint8_t code) {
    if (code == key::k) return refuse("K OPENS THIS SCREEN");
    if (!keyName(code)) return refuse("THAT KEY CANNOT BE USED");
    int other = keyBindings.actionOf(code);
    if (other >= 0 && other != int(a)) return refuse(keyLabel(code) + " IS TAKEN BY " + actionLabel(Action(other)));
    keyBindings.keys[size_t(a)] = {code, 0};
    keyBindingsChanged();
    askNext();
}

// ---- Drawing ----

// Text in glyphs of the given size (world units), left edge at x.
void drawText(double x, double y, double z, double width, double height, const std::string& text) {
    drawSizedText(game.scoreCounter->font, x, y, z, width, height, text.c_str());
}

void drawCentred(double y, double z, double width, double height, const std::string& text) {
    drawText((worldRight - double(text.size()) * width) / 2, y, z, width, height, text);
}

// An untextured box in this colour.
void drawBox(double x0, double y0, double x1, double y1, double z, float r, float g, float b, float a = 1) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor4f(r, g, b, a);
    glBegin(GL_TRIANGLES);
    glVertex3d(x0, y0, z);
    glVertex3d(x1, y0, z);
    glVertex3d(x1, y1, z);
    glVertex3d(x1, y1, z);
    glVertex3d(x0, y1, z);
    glVertex3d(x0, y0, z);
    glEnd();
    glPopAttrib();
}

// A box's outline, one unit wide, around what the box would cover: the
// font's glyphs stand on black, so a filled box would show them as blocks.
void drawFrame(double x0, double y0, double x1, double y1, double z, float r, float g, float b) {
    drawBox(x0, y0, x1, y0 + 1, z, r, g, b);
    drawBox(x0, y1 - 1, x1, y1, z, r, g, b);
    drawBox(x0, y0, x0 + 1, y1, z, r, g, b);
    drawBox(x1 - 1, y0, x1, y1, z, r, g, b);
}

std::string cut(std::string text, size_t length) {
    if (text.size() > length) text.resize(length);
    return text;
}

}  // namespace

void openKeysScreen() {
    keysScreen = KeysScreen{};
    keysScreen.open = true;
    platform::askForButtons(true);
}

void closeKeysScreen() {
    keysScreen.open = false;
    platform::askForButtons(false);
}

void keysScreenPress(uint8_t code) {
    if (!keysScreen.open) return;
    keysScreen.notice.clear();
    keysScreen.refused = false;
    Action asked = Action(keysScreen.asking);
    if (code == key::escape || code == key::backButton) return closeKeysScreen();
    if (code == key::enter || code == key::startButton) return askNext();
    if (code == key::backspace) {
        keyBindings = defaultKeys;
        buttonBindings = defaultButtons;
        keyBindingsChanged();
        keysScreen.notice = "THE DEFAULT KEYS ARE BACK";
        return;
    }
    if (code >= key::firstButton && code < key::firstButton + platform::buttonCount)
        return takeButton(asked, code - key::firstButton);
    takeKey(asked, code);
}

// The world is 320 x 200 units; a glyph 7 x 9 of them (14 x 22 pixels in the
// 640 x 480 window) fits the table's three columns across.
void drawKeysScreen() {
    if (!game.scoreCounter) return;
    glLoadIdentity();
    drawBox(0, 0, worldRight, 200, 0.2, 0, 0, 0);
    glEnable(GL_TEXTURE_2D);
    drawCentred(182, 0.4, 10, 12, "KEYS AND BUTTONS");
    drawText(8, 166, 0.4, 7, 9, "ACTION");
    drawText(136, 166, 0.4, 7, 9, "KEYS");
    drawText(236, 166, 0.4, 7, 9, "BUTTONS");
    for (int a = 0; a < actionCount; ++a) {
        double y = 152 - 12.0 * a;
        if (a == keysScreen.asking) drawFrame(3, y - 2.5, 317, y + 10.5, 0.3, 0.35f, 0.5f, 1);
        drawText(8, y, 0.4, 7, 9, actionLabel(Action(a)));
        drawText(136, y, 0.4, 7, 9, cut(keysText(keyBindings, Action(a), true, " "), 13));
        drawText(236, y, 0.4, 7, 9, cut(buttonsText(buttonBindings, Action(a), true, " "), 12));
    }
    drawCentred(40, 0.4, 8, 10, std::string("PRESS A KEY OR BUTTON FOR ") + actionLabel(Action(keysScreen.asking)));
    if (!keysScreen.notice.empty()) {
        double width = double(keysScreen.notice.size()) * 7;
        double x = (worldRight - width) / 2;
        if (keysScreen.refused) drawFrame(x - 4, 22.5, x + width + 4, 35.5, 0.3, 1, 0.25f, 0.2f);
        drawCentred(25, 0.4, 7, 9, keysScreen.notice);
    }
    // Clear of the sound's mark in the corner.
    std::string help = "ENTER/START KEEPS  BACKSPACE DEFAULTS  ESC/BACK DONE";
    drawText((296 - double(help.size()) * 5.5) / 2, 5, 0.4, 5.5, 8, help);
}

std::string titleKeysText() {
    auto keys = [](Action a) { return keysText(keyBindings, a, true, "/"); };
    return "WALK " + keys(Action::left) + "/" + keys(Action::right) + "  START " + keys(Action::start) + "  PAUSE " +
           keys(Action::pause) + "  SOUND " + keys(Action::sound) + "  MIRROR " + keys(Action::mirrorUpDown) + "/" +
           keys(Action::mirrorLeftRight) + "  SCREEN " + keys(Action::fullScreen) + "  QUIT " + keys(Action::quit) +
           "  KEYS K";
}

// Pieces kept whole, two spaces apart, broken into lines that fit beside
// the sound's mark in the corner, the last line lowest, on a dark band at
// the foot of the picture (the font's glyphs stand on black).
void drawTitleKeys() {
    if (!game.scoreCounter) return;
    constexpr double width = 5, height = 7;
    constexpr size_t fits = 58;  // glyphs a line: 290 units
    std::string text = titleKeysText();
    std::vector<std::string> lines{""};
    for (size_t at = 0; at < text.size();) {
        size_t gap = text.find("  ", at);
        std::string piece = text.substr(at, gap == std::string::npos ? std::string::npos : gap - at);
        at = gap == std::string::npos ? text.size() : gap + 2;
        std::string& line = lines.back();
        if (!line.empty() && line.size() + 2 + piece.size() > fits)
            lines.push_back(piece);
        else
            line += (line.empty() ? "" : "  ") + piece;
    }
    glLoadIdentity();
    drawBox(0, 0, worldRight, 1 + height * double(lines.size()), 0.3, 0, 0, 0);
    glEnable(GL_TEXTURE_2D);
    for (size_t i = 0; i < lines.size(); ++i) {
        double y = 1 + height * double(lines.size() - 1 - i);
        std::string line = cut(lines[i], fits);
        drawText((296 - double(line.size()) * width) / 2, y, 0.4, width, height, line);
    }
}
