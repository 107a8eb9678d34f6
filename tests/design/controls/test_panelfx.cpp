#include "controls/PanelFx.h"

#include "os/WindowMessages.h"
#include "os/WindowRegion.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/Screen.h"
#include "support/TestOutput.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

class PanelFxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        runtime::Screen::setLogicalDpi(96);
        form = std::make_unique<runtime::Form>(QStringLiteral("FrmHost"));
        form->resize(400, 300);
        panel = new PanelFx(form.get(), QStringLiteral("PanelProgress"));
        panel->Move(300, 300, 200 * 15, 100 * 15);
    }
    void TearDown() override { runtime::Screen::setLogicalDpi(std::nullopt); }

    gdi::ColorRef at(int x, int y) const { return gdi::fromPixel(panel->image().pixel(x, y)); }

    // Draws a mark that only a repaint removes.
    void mark() { panel->hdc()->setPixelV(100, 50, 0x00FF00); }
    bool marked() const { return at(100, 50) == 0x00FF00u; }

    std::unique_ptr<runtime::Form> form;
    PanelFx *panel = nullptr;
};

}

TEST_F(PanelFxTest, NewInstanceShowsItsNameAndStoredDataDefaultsToPanel)
{
    panel->InitNew();
    EXPECT_EQ(panel->TitleCaption(), QStringLiteral("PanelProgress"));
    EXPECT_EQ(panel->Font(), form->Font()) << "the host's font";

    auto *loaded = new PanelFx(form.get(), QStringLiteral("PanelDatabase"));
    loaded->ReadProperties(runtime::PropertyBag{{QStringLiteral("TileHeight"), 24}});
    EXPECT_EQ(loaded->TitleCaption(), QStringLiteral("Panel"));
    EXPECT_EQ(loaded->TileHeight(), 24);
    EXPECT_EQ(loaded->PanelBackColor(), 0x80000005u);
    EXPECT_EQ(loaded->TileBackColor(), 0x8000000Du);
}

TEST_F(PanelFxTest, StoredDataRoundTrip)
{
    panel->InitNew();
    panel->setTitleCaption(QStringLiteral("Please Wait..."));
    panel->setRoundEdge(12);
    panel->setBackGroundStyle(1);
    panel->setgCPanelDir(0);
    panel->setCanCollapse(true);
    const runtime::PropertyBag bag = panel->WriteProperties();
    EXPECT_FALSE(bag.Contains(QStringLiteral("TileHeight"))) << "a default is not stored";
    EXPECT_FALSE(bag.Contains(QStringLiteral("Font"))) << "the ambient font is the default";
    auto *copy = new PanelFx(form.get(), QStringLiteral("PanelCopy"));
    copy->ReadProperties(bag);
    EXPECT_EQ(copy->TitleCaption(), QStringLiteral("Please Wait..."));
    EXPECT_EQ(copy->RoundEdge(), 12);
    EXPECT_EQ(copy->BackGroundStyle(), 1);
    EXPECT_EQ(copy->gCPanelDir(), 0);
    EXPECT_TRUE(copy->CanCollapse());
    EXPECT_EQ(copy->TitleIconWidth(), 32);
}

TEST_F(PanelFxTest, EverySetButCanCollapseRepaints)
{
    panel->InitNew();
    mark();
    panel->setCanCollapse(true);
    EXPECT_TRUE(marked());
    // The colour engine's by-name sets each repaint.
    for (const char *name : {"gCTitleStart", "gCTitleEnd", "TitleForeColor", "PanelBackColor", "gCPanelStart",
                             "gCPanelEnd", "PanelBorderColor", "TileBackColor"}) {
        mark();
        EXPECT_TRUE(runtime::setPropertyByName(panel, name, 0x102030)) << name;
        EXPECT_FALSE(marked()) << name;
    }
    EXPECT_EQ(at(100, 50), 0x102030u) << "the body in the new PanelBackColor";
    EXPECT_EQ(panel->ChangedProperties().last(), QStringLiteral("TileBackColor"));
}

TEST_F(PanelFxTest, WindowShapeFollowsTheRegion)
{
    panel->InitNew();
    panel->setRoundEdge(20);
    const auto region = os::GetWindowRgn(panel);
    ASSERT_TRUE(region);
    EXPECT_FALSE(region->contains(0, 0));
    EXPECT_TRUE(region->contains(100, 50));
    EXPECT_FALSE(panel->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(panel->mask().contains(QPoint(100, 50)));
}

TEST_F(PanelFxTest, PressesRaiseMouseDownThenTheClickOfTheirPart)
{
    panel->InitNew();
    form->show();
    QStringList events;
    QObject::connect(panel, &PanelFx::MouseDown, [&](int button, int, float, float y, int part) {
        events << QStringLiteral("MouseDown %1 %2 %3").arg(button).arg(y).arg(part);
    });
    QObject::connect(panel, &PanelFx::TileClick, [&] { events << QStringLiteral("TileClick"); });
    QObject::connect(panel, &PanelFx::PanelClick, [&] { events << QStringLiteral("PanelClick"); });
    QObject::connect(panel, &PanelFx::MouseUp, [&](int button, int, float, float, int part) {
        events << QStringLiteral("MouseUp %1 %2").arg(button).arg(part);
    });

    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mousePress(panel, Qt::RightButton, {}, QPoint(50, 10));
    QTest::mouseRelease(panel, Qt::RightButton, {}, QPoint(50, 10));
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_EQ(events, (QStringList{"MouseDown 1 10 0", "TileClick", "MouseUp 1 0",
                                   "MouseDown 2 10 0", "MouseUp 2 0",
                                   "MouseDown 1 20 1", "PanelClick", "MouseUp 1 1"}));
}

TEST_F(PanelFxTest, DragInTheBandMovesThePanel)
{
    panel->InitNew();
    form->show();
    const QPoint start = panel->pos();
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseMove(panel, QPoint(50, 10));
    EXPECT_EQ(panel->pos(), start) << "dragging is off by default";
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(50, 10));

    panel->setAllowDraging(true);
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseMove(panel, QPoint(60, 15));   // the drag starts here, under the mouse
    QTest::mouseMove(panel, QPoint(70, 25));   // 10 and 10 further
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(60, 15));
    EXPECT_EQ(panel->pos(), start + QPoint(10, 10));

    const QPoint moved = panel->pos();
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 60));
    QTest::mouseMove(panel, QPoint(70, 80));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(70, 80));
    EXPECT_EQ(panel->pos(), moved) << "no drag from the body";
}

TEST_F(PanelFxTest, PanelOrTitle)
{
    panel->InitNew();
    EXPECT_EQ(panel->PanelOrTitle(0), 0);
    EXPECT_EQ(panel->PanelOrTitle(19), 0);
    EXPECT_EQ(panel->PanelOrTitle(20), 1);
    panel->setTileHeight(0);
    EXPECT_EQ(panel->PanelOrTitle(0), 0);
    EXPECT_EQ(panel->PanelOrTitle(1), 1);
}

TEST_F(PanelFxTest, CollapseShrinksToTheBandAndBack)
{
    panel->InitNew();
    panel->setCanCollapse(true);
    panel->Collapse();
    EXPECT_TRUE(panel->isCollapsed());
    EXPECT_EQ(panel->height(), 20);
    EXPECT_DOUBLE_EQ(panel->Height(), 300) << "the host sees the container's Height change";
    testsupport::writeTestPng("PanelFx", "collapsed", panel->image());
    // What the panel shows inside its window shape is its look drawn without the widget.
    QImage drawn(panel->image().size(), QImage::Format_RGB32);
    drawn.fill(Qt::green);
    gdi::Dc dc(&drawn);
    const PanelFxPaint::Result result = panel->draw(dc);
    int inside = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (result.windowRegion.contains(x, y)) {
                ++inside;
                ASSERT_EQ(drawn.pixel(x, y), panel->image().pixel(x, y)) << x << "," << y;
            }
    EXPECT_GT(inside, 200 * 20 / 2);
    panel->Collapse();
    EXPECT_FALSE(panel->isCollapsed());
    EXPECT_EQ(panel->size(), QSize(200, 100));
}

TEST_F(PanelFxTest, CollapseWithoutCanCollapseFlipsOnlyTheFlag)
{
    panel->InitNew();
    panel->Collapse();
    EXPECT_TRUE(panel->isCollapsed());
    EXPECT_EQ(panel->height(), 100);
    panel->setCanCollapse(true);
    // From the flipped state: this call expands, to the size saved before (none yet: 0 x 0).
    panel->Collapse();
    EXPECT_FALSE(panel->isCollapsed());
    EXPECT_EQ(panel->size(), QSize(0, 0));
}

TEST_F(PanelFxTest, CollapseAtTheBandHeightSavesNothing)
{
    panel->InitNew();
    panel->setCanCollapse(true);
    panel->Collapse();          // saves 200 x 100
    panel->Collapse();          // back
    panel->setHeight(20 * 15);  // already as high as the band
    panel->setWidth(150 * 15);
    panel->Collapse();          // flips, saves nothing
    EXPECT_TRUE(panel->isCollapsed());
    EXPECT_EQ(panel->size(), QSize(150, 20));
    panel->Collapse();          // restores the size saved by the earlier collapse
    EXPECT_EQ(panel->size(), QSize(200, 100));
}

TEST_F(PanelFxTest, ContainsTheHostsControls)
{
    panel->InitNew();
    auto *inner = new PanelFx(panel, QStringLiteral("PanelInner"));
    EXPECT_EQ(inner->parentWidget(), panel);
    EXPECT_EQ(inner->Container(), panel);
}

// The host's move handler yields and the window is unloaded meanwhile: it lives on until the
// handler is done, but no drag of it may start.
TEST(PanelFxUnload, NoDragStartsForAWindowUnloadedInTheMoveHandler)
{
    runtime::Screen::setLogicalDpi(96);
    QPointer<runtime::Form> form = new runtime::Form(QStringLiteral("FrmHost"));
    form->resize(400, 300);
    auto *panel = new PanelFx(form, QStringLiteral("PanelProgress"));
    panel->Move(300, 300, 200 * 15, 100 * 15);
    panel->InitNew();
    panel->setAllowDraging(true);
    panel->setAllowParentDraging(true);
    runtime::Load(form);
    form->show();
    QObject::connect(panel, &PanelFx::MouseMove, [&form] {
        QTimer::singleShot(0, form, [&form] { runtime::Unload(form); });
        runtime::DoEvents();
    });
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseMove(panel, QPoint(60, 15));
    ASSERT_FALSE(form.isNull());
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_FALSE(os::IsInCaptionDrag(form));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    runtime::Screen::setLogicalDpi(std::nullopt);
}
