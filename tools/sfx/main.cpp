// Synthesises every sound effect the game plays into a directory:
//
//   vantrel-sfx DIR
//
// writing one WAV file each (mono, 16-bit, 22050 Hz) and printing its length,
// peak and RMS. The same program run twice writes the same bytes.
#include <cstdio>
#include <string>

#include "effects.h"
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
        writeWav(dir + "/" + e.file, samples, kRate);
        Measure m = measure(samples);
        std::printf("%-18s %5.0f ms  peak %6.2f dBFS  rms %6.2f dBFS\n", e.file, m.ms, m.peakDb, m.rmsDb);
    }
    return 0;
}
