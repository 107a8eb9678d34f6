#include "controls/QuordanePB.h"

#include "runtime/Form.h"
#include "runtime/Screen.h"
#include "support/TestOutput.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class QuordanePBTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        runtime::Screen::setLogicalDpi(96);
        form = std::make_unique<runtime::Form>(QStringLiteral("FrmHost"));
        form->setBackColor(0x336699);
        form->resize(300, 100);
        bar = new QuordanePB(form.get(), QStringLiteral("PB1"));
        bar->Move(150, 150, 196 * 15, 17 * 15);
    }
    void TearDown() override { runtime::Screen::setLogicalDpi(std::nullopt); }

    gdi::ColorRef at(int x, int y) const { return gdi::fromPixel(bar->image().pixel(x, y)); }

    std::unique_ptr<runtime::Form> form;
    QuordanePB *bar = nullptr;
};

}

TEST_F(QuordanePBTest, FreshInstanceHasTheNewValues)
{
    bar->InitNew();
    EXPECT_EQ(bar->BackColor(), 0xE0E0E0u);
    EXPECT_EQ(bar->ForeColor(), 0u);
    EXPECT_EQ(bar->Font().Name(), QStringLiteral("Segoe UI"));
    EXPECT_DOUBLE_EQ(bar->Font().Size(), 8.25);
    EXPECT_TRUE(bar->BlendToParent());
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_FALSE(bar->isLoaded());
}

TEST_F(QuordanePBTest, MissingKeysTakeTheStoredDefaults)
{
    bar->ReadProperties(runtime::PropertyBag{{QStringLiteral("value"), 40}});
    EXPECT_EQ(bar->Value(), 40) << "keys match without regard to case";
    EXPECT_EQ(bar->BackColor(), 0x8000000Fu);
    EXPECT_EQ(bar->ForeColor(), 0x80000008u);
    EXPECT_TRUE(bar->isLoaded());
}

TEST_F(QuordanePBTest, StoredDataRoundTrip)
{
    bar->InitNew();
    bar->setValue(70);
    bar->setSegments(true);
    bar->setText(QStringLiteral("Downloading"));
    bar->setBarColor(0x00C8FD);
    const runtime::PropertyBag bag = bar->WriteProperties();
    EXPECT_TRUE(bag.Contains(QStringLiteral("Picture"))) << "an empty picture is still stored";
    EXPECT_TRUE(bag.Contains(QStringLiteral("BarPicture")));
    EXPECT_TRUE(bag.Contains(QStringLiteral("Font")));
    EXPECT_FALSE(bag.Contains(QStringLiteral("Max")));
    EXPECT_TRUE(bag.Contains(QStringLiteral("BackColor"))) << "E0E0E0 differs from the stored default";

    auto *copy = new QuordanePB(form.get(), QStringLiteral("PB2"));
    copy->ReadProperties(bag);
    EXPECT_EQ(copy->Value(), 70);
    EXPECT_TRUE(copy->Segments());
    EXPECT_EQ(copy->Text(), QStringLiteral("Downloading"));
    EXPECT_EQ(copy->BarColor(), 0x00C8FDu);
    EXPECT_EQ(copy->BackColor(), 0xE0E0E0u);
    EXPECT_EQ(copy->Font(), bar->Font());
}

TEST_F(QuordanePBTest, PropertiesByNameAsTheColourEngineSetsThem)
{
    bar->InitNew();
    EXPECT_TRUE(runtime::setPropertyByName(bar, "Segments", 1));
    EXPECT_TRUE(bar->Segments());
    EXPECT_TRUE(runtime::setPropertyByName(bar, "Segments", 0));
    EXPECT_FALSE(bar->Segments());
    EXPECT_TRUE(runtime::setPropertyByName(bar, "BarColor", 0xFF9933));
    EXPECT_EQ(bar->BarColor(), 0xFF9933u);
    EXPECT_TRUE(runtime::setPropertyByName(bar, "BackColor", int(0x8000000F)));
    EXPECT_EQ(bar->BackColor(), 0x8000000Fu);
    EXPECT_FALSE(runtime::setPropertyByName(bar, "TitleForeColor", 0));
}

TEST_F(QuordanePBTest, PercentAndValue)
{
    struct Row {
        int min, max, value;
        double percent;
    } rows[] = {{0, 100, -10, 0}, {0, 100, 250, 100}, {100, 0, 25, 75}, {0, 200, 50, 25}, {5, 5, 6, 100}, {5, 5, 5, 0}};
    for (const Row &row : rows) {
        bar->setMin(row.min);
        bar->setMax(row.max);
        bar->setValue(row.value);
        EXPECT_EQ(bar->Value(), row.value) << "no clamping";
        EXPECT_DOUBLE_EQ(bar->Percent(), row.percent) << row.min << " " << row.max << " " << row.value;
    }
}

TEST_F(QuordanePBTest, SetsMarkTheirKeysAndPicturesMarkBoth)
{
    bar->InitNew();
    bar->ClearChangedProperties();
    bar->setValue(3);
    bar->setPicture(runtime::StdPicture::fromImage(QImage(4, 4, QImage::Format_RGB32)));
    EXPECT_EQ(bar->ChangedProperties(), (QStringList{"Value", "Picture", "BarPicture"}));
}

TEST_F(QuordanePBTest, EverySetRepaints)
{
    bar->InitNew();
    bar->setBlendToParent(false);
    bar->setValue(100);
    EXPECT_EQ(at(100, 8), 0x800000u);
    bar->setBarColor(0x0000FF);
    EXPECT_EQ(at(100, 8), 0x0000FFu);
    bar->setValue(0);
    EXPECT_EQ(at(100, 8), 0xE0E0E0u);
}

TEST_F(QuordanePBTest, PrePaintCarriesTheDrawingContextAndSize)
{
    bar->InitNew();
    QSignalSpy prePaint(bar, &QuordanePB::PrePaint);
    bar->Refresh();
    ASSERT_EQ(prePaint.size(), 1);
    const QList<QVariant> args = prePaint.at(0);
    EXPECT_NE(args.at(0).value<gdi::Dc *>(), nullptr);
    EXPECT_EQ(args.at(1).toInt(), 0);
    EXPECT_EQ(args.at(2).toInt(), 0);
    EXPECT_EQ(args.at(3).toInt(), 196);
    EXPECT_EQ(args.at(4).toInt(), 17);
    EXPECT_TRUE(args.at(5).toBool());
}

TEST_F(QuordanePBTest, BlendPicturesWaitForTheStoredProperties)
{
    bar->InitNew();
    bar->setBackColor(0x0000FF);
    bar->setBarColor(0x00FF00);
    EXPECT_TRUE(bar->holders().barBlend.isNull()) << "never loaded: no rebuild";

    bar->ReadProperties(runtime::PropertyBag{{QStringLiteral("Value"), 50}});
    EXPECT_TRUE(bar->holders().barBlend.isNull()) << "loading itself does not build them";
    bar->setHeight(18 * 15);   // the first resize after loading builds them
    ASSERT_FALSE(bar->holders().barBlend.isNull());
    testsupport::writeTestPng("QuordanePB", "blend_to_parent_50", bar->image());

    // From near the host's colour at the top to the control's colour (button face, the stored
    // default) at mid-height and back, row for row the same on the way down.
    const QImage blend = bar->holders().backBlend.toImage();
    ASSERT_EQ(blend.height(), 18);
    const auto red = [&](int y) { return gdi::red(gdi::fromPixel(blend.pixel(5, y))); };
    EXPECT_EQ(gdi::fromPixel(blend.pixel(5, 9)), 0xF0F0F0u);
    for (int y = 0; y < 9; ++y) {
        EXPECT_LT(red(y), red(y + 1)) << "towards the host's red 0x99 at the top, row " << y;
        EXPECT_EQ(blend.pixel(5, y + 1), blend.pixel(5, 17 - y)) << "row " << y + 1;
    }
    EXPECT_EQ(at(150, 1), gdi::fromPixel(blend.pixel(150, 1))) << "the back blend shows behind the empty part";
}

TEST_F(QuordanePBTest, VerticalWhenNotWider)
{
    bar->InitNew();
    bar->setBlendToParent(false);
    bar->Move(0, 0, 600, 600);
    bar->setValue(50);
    testsupport::writeTestPng("QuordanePB", "square_50", bar->image());
    EXPECT_EQ(at(20, 30), 0x800000u);
    EXPECT_EQ(at(20, 10), 0xE0E0E0u);
    // What the bar shows is its look drawn without the widget.
    QImage drawn(bar->image().size(), QImage::Format_RGB32);
    drawn.fill(Qt::green);
    gdi::Dc dc(&drawn);
    bar->draw(dc);
    EXPECT_EQ(drawn, bar->image());
}

TEST_F(QuordanePBTest, RecolouringShowsAtTheNextPaintUntilThePictureIsAssignedAgain)
{
    bar->InitNew();
    bar->setBlendToParent(false);
    bar->setValue(100);
    bar->ModifyBarPicture(0.0, 1.0);   // no picture: nothing happens
    EXPECT_EQ(at(100, 8), 0x800000u);

    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(qRgb(200, 0, 0));
    const runtime::StdPicture picture = runtime::StdPicture::fromImage(red);
    bar->setBarPicture(picture);
    EXPECT_EQ(at(100, 8), gdi::rgb(200, 0, 0));
    bar->ClearChangedProperties();

    bar->ModifyBarPicture(0.0, 1.0);   // lightness to 0: black
    EXPECT_EQ(at(100, 8), gdi::rgb(200, 0, 0)) << "no repaint of its own";
    EXPECT_TRUE(bar->ChangedProperties().isEmpty());
    bar->Refresh();
    EXPECT_EQ(at(100, 8), 0u);
    EXPECT_EQ(bar->BarPicture(), picture) << "the stored picture stays the one assigned";

    bar->setBarPicture(picture);
    EXPECT_EQ(at(100, 8), gdi::rgb(200, 0, 0));
}

namespace {

// A mark on the control's surface that only a repaint removes.
constexpr QRgb kMark = qRgb(0, 255, 0);

struct ValueSetRow {
    const char *name;
    bool segments;
    int max;
    int from;
    int to;
    std::function<void(QuordanePB &, runtime::Form &)> between;   // what happens after the first set
    bool repaints;
};

const ValueSetRow kValueSetRows[] = {
    {"same value", false, 100, 50, 50, {}, false},
    {"below a pixel", false, 10000, 5000, 5001, {}, false},
    {"a pixel further", false, 100, 50, 51, {}, true},
    {"within a segment", true, 100, 50, 55, {}, false},
    {"into the next segment", true, 100, 50, 60, {}, true},
    {"back to empty", false, 100, 50, 0, {}, true},
    {"beyond the end as the end", false, 100, 100, 250, {}, false},
    {"host window recoloured meanwhile", true, 100, 50, 50,
     [](QuordanePB &, runtime::Form &form) { form.setBackColor(0x00FFFF); }, true},
    {"bar picture recoloured meanwhile", false, 100, 50, 50,
     [](QuordanePB &bar, runtime::Form &) {
         QImage red(8, 8, QImage::Format_RGB32);
         red.fill(qRgb(200, 0, 0));
         bar.setBarPicture(runtime::StdPicture::fromImage(red));
         bar.ModifyBarPicture(0.0, 1.0);
     },
     true},
    {"blend pictures not built, so the background is not redrawn", false, 100, 50, 50,
     [](QuordanePB &bar, runtime::Form &) { bar.setBlendToParent(true); }, true},
};

void PrintTo(const ValueSetRow &row, std::ostream *os) { *os << row.name; }

class QuordanePBValueSetTest : public QuordanePBTest, public ::testing::WithParamInterface<ValueSetRow> {};

}

TEST_P(QuordanePBValueSetTest, RepaintsOnlyWhenTheDrawnBarChanges)
{
    const ValueSetRow &row = GetParam();
    bar->InitNew();
    bar->setBlendToParent(false);
    bar->setSegments(row.segments);
    bar->setMax(row.max);
    bar->setValue(row.from);
    if (row.between)
        row.between(*bar, *form);
    bar->image().setPixel(150, 8, kMark);
    bar->ClearChangedProperties();

    bar->setValue(row.to);
    EXPECT_EQ(bar->Value(), row.to);
    EXPECT_EQ(bar->ChangedProperties(), QStringList{"Value"}) << "marked changed, repainted or not";
    EXPECT_EQ(bar->image().pixel(150, 8) != kMark, row.repaints);
}

INSTANTIATE_TEST_SUITE_P(Rows, QuordanePBValueSetTest, ::testing::ValuesIn(kValueSetRows),
                         [](const auto &info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
                             return name.toStdString();
                         });

TEST_F(QuordanePBTest, AWatchedBarPaintsForEveryValueSet)
{
    bar->InitNew();
    bar->setBlendToParent(false);
    bar->setValue(50);
    QSignalSpy prePaint(bar, &QuordanePB::PrePaint);
    bar->setValue(50);
    bar->setValue(50);
    EXPECT_EQ(prePaint.size(), 2);
}

TEST_F(QuordanePBTest, SkippedRepaintsLeaveWhatAFullPaintDraws)
{
    bar->InitNew();
    bar->setBlendToParent(false);
    bar->setSegments(true);
    bar->setShowText(true);
    bar->setText(QStringLiteral("Downloading"));
    bar->setMax(20000);
    QImage drawn(bar->image().size(), QImage::Format_RGB32);
    gdi::Dc dc(&drawn);
    for (int value = 0; value <= 20000; value += 137) {
        bar->setValue(value);
        drawn.fill(Qt::green);
        bar->draw(dc);
        ASSERT_EQ(drawn, bar->image()) << "value " << value;
    }
}
