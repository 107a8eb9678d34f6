#pragma once

namespace runtime {
class Form;
}

// The colour engine: applies the live scheme (the colour window's swatches) to windows by the
// name prefixes of their controls.
namespace ModColors {

void ApplyColorsToForm(runtime::Form *form);
void ApplyColorsToAllForms();

}
