#include "bench/full_level.h"
#include "platform/paths.h"
#include <GL/gl.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

std::string fullCapacityLevel(int variant) {
    const char* enemyPictures[] = {"enemy1", "enemy2", "enemy3", "enemy4"};
    std::string text = "20\n";
    for (int i = 0; i < 20; ++i) {
        double x = 20 + i * 14 + variant, speed = 0.02 + 0.002 * i;
        text += std::to_string(x) + " " + std::to_string(30 + i * 6) + " 0 10 170 " + std::to_string(speed) +
                " 12 data\\" + enemyPictures[i % 4] + ".tga\n";
    }
    // Stairs and items stand on floors 1 to 10, enemies stay above y = 22:
    // the player walks the bottom floor for ever, meeting nothing, so every
    // frame draws the same.
    text += "24\n";
    for (int i = 0; i < 24; ++i) {
        int floor = 1 + i % 10, x = 40 + (i * 53 + variant) % 240;
        text += std::to_string(x) + " " + std::to_string(floor * 16) + " 0 24 16 0 " + (i == 23 ? "4" : "1") + "\n";
    }
    text += "24\n";
    for (int i = 0; i < 24; ++i) {
        int floor = 1 + i % 10, x = 10 + (i * 37 + variant) % 290;
        std::string where = std::to_string(x) + " " + std::to_string(floor * 16 + 2) + " 0 12 12 0 ";
        if (i % 2 == 0)
            text += where + "data\\gem 1 8 %s%02d.tga 80 -1 100\n";
        else
            text += where + (i % 4 == 1 ? "data\\coin.tga" : "data\\cherry.tga") + " 0 0 %s 0 -1 50\n";
    }
    return text;
}

std::string makeFullCapacityData(const std::string& sourceDir) {
    char pattern[] = "/tmp/vantrel-bench-XXXXXX";
    std::string root = mkdtemp(pattern);
    fs::create_directory(root + "/data");
    for (const auto& entry : fs::directory_iterator(sourceDir + "/data"))
        fs::create_symlink(entry.path(), root + "/data/" + entry.path().filename().string());
    for (int n = 0; n < 2; ++n) {
        std::string name = root + "/data/level" + std::to_string(n) + ".lvl.txt";
        fs::remove(name);
        std::ofstream(name) << fullCapacityLevel(n);
    }
    platform::setDataRoot(root);
    return root;
}

void removeFullCapacityData(const std::string& root) {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

long residentKiB() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int glTextureObjects() {
    // Names only grow, so every texture there is lies below a fresh one.
    GLuint probe = 0;
    glGenTextures(1, &probe);
    int n = 0;
    for (GLuint name = 1; name < probe; ++name) n += glIsTexture(name) ? 1 : 0;
    glDeleteTextures(1, &probe);
    return n;
}
