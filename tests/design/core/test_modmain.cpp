#include "core/ModMain.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TextCase {
    const char *name;
    QString input;
    QString expected;
};

std::string caseName(const ::testing::TestParamInfo<TextCase> &info)
{
    return info.param.name;
}

class TrimNullCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(TrimNullCases, CutsAtTheFirstNul)
{
    EXPECT_EQ(ModMain::TrimNull(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(, TrimNullCases,
                         ::testing::Values(TextCase{"NoNul", QStringLiteral("abc"), QStringLiteral("abc")},
                                           TextCase{"Empty", QString(), QString()},
                                           TextCase{"LeadingNul", QStringView(u"\0abc", 4).toString(), QString()},
                                           TextCase{"Middle", QStringView(u"ab\0cd\0", 6).toString(), QStringLiteral("ab")},
                                           TextCase{"BufferTail", QStringLiteral("C:\\x") + QString(10, QChar(0)), QStringLiteral("C:\\x")}),
                         caseName);

class NormalizeSpacesCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(NormalizeSpacesCases, CollapsesAndTrimsSpaces)
{
    EXPECT_EQ(ModMain::NormalizeSpaces(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    , NormalizeSpacesCases,
    ::testing::Values(TextCase{"ThreeSpaces", QStringLiteral("Intel   Corp"), QStringLiteral("Intel Corp")},
                      TextCase{"SpacesOnly", QStringLiteral("     "), QString()},
                      TextCase{"Empty", QString(), QString()},
                      TextCase{"TabsAndNoBreakSpaces", QString::fromUtf16(u"\tUSB\u00A0\u00A0 Hub\t"), QStringLiteral("USB Hub")},
                      TextCase{"OddRun", QStringLiteral("a       b"), QStringLiteral("a b")},
                      TextCase{"OtherWhitespaceKept", QStringLiteral(" a\r\nb "), QStringLiteral("a\r\nb")},
                      TextCase{"Unchanged", QStringLiteral("Virtio network device"), QStringLiteral("Virtio network device")}),
    caseName);

struct SizeCase {
    const char *name;
    double bytes;
    const char *expected;   // with "." standing for the system's decimal separator
};

class FormatByteSizeCases : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FormatByteSizeCases, PicksTheUnitByTheInclusiveRanges)
{
    QString expected = QString::fromLatin1(GetParam().expected);
    expected.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
    EXPECT_EQ(ModMain::FormatByteSize(GetParam().bytes), expected);
}

INSTANTIATE_TEST_SUITE_P(, FormatByteSizeCases,
                         ::testing::Values(SizeCase{"Zero", 0, "0 Bytes"}, SizeCase{"LastByte", 1023, "1023 Bytes"},
                                           SizeCase{"FirstKilobyte", 1024, "1.00 KB"},
                                           SizeCase{"OneMegabyteIsStillKilobytes", 1048576, "1024.00 KB"},
                                           SizeCase{"JustAboveOneMegabyte", 1048577, "1.00 MB"},
                                           SizeCase{"BetweenTheRanges", 1023.5, "0.00 MB"},
                                           SizeCase{"Negative", -2097152, "-2.00 MB"},
                                           SizeCase{"Rounded", 1536, "1.50 KB"},
                                           SizeCase{"LargeHasNoGrouping", 5e9, "4768.37 MB"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ModMain, DeleteFilePathRemovesAndIgnoresMissingFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hwids.7z"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ModMain::DeleteFilePath(path);
    EXPECT_FALSE(QFile::exists(path));
    ModMain::DeleteFilePath(path);
    ModMain::DeleteFilePath(QString());
}

TEST(ModMain, DeleteFilePathTakesThePathAsTheProgramWritesIt)
{
    QTemporaryDir dir;
    for (const QString &written : {QStringLiteral("\\hwids.7z"), QStringLiteral("\\HWIDS.7Z")}) {
        const QString path = dir.filePath(QStringLiteral("hwids.7z"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        ModMain::DeleteFilePath(dir.path() + written);
        EXPECT_FALSE(QFile::exists(path)) << written.toStdString();
    }
}

TEST(ModMain, MenuTargetForgetsAWindowThatIsGone)
{
    auto window = std::make_unique<QWidget>();
    ModMain::SetMenuTarget(window.get());
    EXPECT_EQ(ModMain::MenuTargetForm.data(), window.get());
    window.reset();
    EXPECT_TRUE(ModMain::MenuTargetForm.isNull());
}

}
