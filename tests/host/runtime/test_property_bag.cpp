#include "runtime/PropertyBag.h"
#include "runtime/StdFont.h"
#include "runtime/StdPicture.h"

#include <gtest/gtest.h>

using namespace runtime;

namespace {

TEST(PropertyBag, ValueEqualToDefaultIsNotStored)
{
    PropertyBag bag;
    bag.WriteProperty("BackColor", 0x808080u, 0x808080u);
    bag.WriteProperty("ForeColor", 0xFFFFFFu, 0x80000012u);
    bag.WriteProperty("Caption", QStringLiteral("Scan"), QStringLiteral("dcButton1"));
    EXPECT_EQ(bag.Keys(), (QStringList{"ForeColor", "Caption"}));
}

TEST(PropertyBag, NumbersOfDifferentTypesCompareByValue)
{
    PropertyBag bag;
    bag.WriteProperty("ButtonShape", int(3), qint64(3));
    bag.WriteProperty("MaskColor", quint32(0xC0C0C0), int(0xC0C0C0));
    EXPECT_EQ(bag.Count(), 0);
}

TEST(PropertyBag, WritingTheDefaultAgainDropsAStoredKey)
{
    PropertyBag bag;
    bag.WriteProperty("Style", 4, 13);
    ASSERT_TRUE(bag.Contains("Style"));
    bag.WriteProperty("Style", 13, 13);
    EXPECT_FALSE(bag.Contains("Style"));
}

TEST(PropertyBag, KeysIgnoreLetterCaseAndKeepTheirOrder)
{
    PropertyBag bag{{"TitleCaption", QStringLiteral("Please Wait...")}, {"TileHeight", 24}};
    bag.WriteProperty("titlecaption", QStringLiteral("Updates"));
    EXPECT_EQ(bag.ReadProperty("TITLECAPTION").toString(), QStringLiteral("Updates"));
    EXPECT_EQ(bag.Keys(), (QStringList{"TitleCaption", "TileHeight"}));
}

TEST(PropertyBag, ReadIntoTakesTheMissingKeyDefault)
{
    const PropertyBag bag{{"MinWidth", 9000}};
    int minWidth = -1;
    int maxWidth = -1;
    EXPECT_TRUE(bag.ReadInto("MinWidth", minWidth, 0));
    EXPECT_TRUE(bag.ReadInto("MaxWidth", maxWidth, 0));
    EXPECT_EQ(minWidth, 9000);
    EXPECT_EQ(maxWidth, 0);
}

TEST(PropertyBag, ReadIntoConvertsStoredValues)
{
    const PropertyBag bag{{"InitHeight", QStringLiteral("8250")}, {"ShowClose", QStringLiteral("True")},
                          {"BackColor", int(0x80000012)}};
    int height = 0;
    bool showClose = false;
    quint32 backColor = 0;
    EXPECT_TRUE(bag.ReadInto("InitHeight", height, 0));
    EXPECT_TRUE(bag.ReadInto("ShowClose", showClose, false));
    EXPECT_TRUE(bag.ReadInto("BackColor", backColor, 0u));
    EXPECT_EQ(height, 8250);
    EXPECT_TRUE(showClose);
    EXPECT_EQ(backColor, 0x80000012u);
}

TEST(PropertyBag, UnconvertibleValueLeavesTheField)
{
    const PropertyBag bag{{"TileHeight", QStringLiteral("tall")}, {"Font", QVariant::fromValue(StdFont())}};
    int tileHeight = 20;
    EXPECT_FALSE(bag.ReadInto("TileHeight", tileHeight, 0));
    EXPECT_EQ(tileHeight, 20);
    int fontAsNumber = 7;
    EXPECT_FALSE(bag.ReadInto("Font", fontAsNumber, 0));
    EXPECT_EQ(fontAsNumber, 7);
}

TEST(PropertyBag, FontsCompareByValuePicturesByIdentity)
{
    const StdFont verdana(QStringLiteral("Verdana"), 9.75);
    PropertyBag bag;
    bag.WriteProperty("Font", QVariant::fromValue(verdana), QVariant::fromValue(StdFont(QStringLiteral("Verdana"), 9.75)));
    EXPECT_FALSE(bag.Contains("Font"));

    const StdPicture icon = StdPicture::fromImage(QImage(16, 16, QImage::Format_ARGB32), StdPicture::vbPicTypeIcon);
    const StdPicture sameLooks = StdPicture::fromImage(QImage(16, 16, QImage::Format_ARGB32), StdPicture::vbPicTypeIcon);
    bag.WriteProperty("PicNormal", QVariant::fromValue(icon), QVariant::fromValue(StdPicture()));
    bag.WriteProperty("PicHot", QVariant::fromValue(StdPicture()), QVariant::fromValue(StdPicture()));
    EXPECT_TRUE(bag.Contains("PicNormal"));
    EXPECT_FALSE(bag.Contains("PicHot"));

    StdPicture read;
    ASSERT_TRUE(bag.ReadInto("PicNormal", read, StdPicture()));
    EXPECT_TRUE(read == icon);
    EXPECT_FALSE(read == sameLooks);
}

}
