#pragma once

#include "os/Wmi.h"

#include <QString>

namespace os {

// Where the live source reads the machine: the sysfs tree, the proc tree (cpuinfo, kernel
// release) and the folder of the public ID lists pci.ids and usb.ids. Tests point them at small
// fake trees.
struct LiveMachineRoots
{
    QString sys = QStringLiteral("/sys");
    QString proc = QStringLiteral("/proc");
    QString ids = QStringLiteral("/usr/share/misc");
};

// The running system as Windows would show it: one scanner per bus (SysfsScanners.h) feeds one
// list of devices, which becomes the Win32_PnPEntity objects and the registry keys behind them.
class LiveMachine : public MachineSource
{
public:
    explicit LiveMachine(LiveMachineRoots roots = {});
    Machine read() override;

private:
    LiveMachineRoots m_roots;
};

} // namespace os
