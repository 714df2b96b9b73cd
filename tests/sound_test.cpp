// Which effect the game asks for, and when: through the real main loop with
// the set clock, frame by frame.
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/sounds.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "support/captured.h"
#include "support/pictures.h"
#include "support/sounds_asked.h"
#include <SDL_mixer.h>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <regex>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace key = platform::key;

namespace {

std::vector<Sound> soundsOfTheFrame() {
    Sound taken[soundsKept];
    int n = takeSoundsAsked(taken);
    return std::vector<Sound>(taken, taken + n);
}

// A tenth of a second of a tone, as the effects are made: 22050 Hz, mono, 16 bits.
std::vector<uint8_t> toneWav() {
    auto le = [](std::vector<uint8_t>& b, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
    };
    constexpr uint32_t samples = 2205;
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    le(b, 36 + samples * 2, 4);
    for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
    le(b, 16, 4), le(b, 1, 2), le(b, 1, 2), le(b, 22050, 4), le(b, 44100, 4), le(b, 2, 2), le(b, 16, 2);
    for (char c : std::string("data")) b.push_back(uint8_t(c));
    le(b, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i) le(b, (i / 25) % 2 ? 0x2000 : 0xE000, 2);
    return b;
}

// A sound server that takes one connection and closes it, unanswered, after
// `seconds`: the client's driver then gives up.
class LateServer {
public:
    std::string path;
    explicit LateServer(const std::string& directory, double seconds) : path(directory + "/late.sock") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        listener = socket(AF_UNIX, SOCK_STREAM, 0);
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener, 4);
        server = std::thread([this, seconds] {
            int client = accept(listener, nullptr, nullptr);
            std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
            close(client);
        });
    }
    ~LateServer() {
        server.join();
        close(listener);
    }

private:
    int listener = -1;
    std::thread server;
};

}  // namespace

// A 200-point item at x = 40 and a still enemy at x = 100 on the bottom
// floor: walking right collects the one, then runs into the other.
TEST(Sounds, EachEventSoundsInTheFrameItHappensAndQuietFramesAskForNothing) {
    TempDataRoot data;
    std::string level = "1\n100 0 0 -16 40 0 16 data\\e.tga\n0\n1\n40 0 0 12 12 0 data\\i.tga 0 0 %s 0 -1 200\n";
    writeBytes(data.file("level0.lvl.txt"), {level.begin(), level.end()});
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    play.runFrames(5);
    EXPECT_TRUE(soundsOfTheFrame().empty());
    play.press(key::m);  // sound off and on again, on the title: asks for no effect
    play.runFrame();
    EXPECT_FALSE(soundIsOn());
    play.release(key::m);
    play.press(key::m);
    play.runFrame();
    EXPECT_TRUE(soundIsOn());
    EXPECT_TRUE(soundsOfTheFrame().empty());

    play.press(key::space);
    play.runFrame();
    EXPECT_EQ(soundsOfTheFrame(), std::vector<Sound>{Sound::start});
    play.press(key::f2);
    play.runFrame();
    EXPECT_EQ(soundsOfTheFrame(), std::vector<Sound>{Sound::mirror});

    play.press(key::right);
    std::vector<Sound> heard;
    for (int frame = 0; frame < 120 && game.livesCounter->value() == startLives; ++frame) {
        double score = game.scoreCounter->value();
        play.runFrame();
        std::vector<Sound> sounds = soundsOfTheFrame();
        bool scored = game.scoreCounter->value() > score, hit = game.livesCounter->value() < startLives;
        if (scored) EXPECT_EQ(sounds, std::vector<Sound>{Sound::item3});
        if (hit) EXPECT_EQ(sounds, std::vector<Sound>{Sound::hit});
        if (!scored && !hit) EXPECT_TRUE(sounds.empty()) << "frame " << frame;
        heard.insert(heard.end(), sounds.begin(), sounds.end());
    }
    EXPECT_EQ(heard, (std::vector<Sound>{Sound::item3, Sound::hit}));
}

// The device opens on a thread of its own. Here the first driver asked for,
// PulseAudio's, waits 3 s on a server that never answers and gives up; SDL's
// dummy driver, next in the list, then opens. The game says once that the
// sound system keeps it waiting, plays on silently (SPACE meanwhile is not
// played later), then takes the device over and says the sound is on.
TEST(Sounds, ASoundSystemThatAnswersLateIsToldOnceThenTakenOver) {
    TempDataRoot data;
    for (const char* name : {"start", "item1", "item2", "item3", "item4", "climb", "exit", "hit", "gameover", "mirror"})
        writeBytes(data.file(std::string("sfx-") + name + ".wav"), toneWav());
    LateServer server(data.root, 3.0);  // 1.5 s past the game's wait: room for a loaded machine
    setenv("SDL_AUDIODRIVER", "pulseaudio,dummy", 1);
    setenv("PULSE_SERVER", ("unix:" + server.path).c_str(), 1);
    std::FILE* messages = std::tmpfile();
    wantSound(messages);
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    play.runFrames(2);
    play.press(key::space);
    play.runFrame();
    EXPECT_EQ(soundsOfTheFrame(), std::vector<Sound>{Sound::start});
    uint64_t since = platform::wallMilliseconds();
    while (!platform::audioIsOpen() && platform::wallMilliseconds() - since < 20000) {
        play.runFrame();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(platform::audioIsOpen()) << capturedText(messages);
    EXPECT_EQ(Mix_Playing(-1), 0);
    std::string said = capturedText(messages);
    EXPECT_TRUE(std::regex_match(said, std::regex("vantrel: the sound system has not answered in 1.5 s; the game "
                                                  "plays on silently\nvantrel: the sound system answered after "
                                                  "[0-9.]+ s; the sound is on\n")))
        << said;
    play.press(key::f2);
    play.runFrame();
    EXPECT_EQ(Mix_Playing(int(Sound::mirror)), 1);
    stopSound();
    EXPECT_FALSE(platform::audioIsOpen());
}

// The shipped effects as SDL's WAV loader (the mixer's, on every target)
// decodes them: 16-bit mono at 22050 Hz, not silent, and whole, as long as
// the count of samples their tool wrote beside them. SDL drops a last ADPCM
// block cut short, which would clip the end of an effect.
TEST(Sounds, TheShippedEffectsLoadWhole) {
    for (const char* name : {"start", "item1", "item2", "item3", "item4", "climb", "exit", "hit", "gameover", "mirror"}) {
        std::string path = std::string(VANTREL_SOURCE_DIR) + "/data/sfx-" + name + ".wav";
        std::vector<uint8_t> file = readBytes(path);
        auto le32 = [&](size_t at) { return uint32_t(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24); };
        uint32_t made = 0;
        for (size_t at = 12; at + 12 <= file.size(); at += 8 + ((le32(at + 4) + 1) & ~1u))
            if (std::string(file.begin() + at, file.begin() + at + 4) == "fact") made = le32(at + 8);
        EXPECT_GT(made, 0u) << path << " says not how many samples it holds";
        SDL_AudioSpec loaded;
        Uint8* samples = nullptr;
        Uint32 bytes = 0;
        ASSERT_NE(SDL_LoadWAV(path.c_str(), &loaded, &samples, &bytes), nullptr) << path << ": " << SDL_GetError();
        EXPECT_EQ(loaded.format, AUDIO_S16LSB) << path;
        EXPECT_EQ(loaded.channels, 1) << path;
        EXPECT_EQ(loaded.freq, 22050) << path;
        EXPECT_GE(bytes / 2, made) << path;
        bool heard = false;
        for (Uint32 i = 0; i < bytes; ++i) heard = heard || samples[i] != 0;
        EXPECT_TRUE(heard) << path;
        SDL_FreeWAV(samples);
    }
}
