// Writing sounds to WAV files by hand: the RIFF header, the format, the count
// of samples and the IMA ADPCM blocks, nothing else (no time stamps).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sfx {

// Mono IMA ADPCM (ima_adpcm.h) holding `samples` samples, at rate a second.
void writeImaWav(const std::string& path, const std::vector<unsigned char>& blocks, std::size_t samples, int rate);

// Stops the program with a message: the tool has nothing sensible to do
// after a failed write.
[[noreturn]] void fail(const std::string& what);

}  // namespace sfx
