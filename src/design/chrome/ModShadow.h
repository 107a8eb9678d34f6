#pragma once

#include "runtime/OleColor.h"

class QWidget;

// The window shadow: every borderless window gets a drop shadow in the scheme's border colour
// through the control suite's frame-shadow service, switched on and off for all windows at once.
namespace ModShadow {

// True while windows are to have a shadow (the negation of the user's "Disable Border Shadow").
inline bool ShadowEnabled = false;

// Configures the service once, with sizes scaled by ModDPI::DPIScale (which must be set first).
// Does nothing when the service is not available.
void InitShadow();

// Gives the window its shadow in shadowColor (the scheme's `titlebottomback`), recolours it when
// it has one, or takes it away when ShadowEnabled is False. The caller reads the colour from the
// colour window: the skin builds on the chrome, so the chrome does not reach back into it.
void UpdateShadow(QWidget *Form, runtime::OleColor shadowColor);

}
