#include "ima_adpcm.h"

#include <algorithm>
#include <cstdlib>

namespace sfx {

namespace {

constexpr int kSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kIndexMoves[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

// The decoder's state: the last sample and where it is in the step table.
struct State {
    int sample = 0;
    int index = 0;

    // One four-bit code applied, exactly as the decoder applies it.
    void take(int code) {
        int step = kSteps[index];
        int delta = step >> 3;
        if (code & 4) delta += step;
        if (code & 2) delta += step >> 1;
        if (code & 1) delta += step >> 2;
        sample = std::clamp(code & 8 ? sample - delta : sample + delta, -32768, 32767);
        index = std::clamp(index + kIndexMoves[code & 7], 0, 88);
    }
};

// Coding a block: many ways of coding it are followed at once, a sample at a
// time, each tried with all sixteen codes for the next sample; of the ways
// then on the same step index only the nearest to what was made goes on (the
// others hold the same step and a worse past). The nearest code alone, a
// sample at a time, leaves the step too small to follow a square wave's edge
// or too large for the quiet after it; keeping a way on every step keeps the
// large steps alive for the edges to come, beside the small ones.
struct Way {
    State state;
    double error = 0;     // squared, summed over the block so far
    std::uint32_t from = 0;  // the way it went on from, one sample earlier
    std::uint8_t code = 0;   // the code that brought it here
};

// Codes for samples[first + 1, end) after a block header holding
// samples[first], the header's step index first.
std::vector<std::uint8_t> codeBlock(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t end) {
    std::vector<std::vector<Way>> steps(1);
    for (int index = 0; index <= 88; ++index)
        steps[0].push_back({{samples[first], index}, 0, 0, static_cast<std::uint8_t>(index)});
    std::vector<Way> next;
    for (std::size_t at = first + 1; at < end; ++at) {
        const std::vector<Way>& ways = steps.back();
        next.clear();
        for (std::uint32_t w = 0; w < ways.size(); ++w)
            for (int code = 0; code < 16; ++code) {
                Way way{ways[w].state, ways[w].error, w, static_cast<std::uint8_t>(code)};
                way.state.take(code);
                double miss = double(way.state.sample) - samples[at];
                way.error += miss * miss;
                next.push_back(way);
            }
        // The nearest way on each step index; ties keep the first found, so
        // the codes are the same on every machine.
        std::vector<Way> kept(89);
        std::vector<bool> taken(89, false);
        for (const Way& way : next) {
            int i = way.state.index;
            if (!taken[i] || way.error < kept[i].error) {
                kept[i] = way;
                taken[i] = true;
            }
        }
        std::size_t n = 0;
        for (int i = 0; i <= 88; ++i)
            if (taken[i]) kept[n++] = kept[i];
        kept.resize(n);
        steps.push_back(std::move(kept));
    }
    // Back from the nearest way at the end: its codes, then the first step.
    std::vector<std::uint8_t> codes(steps.size());
    std::uint32_t w = 0;
    for (std::uint32_t i = 1; i < steps.back().size(); ++i)
        if (steps.back()[i].error < steps.back()[w].error) w = i;
    for (std::size_t t = steps.size(); t-- > 0;) {
        codes[t] = steps[t][w].code;
        w = steps[t][w].from;
    }
    return codes;
}

}  // namespace

std::vector<unsigned char> encodeIma(const std::vector<std::int16_t>& made) {
    // SDL's loader drops a block cut short, so the last one is filled out
    // with silence: every sound here fades out to 0 before it.
    std::vector<std::int16_t> samples = made;
    samples.resize((made.size() + kImaBlockSamples - 1) / kImaBlockSamples * kImaBlockSamples, 0);
    std::vector<unsigned char> out;
    for (std::size_t first = 0; first < samples.size(); first += kImaBlockSamples) {
        std::vector<std::uint8_t> codes = codeBlock(samples, first, first + kImaBlockSamples);
        out.push_back(static_cast<unsigned char>(samples[first] & 0xff));
        out.push_back(static_cast<unsigned char>((samples[first] >> 8) & 0xff));
        out.push_back(codes[0]);  // the step index the block starts on
        out.push_back(0);
        // Two codes a byte, the earlier sample in the low four bits.
        for (std::size_t i = 1; i < codes.size(); i += 2)
            out.push_back(static_cast<unsigned char>(codes[i] | codes[i + 1] << 4));
    }
    return out;
}

std::vector<std::int16_t> decodeIma(const std::vector<unsigned char>& blocks, std::size_t count) {
    std::vector<std::int16_t> out;
    out.reserve(count);
    for (std::size_t at = 0; at + 4 <= blocks.size() && out.size() < count; at += kImaBlockBytes) {
        State state;
        state.sample = static_cast<std::int16_t>(blocks[at] | (blocks[at + 1] << 8));
        state.index = std::min<int>(blocks[at + 2], 88);
        out.push_back(static_cast<std::int16_t>(state.sample));
        std::size_t end = std::min(blocks.size(), at + kImaBlockBytes);
        for (std::size_t i = at + 4; i < end && out.size() < count; ++i)
            for (int k = 0; k < 2 && out.size() < count; ++k) {
                state.take((blocks[i] >> (4 * k)) & 0xf);
                out.push_back(static_cast<std::int16_t>(state.sample));
            }
    }
    return out;
}

}  // namespace sfx
