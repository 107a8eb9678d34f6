#pragma once

#include <QPointer>

#include <functional>

class QObject;

namespace runtime {

// One pass of the message loop: input, timers and paints that are waiting are dispatched, then
// control comes back (sockets and pipes are polled at most once a millisecond across yields).
// Objects unloaded meanwhile (forms, controls) are deleted only after the outermost yielding
// handler has returned to the message loop, so code that yields still finds its objects there
// afterwards and asks StillLoaded whether to go on. Answers the number of loaded forms.
int DoEvents();

// Taken before a call that may unload the caller's form (a yield, an event the host handles):
// true while `caller` (a form, or a control on one) still exists and its form has not been
// unloaded. An unloaded form lives on until its deferred delete, so a QPointer alone does not
// tell; code that finds it false must leave at once.
class StillLoaded {
public:
    explicit StillLoaded(QObject *caller) : m_caller(caller) {}
    explicit operator bool() const;

private:
    QPointer<QObject> m_caller;
};

// DoEvents for code that goes on after the yield: StillLoaded(caller) across one DoEvents.
bool DoEventsStillLoaded(QObject *caller);

// Deletes an object once no code that yields is running (deleteLater, deferred while inside
// DoEvents). What Unload uses; for anything else that a yielding handler may still be using.
void DeleteWhenSafe(QObject *object);

// Test hook: runs at the start of every DoEvents with the yield's number in the run (1, 2, ...,
// counted from when the hook was installed), before the waiting events are dispatched, so that
// what it posts (a close request, say) arrives inside that very yield. An empty function removes
// it. Answers the hook installed before.
using YieldHook = std::function<void(int yieldNumber)>;
YieldHook SetYieldHook(YieldHook hook);

// Held by code that runs a message loop of its own (DoEvents, modal forms and dialogs, message
// boxes): while one exists, DeleteWhenSafe waits.
class YieldScope {
public:
    YieldScope();
    ~YieldScope();
    YieldScope(const YieldScope &) = delete;
    YieldScope &operator=(const YieldScope &) = delete;
};

} // namespace runtime
