// The game's actions and the keys and controller buttons that do them: the
// defaults, the bindings in force, their names (in the settings file and on
// the screen) and their line in a demo's header.
#pragma once
#include "platform/controller_keys.h"
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

enum class Action : uint8_t { left, right, start, pause, mirrorUpDown, mirrorLeftRight, sound, fullScreen, quit };
constexpr int actionCount = 9;

// Each action's keys, virtual-key codes: one or two, the first always set, 0
// after the last. No key serves two actions, and K, which opens the keys
// screen on the title, serves none.
constexpr int keysPerAction = 2;
struct KeyBindings {
    std::array<std::array<uint8_t, keysPerAction>, actionCount> keys;

    bool operator==(const KeyBindings&) const = default;
    // The action a key does; -1 for none.
    int actionOf(uint8_t code) const;
    bool isKeyOf(Action a, uint8_t code) const { return code && actionOf(code) == int(a); }
    uint8_t firstKey(Action a) const { return keys[size_t(a)][0]; }
};

// Each controller button's action (by platform::Button), or noAction.
constexpr uint8_t noAction = 0xFF;
struct ButtonBindings {
    std::array<uint8_t, platform::buttonCount> actions;
    bool operator==(const ButtonBindings&) const = default;
};

// Today's keys: the arrows, SPACE, P and Pause, F2, F3, M, F1, ESC; the
// d-pad walks (and its up and down, given no action, turn the letters of a
// high score's name), A starts, Y switches the sound, the shoulders mirror.
extern const KeyBindings defaultKeys;
extern const ButtonBindings defaultButtons;

// The bindings in force: the settings' in play, the recording's in a replay.
extern KeyBindings keyBindings;
extern ButtonBindings buttonBindings;

// The names of actions in the settings file and a demo ("mirror_up_down"),
// and on the screen ("MIRROR UP-DOWN").
const char* actionName(Action a);
const char* actionLabel(Action a);
// A key's name in the settings file ("Left", "Space", "F1", "P"); null for a
// key that has none, which cannot be bound. The same name in capitals is
// shown on the screen.
const char* keyName(uint8_t code);
std::string keyLabel(uint8_t code);
// The key of a name, in any letter case; -1 when none has it.
int keyNamed(std::string_view name);
// A button's name in the settings file ("LeftShoulder") and on the screen
// ("L SHOULDER"), and the button of a name (any letter case; -1 for none).
const char* buttonName(int button);
const char* buttonLabel(int button);
int buttonNamed(std::string_view name);

// An action's keys named and joined by the separator: "P Pause", "P/PAUSE".
std::string keysText(const KeyBindings& bindings, Action a, bool labels, const char* separator);
// An action's buttons the same way; empty when it has none.
std::string buttonsText(const ButtonBindings& bindings, Action a, bool labels, const char* separator);

// Why these keys cannot be played with, or empty: an action without a key,
// a key for two actions, K, a key without a name.
std::string keyBindingsProblem(const KeyBindings& bindings);

// A demo header's line: "keys left=65 right=68 ... pause=80,19 ... quit=27",
// each action's codes in decimal. Read back only when it holds keys that can
// be played with (an action it leaves out keeps its default); false
// otherwise.
std::string keysLine(const KeyBindings& bindings);
bool readKeysLine(const std::string& line, KeyBindings& bindings);

// What the controllers press with these bindings: each button the first key
// of its action, the stick the walking keys, Back held the quit key, Back
// and Start the display key.
platform::ControllerKeys controllerKeysFor(const KeyBindings& keys, const ButtonBindings& buttons);
