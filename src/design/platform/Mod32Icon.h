#pragma once

#include <QString>

class QWidget;

// The frame icons of a window from an icon group of the program's resources.
namespace Mod32Icon {

// Gives the window the group's big and small icon (the system's large and small icon sizes);
// with setToOwner also the window's topmost owner, first. A missing group changes nothing.
void SetIcon(QWidget *window, const QString &resourceName, bool setToOwner);

}
