#include "master.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sfx {

namespace {

double fromDb(double db) { return std::pow(10.0, db / 20); }

double toDb(double v) { return v > 0 ? 20 * std::log10(v) : -std::numeric_limits<double>::infinity(); }

// The RMS of the loudest stretch of window seconds (all of it if shorter).
// A whole-file RMS would count a long ringing tail against an effect, and
// the ear judges a short sound by its loud part.
double loudestRms(const Samples& s, double window) {
    std::size_t n = std::min(s.size(), static_cast<std::size_t>(std::lround(window * kRate)));
    if (n == 0)
        return 0;
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += s[i] * s[i];
    double best = sum;
    // Each window summed afresh: plain and, for sounds this short, quick.
    for (std::size_t start = 1; start + n <= s.size(); ++start) {
        sum = 0;
        for (std::size_t i = start; i < start + n; ++i)
            sum += s[i] * s[i];
        best = std::max(best, sum);
    }
    return std::sqrt(best / static_cast<double>(n));
}

double peak(const Samples& s) {
    double p = 0;
    for (double v : s)
        p = std::max(p, std::fabs(v));
    return p;
}

// A one-pole high-pass at about 16 Hz: an uneven mix of waves can leave a
// small offset, which would make the speaker jump when the sound starts.
void removeDc(Samples& s) {
    const double r = 0.9955;
    double lastIn = 0, lastOut = 0;
    for (double& v : s) {
        double out = v - lastIn + r * lastOut;
        lastIn = v;
        lastOut = out;
        v = out;
    }
}

void fadeEnds(Samples& s, double fade) {
    std::size_t n = static_cast<std::size_t>(std::lround(fade * kRate));
    n = std::min(n, s.size() / 2);
    if (n == 0)
        return;
    for (std::size_t i = 0; i < n; ++i) {
        double g = static_cast<double>(i) / static_cast<double>(n);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

}  // namespace

std::vector<std::int16_t> master(Samples s, const Loudness& loudness, double fade) {
    removeDc(s);
    fadeEnds(s, fade);
    double level = loudestRms(s, loudness.window);
    double gain = level > 0 ? fromDb(loudness.rmsDb) / level : 0;
    // Samples are scaled by 32767, not 32768, so that a peak at the cap still
    // rounds to no more than the cap of full scale (32768), on either sign.
    double cap = fromDb(loudness.peakDb);
    double top = peak(s) * gain;
    if (top > cap)
        gain *= cap / top;
    std::vector<std::int16_t> out(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::lround(s[i] * gain * 32767));
    return out;
}

Measure measure(const std::vector<std::int16_t>& samples) {
    double top = 0, sum = 0;
    for (std::int16_t v : samples) {
        double x = v / 32768.0;
        top = std::max(top, std::fabs(x));
        sum += x * x;
    }
    double n = static_cast<double>(samples.size());
    return {1000.0 * n / kRate, toDb(top), toDb(samples.empty() ? 0 : std::sqrt(sum / n))};
}

double codingErrorDb(const std::vector<std::int16_t>& made, const std::vector<std::int16_t>& heard) {
    double signal = 0, error = 0;
    for (std::size_t i = 0; i < made.size(); ++i) {
        double m = made[i], h = i < heard.size() ? heard[i] : 0;
        signal += m * m;
        error += (m - h) * (m - h);
    }
    return error > 0 ? 10 * std::log10(signal / error) : 999;
}

}  // namespace sfx
