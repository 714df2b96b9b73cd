// Every test binary runs headless: SDL's offscreen driver (unless the caller
// chose another), message boxes answered from the script, frames unpaced.
#include "platform/video.h"
#include <cstdlib>
#include <filesystem>
#include <dlfcn.h>
#include <glob.h>
#include <gtest/gtest.h>

namespace {

// SDL unloads the OpenGL driver whenever the video system stops, and the
// leak checker can then no longer tell whose memory the driver kept: it would
// report it as leaked from an unknown place. Loading the driver libraries
// once more, never to be unloaded, keeps their names for the report (and for
// the suppressions, which name them).
void keepDriversLoaded() {
    for (const char* library : {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0"})
        dlopen(library, RTLD_NOW | RTLD_NODELETE);
    glob_t found;
    if (glob("/usr/lib/*/dri/*_dri.so", 0, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i) dlopen(found.gl_pathv[i], RTLD_NOW | RTLD_NODELETE);
    globfree(&found);
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// The sanitizers' options, built in so that every way of running a test
// gets them. Leak checking skips thread-local storage: its tracer crashes on
// that of driver libraries SDL loads and unloads, and the game keeps nothing
// only thread-local storage points to.
extern "C" const char* __asan_default_options() { return "detect_leaks=1:strict_string_checks=1"; }
extern "C" const char* __lsan_default_options() {
    return "use_tls=0:print_suppressions=0:suppressions=" VANTREL_LEAK_SUPPRESSIONS;
}
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }
#endif

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // silent, and no sound server needed
#if defined(__SANITIZE_ADDRESS__)
    keepDriversLoaded();
#endif
    // Tests run frames as fast as they can; those about pacing turn it on.
    platform::setVerticalSync(false);
    // No test reads or writes the player's own settings or scores: their
    // folders are this process's own (the games it starts too), removed at
    // the end.
    char settingsHome[] = "/tmp/vantrel-test-settings-XXXXXX";
    char scoresHome[] = "/tmp/vantrel-test-scores-XXXXXX";
    if (!mkdtemp(settingsHome) || !mkdtemp(scoresHome)) return 1;
    setenv("XDG_CONFIG_HOME", settingsHome, 1);
    setenv("XDG_DATA_HOME", scoresHome, 1);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(settingsHome, ignored);
    std::filesystem::remove_all(scoresHome, ignored);
    return result;
}
