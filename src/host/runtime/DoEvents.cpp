#include "runtime/DoEvents.h"

#include "runtime/Forms.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPointer>

#include <chrono>

#include <dlfcn.h>
#include <poll.h>

namespace runtime {

namespace {

int s_yieldDepth = 0;
QList<QPointer<QObject>> s_pendingDeletes;
YieldHook s_yieldHook;
int s_yieldCount = 0;

// A pass of Qt's message loop on Linux is a pass of GLib's main context, which ends every pass
// with a poll of its file descriptors: a system call that costs more than the rest of the pass,
// and a scan yields some fifty times per device. Timers, posted events and the window system's
// input are not behind those descriptors (GLib and Qt check them at every pass by themselves);
// only sockets and pipes are. So inside a yield the descriptors are polled at most once in this
// long, and every other part of the pass runs at every yield. Waits (a pass with a time-out)
// always poll.
constexpr std::chrono::microseconds kDescriptorPollInterval{1000};

// GLib's own poll hook, taken at run time from the GLib that Qt has loaded: GPollFD is struct
// pollfd on Unix, and a GMainContext is only passed along.
using GPollFunc = int (*)(pollfd *fds, unsigned count, int timeout);

class YieldPoll
{
public:
    // Once, on the first yield; nothing when Qt's loop does not run on GLib.
    static void install()
    {
        static const bool installed = [] {
            using DefaultContext = void *(*)();
            using GetPollFunc = GPollFunc (*)(void *context);
            using SetPollFunc = void (*)(void *context, GPollFunc func);
            const auto defaultContext = DefaultContext(dlsym(RTLD_DEFAULT, "g_main_context_default"));
            const auto getPollFunc = GetPollFunc(dlsym(RTLD_DEFAULT, "g_main_context_get_poll_func"));
            const auto setPollFunc = SetPollFunc(dlsym(RTLD_DEFAULT, "g_main_context_set_poll_func"));
            if (!defaultContext || !getPollFunc || !setPollFunc || !usesGLib())
                return false;
            void *context = defaultContext();
            s_systemPoll = getPollFunc(context);
            if (!s_systemPoll)
                return false;
            setPollFunc(context, &YieldPoll::poll);
            return true;
        }();
        (void)installed;
    }

    // Held by DoEvents around its pass.
    class Scope
    {
    public:
        Scope() { ++s_yieldPasses; }
        ~Scope() { --s_yieldPasses; }
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
    };

private:
    static bool usesGLib()
    {
        const QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher();
        return dispatcher && dispatcher->inherits("QEventDispatcherGlib");
    }

    static int poll(pollfd *fds, unsigned count, int timeout)
    {
        if (s_yieldPasses > 0 && timeout == 0 && !s_nextPoll.hasExpired()) {
            for (unsigned i = 0; i < count; ++i)
                fds[i].revents = 0;
            return 0;
        }
        s_nextPoll.setRemainingTime(kDescriptorPollInterval, Qt::PreciseTimer);
        return s_systemPoll(fds, count, timeout);
    }

    static inline GPollFunc s_systemPoll = nullptr;
    static inline int s_yieldPasses = 0;
    static inline QDeadlineTimer s_nextPoll; // expired: the first pass polls
};

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
    YieldPoll::install();
    {
        YieldScope scope;
        YieldPoll::Scope pass;
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
