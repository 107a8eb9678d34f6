#pragma once

#include "gdi/Icon.h"
#include "runtime/StdPicture.h"

#include <QString>

// One image of an icon group of the program's resources as a picture.
namespace ModLoadIconFromRes {

// The image that best fits width by height (0: the system's large icon size, negative: its
// small one), chosen again by colour depth when one is given, made at that size; Nothing when
// the group or the image is missing.
runtime::StdPicture LoadIconFromResource(const QString &resource, int width, int height, int colorDepth, bool isCursor);

// A picture that holds the icon (picture type 3 for an icon).
runtime::StdPicture IconToPicture(const gdi::Icon &icon, int pictureType);

// Links the program's icon resources in; called before they are read.
void EnsureResources();

}
