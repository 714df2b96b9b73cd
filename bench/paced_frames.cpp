// Frames paced to the display: the game on a full level against a bare loop
// issuing the same OpenGL calls, both presenting through the same paced swap,
// in rounds that take turns. For each: CPU time per second of wall time,
// presented frames per second, and how far frame intervals stray from the
// refresh period.
//
//   paced_frames [ROUNDS] [SECONDS_PER_ROUND]
//
// Prints "game|bare cpu_per_s FRACTION fps N p99_ms MS" per round and
// "period_ms MS" once.
#include "app/window.h"
#include "bench/bench_game.h"
#include "bench/gl_tape.h"
#include "platform/backend.h"
#include "platform/testing.h"
#include "platform/video.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace pt = platform::testing;

namespace {

double processCpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double nowSeconds() { return double(platform::backend::steadyNanoseconds()) * 1e-9; }

// Runs frames for `seconds` after a second of settling (the pacer decides
// within 8 frames); prints what one round measured.
void round(const char* name, const std::function<void()>& frame, double seconds) {
    platform::setVerticalSync(true);  // a pacer started afresh
    for (double until = nowSeconds() + 1; nowSeconds() < until;) frame();
    std::vector<int64_t> presents;
    presents.reserve(size_t(seconds * 1000));
    pt::observeSwaps([&] { presents.push_back(platform::backend::steadyNanoseconds()); });
    double cpu0 = processCpuSeconds(), wall0 = nowSeconds();
    while (nowSeconds() - wall0 < seconds) frame();
    double cpu = processCpuSeconds() - cpu0, wall = nowSeconds() - wall0;
    pt::observeSwaps({});

    int64_t period = pt::pacing().periodNs;
    std::vector<double> strays;
    for (size_t i = 1; i < presents.size(); ++i) strays.push_back(std::abs(double(presents[i] - presents[i - 1] - period)));
    std::sort(strays.begin(), strays.end());
    double p99 = strays.empty() ? 0 : strays[std::min(strays.size() - 1, strays.size() * 99 / 100)];
    std::printf("%s cpu_per_s %.4f fps %.2f p99_ms %.3f\n", name, cpu / wall, double(presents.size()) / wall, p99 * 1e-6);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 4;
    double seconds = argc > 2 ? std::atof(argv[2]) : 3;
    auto bench = std::make_unique<BenchGame>(sourceDirectory());
    bench->frame();
    startRecording();
    bench->frame();  // the frame's calls, swap excluded
    stopRecording();
    auto game = [&] { bench->frame(); };
    auto bare = [] {
        replayTape();
        platform::swapBuffers(deviceContext);
    };
    for (int i = 0; i < rounds; ++i) {
        round("game", game, seconds);
        round("bare", bare, seconds);
    }
    std::printf("period_ms %.3f\n", double(pt::pacing().periodNs) * 1e-6);
    bench.reset();
    return 0;
}
