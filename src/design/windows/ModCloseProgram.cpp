#include "windows/ModCloseProgram.h"

#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Timer.h"

#include <QPointer>

namespace ModCloseProgram {

namespace {

runtime::Form *LoadedForm(const QString &name)
{
    for (runtime::Form *form : runtime::Forms::All()) {
        if (form->Name() == name)
            return form;
    }
    return nullptr;
}

}

void CloseProgram()
{
    // Only a loaded colour window is unloaded: asking Forms::Get for it would load a new one.
    if (runtime::Form *colors = LoadedForm(QStringLiteral("FrmColors")))
        runtime::Unload(colors);

    if (QPointer<runtime::Form> main = LoadedForm(QStringLiteral("FrmMain"))) {
        for (runtime::Control *control : main->Controls()) {
            auto *timer = qobject_cast<runtime::Timer *>(control);
            if (!timer || !timer->Name().toLower().startsWith(QLatin1String("timer")))
                continue;
            const QPointer<runtime::Timer> guard(timer);
            guard->setEnabled(false);
            runtime::DoEvents();
            if (!main)
                break;
        }
    }

    // Design-time controls cannot be unloaded one by one, so each window goes whole. A list taken
    // afresh after every yield: windows may have gone (or come) meanwhile.
    QList<QPointer<runtime::Form>> refused;
    for (;;) {
        runtime::Form *next = nullptr;
        for (runtime::Form *form : runtime::Forms::All()) {
            if (!refused.contains(form)) {
                next = form;
                break;
            }
        }
        if (!next)
            break;
        if (!runtime::Unload(next))
            refused.append(next);
        runtime::DoEvents();
    }
}

}
