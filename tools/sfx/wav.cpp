#include "wav.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sfx {

namespace {

// WAV fields are little-endian whatever the machine is, so they are laid out
// byte by byte.
void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xff));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

void putTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

void writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate) {
    const std::uint32_t channels = 1, bytesPerSample = 2;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);  // what follows this field
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);  // size of the PCM format block
    put16(out, 1);   // PCM
    put16(out, channels);
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate) * channels * bytesPerSample);  // bytes a second
    put16(out, channels * bytesPerSample);                                      // bytes a frame
    put16(out, 8 * bytesPerSample);                                             // bits a sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        fail("cannot write " + path + ": " + std::strerror(errno));
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
        fail("cannot write " + path);
}

void fail(const std::string& what) {
    std::fprintf(stderr, "sfx: %s\n", what.c_str());
    std::exit(1);
}

}  // namespace sfx
