#pragma once

#include "runtime/StdFont.h"

#include <QString>

class QWidget;

namespace runtime {
class Label;
}

// What the main and lookup windows' designs share: their text font and their plain labels.
namespace WindowDesign {

runtime::StdFont WindowFont();

// A transparent label in the window font, placed in its container's units.
runtime::Label *MakeLabel(QWidget *container, const QString &name, const QString &caption, const QString &tag,
                          double left, double top, double width, double height);

} // namespace WindowDesign
