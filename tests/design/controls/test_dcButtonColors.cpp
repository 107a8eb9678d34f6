#include "controls/ColorMath.h"
#include "controls/dcButtonColors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using ColorMath::Color;

TEST(ColorMath, RoundsHalvesToEven)
{
    EXPECT_EQ(ColorMath::roundHalfEven(0.5), 0);
    EXPECT_EQ(ColorMath::roundHalfEven(1.5), 2);
    EXPECT_EQ(ColorMath::roundHalfEven(2.5), 2);
    EXPECT_EQ(ColorMath::roundHalfEven(-0.5), 0);
    EXPECT_EQ(ColorMath::roundHalfEven(-1.5), -2);
    EXPECT_EQ(ColorMath::roundHalfEven(-2.5), -2);
    EXPECT_EQ(ColorMath::roundHalfEven(2.5000001), 3);
    EXPECT_EQ(ColorMath::roundHalfEven(-25.50000038), -26);
}

TEST(ColorMath, RoundingSaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(ColorMath::roundHalfEven(1e30), std::numeric_limits<int>::max());
    EXPECT_EQ(ColorMath::roundHalfEven(-1e30), std::numeric_limits<int>::min());
    EXPECT_EQ(ColorMath::roundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ColorMath, SplitsAndJoinsChannelsInBgrOrder)
{
    const Color c = 0x123456;
    EXPECT_EQ(ColorMath::red(c), 0x56);
    EXPECT_EQ(ColorMath::green(c), 0x34);
    EXPECT_EQ(ColorMath::blue(c), 0x12);
    EXPECT_EQ(ColorMath::rgb(0x56, 0x34, 0x12), c);
    EXPECT_EQ(ColorMath::rgb(-4, 300, 255), 0xFF'FF'00u);
    EXPECT_EQ(ColorMath::red(0xFF000000u | c), 0x56) << "bits above blue are ignored";
}

TEST(ColorMath, ShiftUsesSinglePrecisionAmounts)
{
    // -0.1f * 255 is -25.50000038: one past the half, so every channel loses 26.
    EXPECT_EQ(ColorMath::shift(0x808080, -0.1f), 0x666666u);
    EXPECT_EQ(ColorMath::shift(0x0A0A0A, -0.1f), 0u);
    EXPECT_EQ(ColorMath::shift(0x808080, 0.2f), 0xB3B3B3u);
    EXPECT_EQ(ColorMath::shift(0xF0F0F0, 0.2f), 0xFFFFFFu);
    EXPECT_EQ(ColorMath::shift(0x00FF10, 0.1f), 0x1AFF2Au);
}

TEST(ColorMath, BlendRoundsEachChannel)
{
    EXPECT_EQ(ColorMath::blend(0x404040, 0x808080, 0.5f), 0x606060u);
    // 0x41 + 0.5 * (0x80 - 0x41) = 96.5 rounds to 96; 0x43 -> 97.5 rounds to 98.
    EXPECT_EQ(ColorMath::blend(0x434341, 0x808080, 0.5f), 0x626260u);
    EXPECT_EQ(ColorMath::blend(0x000000, 0xFFFFFF, 0.0f), 0u);
    EXPECT_EQ(ColorMath::blend(0x000000, 0xFFFFFF, 1.0f), 0xFFFFFFu);
}

TEST(dcButtonColors, DerivesStateColoursFromTheDefaultScheme)
{
    const auto c = dcButtonColors::derive(0x808080, 0x404040, 0xFFFFFF, 0xC0C0C0);
    EXPECT_EQ(c.FaceColor, 0x808080u);
    EXPECT_EQ(c.FaceTopColor, 0x404040u);
    EXPECT_EQ(c.TextColor, 0xFFFFFFu);
    EXPECT_EQ(c.MaskKeyColor, 0xC0C0C0u);
    EXPECT_EQ(c.DownBackColor, 0x666666u);
    EXPECT_EQ(c.HotBackColor, 0xB3B3B3u);
    EXPECT_EQ(c.DisabledBackColor, 0xE6E6E6u);
    EXPECT_EQ(c.DisabledTextColor, 0xFFFFFFu);
    EXPECT_EQ(c.BorderColor, 0u);
}

TEST(dcButtonColors, ClampsChannelsAtTheEnds)
{
    const auto c = dcButtonColors::derive(0xF0800A, 0, 0x000000, 0);
    EXPECT_EQ(c.DownBackColor, 0xD66600u);
    EXPECT_EQ(c.HotBackColor, 0xFFB33Du);
    // Black text fades to 0.6 of the way to white: 255 * 0.600000024 = 153.000006.
    EXPECT_EQ(c.DisabledTextColor, 0x999999u);
}

TEST(dcButtonColors, OverrideReplacesOneSlotByIndex)
{
    struct Row {
        int index;
        Color dcButtonColors::*slot;
    };
    const Row rows[] = {
        {0, &dcButtonColors::DownBackColor},     {1, &dcButtonColors::BorderColor},
        {2, &dcButtonColors::DisabledBackColor}, {3, &dcButtonColors::DisabledTextColor},
        {4, &dcButtonColors::HotBackColor},      {5, &dcButtonColors::FaceTopColor},
    };
    for (const Row &row : rows) {
        auto c = dcButtonColors::derive(0x808080, 0x404040, 0xFFFFFF, 0xC0C0C0);
        const auto before = c;
        ASSERT_TRUE(c.override(row.index, 0x010203)) << row.index;
        EXPECT_EQ(c.*row.slot, 0x010203u) << row.index;
        c.*row.slot = before.*row.slot;
        EXPECT_EQ(std::memcmp(&c, &before, sizeof c), 0) << "only slot " << row.index << " changes";
    }
}

TEST(dcButtonColors, OverrideRejectsOtherIndices)
{
    for (int index : {-1, 6, 100}) {
        auto c = dcButtonColors::derive(0x808080, 0x404040, 0xFFFFFF, 0xC0C0C0);
        const auto before = c;
        EXPECT_FALSE(c.override(index, 0x010203));
        EXPECT_EQ(std::memcmp(&c, &before, sizeof c), 0);
    }
}
