// The building blocks the effects are made of: oscillators, a seeded noise
// source, envelopes, pitch sweeps and a one-pole low-pass filter, all
// working on a buffer of samples at a fixed rate.
//
// Everything here is plain arithmetic in a fixed order, and the only
// randomness is the seeded generator below: the same program run twice makes
// the same samples.
#pragma once
#include <cstdint>
#include <vector>

namespace sfx {

constexpr int kRate = 22050;  // samples a second, every effect

// A sound being made: samples at kRate, full scale is -1..1 (mixing may go
// past that; mastering brings it back).
using Samples = std::vector<double>;

enum class Wave { Sine, Square, Triangle, Saw, Noise };

// Attack, decay, sustain, release. The level rises linearly from 0 to 1 over
// attack, falls exponentially towards sustain with time constant decay, and
// falls linearly to 0 over the last release seconds of the note.
struct Envelope {
    double attack = 0.005;   // s
    double decay = 0.1;      // s, time constant of the fall to sustain
    double sustain = 1.0;    // 0..1 of the peak
    double release = 0.02;   // s
};

struct Note {
    Wave wave = Wave::Square;
    double at = 0;           // s from the start of the sound
    double length = 0.1;     // s, release included
    double fromHz = 440;     // pitch at the start of the note
    double toHz = 0;         // pitch at the end (exponential glide); 0: same as fromHz
    double gain = 0.5;       // peak amplitude, full scale 1
    Envelope envelope;
    double duty = 0.5;       // Square: part of the period spent high
    double vibratoHz = 0;    // rate of the pitch wobble
    double vibratoCents = 0; // depth of the pitch wobble (100 cents a semitone)
    std::uint32_t seed = 1;  // Noise: where the generator starts
};

// The pitch of a MIDI note number (69 is A above middle C, 440 Hz).
double hz(int midi);

// Adds a note into the buffer, growing it as needed.
void addNote(Samples& out, const Note& note);

// Adds src into out, starting at seconds, scaled by gain; grows out as needed.
void mix(Samples& out, const Samples& src, double at, double gain = 1.0);

// One-pole low-pass over the whole buffer, its cutoff gliding exponentially
// from fromHz at the first sample to toHz at the last.
void lowPass(Samples& s, double fromHz, double toHz);

// A simple echo: adds repeats copies of the buffer to itself, the r-th
// delayed by r * delay seconds and scaled by feedback to the power r.
void echo(Samples& s, double delay, double feedback, int repeats);

// A 32-bit linear congruential generator with a fixed seed: cheap and the
// same everywhere. Only its top bits are used; the low bits of an LCG repeat
// with short periods.
struct Noise {
    std::uint32_t state = 1;
    double next();  // uniform in -1..1
};

}  // namespace sfx
