#include "app/key_bindings.h"
#include "platform/messages.h"
#include <cctype>
#include <utility>

namespace key = platform::key;
using platform::Button;

namespace {

constexpr uint8_t actionCode(Action a) { return uint8_t(a); }

struct ActionNames {
    const char* name;
    const char* label;
};
constexpr ActionNames actionNames[actionCount] = {
    {"left", "LEFT"},
    {"right", "RIGHT"},
    {"start", "START"},
    {"pause", "PAUSE"},
    {"mirror_up_down", "MIRROR UP-DOWN"},
    {"mirror_left_right", "MIRROR LEFT-RIGHT"},
    {"sound", "SOUND"},
    {"full_screen", "FULL SCREEN"},
    {"quit", "QUIT"},
};

// The keys that have names: those the platform reports, but Alt and F10,
// which reach the game as system keys and never act. Letters, digits and
// F1 to F24 are named in code.
struct KeyName {
    uint8_t code;
    const char* name;
};
constexpr KeyName keyNames[] = {
    {8, "Backspace"}, {9, "Tab"}, {13, "Enter"}, {16, "Shift"}, {17, "Control"}, {19, "Pause"},
    {20, "CapsLock"}, {27, "Escape"}, {32, "Space"}, {33, "PageUp"}, {34, "PageDown"}, {35, "End"},
    {36, "Home"}, {37, "Left"}, {38, "Up"}, {39, "Right"}, {40, "Down"}, {44, "PrintScreen"},
    {45, "Insert"}, {46, "Delete"}, {91, "LeftSuper"}, {92, "RightSuper"}, {93, "Menu"},
    {96, "Keypad0"}, {97, "Keypad1"}, {98, "Keypad2"}, {99, "Keypad3"}, {100, "Keypad4"},
    {101, "Keypad5"}, {102, "Keypad6"}, {103, "Keypad7"}, {104, "Keypad8"}, {105, "Keypad9"},
    {106, "KeypadMultiply"}, {107, "KeypadPlus"}, {109, "KeypadMinus"}, {110, "KeypadPeriod"},
    {111, "KeypadDivide"}, {144, "NumLock"}, {145, "ScrollLock"}, {186, "Semicolon"}, {187, "Equals"},
    {188, "Comma"}, {189, "Minus"}, {190, "Period"}, {191, "Slash"}, {192, "Backquote"},
    {219, "LeftBracket"}, {220, "Backslash"}, {221, "RightBracket"}, {222, "Quote"},
};

// Names made for the rest: "A" to "Z", "0" to "9", "F1" to "F24" (F10 left
// out, as above).
const char* generatedKeyName(uint8_t code) {
    static char names[256][4];
    char* name = names[code];
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
        name[0] = char(code);
        return name;
    }
    if (code >= key::f1 && code < key::f1 + 24 && code != key::f10) {
        int n = code - key::f1 + 1;
        name[0] = 'F';
        name[1] = char(n < 10 ? '0' + n : '0' + n / 10);
        if (n >= 10) name[2] = char('0' + n % 10);
        return name;
    }
    return nullptr;
}

struct ButtonNames {
    const char* name;
    const char* label;
};
constexpr ButtonNames buttonNames[platform::buttonCount] = {
    {"A", "A"},
    {"B", "B"},
    {"X", "X"},
    {"Y", "Y"},
    {"LeftShoulder", "L SHOULDER"},
    {"RightShoulder", "R SHOULDER"},
    {"DpadLeft", "PAD LEFT"},
    {"DpadRight", "PAD RIGHT"},
    {"DpadUp", "PAD UP"},
    {"DpadDown", "PAD DOWN"},
};

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(uint8_t(a[i])) != std::tolower(uint8_t(b[i]))) return false;
    return true;
}

std::string capitals(const char* name) {
    std::string text = name ? name : "";
    for (char& c : text) c = char(std::toupper(uint8_t(c)));
    return text;
}

}  // namespace

const KeyBindings defaultKeys = {{{
    {key::left, 0},
    {key::right, 0},
    {key::space, 0},
    {key::p, key::pause},
    {key::f2, 0},
    {key::f3, 0},
    {key::m, 0},
    {key::f1, 0},
    {key::escape, 0},
}}};

const ButtonBindings defaultButtons = {{
    actionCode(Action::start),            // A
    noAction,                             // B
    noAction,                             // X
    actionCode(Action::sound),            // Y
    actionCode(Action::mirrorUpDown),     // left shoulder
    actionCode(Action::mirrorLeftRight),  // right shoulder
    actionCode(Action::left),             // d-pad left
    actionCode(Action::right),            // d-pad right
    noAction,                             // d-pad up
    noAction,                             // d-pad down
}};

KeyBindings keyBindings = defaultKeys;
ButtonBindings buttonBindings = defaultButtons;

int KeyBindings::actionOf(uint8_t code) const {
    for (int a = 0; a < actionCount; ++a)
        for (uint8_t k : keys[size_t(a)])
            if (k && k == code) return a;
    return -1;
}

const char* actionName(Action a) { return actionNames[size_t(a)].name; }
const char* actionLabel(Action a) { return actionNames[size_t(a)].label; }

const char* keyName(uint8_t code) {
    for (const KeyName& k : keyNames)
        if (k.code == code) return k.name;
    return generatedKeyName(code);
}

std::string keyLabel(uint8_t code) { return capitals(keyName(code)); }

int keyNamed(std::string_view name) {
    for (int code = 1; code < 256; ++code)
        if (const char* known = keyName(uint8_t(code)); known && sameName(name, known)) return code;
    return -1;
}

const char* buttonName(int button) { return buttonNames[button].name; }
const char* buttonLabel(int button) { return buttonNames[button].label; }

int buttonNamed(std::string_view name) {
    for (int b = 0; b < platform::buttonCount; ++b)
        if (sameName(name, buttonNames[b].name)) return b;
    return -1;
}

std::string keysText(const KeyBindings& bindings, Action a, bool labels, const char* separator) {
    std::string text;
    for (uint8_t code : bindings.keys[size_t(a)]) {
        if (!code) break;
        if (!text.empty()) text += separator;
        text += labels ? keyLabel(code) : std::string(keyName(code) ? keyName(code) : "?");
    }
    return text;
}

std::string buttonsText(const ButtonBindings& bindings, Action a, bool labels, const char* separator) {
    std::string text;
    for (int b = 0; b < platform::buttonCount; ++b) {
        if (bindings.actions[size_t(b)] != actionCode(a)) continue;
        if (!text.empty()) text += separator;
        text += labels ? buttonLabel(b) : buttonName(b);
    }
    return text;
}

std::string keyBindingsProblem(const KeyBindings& bindings) {
    bool used[256] = {};
    for (int a = 0; a < actionCount; ++a) {
        const auto& keys = bindings.keys[size_t(a)];
        if (!keys[0]) return std::string(actionName(Action(a))) + " has no key";
        for (size_t i = 0; i < keys.size(); ++i) {
            uint8_t code = keys[i];
            if (!code) {
                for (size_t j = i; j < keys.size(); ++j)
                    if (keys[j]) return std::string(actionName(Action(a))) + " has a key after none";
                break;
            }
            if (!keyName(code)) return "key " + std::to_string(code) + " has no name";
            if (code == key::k) return "K opens the keys screen: it cannot be given to " + std::string(actionName(Action(a)));
            if (used[code]) return std::string(keyName(code)) + " is given to two actions";
            used[code] = true;
        }
    }
    return "";
}

std::string keysLine(const KeyBindings& bindings) {
    std::string line = "keys";
    for (int a = 0; a < actionCount; ++a) {
        line += ' ';
        line += actionName(Action(a));
        line += '=';
        const auto& keys = bindings.keys[size_t(a)];
        for (size_t i = 0; i < keys.size() && keys[i]; ++i) {
            if (i > 0) line += ',';
            line += std::to_string(keys[i]);
        }
    }
    return line;
}

namespace {

// "37" or "80,19": one or two codes from 1 to 255, nothing else.
bool readCodes(std::string_view text, std::array<uint8_t, keysPerAction>& codes) {
    codes = {};
    size_t count = 0, at = 0;
    for (;;) {
        size_t comma = text.find(',', at);
        std::string_view field = text.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at);
        if (field.empty() || field.size() > 3 || count == codes.size()) return false;
        unsigned value = 0;
        for (char c : field) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + unsigned(c - '0');
        }
        if (value == 0 || value > 255) return false;
        codes[count++] = uint8_t(value);
        if (comma == std::string_view::npos) return true;
        at = comma + 1;
    }
}

}  // namespace

bool readKeysLine(const std::string& line, KeyBindings& bindings) {
    std::string_view rest(line);
    if (rest.substr(0, 5) != "keys ") return false;
    rest.remove_prefix(5);
    KeyBindings read = defaultKeys;
    bool seen[actionCount] = {};
    while (!rest.empty()) {
        size_t space = rest.find(' ');
        std::string_view field = rest.substr(0, space);
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
        size_t equals = field.find('=');
        if (equals == std::string_view::npos) return false;
        int action = -1;
        for (int a = 0; a < actionCount; ++a)
            if (field.substr(0, equals) == actionName(Action(a))) action = a;
        if (action < 0 || seen[action] || !readCodes(field.substr(equals + 1), read.keys[size_t(action)])) return false;
        seen[action] = true;
    }
    if (!keyBindingsProblem(read).empty()) return false;
    bindings = read;
    return true;
}

platform::ControllerKeys controllerKeysFor(const KeyBindings& keys, const ButtonBindings& buttons) {
    platform::ControllerKeys pressed = {};
    for (int b = 0; b < platform::buttonCount; ++b) {
        uint8_t action = buttons.actions[size_t(b)];
        pressed.buttons[b] = action < actionCount ? keys.firstKey(Action(action)) : 0;
    }
    // Up and down of the d-pad, given no action, are the arrows: they turn
    // the letters of a high score's name.
    for (auto [button, arrow] : {std::pair{platform::Button::dpadUp, platform::key::up},
                                 std::pair{platform::Button::dpadDown, platform::key::down}})
        if (!pressed.buttons[size_t(button)]) pressed.buttons[size_t(button)] = arrow;
    pressed.stickLeft = keys.firstKey(Action::left);
    pressed.stickRight = keys.firstKey(Action::right);
    pressed.backHeld = keys.firstKey(Action::quit);
    pressed.backAndStart = keys.firstKey(Action::fullScreen);
    return pressed;
}
