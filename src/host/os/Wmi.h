#pragma once

// Stand-in for the management service (WMI) as the device scans use it: bind to the CIMV2
// namespace, run one of the two Win32_PnPEntity queries, walk the objects in a stable order.
// The objects come from a machine source: the live system (LiveMachine.h) or a machine saved as
// files (SnapshotMachine.h); either also fills the registry (Registry.h) that the scans read next.

#include "os/Registry.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace os {

// One management object: named properties, each possibly null (an invalid QVariant).
class WmiObject
{
public:
    WmiObject() = default;
    // An object with these properties, whose names are already distinct without regard to
    // letter case (a source that reads many properties at once checks them once for all).
    explicit WmiObject(std::vector<std::pair<QString, QVariant>> distinctProperties)
        : m_properties(std::move(distinctProperties))
    {
    }

    void set(const QString &name, const QVariant &value);
    // nullopt when the object has no such property; an invalid QVariant when it is null.
    std::optional<QVariant> get(const QString &name) const;
    const std::vector<std::pair<QString, QVariant>> &properties() const { return m_properties; }

private:
    std::vector<std::pair<QString, QVariant>> m_properties;
};

// What a machine source delivers: the Win32_PnPEntity objects and the registry behind them.
struct Machine
{
    std::vector<WmiObject> devices;
    RegistryTree registry;
};

class MachineSource
{
public:
    virtual ~MachineSource() = default;
    virtual Machine read() = 0;
};

// The source the queries read: installed by a test or the program, otherwise chosen on first use:
// the folder named by KESTROVA_MACHINE when set, else the live system.
void setMachineSource(std::unique_ptr<MachineSource> source);
MachineSource &machineSource();
std::unique_ptr<MachineSource> machineSourceFromEnvironment();

// The ConfigManagerErrorCode of a device that should have a driver and has none installed.
inline constexpr std::uint32_t CM_PROB_FAILED_INSTALL = 28;

inline constexpr int wbemFlagReturnImmediately = 16;
inline constexpr int wbemFlagForwardOnly = 32;

inline const QString kQueryAllDevices = QStringLiteral("SELECT * FROM Win32_PnPEntity");
inline const QString kQueryWorkingDevices =
    QStringLiteral("SELECT * FROM Win32_PnPEntity WHERE ConfigManagerErrorCode = 0");

// The bound namespace. Each query reads the machine afresh and installs its registry.
class WmiServices
{
public:
    // Exactly the two queries above (compared without regard to letter case and runs of
    // spaces); any other text gives an empty result.
    std::vector<WmiObject> ExecQuery(const QString &query, int flags = 0) const;
};

// Binds to "winmgmts:\\.\root\CIMV2" (also with an impersonation prefix); null for any other
// moniker.
std::unique_ptr<WmiServices> GetObject(const QString &moniker);

} // namespace os
