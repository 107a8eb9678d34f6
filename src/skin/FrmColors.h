#pragma once

#include "runtime/Form.h"

class SuiteCheckBox;
class SuiteColorPicker;

// The colour-scheme window, one instance. Its swatches hold the live scheme.
class FrmColors : public runtime::Form {
    Q_OBJECT

public:
    FrmColors();

    // Swatch i of the live scheme (indexes 0 to 29 less 11 and 15), or nullptr.
    SuiteColorPicker *ColorPicker(int index) const;
    // Holds the hand cursor (MouseIcon) the logo links copy.
    runtime::Control *ImageMouseIcon() const;
    SuiteCheckBox *CheckDisableShadow() const;
};
