// Plays the game headless for a number of frames and writes the last frame
// to a PNG file, for people to look at.
//
//   screenshot OUT.png FRAMES [EVENT...]
//
// An event is KEY@FRAME (press), KEY@FRAME-FRAME (press, then release), or
// level@FRAME=N (jump to level N before that frame). Keys: space left right
// f1 f2 f3 esc, k (the keys screen) m p enter backspace, and the letters a
// to z by themselves. Example: screenshot shot.png 120 space@1 right@10-40
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "platform/messages.h"
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

const std::map<std::string, uint8_t> keyNames = {
    {"space", platform::key::space}, {"left", platform::key::left}, {"right", platform::key::right},
    {"f1", platform::key::f1},       {"f2", platform::key::f2},     {"f3", platform::key::f3},
    {"esc", platform::key::escape},  {"k", platform::key::k},       {"m", platform::key::m},
    {"p", platform::key::p},         {"enter", platform::key::enter}, {"backspace", platform::key::backspace},
};

struct LevelJump {
    int frame, level;
};

bool parseEvent(const std::string& event, ScriptedPlay& play, std::vector<LevelJump>& jumps) {
    size_t at = event.find('@');
    if (at == std::string::npos) return false;
    std::string name = event.substr(0, at), when = event.substr(at + 1);
    if (name == "level") {
        size_t eq = when.find('=');
        if (eq == std::string::npos) return false;
        jumps.push_back({std::atoi(when.c_str()), std::atoi(when.c_str() + eq + 1)});
        return true;
    }
    auto key = keyNames.find(name);
    uint8_t code = key != keyNames.end() ? key->second : 0;
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') code = uint8_t(name[0] - 'a' + 'A');
    if (!code) return false;
    int down = std::atoi(when.c_str());
    play.script.push_back({down, code, true});
    size_t dash = when.find('-');
    if (dash != std::string::npos) play.script.push_back({std::atoi(when.c_str() + dash + 1), code, false});
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.png FRAMES [KEY@FRAME[-FRAME] | level@FRAME=N]...\n", argv[0]);
        return 2;
    }
    ScriptedPlay play;
    std::vector<LevelJump> jumps;
    for (int i = 3; i < argc; ++i)
        if (!parseEvent(argv[i], play, jumps)) {
            std::fprintf(stderr, "screenshot: cannot read the event '%s'\n", argv[i]);
            return 2;
        }
    int frames = std::atoi(argv[2]);
    for (int f = 0; f < frames; ++f) {
        for (const LevelJump& j : jumps)
            if (j.frame == f) changeLevel(j.level);
        if (!play.runFrame()) break;
    }
    if (!play.savePng(argv[1])) {
        std::fprintf(stderr, "screenshot: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
