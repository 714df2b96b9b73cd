#include "wav.h"

#include "ima_adpcm.h"

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

void writeImaWav(const std::string& path, const std::vector<unsigned char>& blocks, std::size_t samples, int rate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(blocks.size());
    std::vector<unsigned char> out;
    out.reserve(60 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 52 + dataBytes);  // what follows this field
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 20);      // size of the format block, with its two extra bytes
    put16(out, 0x11);    // IMA ADPCM
    put16(out, 1);       // mono
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate) * kImaBlockBytes / kImaBlockSamples);  // bytes a second
    put16(out, kImaBlockBytes);                                                       // bytes a block
    put16(out, 4);       // bits a sample
    put16(out, 2);       // what follows: the samples a block
    put16(out, kImaBlockSamples);
    putTag(out, "fact");  // how many samples there are, for players that trim the last block
    put32(out, 4);
    put32(out, static_cast<std::uint32_t>(samples));
    putTag(out, "data");
    put32(out, dataBytes);
    out.insert(out.end(), blocks.begin(), blocks.end());

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
