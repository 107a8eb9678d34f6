#include "os/IconResource.h"
#include "os/SystemParameters.h"
#include "platform/Mod32Icon.h"
#include "platform/ModLoadIconFromRes.h"
#include "support/TestOutput.h"

#include <QWidget>
#include <QtEndian>

#include <climits>

#include <gtest/gtest.h>

namespace {

constexpr int kSizes[] = {128, 96, 72, 64, 60, 56, 48, 40, 32, 24, 20, 16};

// A directory of (size, bits) images numbered from 1, in the platform's group layout.
QByteArray directoryOf(std::initializer_list<std::pair<int, int>> images)
{
    QByteArray bytes(6, '\0');
    qToLittleEndian<quint16>(1, bytes.data() + 2);
    qToLittleEndian<quint16>(quint16(images.size()), bytes.data() + 4);
    int id = 0;
    for (const auto &[size, bits] : images) {
        QByteArray entry(14, '\0');
        entry[0] = char(size == 256 ? 0 : size);
        entry[1] = entry[0];
        qToLittleEndian<quint16>(1, entry.data() + 4);
        qToLittleEndian<quint16>(quint16(bits), entry.data() + 6);
        qToLittleEndian<quint16>(quint16(++id), entry.data() + 12);
        bytes += entry;
    }
    return bytes;
}

class WindowIcons : public ::testing::Test {
protected:
    void SetUp() override
    {
        os::SetScreenLogPixels(96);
        ModLoadIconFromRes::EnsureResources();
    }
    void TearDown() override { os::SetScreenLogPixels(std::nullopt); }
};

TEST_F(WindowIcons, GroupHoldsTwelveSquare32BitImagesNumberedInOrder)
{
    const QByteArray directory = os::LoadResourceData(QStringLiteral("AAA"), os::ResourceType::GroupIcon);
    ASSERT_EQ(directory.size(), 6 + 12 * 14);
    EXPECT_EQ(qFromLittleEndian<quint16>(directory.constData() + 2), 1) << "an icon group";
    const std::vector<os::IconDirectoryEntry> entries = os::IconDirectoryEntries(directory);
    ASSERT_EQ(entries.size(), 12u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].width, kSizes[i]);
        EXPECT_EQ(entries[i].height, kSizes[i]);
        EXPECT_EQ(entries[i].bitCount, 32);
        EXPECT_EQ(entries[i].id, int(i) + 1);
        const QByteArray bytes = os::LoadResourceData(QStringLiteral("#%1").arg(i + 1), os::ResourceType::Icon);
        EXPECT_EQ(qFromLittleEndian<quint32>(directory.constData() + 6 + i * 14 + 8), quint32(bytes.size())) << "image size in bytes";
        QImage image;
        ASSERT_TRUE(image.loadFromData(bytes, "PNG"));
        EXPECT_EQ(image.size(), QSize(kSizes[i], kSizes[i]));
        EXPECT_TRUE(image.hasAlphaChannel());
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "rounded corners are see-through";
        testsupport::writeTestPng(QStringLiteral("windowicons"), QStringLiteral("aaa-%1").arg(kSizes[i]), image);
    }
    EXPECT_EQ(os::LoadResourceData(QStringLiteral("aaa"), os::ResourceType::GroupIcon), directory) << "names ignore case";
    EXPECT_TRUE(os::LoadResourceData(QStringLiteral("BBB"), os::ResourceType::GroupIcon).isEmpty());
}

struct FitCase {
    const char *name;
    int size;
    int expectedId;
};

class BestFit : public WindowIcons, public ::testing::WithParamInterface<FitCase> {};

TEST_P(BestFit, TakesTheLargestImageThatDoesNotExceedTheSize)
{
    const QByteArray directory = os::LoadResourceData(QStringLiteral("AAA"), os::ResourceType::GroupIcon);
    EXPECT_EQ(os::LookupIconIdFromDirectoryEx(directory, true, GetParam().size, GetParam().size, os::LR_DEFAULTCOLOR), GetParam().expectedId);
}

INSTANTIATE_TEST_SUITE_P(, BestFit,
                         ::testing::Values(FitCase{"Exact24", 24, 10}, FitCase{"Between30", 30, 10}, FitCase{"Exact16", 16, 12},
                                           FitCase{"BelowAll", 8, 12}, FitCase{"AboveAll", 200, 1}, FitCase{"Exact60", 60, 5},
                                           FitCase{"SystemLarge", 0, 9}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(WindowIcons, BestFitPrefersTheDisplaysDepthThenTheDeepestBelowIt)
{
    EXPECT_EQ(os::LookupIconIdFromDirectoryEx(directoryOf({{32, 8}, {32, 32}, {32, 4}}), true, 32, 32, 0), 2);
    EXPECT_EQ(os::LookupIconIdFromDirectoryEx(directoryOf({{32, 4}, {32, 8}, {16, 32}}), true, 32, 32, 0), 2);
    EXPECT_EQ(os::LookupIconIdFromDirectoryEx(directoryOf({{32, 64}, {32, 48}}), true, 32, 32, 0), 2) << "all deeper: the lowest";
    EXPECT_EQ(os::LookupIconIdFromDirectoryEx(directoryOf({{256, 32}, {48, 32}}), true, 256, 256, 0), 1) << "0 stands for 256";
    EXPECT_EQ(os::LookupIconIdFromDirectoryEx(QByteArray(), true, 32, 32, 0), 0);
    EXPECT_EQ(os::LookupIconIdFromDirectoryEx(QByteArray("\0\0\1\0\5\0", 6), true, 32, 32, 0), 0) << "entries cut off";
}

TEST_F(WindowIcons, TitleBarIconIsMadeAtTheScaledSize)
{
    const QImage source = os::CreateIconFromResourceEx(os::LoadResourceData(QStringLiteral("10"), os::ResourceType::Icon), true, 0x30000, 0, 0, 0).image();
    const runtime::StdPicture at100 = ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), 24, 24, 0, false);
    ASSERT_FALSE(at100.isNothing());
    EXPECT_EQ(at100.Type(), runtime::StdPicture::vbPicTypeIcon);
    EXPECT_EQ(at100.image().size(), QSize(24, 24));
    EXPECT_EQ(at100.image().convertToFormat(QImage::Format_ARGB32), source.convertToFormat(QImage::Format_ARGB32)) << "the 24-pixel image itself";

    const runtime::StdPicture at125 = ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), 30, 30, 0, false);
    ASSERT_FALSE(at125.isNothing());
    EXPECT_EQ(at125.image().size(), QSize(30, 30)) << "the picked 24-pixel image made at 30";
    testsupport::writeTestPng(QStringLiteral("windowicons"), QStringLiteral("titlebar-30"), at125.image());

    EXPECT_EQ(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), 0, 0, 0, false).image().size(), QSize(32, 32));
    EXPECT_EQ(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), -1, -1, 0, false).image().size(), QSize(16, 16));
}

TEST_F(WindowIcons, ColourDepthWithoutSuchImagesKeepsTheSizePick)
{
    const runtime::StdPicture any = ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), 48, 48, 0, false);
    const runtime::StdPicture eightBit = ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), 48, 48, 8, false);
    ASSERT_FALSE(eightBit.isNothing());
    EXPECT_EQ(eightBit.image(), any.image());
}

TEST_F(WindowIcons, MissingGroupOrCursorGivesNoPicture)
{
    EXPECT_TRUE(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("BBB"), 24, 24, 0, false).isNothing());
    EXPECT_TRUE(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), 24, 24, 0, true).isNothing());
    EXPECT_TRUE(ModLoadIconFromRes::IconToPicture(gdi::Icon(), 3).isNothing());
    EXPECT_TRUE(os::CreateIconFromResourceEx(QByteArray("not an image"), true, 0x30000, 16, 16, 0).isNull());
    // A size no bitmap may have is refused at once rather than scaled into gigabytes.
    EXPECT_TRUE(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), 40000, 40000, 0, false).isNothing());
    EXPECT_TRUE(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), INT_MAX, 2, 0, false).isNothing());
}

TEST_F(WindowIcons, SetIconGivesBigAndSmallIconsAndTheOwnerWhenAsked)
{
    QWidget owner;
    QWidget window(&owner, Qt::Window);
    Mod32Icon::SetIcon(&window, QStringLiteral("AAA"), false);
    EXPECT_EQ(os::SentIcon(&window, os::ICON_BIG).size(), QSize(32, 32));
    EXPECT_EQ(os::SentIcon(&window, os::ICON_SMALL).size(), QSize(16, 16));
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(os::SentIcon(&owner, os::ICON_BIG).isNull()) << "the owner keeps its icon";

    Mod32Icon::SetIcon(&window, QStringLiteral("AAA"), true);
    EXPECT_EQ(os::SentIcon(&owner, os::ICON_BIG).size(), QSize(32, 32));
    EXPECT_EQ(os::SentIcon(&owner, os::ICON_SMALL).size(), QSize(16, 16));

    QWidget alone;
    Mod32Icon::SetIcon(&alone, QStringLiteral("AAA"), true);
    EXPECT_EQ(os::SentIcon(&alone, os::ICON_SMALL).size(), QSize(16, 16)) << "a window without owner is its own topmost owner";

    QWidget other;
    Mod32Icon::SetIcon(&other, QStringLiteral("BBB"), true);
    EXPECT_TRUE(other.windowIcon().isNull()) << "a missing group changes nothing";
    Mod32Icon::SetIcon(nullptr, QStringLiteral("AAA"), true);
}

TEST_F(WindowIcons, FrameIconsFollowTheScreensPixelsPerInch)
{
    os::SetScreenLogPixels(120);
    QWidget window;
    Mod32Icon::SetIcon(&window, QStringLiteral("AAA"), false);
    EXPECT_EQ(os::SentIcon(&window, os::ICON_BIG).size(), QSize(40, 40));
    EXPECT_EQ(os::SentIcon(&window, os::ICON_SMALL).size(), QSize(20, 20));
}

}
