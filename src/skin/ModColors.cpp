#include "skin/ModColors.h"

#include "runtime/Form.h"

namespace ModColors {

// Placeholder until the engine lands: windows call it in their load already.
void ApplyColorsToForm(runtime::Form *form)
{
    Q_UNUSED(form)
}

void ApplyColorsToAllForms() {}

}
