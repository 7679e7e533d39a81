// The PNG reader of the about picture. The streams below were made by zlib;
// what they hold is written out beside them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/png_decode.h"

namespace quillory {
namespace {

using Bytes = std::vector<unsigned char>;

struct ZlibCase {
    const char* Kind;
    Bytes Stream;
    std::string Data;
};

const ZlibCase kZlibCases[] = {
    {"stored", {0x78, 0x01, 0x01, 0x08, 0x00, 0xf7, 0xff, 0x51, 0x75, 0x69, 0x6c, 0x6c, 0x6f, 0x72,
                0x79, 0x0e, 0xaf, 0x03, 0x62},
     "Quillory"},
    {"fixed codes, one copy", {0x78, 0xda, 0x4b, 0x4c, 0x4a, 0x4e, 0x44, 0x45, 0x00, 0x41, 0x7c,
                               0x06, 0xe5},
     "abcabcabcabcabcabc"},
};

TEST(InflateZlib, UnpacksEachKindOfBlockAndRefusesEveryBrokenStream) {
    for (const ZlibCase& c : kZlibCases) {
        SCOPED_TRACE(c.Kind);
        Bytes out;
        ASSERT_TRUE(InflateZlib(c.Stream.data(), c.Stream.size(), 1000, out));
        EXPECT_EQ(std::string(out.begin(), out.end()), c.Data);
        EXPECT_FALSE(InflateZlib(c.Stream.data(), c.Stream.size(), c.Data.size() - 1, out))
            << "more than the limit";
        for (std::size_t size = 0; size < c.Stream.size(); ++size)
            EXPECT_FALSE(InflateZlib(c.Stream.data(), size, 1000, out)) << "cut at " << size;
        Bytes wrongSum = c.Stream;
        wrongSum.back() ^= 1;
        EXPECT_FALSE(InflateZlib(wrongSum.data(), wrongSum.size(), 1000, out));
    }
}

// 2 x 5 pixels, the rows filtered by each of the five filters in turn; the
// last row's second green is a Paeth tie between above and above-left.
const Bytes kFilteredPng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0x08, 0x02, 0x00, 0x00, 0x00, 0xe0,
    0xd1, 0xaa, 0xcb, 0x00, 0x00, 0x00, 0x2c, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x38,
    0x21, 0xa7, 0xc1, 0xf5, 0xab, 0x81, 0x91, 0x81, 0x81, 0xe1, 0xff, 0xff, 0xff, 0x4c, 0x82,
    0x4a, 0xc6, 0xae, 0x61, 0xe9, 0xcc, 0x15, 0xfa, 0xec, 0xf3, 0x77, 0x1c, 0x60, 0x79, 0x2c,
    0xff, 0xf2, 0x27, 0xb3, 0x17, 0x00, 0xd5, 0x5b, 0x0c, 0xf8, 0xac, 0x0d, 0xdd, 0x78, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

TEST(DecodePng, UndoesEveryRowFilterAndRefusesBrokenFiles) {
    PngPicture picture;
    ASSERT_TRUE(DecodePng(kFilteredPng.data(), kFilteredPng.size(), picture));
    EXPECT_EQ(picture.Width, 2);
    EXPECT_EQ(picture.Height, 5);
    EXPECT_EQ(picture.Pixels, (std::vector<std::uint32_t>{0xC81E28, 0x0AFA80, 0x000000, 0xFFFFFF,
                                                          0x112233, 0x445566, 0x804020, 0x010203,
                                                          0x635F09, 0xFA054D}));
    for (std::size_t size = 0; size < kFilteredPng.size(); size += 3)
        EXPECT_FALSE(DecodePng(kFilteredPng.data(), size, picture)) << "cut at " << size;
    EXPECT_TRUE(picture.Pixels.empty());
    for (std::size_t at = 8; at < kFilteredPng.size(); at += 7) {
        Bytes changed = kFilteredPng;
        changed[at] ^= 0x10;  // a chunk's checksum no longer matches
        EXPECT_FALSE(DecodePng(changed.data(), changed.size(), picture)) << "byte " << at;
    }
}

// The about picture itself: dynamic codes; its checksums prove every byte.
TEST(DecodePng, ReadsTheAboutPicture) {
#ifdef _WIN32
    const std::string path = std::string("Z:") + QUILLORY_RES_DIR "/about.png";
#else
    const std::string path = QUILLORY_RES_DIR "/about.png";
#endif
    std::ifstream file(path, std::ios::binary);
    const Bytes png{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    PngPicture picture;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), picture)) << path;
    EXPECT_EQ(picture.Width, 300);
    EXPECT_EQ(picture.Height, 250);
}

}  // namespace
}  // namespace quillory
