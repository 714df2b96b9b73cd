// IMA ADPCM: four bits a sample, a quarter of 16-bit PCM, which SDL's WAV
// loader decodes by itself on every target. Mono only, in blocks of
// kImaBlockBytes: each starts with its first sample whole and the step it
// goes on with, so an error never carries past a block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sfx {

constexpr int kImaBlockBytes = 256;
constexpr int kImaBlockSamples = (kImaBlockBytes - 4) * 2 + 1;  // the header's sample, then two a byte

// The blocks, the last one filled out with silence (up to 23 ms at 22050 Hz).
std::vector<unsigned char> encodeIma(const std::vector<std::int16_t>& samples);

// What a player hears from them: the first `count` samples decoded back.
std::vector<std::int16_t> decodeIma(const std::vector<unsigned char>& blocks, std::size_t count);

}  // namespace sfx
