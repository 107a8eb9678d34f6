#include "runtime/DoEvents.h"

#include "runtime/Forms.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPointer>

#include <chrono>

namespace runtime {

namespace {

int s_yieldDepth = 0;
QList<QPointer<QObject>> s_pendingDeletes;
YieldHook s_yieldHook;
int s_yieldCount = 0;

// A pass of the message loop asks the window system and the timers for news (a poll); a scan
// yields some fifty times per device, far more often than anything new can come in. Events
// posted meanwhile (a close request, an unload, a repaint) are dispatched at every yield; the
// window system and the timers are asked at most once in this long.
constexpr std::chrono::microseconds kSystemPollInterval{1000};
QDeadlineTimer s_nextSystemPoll; // expired: the first yield asks

bool systemPollDue()
{
    if (!s_nextSystemPoll.hasExpired())
        return false;
    s_nextSystemPoll.setRemainingTime(kSystemPollInterval, Qt::PreciseTimer);
    return true;
}

}

YieldScope::YieldScope() { ++s_yieldDepth; }

YieldScope::~YieldScope()
{
    if (--s_yieldDepth > 0)
        return;
    // Posted now, from inside the handler that yielded: Qt deletes them once that handler has
    // returned to the message loop, never inside a later DoEvents of the same handler.
    const QList<QPointer<QObject>> pending = std::exchange(s_pendingDeletes, {});
    for (const QPointer<QObject> &object : pending) {
        if (object)
            object->deleteLater();
    }
}

int DoEvents()
{
    if (s_yieldHook)
        s_yieldHook(++s_yieldCount);
    {
        YieldScope scope;
        if (systemPollDue())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        else
            QCoreApplication::sendPostedEvents();
    }
    return Forms::Count();
}

StillLoaded::operator bool() const
{
    if (!m_caller)
        return false;
    for (QObject *object = m_caller; object; object = object->parent()) {
        if (auto *form = qobject_cast<Form *>(object))
            return !form->WasUnloaded();
    }
    return true;
}

bool DoEventsStillLoaded(QObject *caller)
{
    const StillLoaded alive(caller);
    DoEvents();
    return bool(alive);
}

YieldHook SetYieldHook(YieldHook hook)
{
    s_yieldCount = 0;
    return std::exchange(s_yieldHook, std::move(hook));
}

void DeleteWhenSafe(QObject *object)
{
    if (!object)
        return;
    if (s_yieldDepth > 0)
        s_pendingDeletes.append(object);
    else
        object->deleteLater();
}

} // namespace runtime
