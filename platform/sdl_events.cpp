// What SDL reports, turned into window messages.
#include "platform/backend.h"
#include "platform/key_sources.h"
#include "platform/sdl_controllers.h"
#include "platform/sdl_keys.h"
#include <SDL.h>

namespace platform {

namespace {

void post(MessageKind kind, uintptr_t wParam, intptr_t lParam) { postMessage({kind, wParam, lParam}); }

void postSize(Uint32 windowId) {
    int w = 0, h = 0;
    if (SDL_Window* window = SDL_GetWindowFromID(windowId)) SDL_GL_GetDrawableSize(window, &w, &h);
    post(MessageKind::size, 0, makeLong(uint16_t(w), uint16_t(h)));
}

bool isMinimised(Uint32 windowId) {
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED);
}

void postActivate(bool active, bool minimised) {
    post(MessageKind::activate, uintptr_t(makeLong(active ? 1 : 0, minimised ? 1 : 0)), 0);
}

void translateWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: post(MessageKind::close, 0, 0); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: postSize(e.windowID); break;
    case SDL_WINDOWEVENT_MINIMIZED:
        postActivate(false, true);
        post(MessageKind::size, 0, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        postActivate(true, false);
        postSize(e.windowID);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: postActivate(true, isMinimised(e.windowID)); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: postActivate(false, isMinimised(e.windowID)); break;
    default: break;
    }
}

// Alt combinations and F10 are system keys, as the game's window procedure
// expects; a held key sends further key-down messages with the was-down bit.
// The keyboard is one of the sources that hold keys: letting go of a key a
// controller still holds sends nothing.
void translateKey(const SDL_KeyboardEvent& e) {
    uint8_t code = virtualKeyFor(e.keysym);
    if (code == 0) return;
    bool up = e.type == SDL_KEYUP;
    bool alt = (e.keysym.mod & KMOD_ALT) != 0;
    bool system = alt || code == 121;
    intptr_t lParam = 1 | (intptr_t(e.keysym.scancode & 0xFF) << 16);
    if (alt) lParam |= keyBit::altDown;
    if (up) lParam |= keyBit::wasDown | keyBit::released;
    else if (e.repeat) lParam |= keyBit::wasDown;
    if (up)
        releaseKey(code, keyboard, system ? MessageKind::sysKeyUp : MessageKind::keyUp, lParam);
    else
        pressKey(code, keyboard, system ? MessageKind::sysKeyDown : MessageKind::keyDown, lParam);
}

}  // namespace

void backend::pumpEvents() {
    if (!backend::registeredProcedure()) return;
    startControllers();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT: post(MessageKind::close, 0, 0); break;  // a signal, or the last window closed
        case SDL_WINDOWEVENT: translateWindowEvent(e.window); break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: translateKey(e.key); break;
        case SDL_AUDIODEVICEREMOVED:
            if (!e.adevice.iscapture) backend::audioDeviceRemoved();
            break;
        default: translateControllerEvent(e); break;
        }
    }
    checkControllerHolds();
}

void backend::discardEvents() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

}  // namespace platform
