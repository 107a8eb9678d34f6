#include "controls/AnchorLayout.h"

#include <gtest/gtest.h>

using namespace AnchorLayout;

TEST(AnchorTag, SplitsFlagsFromTheOrdinaryTag)
{
    struct Row {
        const char *name;
        QString tag;
        QString flags;
        QString rest;
    } rows[] = {
        {"flags and text", "TFFT*/hello", "TFFT", "hello"},
        {"flags only", "FFTT*/", "FFTT", ""},
        {"marker elsewhere still flags", "abcdefg*/x", "abcd", "g*/x"},
        {"short flagged tag keeps its text", "TT*/", "TT*/", "TT*/"},
        {"five characters keep their text", "TTT*/", "TTT*", "TTT*/"},
        {"no marker", "TFFT", "", "TFFT"},
        {"empty", "", "", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const TagFlags split = splitTag(row.tag);
        EXPECT_EQ(split.flags, row.flags);
        EXPECT_EQ(split.tag, row.rest);
    }
}

TEST(AnchorMove, FollowsTheFlags)
{
    const Geometry g{100, 200, 300, 400};
    struct Row {
        const char *flags;
        std::optional<double> top, height, left, width;
    } rows[] = {
        {"TFFT", 250, {}, {}, {}},        // bottom only: moves down
        {"FFTT", 250, {}, 130, {}},       // follows the bottom-right corner
        {"TTTT", {}, 450, {}, 330},       // stretches both ways
        {"FTTF", {}, {}, 130, {}},        // top and right: moves right, keeps its top
        {"TTFF", {}, {}, {}, {}},         // never moves
        {"tftt", {}, {}, {}, {}},         // lower case is not anchored
        {"", {}, {}, {}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.flags);
        const Move m = moveFor(QString::fromLatin1(row.flags), g, 50, 30);
        EXPECT_EQ(m.top, row.top);
        EXPECT_EQ(m.height, row.height);
        EXPECT_EQ(m.left, row.left);
        EXPECT_EQ(m.width, row.width);
    }
}

TEST(AnchorMove, StretchNeverReachesZero)
{
    const Geometry g{0, 0, 300, 400};
    const Move gone = moveFor(QStringLiteral("TTTT"), g, -400, -300);
    EXPECT_FALSE(gone.height);
    EXPECT_FALSE(gone.width);
    const Move one = moveFor(QStringLiteral("TTTT"), g, -399, -299);
    EXPECT_EQ(one.height, 1);
    EXPECT_EQ(one.width, 1);
}

TEST(AnchorMove, MovesAreNotLimited)
{
    const Move m = moveFor(QStringLiteral("FFTT"), Geometry{100, 100, 10, 10}, -500, -500);
    EXPECT_EQ(m.top, -400);
    EXPECT_EQ(m.left, -400);
}
