// Mastering: what turns a synthesised buffer into the samples of a file, the
// same way for every effect, so that none clicks, none clips and all play at
// a comparable loudness.
#pragma once
#include <cstdint>
#include <vector>

#include "synth.h"

namespace sfx {

struct Loudness {
    double rmsDb = -12;      // dBFS the RMS of the loudest window is brought to...
    double peakDb = -3.001;  // ...unless that puts a peak above this (dBFS)
    double window = 0.1;     // s, the stretch the RMS is taken over
};

// Takes out any DC, fades both ends in and out linearly over fade seconds
// (the first and last samples are 0), scales to the loudness, then rounds to
// 16 bits. Effects of every length are compared by their loudest stretch.
std::vector<std::int16_t> master(Samples s, const Loudness& loudness, double fade = 0.008);

// What a file holds, as the tool reports it; full scale is 32768.
struct Measure {
    double ms;      // length
    double peakDb;  // largest sample, dBFS
    double rmsDb;   // RMS of the whole file, dBFS
};

Measure measure(const std::vector<std::int16_t>& samples);

// How far under the sound its coding error lies, in dB: the RMS of what was
// made over the RMS of what the file gives back less it.
double codingErrorDb(const std::vector<std::int16_t>& made, const std::vector<std::int16_t>& heard);

}  // namespace sfx
