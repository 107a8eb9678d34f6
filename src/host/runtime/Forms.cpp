#include "runtime/Forms.h"

#include "runtime/DoEvents.h"
#include "runtime/Timer.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>

namespace runtime {

namespace {

QList<QPointer<Form>> &loadedForms()
{
    static QList<QPointer<Form>> forms;
    return forms;
}

void syncTimers(Form *form)
{
    for (Timer *timer : form->findChildren<Timer *>())
        timer->sync();
}

}

// The life cycle steps that need the form's private state.
class FormLifecycle {
public:
    static void load(Form *form)
    {
        if (!form || form->m_loaded)
            return;
        form->m_loaded = true;
        form->m_unloaded = false;
        form->m_shownSinceLoad = false;
        form->m_lastResizeSize = form->size();
        form->m_lastResizeState = form->windowState();
        loadedForms().append(form);
        syncTimers(form);
        const QPointer<Form> guard(form);
        form->Form_Load();
        if (guard && guard->m_loaded)
            emit guard->Load();
    }

    static bool unload(Form *form, int unloadMode)
    {
        if (!form || !form->m_loaded)
            return true;
        const QPointer<Form> guard(form);
        int cancel = 0;
        form->Form_QueryUnload(cancel, unloadMode);
        if (!guard || !guard->m_loaded)
            return true;
        emit form->QueryUnload(cancel, unloadMode);
        if (cancel != 0 || !guard || !guard->m_loaded)
            return cancel == 0;
        form->Form_Unload(cancel);
        if (!guard || !guard->m_loaded)
            return true;
        emit form->Unload(cancel);
        if (cancel != 0 || !guard || !guard->m_loaded)
            return cancel == 0;

        form->m_loaded = false;
        form->m_unloaded = true;
        loadedForms().removeAll(guard);
        syncTimers(form);
        form->hide();
        DeleteWhenSafe(form);
        if (Forms::Count() == 0)
            QCoreApplication::quit();
        return true;
    }
};

void Load(Form *form) { FormLifecycle::load(form); }

bool Unload(Form *form, int unloadMode) { return FormLifecycle::unload(form, unloadMode); }

QList<Form *> Forms::All()
{
    QList<Form *> forms;
    for (const QPointer<Form> &form : loadedForms()) {
        if (form && form->IsLoaded())
            forms.append(form);
    }
    return forms;
}

int Forms::Count()
{
    // Every yield answers it: counted in place, not through a list.
    const QList<QPointer<Form>> &forms = loadedForms();
    return int(std::count_if(forms.begin(), forms.end(), [](const QPointer<Form> &form) { return form && form->IsLoaded(); }));
}

} // namespace runtime
