#include "platform/backend.h"
#include <SDL.h>
#include <cstdlib>

namespace platform {

namespace {

// SDL has no question icon; a question is shown with the information icon.
Uint32 iconFlags(Icon icon) {
    switch (icon) {
    case Icon::stop: return SDL_MESSAGEBOX_ERROR;
    case Icon::exclamation: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

bool backend::showMessageBox(const char* text, const char* caption, Buttons buttons, Icon icon, Answer& answer) {
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, int(Answer::yes), "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(Answer::no), "No"},
    };
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(Answer::ok), "OK"},
    };
    bool question = buttons == Buttons::yesNo;
    SDL_MessageBoxData data = {};
    data.flags = iconFlags(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = nullptr;  // owned by no window
    data.title = caption;
    data.message = text;
    data.numbuttons = question ? 2 : 1;
    data.buttons = question ? yesNo : ok;
    int pressed = -1;
    // On X11 the box lives in a short-lived helper process, which has been
    // seen to fail now and then on a loaded machine without leaving a reason.
    // One more try is cheap; the question matters more than the delay. With
    // no display named at all, a second try cannot reach one either.
    int tries = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") ? 2 : 1;
    for (int attempt = 1; SDL_ShowMessageBox(&data, &pressed) != 0; ++attempt) {
        SDL_Log("message box: %s", SDL_GetError());
        if (attempt == tries) return false;
        SDL_Delay(200);
    }
    // Closing the box with its title-bar button answers like Escape.
    if (pressed < 0) pressed = question ? int(Answer::no) : int(Answer::ok);
    answer = Answer(pressed);
    return true;
}

}  // namespace platform
