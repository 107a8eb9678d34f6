#pragma once

#include "os/Wmi.h"

#include <QString>

namespace os {

// A machine saved as files in one folder: pnpentity.csv (Export-Csv of Win32_PnPEntity) and
// registry.reg (regedit's export). Either may be missing or damaged; what parses is used.
class SnapshotMachine : public MachineSource
{
public:
    explicit SnapshotMachine(QString folder);
    Machine read() override;

    static std::vector<WmiObject> devicesFromCsv(const QByteArray &bytes);
    // An export of ControlSet00n without CurrentControlSet gets CurrentControlSet as a link to the
    // set that SYSTEM\Select\Current names (1 when it names none), as the live registry has it.
    static void linkCurrentControlSet(RegistryTree &tree);

private:
    QString m_folder;
};

} // namespace os
