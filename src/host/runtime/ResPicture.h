#pragma once

#include "runtime/StdPicture.h"

#include <QString>

namespace runtime {

// LoadResPicture's kinds of resource.
enum LoadResConstants { vbResBitmap = 0, vbResIcon = 1, vbResCursor = 2 };

// A picture of the program's resources by its name: the cursors (vbResCursor: "APPHAND", the hand
// that marks a link) as icon pictures whose hot spot is their centre. Nothing for a name or kind
// the program does not have.
StdPicture LoadResPicture(const QString &id, int type);

} // namespace runtime
