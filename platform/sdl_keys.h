// The keyboard's numbering (virtual-key codes) for SDL's keys.
#pragma once
#include <SDL.h>
#include <cstdint>

namespace platform {

// 0 for keys that have no code.
uint8_t virtualKeyFor(const SDL_Keysym& key);

}  // namespace platform
