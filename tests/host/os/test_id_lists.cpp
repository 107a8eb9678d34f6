// The public ID lists' lines, read by the one rule that the scan's names and the database build
// share, and the scan's lookups in a vendor's block.
#include "os/SysfsIds.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char *name;
    const char *text;
    bool isIdLine;
    int depth = 0;
    int id = 0;
    int digits = 4;
    int second = -1;   // -1: none
    const char *idName = "";
};

class IdListLineRead : public testing::TestWithParam<LineCase> {};

TEST_P(IdListLineRead, TakesTheLineAsTheListsWriteIt)
{
    const LineCase &c = GetParam();
    const std::optional<os::IdListLine> line = os::ReadIdListLine(QByteArrayView(c.text));
    ASSERT_EQ(line.has_value(), c.isIdLine);
    if (!line)
        return;
    EXPECT_EQ(line->depth, c.depth);
    EXPECT_EQ(line->id, c.id);
    EXPECT_EQ(line->digits, c.digits);
    EXPECT_EQ(line->second ? int(*line->second) : -1, c.second);
    EXPECT_EQ(line->name, QByteArrayView(c.idName));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IdListLineRead,
    testing::Values(LineCase{"Vendor", "8086  Intel Corporation", true, 0, 0x8086, 4, -1, "Intel Corporation"},
                    LineCase{"Device", "\t1237  440FX - 82441FX PMC [Natoma]", true, 1, 0x1237, 4, -1, "440FX - 82441FX PMC [Natoma]"},
                    LineCase{"Subsystem", "\t\t8086 2922  ICH9R SATA", true, 2, 0x8086, 4, 0x2922, "ICH9R SATA"},
                    LineCase{"UsbInterface", "\t\t02  Microphone", true, 2, 0x02, 2, -1, "Microphone"},
                    LineCase{"LowerCaseHex", "\tc52b  Unifying Receiver", true, 1, 0xc52b, 4, -1, "Unifying Receiver"},
                    LineCase{"CrLfAndTrailingBlanks", "046d  Logitech, Inc. \t\r", true, 0, 0x046d, 4, -1, "Logitech, Inc."},
                    LineCase{"OneSpaceBeforeTheName", "8086 Intel", false},
                    LineCase{"OneSpaceAfterTheSecondId", "\t\t8086 2922 Board", false},
                    LineCase{"ThreeDigits", "\t123  Thing", false},
                    LineCase{"FiveDigits", "12345  Thing", false},
                    LineCase{"TwoDigitsAboveAnInterface", "\t00  Non-VGA unclassified device", false},
                    LineCase{"BlankName", "8086    ", false},
                    LineCase{"Comment", "# Date:    2023-04-11 03:15:01", false},
                    LineCase{"SectionHeading", "C 01  Mass storage controller", false},
                    LineCase{"Blank", "", false}),
    [](const testing::TestParamInfo<LineCase> &info) { return std::string(info.param.name); });

TEST(IdListVendorBlock, CommentsAndBlankLinesGoOnAndAHeadingEndsIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pci.ids"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# fake list\n"
               "1234  Vendor\n"
               "# a comment inside the block\n"
               "\t0001  First\n"
               "\t\t1af4 1100  First on a board\n"
               "\n"
               "\t0002  Second\n"
               "C 01  Mass storage controller\n"
               "\t0003  A class's subclass, no device\n"
               "5678  Other\n");
    file.close();
    const os::SysfsIds ids(path);
    EXPECT_EQ(ids.vendor(0x1234), QStringLiteral("Vendor"));
    EXPECT_EQ(ids.device(0x1234, 0x0001), QStringLiteral("First"));
    EXPECT_EQ(ids.subsystem(0x1234, 0x0001, 0x1af4, 0x1100), QStringLiteral("First on a board"));
    EXPECT_EQ(ids.subsystem(0x1234, 0x0002, 0x1af4, 0x1100), QString()) << "a subsystem belongs to its own device";
    EXPECT_EQ(ids.device(0x1234, 0x0002), QStringLiteral("Second")) << "a blank line does not end the block";
    EXPECT_EQ(ids.device(0x1234, 0x0003), QString()) << "a section heading ends it";
    EXPECT_EQ(ids.vendor(0x5678), QStringLiteral("Other"));
    EXPECT_EQ(ids.device(0x5678, 0x0001), QString());
}

} // namespace
