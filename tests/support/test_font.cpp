#include "support/test_font.h"
#include "support/gl_window.h"

void writeCellColourFont(const TempDataRoot& data) {
    Pixels px(size_t(256) * 256 * 3);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            uint8_t* p = &px[size_t(y * 256 + x) * 3];
            p[0] = uint8_t((x / 16) * 16);
            p[1] = uint8_t((y / 16) * 16);
            p[2] = (y % 16) >= 8 ? 255 : 0;
        }
    writeTga(data.file("fontgray.jpg"), 256, 256, 3, px);
}

std::string readText(double x, double y, int count, std::function<Pixel(double, double)> pixelAt) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        Pixel low = pixelAt(x + 16 * i + 8, y + 4), high = pixelAt(x + 16 * i + 8, y + 12);
        bool looksLikeACell = low.r > 128 && high.r < 128 && low.b == high.b && low.g == high.g;
        text += looksLikeACell ? char((low.g / 16) * 16 + low.b / 16) : '?';
    }
    return text;
}
