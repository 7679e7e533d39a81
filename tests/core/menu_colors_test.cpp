#include "core/menu_colors.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "color_test_support.h"

namespace quillory {
namespace {

using test::Grey;
using test::ScopedSysColors;

// Answers 0x00102030 for button face and the index itself, as a red value, otherwise.
Color TestSysColor(int index) {
    return index == 15 ? 0x00102030u : MakeColor(index, 0, 0);
}

TEST(SystemColors, DefaultSchemeAndReferences) {
    EXPECT_EQ(ResolveColor(clBtnFace), 0xC0C0C0u);
    EXPECT_EQ(ResolveColor(clHighlight), clNavy);
    EXPECT_EQ(ResolveColor(clBtnShadow), 0x808080u);
    EXPECT_EQ(ResolveColor(clBtnHighlight), clWhite);
    EXPECT_EQ(ResolveColor(clMenuText), clBlack);
    EXPECT_EQ(ResolveColor(SysColorRef(200)), clBlack);
    // Only 0xFF0000nn is a reference; other values pass unchanged.
    EXPECT_EQ(ResolveColor(clSkyBlue), clSkyBlue);
    EXPECT_EQ(ResolveColor(0x1FFFFFFFu), 0x1FFFFFFFu);
    EXPECT_EQ(ResolveColor(0xFF01000Fu), 0xFF01000Fu);
}

TEST(SystemColors, ReplaceableLookupThatEveryHelperUses) {
    {
        ScopedSysColors sys(&TestSysColor);
        EXPECT_EQ(ResolveColor(clBtnFace), 0x00102030u);
        EXPECT_EQ(ResolveColor(clInactiveCaption), MakeColor(3, 0, 0));
        EXPECT_EQ(ResolveColor(SysColorRef(0xAB)), MakeColor(0xAB, 0, 0));
        // Every helper resolves first.
        EXPECT_EQ(DarkenColor(clBtnFace, 0), MakeColor(0x30, 0x22, 0x10));
        EXPECT_EQ(LightenColor(clBtnFace, 0), 0x00102030u);
        EXPECT_EQ(LightenColor(clBtnFace, 100), clWhite);
        EXPECT_EQ(GrayLevelColor(clBtnFace, 0), Grey(0x20));
        EXPECT_EQ(AverageColors({clBtnFace}), 0x00102030u);
        EXPECT_EQ(AverageColors({clBtnFace, clBtnFace}), MakeColor(0x30, 0x20, 0x10));
    }
    EXPECT_EQ(ResolveColor(clBtnFace), 0xC0C0C0u);
}

TEST(DarkenColor, SubtractsWithGreenBiasAndClamps) {
    EXPECT_EQ(DarkenColor(clWhite, 100), MakeColor(155, 157, 155));
    EXPECT_EQ(DarkenColor(clBlack, 1), MakeColor(0, 1, 0));
    EXPECT_EQ(DarkenColor(clBlack, 2), clBlack);
    EXPECT_EQ(DarkenColor(clBlack, 300), clBlack);
    EXPECT_EQ(DarkenColor(clWhite, -50), clWhite);
    EXPECT_EQ(DarkenColor(MakeColor(10, 254, 200), 0), MakeColor(10, 255, 200));
    EXPECT_EQ(DarkenColor(0x00112233u, 0x11), MakeColor(0x22, 0x13, 0x00));
}

TEST(LightenColor, CapsAndEnds) {
    EXPECT_EQ(LightenColor(clSkyBlue, 0), clSkyBlue);
    EXPECT_EQ(LightenColor(clNavy, 100), clWhite);
    EXPECT_EQ(LightenColor(clNavy, 150), LightenColor(clNavy, 100));
    for (int p : {0, 1, 33, 77, 100, 1000}) {
        EXPECT_EQ(RedOf(LightenColor(MakeColor(255, 0, 0), p)), 255) << p;
    }
}

TEST(LightenColor, TiesGoToEvenAlsoBelowZeroPercent) {
    EXPECT_EQ(LightenColor(clBlack, 50), Grey(128));    // 127.5
    EXPECT_EQ(LightenColor(Grey(254), 50), Grey(254));  // 0.5
    EXPECT_EQ(LightenColor(Grey(250), 10), Grey(250));  // 0.5
    EXPECT_EQ(LightenColor(Grey(240), 10), Grey(242));  // 1.5
    EXPECT_EQ(LightenColor(Grey(230), 10), Grey(232));  // 2.5
    EXPECT_EQ(LightenColor(MakeColor(0, 1, 3), 50), MakeColor(128, 128, 129));
    // A negative percentage darkens and stays in range.
    EXPECT_EQ(LightenColor(MakeColor(0, 10, 200), -100), MakeColor(0, 0, 145));
    EXPECT_EQ(LightenColor(Grey(200), -50), Grey(172));  // 200 - 27.5 to even
}

TEST(LightenColor, ProductRoundsInExtendedPrecision) {
    if (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "long double is not the 80-bit extended format here";
    }
    // Percent / 100 is inexact; in extended precision these products land
    // just off the half where double precision (or exact arithmetic) differs.
    EXPECT_EQ(LightenColor(Grey(65), 15), Grey(65 + 29));    // 28.5000...017
    EXPECT_EQ(LightenColor(Grey(105), 21), Grey(105 + 31));  // 31.4999...98
    EXPECT_EQ(LightenColor(Grey(105), 7), Grey(105 + 10));   // double gives 11
    EXPECT_EQ(LightenColor(Grey(60), 30), Grey(60 + 59));
}

TEST(AverageColors, DividesEachColourBeforeSumming) {
    EXPECT_EQ(AverageColors({clSkyBlue}), clSkyBlue);
    EXPECT_EQ(AverageColors({MakeColor(255, 0, 0), MakeColor(0, 0, 255)}), MakeColor(127, 0, 127));
    EXPECT_EQ(AverageColors({Grey(10), Grey(10), Grey(11)}), Grey(9));  // mean 10.3
    EXPECT_EQ(AverageColors({clWhite, clWhite, clWhite}), Grey(255));
    const std::vector<Color> none;
    EXPECT_EQ(AverageColors(none), clBlack);
    const std::vector<Color> four = {clWhite, clBlack, clMoneyGreen, clNavy};
    EXPECT_EQ(AverageColors(four), MakeColor(63 + 48, 63 + 55, 63 + 48 + 32));
}

TEST(GrayLevelColor, MeanPlusLevelCappedAt240) {
    EXPECT_EQ(GrayLevelColor(clWhite, 10), Grey(240));
    EXPECT_EQ(GrayLevelColor(clBlack, 10), Grey(10));
    EXPECT_EQ(GrayLevelColor(MakeColor(10, 20, 31), 5), Grey(25));  // 61 / 3 = 20
    EXPECT_EQ(GrayLevelColor(Grey(100), 0), Grey(100));
    EXPECT_EQ(GrayLevelColor(clBlack, -10), clBlack);
}

}  // namespace
}  // namespace quillory
