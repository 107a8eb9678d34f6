#include "runtime/DoEvents.h"

#include "runtime/Forms.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>

namespace runtime {

namespace {

int s_yieldDepth = 0;
QList<QPointer<QObject>> s_pendingDeletes;
YieldHook s_yieldHook;
int s_yieldCount = 0;

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
        QCoreApplication::processEvents(QEventLoop::AllEvents);
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
