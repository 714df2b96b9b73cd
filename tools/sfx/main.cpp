// Synthesises every sound effect the game plays into a directory:
//
//   vantrel-sfx DIR
//
// writing one WAV file each (mono IMA ADPCM, 22050 Hz) and printing its
// length, peak and RMS as decoded back, and how far under the sound the
// coding error lies. The same program run twice writes the same bytes.
#include <cstdio>
#include <string>

#include "effects.h"
#include "ima_adpcm.h"
#include "master.h"
#include "wav.h"

int main(int argc, char** argv) {
    using namespace sfx;
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    for (const Effect& e : effects()) {
        std::vector<std::int16_t> samples = master(e.make(), e.loudness);
        std::vector<unsigned char> blocks = encodeIma(samples);
        writeImaWav(dir + "/" + e.file, blocks, samples.size(), kRate);
        std::vector<std::int16_t> heard = decodeIma(blocks, samples.size());
        Measure m = measure(heard);
        std::printf("%-18s %5.0f ms  peak %6.2f dBFS  rms %6.2f dBFS  coding error %5.1f dB under\n", e.file, m.ms,
                    m.peakDb, m.rmsDb, codingErrorDb(samples, heard));
    }
    return 0;
}
