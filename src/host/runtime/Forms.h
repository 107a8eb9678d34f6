#pragma once

#include "runtime/Form.h"

#include <QList>

namespace runtime {

// Load: makes the form one of the loaded forms (last in order), starts its enabled timers and
// raises Form_Load and then the Load signal. Nothing happens to a form already loaded.
// The loaded form is owned by the runtime from then on: Unload deletes it.
void Load(Form *form);

// Unload: QueryUnload(Cancel, unloadMode) and Unload(Cancel); when neither cancels, the form
// stops its timers, leaves the loaded forms, hides and is deleted once no code that yields
// (DoEvents) is running, so a handler of the form that yields can finish; after a yield it asks
// StillLoaded whether to go on. Answers false when cancelled. When the last form goes, the
// program ends.
bool Unload(Form *form, int unloadMode = vbFormCode);

// The loaded forms in load order.
class Forms {
public:
    static QList<Form *> All();
    static int Count();

    // The design's implicit form reference: the loaded form of type F, or a new F loaded now
    // (so a form unloaded and used again loads afresh). F must declare Q_OBJECT and be
    // default-constructible.
    template <class F>
    static F *Get()
    {
        for (Form *form : All()) {
            if (F *typed = qobject_cast<F *>(form))
                return typed;
        }
        F *created = new F();
        Load(created);
        return created;
    }
};

} // namespace runtime
