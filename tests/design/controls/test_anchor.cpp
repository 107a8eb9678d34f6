#include "controls/Anchor.h"

#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/Screen.h"
#include "runtime/DoEvents.h"
#include "runtime/Timer.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

// A host window as the program's windows are: its load handler sets the anchor's start size and
// then its own size; controls carry anchor flags in their Tags.
class HostForm : public runtime::Form {
public:
    HostForm() : runtime::Form(QStringLiteral("FrmHost"))
    {
        resize(400, 300);   // 6000 x 4500 twips before the load
        anchor = new Anchor(this, QStringLiteral("Anchor1"));
        fixed = label("LabelFixed", "", 105, 105, 600, 300);
        bottomLeft = label("LabelBottomLeft", "TFFT*/status", 150, 3900, 1500, 300);
        corner = label("LabelCorner", "FFTT*/", 4500, 3900, 1200, 300);
        stretch = label("ListStretch", "TTTT*/list", 150, 600, 5700, 3000);
        topRight = label("LabelTopRight", "FTTF*/", 4995, 150, 900, 300);
        timer = new runtime::Timer(this, QStringLiteral("TimerAnchored"), 0, false);
        timer->setTag(QStringLiteral("FFTT*/"));
        anchor->ReadProperties(runtime::PropertyBag());
    }

    int initWidth = 0;
    int initHeight = 0;
    Anchor *anchor;
    runtime::Label *fixed;
    runtime::Label *bottomLeft;
    runtime::Label *corner;
    runtime::Label *stretch;
    runtime::Label *topRight;
    runtime::Timer *timer;

protected:
    void Form_Load() override
    {
        if (initWidth > 0) {
            runtime::setPropertyByName(anchor, "InitHeight", initHeight);
            runtime::setPropertyByName(anchor, "InitWidth", initWidth);
            setHeight(initHeight);
            setWidth(initWidth);
        }
    }

private:
    runtime::Label *label(const char *name, const char *tag, double left, double top, double width, double height)
    {
        auto *l = new runtime::Label(this, QString::fromLatin1(name));
        l->setTag(QString::fromLatin1(tag));
        l->Move(left, top, width, height);
        return l;
    }
};

struct Geometry {
    double left, top, width, height;
    bool operator==(const Geometry &) const = default;
};

Geometry geometryOf(const runtime::Control *c)
{
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}

std::ostream &operator<<(std::ostream &os, const Geometry &g)
{
    return os << "(" << g.left << ", " << g.top << ", " << g.width << ", " << g.height << ")";
}

// Counts a widget's paints and where it was at the last one.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) : m_widget(widget) { widget->installEventFilter(this); }
    int count = 0;
    QPoint lastAt;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && event->type() == QEvent::Paint) {
            ++count;
            lastAt = m_widget->pos();
        }
        return false;
    }

private:
    QWidget *m_widget;
};

class AnchorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        runtime::Screen::setLogicalDpi(96);
        form = std::make_unique<HostForm>();
    }
    void TearDown() override { runtime::Screen::setLogicalDpi(std::nullopt); }

    std::unique_ptr<HostForm> form;
};

}

TEST_F(AnchorTest, LoadStripsTheFlagsAndTakesTheSizeAsMinimum)
{
    runtime::Load(form.get());
    EXPECT_EQ(form->bottomLeft->Tag(), QStringLiteral("status"));
    EXPECT_EQ(form->corner->Tag(), QString());
    EXPECT_EQ(form->stretch->Tag(), QStringLiteral("list"));
    EXPECT_EQ(form->fixed->Tag(), QString());
    EXPECT_EQ(form->anchor->MinWidth, 6000);
    EXPECT_EQ(form->anchor->MinHeight, 4500);
    const QStringList flags = form->anchor->flagList();
    EXPECT_EQ(flags.size(), form->Controls().size() + 1);
    EXPECT_EQ(flags.at(form->Controls().indexOf(form->corner)), QStringLiteral("FFTT"));
}

TEST_F(AnchorTest, StartSizeFromTheHostsLoadHandler)
{
    form->initWidth = 9000;
    form->initHeight = 6000;
    runtime::Load(form.get());
    EXPECT_DOUBLE_EQ(form->Width(), 9000);
    EXPECT_DOUBLE_EQ(form->Height(), 6000);
    EXPECT_EQ(form->anchor->MinWidth, 9000);
    EXPECT_EQ(form->anchor->MinHeight, 6000);
    // The host sized itself before DoInit ran: that pass moved nothing (no flags yet).
    EXPECT_EQ(geometryOf(form->corner), (Geometry{4500, 3900, 1200, 300}));
}

TEST_F(AnchorTest, ResizeMovesAndStretchesByTheFlags)
{
    runtime::Load(form.get());
    QSignalSpy resizing(form->anchor, &Anchor::Resizing);
    QSignalSpy resized(form->anchor, &Anchor::Resized);

    form->Move(0, 0, 7500, 5400);   // 1500 wider, 900 taller

    EXPECT_EQ(geometryOf(form->fixed), (Geometry{105, 105, 600, 300}));
    EXPECT_EQ(geometryOf(form->bottomLeft), (Geometry{150, 4800, 1500, 300}));
    EXPECT_EQ(geometryOf(form->corner), (Geometry{6000, 4800, 1200, 300}));
    EXPECT_EQ(geometryOf(form->stretch), (Geometry{150, 600, 7200, 3900}));
    EXPECT_EQ(geometryOf(form->topRight), (Geometry{6495, 150, 900, 300}));
    ASSERT_EQ(resized.size(), 1);
    EXPECT_EQ(resized.at(0).at(0).toInt(), 900);
    EXPECT_EQ(resized.at(0).at(1).toInt(), 1500);
    EXPECT_EQ(resizing.size(), 1);
}

TEST_F(AnchorTest, ResizingComesBeforeTheMovesAndResizedAfter)
{
    runtime::Load(form.get());
    QList<double> seen;
    QObject::connect(form->anchor, &Anchor::Resizing, [&] { seen << form->corner->Left(); });
    QObject::connect(form->anchor, &Anchor::Resized, [&](int, int) { seen << form->corner->Left(); });
    form->setWidth(7500);
    EXPECT_EQ(seen, (QList<double>{4500, 6000}));
}

TEST_F(AnchorTest, ControlsAddedAfterLoadAreBeyondTheFlagList)
{
    runtime::Load(form.get());
    auto *late = new runtime::Label(form.get(), QStringLiteral("LabelLate"));
    late->setTag(QStringLiteral("FFTT*/"));
    late->Move(0, 0, 300, 300);
    form->setWidth(7500);
    EXPECT_DOUBLE_EQ(late->Left(), 0) << "no flag entry for it";
    EXPECT_EQ(late->Tag(), QStringLiteral("FFTT*/"));
}

TEST_F(AnchorTest, MinimumIsEnforcedAndTheNetChangeAppliedOnce)
{
    runtime::Load(form.get());
    form->Move(0, 0, 9000, 6000);
    QSignalSpy resized(form->anchor, &Anchor::Resized);

    // Dragged below the minimum: set back in the same notification.
    form->Move(0, 0, 3000, 2000);

    EXPECT_DOUBLE_EQ(form->Width(), 6000);
    EXPECT_DOUBLE_EQ(form->Height(), 4500);
    EXPECT_EQ(geometryOf(form->corner), (Geometry{4500, 3900, 1200, 300}));
    EXPECT_EQ(geometryOf(form->stretch), (Geometry{150, 600, 5700, 3000}));
    int totalH = 0, totalW = 0;
    for (const QList<QVariant> &args : resized) {
        totalH += args.at(0).toInt();
        totalW += args.at(1).toInt();
    }
    EXPECT_EQ(totalH, -1500);
    EXPECT_EQ(totalW, -3000);
}

// The window system resizing a shown window, as a drag of its frame does.
TEST_F(AnchorTest, ShownWindowResizedByTheWindowSystem)
{
    runtime::Load(form.get());
    form->show();
    form->resize(500, 360);   // 7500 x 5400 twips
    QApplication::processEvents();
    EXPECT_EQ(geometryOf(form->corner), (Geometry{6000, 4800, 1200, 300}));
    EXPECT_EQ(geometryOf(form->stretch), (Geometry{150, 600, 7200, 3900}));

    form->resize(100, 100);   // below the minimum of 400 x 300 pixels
    QApplication::processEvents();
    EXPECT_EQ(form->size(), QSize(400, 300));
    EXPECT_EQ(geometryOf(form->corner), (Geometry{4500, 3900, 1200, 300}));
    EXPECT_EQ(geometryOf(form->stretch), (Geometry{150, 600, 5700, 3000}));
}

// The windows' handlers of Resized yield, so the window's update requests are handled while the pass
// holds its paints; the window must still paint what the pass moved, not wait for an expose.
TEST_F(AnchorTest, AYieldInsideThePassLeavesTheWindowPainting)
{
    runtime::Load(form.get());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QObject::connect(form->anchor, &Anchor::Resized, form.get(), [] { runtime::DoEvents(); });
    PaintCounter paints(form->corner);
    for (const QSize size : {QSize(500, 360), QSize(640, 480), QSize(420, 310)}) {
        paints.count = 0;
        form->fixed->update(); // an update request on its way when the pass begins
        form->resize(size);
        EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0 && paints.lastAt == form->corner->pos(); }, 10000))
            << size.width() << "x" << size.height();
        EXPECT_FALSE(form->PaintsHeld());
    }
}

TEST_F(AnchorTest, MaximumIsEnforced)
{
    runtime::Load(form.get());
    form->anchor->MaxWidth = 6990;
    form->anchor->MaxHeight = 4995;
    form->Move(0, 0, 9000, 9000);
    EXPECT_DOUBLE_EQ(form->Width(), 6990);
    EXPECT_DOUBLE_EQ(form->Height(), 4995);
    EXPECT_EQ(geometryOf(form->corner), (Geometry{5490, 4395, 1200, 300}));
}

TEST_F(AnchorTest, StretchThatWouldVanishIsSkipped)
{
    runtime::Load(form.get());
    form->anchor->MinWidth = 1;
    form->anchor->MinHeight = 1;
    form->anchor->SetFormMinMax();
    form->Move(0, 0, 6000, 1500);   // 3000 shorter: the list would be 0 high
    EXPECT_DOUBLE_EQ(form->stretch->Height(), 3000);
    EXPECT_DOUBLE_EQ(form->corner->Top(), 900);
    form->Move(0, 0, 6000, 2100);   // measured from the new window size, not the skipped stretch
    EXPECT_DOUBLE_EQ(form->stretch->Height(), 3600);
}

TEST_F(AnchorTest, MinimisedWindowHasNoPassAndRestoreAppliesTheWholeChange)
{
    runtime::Load(form.get());
    QSignalSpy resized(form->anchor, &Anchor::Resized);
    form->setWindowState(runtime::vbMinimized);
    form->Move(0, 0, 7500, 4500);
    EXPECT_EQ(resized.size(), 0);
    EXPECT_DOUBLE_EQ(form->corner->Left(), 4500);
    form->setWindowState(runtime::vbNormal);
    EXPECT_DOUBLE_EQ(form->corner->Left(), 6000);
}

TEST_F(AnchorTest, UnchangedSizeRaisesNothing)
{
    runtime::Load(form.get());
    QSignalSpy resized(form->anchor, &Anchor::Resized);
    form->anchor->DoResize();
    EXPECT_EQ(resized.size(), 0);
}

TEST_F(AnchorTest, StoredDataRoundTrip)
{
    form->anchor->MinWidth = 5000;
    form->anchor->MaxHeight = 9000;
    const runtime::PropertyBag bag = form->anchor->WriteProperties();
    EXPECT_EQ(bag.Keys(), (QStringList{"MinWidth", "MaxHeight"})) << "values equal to the default are not stored";
    Anchor other(form.get(), QStringLiteral("Anchor2"));
    other.ReadProperties(bag);
    EXPECT_EQ(other.MinWidth, 5000);
    EXPECT_EQ(other.MaxHeight, 9000);
    EXPECT_EQ(other.InitWidth, 0);
    EXPECT_EQ(runtime::getPropertyByName(&other, "MinWidth").toInt(), 5000);
}

TEST_F(AnchorTest, KeepsItsOwnSize)
{
    form->anchor->resize(300, 300);
    EXPECT_EQ(form->anchor->size(), QSize(32, 31));
}

// The hosts' handlers of Resized yield, and the window manager's next size may arrive meanwhile
// (while a drag goes on, or in answer to a clamp): the pass it runs applies only the change since
// the pass that was being reported, so the controls end where the final size puts them.
TEST_F(AnchorTest, ResizeWhileResizedIsHandledIsAppliedOnce)
{
    runtime::Load(form.get());
    form->Move(0, 0, 9000, 6000);
    for (const auto &[first, final] : {std::pair{QSize(8000, 5500), QSize(7500, 5400)}, std::pair{QSize(7000, 5000), QSize(9000, 6000)}}) {
        SCOPED_TRACE(std::to_string(first.width()) + " then " + std::to_string(final.width()));
        bool armed = true;
        const QMetaObject::Connection during = QObject::connect(form->anchor, &Anchor::Resized, form.get(), [&] {
            if (std::exchange(armed, false))
                form->Move(0, 0, final.width(), final.height());
        });
        form->Move(0, 0, first.width(), first.height());
        QObject::disconnect(during);
        ASSERT_FALSE(armed);
        const double dW = final.width() - 6000;
        const double dH = final.height() - 4500;
        EXPECT_EQ(geometryOf(form->corner), (Geometry{4500 + dW, 3900 + dH, 1200, 300}));
        EXPECT_EQ(geometryOf(form->stretch), (Geometry{150, 600, 5700 + dW, 3000 + dH}));
    }
}
