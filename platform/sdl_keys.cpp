#include "platform/sdl_keys.h"

namespace platform {

namespace {

// Keys found by what they produce (letters and digits follow the layout, as
// players expect) are handled in code; the rest by this table.
struct KeyCode {
    SDL_Keycode sdl;
    uint8_t code;
};
constexpr KeyCode namedKeys[] = {
    {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16}, {SDLK_LCTRL, 17}, {SDLK_RCTRL, 17},
    {SDLK_LALT, 18}, {SDLK_RALT, 18}, {SDLK_PAUSE, 19}, {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32}, {SDLK_PAGEUP, 33}, {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35}, {SDLK_HOME, 36}, {SDLK_LEFT, 37}, {SDLK_UP, 38}, {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40}, {SDLK_PRINTSCREEN, 44}, {SDLK_INSERT, 45}, {SDLK_DELETE, 46},
    {SDLK_LGUI, 91}, {SDLK_RGUI, 92}, {SDLK_APPLICATION, 93},
    {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107}, {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110}, {SDLK_KP_DIVIDE, 111},
    {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145},
    {SDLK_SEMICOLON, 186}, {SDLK_EQUALS, 187}, {SDLK_COMMA, 188}, {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190}, {SDLK_SLASH, 191}, {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220}, {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};

uint8_t keypadDigit(SDL_Scancode s) {
    if (s == SDL_SCANCODE_KP_0) return 96;
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return uint8_t(97 + (s - SDL_SCANCODE_KP_1));
    return 0;
}

uint8_t functionKey(SDL_Keycode k) {
    if (k >= SDLK_F1 && k <= SDLK_F12) return uint8_t(112 + (k - SDLK_F1));
    if (k >= SDLK_F13 && k <= SDLK_F24) return uint8_t(124 + (k - SDLK_F13));
    return 0;
}

}  // namespace

uint8_t virtualKeyFor(const SDL_Keysym& key) {
    SDL_Keycode k = key.sym;
    if (k >= SDLK_a && k <= SDLK_z) return uint8_t('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return uint8_t('0' + (k - SDLK_0));
    if (uint8_t f = functionKey(k)) return f;
    if (uint8_t d = keypadDigit(key.scancode)) return d;
    for (const KeyCode& named : namedKeys)
        if (named.sdl == k) return named.code;
    return 0;
}

}  // namespace platform
