#include "runtime/OleColor.h"

#include <gtest/gtest.h>

using namespace runtime;

namespace {

struct TranslateCase {
    const char *name;
    OleColor input;
    long result;
    gdi::ColorRef rgb;
};

class OleTranslateColorTest : public ::testing::TestWithParam<TranslateCase> {};

TEST_P(OleTranslateColorTest, TranslatesOrFails)
{
    const TranslateCase &c = GetParam();
    gdi::ColorRef rgb = 0x12345678;
    EXPECT_EQ(OleTranslateColor(c.input, 0, &rgb), c.result);
    // A failure leaves the output alone.
    EXPECT_EQ(rgb, c.result == S_OK ? c.rgb : 0x12345678u);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, OleTranslateColorTest,
    ::testing::Values(TranslateCase{"PlainColourUnchanged", 0x00F7B8F8, S_OK, 0x00F7B8F8},
                      TranslateCase{"Black", 0x00000000, S_OK, 0},
                      TranslateCase{"WindowBackground", 0x80000005, S_OK, gdi::rgb(255, 255, 255)},
                      TranslateCase{"ButtonFace", 0x8000000F, S_OK, gdi::rgb(240, 240, 240)},
                      TranslateCase{"ButtonText", 0x80000012, S_OK, 0},
                      TranslateCase{"Highlight", 0x8000000D, S_OK, gdi::rgb(0, 120, 215)},
                      TranslateCase{"MenuBarIsTheLastIndex", 0x8000001E, S_OK, gdi::rgb(240, 240, 240)},
                      TranslateCase{"IndexPastTheTable", 0x8000001F, E_INVALIDARG, 0},
                      TranslateCase{"IndexInHigherBits", 0x80010005, E_INVALIDARG, 0},
                      TranslateCase{"PaletteIndexWithoutPalette", 0x01000003, E_INVALIDARG, 0},
                      TranslateCase{"PaletteRelativeRgb", 0x02123456, S_OK, 0x00123456},
                      TranslateCase{"OtherHighByte", 0xFF000000, E_INVALIDARG, 0}),
    [](const ::testing::TestParamInfo<TranslateCase> &info) { return std::string(info.param.name); });

TEST(OleColor, NullOutputStillAnswers)
{
    EXPECT_EQ(OleTranslateColor(0x80000005, 0, nullptr), S_OK);
    EXPECT_EQ(OleTranslateColor(0x80000040, 0, nullptr), E_INVALIDARG);
}

TEST(OleColor, SysColorOutsideTableIsBlack)
{
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(31), 0u);
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), gdi::rgb(255, 255, 225));
}

TEST(OleColor, UntranslatableDrawsBlack)
{
    EXPECT_EQ(TranslateOrBlack(0x80000099), 0u);
    EXPECT_EQ(TranslateOrBlack(0x80000005), gdi::rgb(255, 255, 255));
}

}
