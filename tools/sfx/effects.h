// The recipes: every effect the game plays, what it is for and how loud it
// is mastered.
#pragma once
#include <vector>

#include "master.h"
#include "synth.h"

namespace sfx {

struct Effect {
    const char* file;    // name in data/
    Samples (*make)();   // synthesises it, before mastering
    Loudness loudness;
};

const std::vector<Effect>& effects();

}  // namespace sfx
