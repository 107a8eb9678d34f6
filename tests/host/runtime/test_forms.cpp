#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/Screen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace runtime;

namespace {

class RecordingForm : public Form {
    Q_OBJECT
public:
    RecordingForm() : Form(QStringLiteral("FrmRecording")) { ++s_created; }
    ~RecordingForm() override { ++s_destroyed; }

    QStringList events;
    int cancelQueryUnload = 0;
    int lastUnloadMode = -1;
    std::function<void()> onResize;

    static inline int s_created = 0;
    static inline int s_destroyed = 0;

protected:
    void Form_Load() override { events << QStringLiteral("Load"); }
    void Form_Resize() override
    {
        events << QStringLiteral("Resize %1x%2").arg(Width()).arg(Height());
        if (onResize)
            onResize();
    }
    void Form_QueryUnload(int &Cancel, int UnloadMode) override
    {
        events << QStringLiteral("QueryUnload");
        lastUnloadMode = UnloadMode;
        Cancel = cancelQueryUnload;
    }
    void Form_Unload(int &Cancel) override
    {
        Q_UNUSED(Cancel)
        events << QStringLiteral("Unload");
    }
};

class OtherForm : public Form {
    Q_OBJECT
public:
    OtherForm() : Form(QStringLiteral("FrmOther")) {}
};

// Counts the paints a widget receives.
class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget *widget) : m_widget(widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && event->type() == QEvent::Paint)
            ++count;
        return false;
    }

private:
    QWidget *m_widget;
};

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { Screen::setLogicalDpi(96); }
    void TearDown() override
    {
        for (Form *form : Forms::All())
            Unload(form);
        flushDeletes();
        Screen::setLogicalDpi(std::nullopt);
    }
};

TEST_F(FormsTest, LoadedFormsAreListedInLoadOrder)
{
    auto *first = new OtherForm;
    auto *second = new RecordingForm;
    Load(second);
    Load(first);
    Load(second);
    EXPECT_EQ(Forms::All(), (QList<Form *>{second, first}));
    EXPECT_EQ(second->events, QStringList{"Load"});
}

TEST_F(FormsTest, AYieldTellsWhetherTheCallersFormIsStillLoaded)
{
    auto *form = new RecordingForm;
    Load(form);
    auto *label = new Label(form, QStringLiteral("Label1"));
    EXPECT_TRUE(DoEventsStillLoaded(label));

    // The form is unloaded while its handler yields: it still exists (its delete waits for the
    // handler), but the yield must say it is gone, for the form and for its controls.
    QTimer::singleShot(0, form, [form] { Unload(form); });
    YieldScope handler;
    EXPECT_FALSE(DoEventsStillLoaded(label));
    EXPECT_FALSE(DoEventsStillLoaded(form));
}

TEST_F(FormsTest, CancelledQueryUnloadKeepsTheFormLoaded)
{
    auto *form = new RecordingForm;
    Load(form);
    form->cancelQueryUnload = 1;
    EXPECT_FALSE(Unload(form));
    EXPECT_TRUE(form->IsLoaded());
    EXPECT_EQ(form->events, (QStringList{"Load", "QueryUnload"}));
    form->cancelQueryUnload = 0;
}

TEST_F(FormsTest, UnloadLeavesTheListHidesAndDeletes)
{
    auto *form = new RecordingForm;
    form->Show();
    const QPointer<Form> guard(form);
    EXPECT_TRUE(Unload(form));
    EXPECT_EQ(form->events.filter(QStringLiteral("nload")), (QStringList{"QueryUnload", "Unload"}));
    EXPECT_EQ(form->lastUnloadMode, vbFormCode);
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(Forms::All().isEmpty());
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(FormsTest, CloseCommandUnloadsWithTheControlMenuMode)
{
    auto *form = new RecordingForm;
    form->Show();
    form->close();
    EXPECT_EQ(form->lastUnloadMode, vbFormControlMenu);
    EXPECT_FALSE(form->IsLoaded());
}

TEST_F(FormsTest, FormUsedAgainAfterUnloadLoadsAfresh)
{
    const int created = RecordingForm::s_created;
    RecordingForm *first = Forms::Get<RecordingForm>();
    EXPECT_EQ(Forms::Get<RecordingForm>(), first);
    EXPECT_EQ(RecordingForm::s_created, created + 1);
    first->setCaption(QStringLiteral("changed"));
    Unload(first);
    flushDeletes();

    RecordingForm *second = Forms::Get<RecordingForm>();
    EXPECT_EQ(RecordingForm::s_created, created + 2);
    EXPECT_EQ(second->events, QStringList{"Load"});
    EXPECT_NE(second->Caption(), QStringLiteral("changed"));
}

// A handler of a form yields, and its form is unloaded meanwhile (say by the close button): the
// form must outlive the handler, or the handler's next step touches freed memory.
TEST_F(FormsTest, FormUnloadedDuringAYieldLivesUntilTheHandlerReturns)
{
    auto *form = new RecordingForm;
    form->Show();
    const QPointer<Form> guard(form);
    bool aliveAfterFirstYield = false;
    bool aliveAfterSecondYield = false;
    bool unloadedSeen = false;
    QEventLoop loop;
    QTimer::singleShot(0, form, [&] {
        QTimer::singleShot(0, [form] { Unload(form, vbFormControlMenu); });
        DoEvents();
        aliveAfterFirstYield = !guard.isNull();
        unloadedSeen = guard && !guard->IsLoaded();
        DoEvents();
        aliveAfterSecondYield = !guard.isNull();
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
    flushDeletes();
    EXPECT_TRUE(aliveAfterFirstYield);
    EXPECT_TRUE(aliveAfterSecondYield);
    EXPECT_TRUE(unloadedSeen);
    EXPECT_TRUE(guard.isNull());
}

// A scan yields many times a millisecond and each yield must still run what is waiting there: a
// timer that is due and a posted event (a close request, an unload). A pipe's news may come a
// little later, but still reaches code that only yields.
TEST_F(FormsTest, EveryYieldRunsDueTimersAndPostedEventsAndPipesAreHeard)
{
    auto *form = new RecordingForm;
    form->Show();
    DoEvents(); // the yields below follow this one closely
    for (int round = 0; round < 3; ++round) {
        bool timerRan = false;
        bool postedRan = false;
        QTimer::singleShot(0, form, [&timerRan] { timerRan = true; });
        QMetaObject::invokeMethod(form, [&postedRan] { postedRan = true; }, Qt::QueuedConnection);
        DoEvents();
        EXPECT_TRUE(timerRan) << "round " << round;
        EXPECT_TRUE(postedRan) << "round " << round;
    }

    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    QSocketNotifier notifier(ends[0], QSocketNotifier::Read);
    bool heard = false;
    QObject::connect(&notifier, &QSocketNotifier::activated, [&heard, &notifier] {
        heard = true;
        notifier.setEnabled(false);
    });
    ASSERT_EQ(write(ends[1], "x", 1), 1);
    const QDeadlineTimer patience(30000);
    while (!heard && !patience.hasExpired())
        DoEvents();
    EXPECT_TRUE(heard);
    close(ends[0]);
    close(ends[1]);
}

TEST_F(FormsTest, SizeInTwipsAndResizeRaisedAtOnceWhileHidden)
{
    auto *form = new RecordingForm;
    form->setWidth(11250); // before the load: no event
    Load(form);
    form->setHeight(8250);
    form->Move(1500, 750, 9000, 6000);
    EXPECT_EQ(form->events, (QStringList{"Load", "Resize 11250x8250", "Resize 9000x6000"}));
    EXPECT_EQ(form->size(), QSize(600, 400));
    EXPECT_DOUBLE_EQ(form->Left(), 1500);
    EXPECT_DOUBLE_EQ(form->Top(), 750);
    EXPECT_DOUBLE_EQ(form->ScaleWidth(), 9000);
    // A width between two pixels comes back as whole pixels.
    form->setWidth(1000);
    EXPECT_DOUBLE_EQ(form->Width(), 1005);
    // Sizes no window can have are the largest one can, not a wrapped-around value.
    form->setWidth(1e15);
    EXPECT_EQ(form->width(), QWIDGETSIZE_MAX);
    form->setHeight(-1e15);
    EXPECT_EQ(form->height(), 1);
}

TEST_F(FormsTest, SizingInsideResizeRunsANestedResize)
{
    auto *form = new RecordingForm;
    Load(form);
    form->Move(0, 0, 4500, 3000);
    form->events.clear();
    int depth = 0;
    int deepest = 0;
    form->onResize = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        if (form->Width() < 6000)
            form->setWidth(6000); // the anchor's minimum size
        --depth;
    };
    form->setWidth(3000);
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(form->events, (QStringList{"Resize 3000x3000", "Resize 6000x3000"}));
    EXPECT_DOUBLE_EQ(form->Width(), 6000);
}

TEST_F(FormsTest, FirstShowRaisesResizeAndWindowStateIsReported)
{
    auto *form = new RecordingForm;
    form->Show();
    EXPECT_EQ(form->events, (QStringList{"Load", "Resize 4800x3600"}));
    EXPECT_EQ(form->WindowState(), vbNormal);
    form->setWindowState(vbMinimized);
    EXPECT_EQ(form->WindowState(), vbMinimized);
    EXPECT_EQ(form->events.size(), 3); // minimising raises Resize, at the same size
    form->setWindowState(vbNormal);
    EXPECT_EQ(form->WindowState(), vbNormal);
}

TEST_F(FormsTest, FocusToTheFormStaysWithItsActiveControl)
{
    auto *form = new RecordingForm;
    auto *control = new Label(form, QStringLiteral("LabelActive"));
    control->setFocusPolicy(Qt::ClickFocus);
    form->Show();
    form->SetFocus();
    EXPECT_EQ(form->focusWidget(), form) << "a form with no active control takes the focus itself";
    control->SetFocus();
    form->SetFocus();
    EXPECT_EQ(form->focusWidget(), control);
}

TEST_F(FormsTest, ControlsAreKeptInCreationOrderAndDropOutWhenDeleted)
{
    auto *form = new RecordingForm;
    auto *status = new Label(form, QStringLiteral("LabelStatus"));
    auto *grip = new Label(form, QStringLiteral("LabelResize"));
    auto *inner = new Label(status, QStringLiteral("LabelInner"));
    EXPECT_EQ(form->Controls(), (QList<Control *>{status, grip, inner}));
    EXPECT_EQ(form->findControl(QStringLiteral("labelresize")), grip);
    EXPECT_EQ(inner->Parent(), form);
    EXPECT_EQ(inner->Container(), status);
    delete grip;
    EXPECT_EQ(form->Controls(), (QList<Control *>{status, inner}));
    delete form;
}

// A colour pass holds the window's paints and calls a layout pass that holds them too: the inner
// release must leave the outer hold in force, and the window paints again after the last release.
// A release without a hold is ignored, so it cannot cancel a later hold.
TEST_F(FormsTest, TheInnerPaintReleaseKeepsTheOuterHold)
{
    auto *form = new RecordingForm;
    auto *child = new QWidget(form);
    child->setGeometry(10, 10, 40, 30);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    PaintCount paints(child);

    form->HoldPaints();
    form->HoldPaints();
    form->ReleasePaints();
    EXPECT_TRUE(form->PaintsHeld());
    child->repaint(); // paints at once unless the window's paints are held
    EXPECT_EQ(paints.count, 0) << "the inner release ended the outer hold";

    form->ReleasePaints();
    EXPECT_FALSE(form->PaintsHeld());
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }, 10000)) << "no paint after the last release";

    form->ReleasePaints();
    form->HoldPaints();
    EXPECT_TRUE(form->PaintsHeld());
    paints.count = 0;
    child->repaint();
    EXPECT_EQ(paints.count, 0) << "a release without a hold cancelled the next hold";
    form->ReleasePaints();
    EXPECT_FALSE(form->PaintsHeld());
}


// While a window holds its paints, the redraws its controls ask for wait for the last release and
// run once each, the latest request of each control; a control deleted meanwhile is not redrawn,
// and a redraw that unloads the window (it yields) ends the rest safely.
TEST_F(FormsTest, RedrawsAskedForDuringAHoldRunOnceEachAtTheLastRelease)
{
    auto *form = new RecordingForm;
    auto *bar = new QWidget(form);
    auto *button = new QWidget(form);
    auto *gone = new QWidget(form);
    QStringList drawn;
    const auto ask = [&](QWidget *control, const QString &what) {
        if (!form->RedrawAfterHold(control, [&drawn, what] { drawn << what; }))
            drawn << what + QStringLiteral(" at once");
    };

    ask(bar, QStringLiteral("bar"));
    EXPECT_EQ(drawn, QStringList{QStringLiteral("bar at once")}) << "nothing held: the control draws now";
    drawn.clear();

    {
        const PaintHold outer(form);
        {
            const PaintHold inner(form);
            ask(bar, QStringLiteral("bar 1"));
            ask(button, QStringLiteral("button"));
            ask(gone, QStringLiteral("gone"));
            ask(bar, QStringLiteral("bar 2"));
        }
        EXPECT_TRUE(drawn.isEmpty()) << "the inner release ran the outer hold's redraws";
        delete gone;
    }
    EXPECT_EQ(drawn, (QStringList{QStringLiteral("bar 2"), QStringLiteral("button")}));

    drawn.clear();
    QPointer<RecordingForm> alive(form);
    {
        const PaintHold hold(form);
        form->RedrawAfterHold(bar, [&] { delete form; });
        form->RedrawAfterHold(button, [&drawn] { drawn << QStringLiteral("after the window went"); });
    }
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(drawn.isEmpty()) << "a control of a deleted window was redrawn";
}

}

#include "test_forms.moc"
