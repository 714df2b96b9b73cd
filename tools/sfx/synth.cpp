#include "synth.h"

#include <cmath>
#include <numbers>

namespace sfx {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double envelopeAt(const Envelope& e, double t, double length) {
    if (t < 0 || t >= length)
        return 0;
    double v;
    if (t < e.attack)
        v = t / e.attack;
    else
        v = e.sustain + (1 - e.sustain) * std::exp(-(t - e.attack) / e.decay);
    double releaseFrom = length - e.release;
    if (e.release > 0 && t > releaseFrom)
        v *= (length - t) / e.release;
    return v;
}

// The step a naive square or saw takes at each wrap of the phase, smoothed
// over one sample either side (a polynomial band-limited step), so that high
// notes do not fold back as harsh aliases below the Nyquist frequency.
double blep(double phase, double step) {
    if (phase < step) {
        double t = phase / step;
        return t + t - t * t - 1;
    }
    if (phase > 1 - step) {
        double t = (phase - 1) / step;
        return t * t + t + t + 1;
    }
    return 0;
}

double wrap(double phase) { return phase - std::floor(phase); }

struct Oscillator {
    Wave wave;
    double duty;
    Noise noise;
    double phase = 0;  // 0..1 of the period
    double held = 0;   // Noise: the value held until the phase wraps

    double next(double step) {
        double p = phase;
        double v = 0;
        switch (wave) {
        case Wave::Sine:
            v = std::sin(kTwoPi * p);
            break;
        case Wave::Square:
            v = (p < duty ? 1.0 : -1.0) + blep(p, step) - blep(wrap(p + 1 - duty), step);
            v -= 2 * duty - 1;  // an uneven duty has a mean; take it out
            break;
        case Wave::Triangle:
            v = 1 - 4 * std::fabs(p - 0.5);
            break;
        case Wave::Saw:
            v = 2 * p - 1 - blep(p, step);
            break;
        case Wave::Noise:
            // A new random value every period: the pitch sets how fine the
            // noise is, so a falling pitch is a falling rumble.
            v = held;
            break;
        }
        phase += step;
        if (phase >= 1) {
            phase -= std::floor(phase);
            held = noise.next();
        }
        return v;
    }
};

}  // namespace

double hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void addNote(Samples& out, const Note& note) {
    std::size_t first = static_cast<std::size_t>(std::lround(note.at * kRate));
    std::size_t count = static_cast<std::size_t>(std::lround(note.length * kRate));
    if (out.size() < first + count)
        out.resize(first + count, 0.0);
    double toHz = note.toHz > 0 ? note.toHz : note.fromHz;
    Oscillator osc{note.wave, note.duty, Noise{note.seed}};
    osc.held = osc.noise.next();
    for (std::size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / kRate;
        double f = note.fromHz * std::pow(toHz / note.fromHz, t / note.length);
        if (note.vibratoCents > 0)
            f *= std::pow(2.0, note.vibratoCents / 1200 * std::sin(kTwoPi * note.vibratoHz * t));
        double step = f / kRate;
        out[first + i] += note.gain * envelopeAt(note.envelope, t, note.length) * osc.next(step);
    }
}

void mix(Samples& out, const Samples& src, double at, double gain) {
    std::size_t first = static_cast<std::size_t>(std::lround(at * kRate));
    if (out.size() < first + src.size())
        out.resize(first + src.size(), 0.0);
    for (std::size_t i = 0; i < src.size(); ++i)
        out[first + i] += gain * src[i];
}

void lowPass(Samples& s, double fromHz, double toHz) {
    double y = 0;
    double last = s.size() > 1 ? static_cast<double>(s.size() - 1) : 1.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double cutoff = fromHz * std::pow(toHz / fromHz, static_cast<double>(i) / last);
        double a = 1 - std::exp(-kTwoPi * cutoff / kRate);
        y += a * (s[i] - y);
        s[i] = y;
    }
}

void echo(Samples& s, double delay, double feedback, int repeats) {
    Samples copy = s;
    double gain = 1;
    for (int r = 1; r <= repeats; ++r) {
        gain *= feedback;
        mix(s, copy, delay * r, gain);
    }
}

double Noise::next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;  // 24 bits to -1..1
}

}  // namespace sfx
