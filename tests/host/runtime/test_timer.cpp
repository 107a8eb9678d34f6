#include "runtime/Forms.h"
#include "runtime/Timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>

#include <gtest/gtest.h>

using namespace runtime;

namespace {

// Runs the message loop until done() or two seconds have passed.
bool runUntil(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class TimerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (Form *loaded : Forms::All())
            Unload(loaded);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete unloadedForm;
    }
    Form *unloadedForm = nullptr;
};

TEST_F(TimerTest, TimerOfAFormWaitsForItsLoad)
{
    unloadedForm = new Form(QStringLiteral("FrmMain"));
    auto *timer = new Timer(unloadedForm, QStringLiteral("Timer1"), 5);
    EXPECT_FALSE(timer->isRunning());
    Load(unloadedForm);
    EXPECT_TRUE(timer->isRunning());
    int ticks = 0;
    QObject::connect(timer, &Timer::Tick, [&] { ++ticks; });
    EXPECT_TRUE(runUntil([&] { return ticks >= 2; }));
    unloadedForm = nullptr; // loaded: Unload in TearDown deletes it
}

TEST_F(TimerTest, OneShotTimerDisablesItselfFirst)
{
    auto *form = new Form(QStringLiteral("FrmMain"));
    auto *timer = new Timer(form, QStringLiteral("TimerStartup"), 5, false);
    Load(form);
    int ticks = 0;
    QObject::connect(timer, &Timer::Tick, [&] {
        timer->setEnabled(false);
        ++ticks;
        // A long step that yields cannot bring the same timer back.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30)
            QCoreApplication::processEvents();
    });
    timer->setEnabled(true);
    EXPECT_TRUE(runUntil([&] { return ticks == 1; }));
    runUntil([] { return false; }); // a while longer
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, ZeroIntervalOrDisabledNeverRunsAndUnloadStops)
{
    auto *form = new Form(QStringLiteral("FrmMain"));
    auto *zero = new Timer(form, QStringLiteral("TimerZero"), 0, true);
    auto *off = new Timer(form, QStringLiteral("TimerOff"), 10, false);
    auto *running = new Timer(form, QStringLiteral("TimerRunning"), 10, true);
    Load(form);
    EXPECT_FALSE(zero->isRunning());
    EXPECT_FALSE(off->isRunning());
    EXPECT_TRUE(running->isRunning());
    const QPointer<Timer> guard(running);
    Unload(form);
    ASSERT_FALSE(guard.isNull()); // deleted later; stopped now
    EXPECT_FALSE(running->isRunning());
}

TEST_F(TimerTest, TimerIsNeverVisible)
{
    auto *form = new Form(QStringLiteral("FrmMain"));
    auto *timer = new Timer(form, QStringLiteral("Timer1"), 250);
    timer->setVisible(true);
    form->Show();
    EXPECT_FALSE(timer->isVisible());
    EXPECT_EQ(timer->size(), QSize(0, 0));
}

}
