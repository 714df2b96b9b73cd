#include "effects.h"

namespace sfx {

namespace {

// Note names as MIDI numbers, the octaves the effects use.
constexpr int G3 = 55, B3 = 59, C4 = 60, D4 = 62, E4 = 64, F4 = 65, Fs4 = 66, G4 = 67;
constexpr int C5 = 72, E5 = 76, G5 = 79, B5 = 83;
constexpr int C6 = 84, D6 = 86, E6 = 88, G6 = 91, Gs6 = 92, B6 = 95;
constexpr int C7 = 96, E7 = 100, G7 = 103;

// A struck, ringing note: quick attack, exponential fall to nothing.
constexpr Envelope kPluck{.attack = 0.002, .decay = 0.06, .sustain = 0, .release = 0.02};

// Game start: a thin pulse racing up two octaves over a triangle an octave
// below, the top note left ringing with a shimmer an octave up and an echo.
Samples start() {
    Samples s;
    const int run[] = {C4, E4, G4, C5, E5, G5, C6};
    double at = 0;
    for (int n : run) {
        addNote(s, {.wave = Wave::Square, .at = at, .length = 0.045, .fromHz = hz(n), .gain = 0.35,
                    .envelope = {.attack = 0.002, .decay = 0.05, .sustain = 0.5, .release = 0.015},
                    .duty = 0.25});
        addNote(s, {.wave = Wave::Triangle, .at = at, .length = 0.045, .fromHz = hz(n - 12), .gain = 0.2,
                    .envelope = {.attack = 0.002, .decay = 0.05, .sustain = 0.6, .release = 0.015}});
        at += 0.04;
    }
    const Envelope ring{.attack = 0.003, .decay = 0.12, .sustain = 0.2, .release = 0.1};
    // Only the sine wobbles: a wobbling pulse would drag its folded-back
    // overtones audibly up and down against it.
    addNote(s, {.wave = Wave::Square, .at = at, .length = 0.3, .fromHz = hz(C6), .gain = 0.35,
                .envelope = ring, .duty = 0.25});
    addNote(s, {.wave = Wave::Sine, .at = at, .length = 0.3, .fromHz = hz(C7), .gain = 0.25,
                .envelope = ring, .vibratoHz = 7, .vibratoCents = 25});
    echo(s, 0.07, 0.35, 2);
    lowPass(s, 9000, 6000);  // keeps the pulse bright without a fizz on top
    return s;
}

// The items: the bigger the prize, the higher the last note, the more notes
// and the longer the ring.

// Tier 1: one short chirp.
Samples item1() {
    Samples s;
    addNote(s, {.wave = Wave::Square, .length = 0.09, .fromHz = hz(C6), .toHz = hz(D6), .gain = 0.4,
                .envelope = {.attack = 0.002, .decay = 0.03, .sustain = 0, .release = 0.02}});
    return s;
}

// Tier 2: two notes a fourth apart.
Samples item2() {
    Samples s;
    addNote(s, {.wave = Wave::Square, .length = 0.06, .fromHz = hz(B5), .gain = 0.4,
                .envelope = {.attack = 0.002, .decay = 0.2, .sustain = 0.7, .release = 0.01}});
    addNote(s, {.wave = Wave::Square, .at = 0.06, .length = 0.16, .fromHz = hz(E6), .gain = 0.4,
                .envelope = kPluck});
    addNote(s, {.wave = Wave::Sine, .at = 0.06, .length = 0.16, .fromHz = hz(E6 + 12), .gain = 0.2,
                .envelope = kPluck});
    return s;
}

// Tier 3: a major arpeggio, a pulse with a bell an octave up, and an echo.
Samples item3() {
    Samples s;
    const int run[] = {E6, Gs6, B6};
    double at = 0;
    for (int n : run) {
        double length = n == B6 ? 0.2 : 0.06;
        addNote(s, {.wave = Wave::Square, .at = at, .length = length, .fromHz = hz(n), .gain = 0.3,
                    .envelope = {.attack = 0.002, .decay = 0.07, .sustain = 0.1, .release = 0.03},
                    .duty = 0.25});
        addNote(s, {.wave = Wave::Sine, .at = at, .length = length, .fromHz = hz(n + 12), .gain = 0.25,
                    .envelope = kPluck});
        at += 0.05;
    }
    echo(s, 0.06, 0.3, 1);
    return s;
}

// Tier 4: a five-note run to the top, then a shimmering chord that rings out
// through a longer echo.
Samples item4() {
    Samples s;
    const int run[] = {C6, E6, G6, C7, E7};
    double at = 0;
    for (int n : run) {
        addNote(s, {.wave = Wave::Square, .at = at, .length = 0.045, .fromHz = hz(n), .gain = 0.3,
                    .envelope = {.attack = 0.002, .decay = 0.05, .sustain = 0.3, .release = 0.02},
                    .duty = 0.25});
        addNote(s, {.wave = Wave::Triangle, .at = at, .length = 0.045, .fromHz = hz(n - 12), .gain = 0.3,
                    .envelope = kPluck});
        at += 0.04;
    }
    // The chord is strummed, 15 ms a note, which sparkles more than a block
    // and keeps its waves from all peaking on the same sample.
    const int chord[] = {C7, E7, G7};
    for (int i = 0; i < 3; ++i)
        addNote(s, {.wave = Wave::Sine, .at = at + 0.015 * i, .length = 0.35, .fromHz = hz(chord[i]),
                    .gain = 0.25, .envelope = {.attack = 0.003, .decay = 0.12, .sustain = 0, .release = 0.05},
                    .vibratoHz = 11, .vibratoCents = 15});
    addNote(s, {.wave = Wave::Triangle, .at = at, .length = 0.35, .fromHz = hz(C6), .gain = 0.3,
                .envelope = {.attack = 0.003, .decay = 0.12, .sustain = 0, .release = 0.05}});
    echo(s, 0.08, 0.4, 3);
    return s;
}

// A climb begins: three low steps up, each nudged upwards as it sounds.
Samples climb() {
    Samples s;
    const int steps[] = {G3, B3, D4};
    double at = 0;
    for (int n : steps) {
        addNote(s, {.wave = Wave::Triangle, .at = at, .length = 0.04, .fromHz = hz(n), .toHz = hz(n + 1),
                    .gain = 0.5, .envelope = {.attack = 0.002, .decay = 0.03, .sustain = 0.3, .release = 0.01}});
        addNote(s, {.wave = Wave::Square, .at = at, .length = 0.04, .fromHz = hz(n + 12), .toHz = hz(n + 13),
                    .gain = 0.15, .envelope = {.attack = 0.002, .decay = 0.02, .sustain = 0, .release = 0.01}});
        at += 0.055;
    }
    return s;
}

// The exit and the extra life: a little brass fanfare, three short notes and
// a held chord over a bass.
Samples exitFanfare() {
    Samples s;
    const Envelope brass{.attack = 0.015, .decay = 0.08, .sustain = 0.7, .release = 0.03};
    const int call[] = {G4, C5, E5};
    double at = 0;
    for (int n : call) {
        addNote(s, {.wave = Wave::Saw, .at = at, .length = 0.09, .fromHz = hz(n), .gain = 0.35,
                    .envelope = brass});
        at += 0.11;
    }
    const Envelope held{.attack = 0.02, .decay = 0.2, .sustain = 0.6, .release = 0.25};
    const int chord[] = {E5, G5, C6};
    for (int n : chord)
        addNote(s, {.wave = Wave::Saw, .at = at, .length = 0.6, .fromHz = hz(n), .gain = 0.3,
                    .envelope = held, .vibratoHz = 5.5, .vibratoCents = 12});
    addNote(s, {.wave = Wave::Triangle, .at = at, .length = 0.6, .fromHz = hz(C4), .gain = 0.4,
                .envelope = held});
    lowPass(s, 3500, 2200);  // rounds the saws off into something brassy
    return s;
}

// The player is hit and blows up: a noise burst whose grain and brightness
// fall together, over a thump dropping to a rumble.
Samples hit() {
    Samples s, burst;
    addNote(burst, {.wave = Wave::Noise, .length = 0.75, .fromHz = 9000, .toHz = 400, .gain = 0.8,
                    .envelope = {.attack = 0.002, .decay = 0.18, .sustain = 0, .release = 0.1}, .seed = 12345});
    lowPass(burst, 7000, 250);
    mix(s, burst, 0);
    addNote(s, {.wave = Wave::Sine, .length = 0.35, .fromHz = 160, .toHz = 40, .gain = 0.6,
                .envelope = {.attack = 0.003, .decay = 0.12, .sustain = 0, .release = 0.05}});
    return s;
}

// Game over: a slow falling line, each step a semitone lower, the last one
// sagging further with a slow wobble. Muted through the low-pass.
Samples gameOver() {
    Samples s;
    const Envelope step{.attack = 0.02, .decay = 0.15, .sustain = 0.6, .release = 0.06};
    const int line[] = {G4, Fs4, F4};
    double at = 0;
    for (int n : line) {
        addNote(s, {.wave = Wave::Square, .at = at, .length = 0.28, .fromHz = hz(n), .gain = 0.35,
                    .envelope = step});
        addNote(s, {.wave = Wave::Triangle, .at = at, .length = 0.28, .fromHz = hz(n - 12), .gain = 0.35,
                    .envelope = step});
        at += 0.3;
    }
    const Envelope last{.attack = 0.02, .decay = 0.3, .sustain = 0.4, .release = 0.3};
    addNote(s, {.wave = Wave::Square, .at = at, .length = 0.55, .fromHz = hz(E4), .toHz = hz(C4), .gain = 0.35,
                .envelope = last, .vibratoHz = 5, .vibratoCents = 30});
    addNote(s, {.wave = Wave::Triangle, .at = at, .length = 0.55, .fromHz = hz(E4 - 12), .toHz = hz(C4 - 12),
                .gain = 0.35, .envelope = last, .vibratoHz = 5, .vibratoCents = 30});
    lowPass(s, 1400, 700);  // twice: a steeper fall, a duller tone
    lowPass(s, 1400, 700);
    return s;
}

// The mirror switches: one soft, short sine blip.
Samples mirror() {
    Samples s;
    addNote(s, {.wave = Wave::Sine, .length = 0.06, .fromHz = hz(G6), .toHz = hz(G6 + 2), .gain = 0.5,
                .envelope = {.attack = 0.004, .decay = 0.02, .sustain = 0, .release = 0.02}});
    return s;
}

// Every effect's loudest stretch is brought to the same RMS, its peak capped
// at -3 dBFS (a hair under, so that no sample rounds to more than 0.7079 of
// full scale); the mirror blip is meant to sit under the game and is mastered
// quieter.
constexpr Loudness kCommon{.rmsDb = -12, .peakDb = -3.001};
constexpr Loudness kSoft{.rmsDb = -22, .peakDb = -12};

}  // namespace

const std::vector<Effect>& effects() {
    static const std::vector<Effect> all = {
        {"sfx-start.wav", start, kCommon},
        {"sfx-item1.wav", item1, kCommon},
        {"sfx-item2.wav", item2, kCommon},
        {"sfx-item3.wav", item3, kCommon},
        {"sfx-item4.wav", item4, kCommon},
        {"sfx-climb.wav", climb, kCommon},
        {"sfx-exit.wav", exitFanfare, kCommon},
        {"sfx-hit.wav", hit, kCommon},
        {"sfx-gameover.wav", gameOver, kCommon},
        {"sfx-mirror.wav", mirror, kSoft},
    };
    return all;
}

}  // namespace sfx
