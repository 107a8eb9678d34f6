#include "update/VersionCheck.h"

#include <gtest/gtest.h>

namespace {

using namespace VersionCheck;

struct Comparison {
    const char *name;
    const char *online;
    const char *local;
    bool upToDate;
};

class VersionComparison : public testing::TestWithParam<Comparison> {};

TEST_P(VersionComparison, SetsTheUpToDateFlag)
{
    const Comparison &row = GetParam();
    EXPECT_EQ(IsUpToDate(QString::fromUtf8(row.online), QString::fromUtf8(row.local)), row.upToDate)
        << row.online << " against " << row.local;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VersionComparison,
    testing::Values(
        Comparison{"Equal", "1.2.3", "1.2.3", true},
        Comparison{"ThirdFieldPaddedBeforeComparing", "1.2.10", "1.2.9", false},
        Comparison{"DecidedInSecondField", "1.10.0", "1.9.99", false},
        Comparison{"LocalHigherInFirstField", "2.0.0", "10.0.0", true},
        Comparison{"SixDigitsSortBeforeFive", "1.2.100000", "1.2.99999", true},
        Comparison{"NewerBeforeMissingThirdField", "1.3", "1.2.7", false},
        Comparison{"OnlineMissingThirdField", "1.2", "1.2.7", true},
        Comparison{"LocalMissingThirdField", "1.2.7", "1.2", true},
        Comparison{"LocalEmptyHasNoFields", "9.9.9", "", true},
        Comparison{"LocalOneField", "2.0.0", "1", false},
        Comparison{"OnlineHigherFirstField", "2", "1.5.5", false},
        Comparison{"FourthFieldIgnored", "1.2.3.9", "1.2.3.1", true},
        Comparison{"NotANumberSortsAfterDigits", "abc", "1.2.3", false},
        Comparison{"OlderOnline", "1.2.2", "1.2.3", true},
        Comparison{"LeadingZerosSameNumber", "01.002.3", "1.2.3", true},
        Comparison{"TrailingLineBreakStillANumber", "1.2.3\r\n", "1.2.3", true},
        Comparison{"TrailingLineBreakNewer", "1.2.4\n", "1.2.3", false},
        Comparison{"DatabaseDateVersion", "20261210", "20261209", false}),
    [](const testing::TestParamInfo<Comparison> &info) { return std::string(info.param.name); });

TEST(VersionField, PadsNumbersToFiveDigitsAndLeavesTheRest)
{
    EXPECT_EQ(PaddedField("3"), "00003");
    EXPECT_EQ(PaddedField("12"), "00012");
    EXPECT_EQ(PaddedField("0"), "00000");
    EXPECT_EQ(PaddedField("12345"), "12345");
    EXPECT_EQ(PaddedField("123456"), "123456");
    EXPECT_EQ(PaddedField("0000123456"), "123456");
    EXPECT_EQ(PaddedField("abc"), "abc");
    EXPECT_EQ(PaddedField("3a"), "3a");
    EXPECT_EQ(PaddedField(""), "");
    EXPECT_EQ(PaddedField("-3"), "-3");
}

TEST(VersionValidity, AcceptsTextsShorterThanTheLimit)
{
    EXPECT_FALSE(IsValidOnlineVersion("", ProgramVersionLimit));
    EXPECT_TRUE(IsValidOnlineVersion("1.2.34567", ProgramVersionLimit));   // 9 characters
    EXPECT_FALSE(IsValidOnlineVersion("1.2.345678", ProgramVersionLimit)); // 10
    EXPECT_TRUE(IsValidOnlineVersion("1.2.34567890ab", DatabaseVersionLimit));   // 14
    EXPECT_FALSE(IsValidOnlineVersion("1.2.34567890abc", DatabaseVersionLimit)); // 15
    EXPECT_TRUE(IsValidOnlineVersion("1.2.3\r\n", ProgramVersionLimit));
    EXPECT_FALSE(IsValidOnlineVersion("1.2.100000", ProgramVersionLimit));
    EXPECT_TRUE(IsValidOnlineVersion("1.2.100000", DatabaseVersionLimit));
    EXPECT_FALSE(IsValidOnlineVersion("<html><body>404</body></html>", DatabaseVersionLimit));
}

TEST(LocalDatabaseVersion, TakesTheTrimmedTextAfterTheFirstColon)
{
    EXPECT_EQ(LocalDatabaseVersion("Database Version: 1.2.3"), "1.2.3");
    EXPECT_EQ(LocalDatabaseVersion("Database Version:   7  "), "7");
    EXPECT_EQ(LocalDatabaseVersion("Database Version: "), "");
    EXPECT_EQ(LocalDatabaseVersion("Database Version:"), "");
    EXPECT_EQ(LocalDatabaseVersion("Database Version"), "");
    EXPECT_EQ(LocalDatabaseVersion("Database Version: 1:2"), "1");
    EXPECT_EQ(LocalDatabaseVersion(""), "");
}

TEST(LocalDatabaseVersion, UnreadableCaptionCountsAsUpToDate)
{
    EXPECT_TRUE(IsUpToDate("99.0.0", LocalDatabaseVersion("Database Version")));
    EXPECT_TRUE(IsUpToDate("99.0.0", LocalDatabaseVersion("Database Version: ")));
}

} // namespace
