// Writing sounds to WAV files by hand: the 44-byte RIFF header and the
// samples, nothing else (no extra chunks, no time stamps).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sfx {

// Mono, 16-bit signed PCM, little-endian, at rate samples a second.
void writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate);

// Stops the program with a message: the tool has nothing sensible to do
// after a failed write.
[[noreturn]] void fail(const std::string& what);

}  // namespace sfx
