#include "core/ModErrorCodes.h"

#include <QList>

#include <gtest/gtest.h>

namespace {

struct CodeCase {
    const char *name;
    QString code;
    QString expected;
};

class DescribeErrorCodeCases : public ::testing::TestWithParam<CodeCase> {};

TEST_P(DescribeErrorCodeCases, EchoesTheCodeWithItsText)
{
    EXPECT_EQ(ModErrorCodes::DescribeErrorCode(GetParam().code), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    , DescribeErrorCodeCases,
    ::testing::Values(
        CodeCase{"Ok", QStringLiteral("0"), QStringLiteral("(0) OK")},
        CodeCase{"NoDriver", QStringLiteral("28"), QStringLiteral("(28) Drivers are not installed")},
        CodeCase{"Waiting", QStringLiteral("51"), QStringLiteral("(51) Currently waiting on another device or set of devices to start")},
        CodeCase{"Signature", QStringLiteral("52"),
                 QStringLiteral("(52) Windows cannot verify the digital signature for the drivers required for this device")},
        CodeCase{"Gap", QStringLiteral("2"), QStringLiteral("(2) Unknown Error")},
        CodeCase{"AboveTable", QStringLiteral("53"), QStringLiteral("(53) Unknown Error")},
        CodeCase{"LeadingZero", QStringLiteral("028"), QStringLiteral("(028) Unknown Error")},
        CodeCase{"LeadingSpace", QStringLiteral(" 28"), QStringLiteral("( 28) Unknown Error")},
        CodeCase{"Empty", QString(), QStringLiteral("() Unknown Error")},
        CodeCase{"NotANumber", QStringLiteral("abc"), QStringLiteral("(abc) Unknown Error")},
        CodeCase{"Negative", QStringLiteral("-1"), QStringLiteral("(-1) Unknown Error")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DescribeErrorCode, KnowsExactlyTheThirtySevenCodes)
{
    const QList<int> known{0, 1, 3, 9, 10, 12, 14, 16, 18, 19, 21, 22, 24, 28, 29, 31, 32, 33, 34,
                           35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52};
    for (int code = 0; code <= 60; ++code) {
        const bool unknown = ModErrorCodes::DescribeErrorCode(QString::number(code)).endsWith(QLatin1String(") Unknown Error"));
        EXPECT_EQ(unknown, !known.contains(code)) << code;
    }
}

}
