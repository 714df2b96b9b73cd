// Decoding picture files into tight rows of BGR or BGRA pixels, top row first,
// and refusing broken files.
#include "platform/picture.h"
#include "support/pictures.h"
#include <gtest/gtest.h>

using platform::Picture;

namespace {

// A 3 x 2 picture: top row red, green, blue; bottom row white, black, grey.
// An odd width, so rows of 9 bytes show whether padding was dropped.
const Pixels sixColours = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 0, 128, 128, 128};

class Pictures : public testing::Test {
protected:
    TempDataRoot data;
    Picture picture;
};

}  // namespace

TEST_F(Pictures, BothRowOrdersArriveTopRowFirstWithoutPadding) {
    for (RowOrder order : {RowOrder::bottomUp, RowOrder::topDown}) {
        writeTga(data.file("six.tga"), 3, 2, 3, sixColours, order);
        ASSERT_EQ(picture.load("data\\six.tga"), 0);
        EXPECT_EQ(picture.width, 3);
        EXPECT_EQ(picture.height, 2);
        EXPECT_EQ(picture.bytesPerPixel, 3);
        EXPECT_EQ(picture.pixels, sixColours);
    }
}

TEST_F(Pictures, RunLengthEncodedFilesDecodeTheSame) {
    Pixels stripes = solid(5, 1, {10, 20, 30});
    Pixels second = solid(5, 1, {40, 50, 60});
    stripes.insert(stripes.end(), second.begin(), second.end());
    writeTga(data.file("rle.tga"), 5, 2, 3, stripes, RowOrder::bottomUp, true);
    ASSERT_EQ(picture.load("data\\rle.tga"), 0);
    EXPECT_EQ(picture.pixels, stripes);
}

TEST_F(Pictures, AlphaPicturesArriveWithFourBytes) {
    Pixels px = {1, 2, 3, 0, 4, 5, 6, 128, 7, 8, 9, 255, 10, 11, 12, 64};
    writeTga(data.file("alpha.tga"), 2, 2, 4, px);
    ASSERT_EQ(picture.load("data\\alpha.tga"), 0);
    EXPECT_EQ(picture.bytesPerPixel, 4);
    EXPECT_EQ(picture.pixels, px);
}

TEST_F(Pictures, GreyAndColourMappedPicturesArriveWithThreeBytes) {
    writeGreyTga(data.file("grey.tga"), 2, 1, {0, 200});
    ASSERT_EQ(picture.load("data\\grey.tga"), 0);
    EXPECT_EQ(picture.bytesPerPixel, 3);
    EXPECT_EQ(picture.pixels, (Pixels{0, 0, 0, 200, 200, 200}));

    writeMappedTga(data.file("mapped.tga"), 3, 1, {255, 0, 0, 0, 0, 255}, {1, 0, 1});
    ASSERT_EQ(picture.load("data\\mapped.tga"), 0);
    EXPECT_EQ(picture.bytesPerPixel, 3);
    EXPECT_EQ(picture.pixels, (Pixels{0, 0, 255, 255, 0, 0, 0, 0, 255}));
}

TEST_F(Pictures, JpegPicturesArriveAsBlueGreenRed) {
    Pixels top = solid(16, 8, {0, 0, 250}), bottom = solid(16, 8, {250, 0, 0});  // red over blue
    top.insert(top.end(), bottom.begin(), bottom.end());
    writeJpeg(data.file("two.jpg"), 16, 16, top);
    ASSERT_EQ(picture.load("data\\two.jpg"), 0);
    ASSERT_EQ(picture.bytesPerPixel, 3);
    const uint8_t* topLeft = &picture.pixels[0];
    const uint8_t* bottomLeft = &picture.pixels[size_t(15 * 16 * 3)];
    EXPECT_GT(topLeft[2], 200);
    EXPECT_LT(topLeft[0], 50);
    EXPECT_GT(bottomLeft[0], 200);
    EXPECT_LT(bottomLeft[2], 50);
}

TEST_F(Pictures, BrokenFilesAreRefusedAndLeaveThePictureEmpty) {
    writeTga(data.file("good.tga"), 3, 2, 3, sixColours);
    std::vector<uint8_t> good = readBytes(data.file("good.tga"));
    auto variant = [&](auto change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        return bytes;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 18)},
        {"one pixel short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"zero width", variant([](auto& b) { b[12] = b[13] = 0; })},
        {"zero height", variant([](auto& b) { b[14] = b[15] = 0; })},
        {"65535 x 65535", variant([](auto& b) { b[12] = b[13] = b[14] = b[15] = 0xFF; })},
        {"unknown image type", variant([](auto& b) { b[2] = 7; })},
        {"no pixel bits", variant([](auto& b) { b[16] = 0; })},
        {"id longer than the file", variant([](auto& b) { b[0] = 200; })},
        {"colour map longer than the file", variant([](auto& b) { b[1] = 1; b[5] = b[6] = 0xFF; b[7] = 24; })},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!', '!', '!', '!', '!'}},
    };
    for (const Case& c : cases) {
        writeBytes(data.file("bad.tga"), c.bytes);
        picture.load("data\\good.tga");
        EXPECT_EQ(picture.load("data\\bad.tga"), -1) << c.what;
        EXPECT_EQ(picture.width, 0) << c.what;
        EXPECT_TRUE(picture.pixels.empty()) << c.what;
    }
}

TEST_F(Pictures, TruncatedRunLengthDataIsRefused) {
    writeTga(data.file("rle.tga"), 64, 64, 3, solid(64, 64, {1, 2, 3}), RowOrder::bottomUp, true);
    std::vector<uint8_t> bytes = readBytes(data.file("rle.tga"));
    bytes.resize(bytes.size() - 2);
    writeBytes(data.file("rle.tga"), bytes);
    EXPECT_EQ(picture.load("data\\rle.tga"), -1);
}

TEST_F(Pictures, JpegsWithAbsurdSizesOrNoFrameAreRefused) {
    writeJpeg(data.file("ok.jpg"), 8, 8, solid(8, 8, {9, 9, 9}));
    std::vector<uint8_t> jpeg = readBytes(data.file("ok.jpg"));
    // Find the frame header and claim 60000 x 60000 pixels.
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = jpeg[i + 7] = 0xEA;
            jpeg[i + 6] = jpeg[i + 8] = 0x60;
            break;
        }
    writeBytes(data.file("huge.jpg"), jpeg);
    EXPECT_EQ(picture.load("data\\huge.jpg"), -1);
    writeBytes(data.file("bare.jpg"), {0xFF, 0xD8, 0xFF, 0xD9});
    EXPECT_EQ(picture.load("data\\bare.jpg"), -1);
}

TEST_F(Pictures, MissingFilesAndDirectoriesAreRefused) {
    EXPECT_EQ(picture.load("data\\nothing.tga"), -1);
    EXPECT_EQ(picture.load("data"), -1);
    EXPECT_EQ(picture.load(""), -1);
}
