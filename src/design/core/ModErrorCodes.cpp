#include "core/ModErrorCodes.h"

#include "runtime/DoEvents.h"

#include <array>
#include <utility>

namespace ModErrorCodes {

namespace {

constexpr std::array<std::pair<const char16_t *, const char *>, 37> kDescriptions{{
    {u"0", "OK"},
    {u"1", "Not configured correctly"},
    {u"3", "Driver corrupted or low on memory/resources"},
    {u"9", "Invalid hardware identification number"},
    {u"10", "Device cannot start"},
    {u"12", "Cannot find enough free resources"},
    {u"14", "Computer restart needed"},
    {u"16", "Windows cannot identify all the resources this device uses"},
    {u"18", "Reinstall the drivers for this device"},
    {u"19", "Configuration information in the registry is incomplete or damaged"},
    {u"21", "Windows is removing this device"},
    {u"22", "Device is disabled"},
    {u"24", "Device is not present, not working properly, or all drivers installed"},
    {u"28", "Drivers are not installed"},
    {u"29", "Disabled, the firmware did not give it the required resources"},
    {u"31", "Windows cannot load the drivers required"},
    {u"32", "A driver (service) for this device has been disabled"},
    {u"33", "Windows cannot determine which resources are required for this device"},
    {u"34", "Windows cannot determine the settings for this device"},
    {u"35", "MB Bios does not include enough information to configure this device"},
    {u"36", "Requesting a PCI interrupt but is configured for an ISA interrupt (or vice versa)"},
    {u"37", "Windows cannot initialize the device driver"},
    {u"38", "Previous instance of the device driver is still in memory"},
    {u"39", "Driver may be corrupted or missing"},
    {u"40", "Service key information in the registry is missing or recorded incorrectly"},
    {u"41", "Cannot find the hardware device"},
    {u"42", "Duplicate device already running in the system"},
    {u"43", "Device has reported problems"},
    {u"44", "An application or service has shut down this hardware device"},
    {u"45", "Device is not connected to the computer"},
    {u"46", "Operating system is in the process of shutting down"},
    {u"47", "Prepared for safe removal"},
    {u"48", "Blocked from starting, known problems with Windows"},
    {u"49", "System hive is too large (exceeds the Registry Size Limit)"},
    {u"50", "Windows cannot apply all of the properties for this device"},
    {u"51", "Currently waiting on another device or set of devices to start"},
    {u"52", "Windows cannot verify the digital signature for the drivers required for this device"},
}};

}

QString DescribeErrorCode(const QString &code)
{
    QString description = QStringLiteral("Unknown Error");
    for (const auto &[number, text] : kDescriptions) {
        if (code == QStringView(number)) {
            description = QString::fromLatin1(text);
            break;
        }
    }
    runtime::DoEvents();
    return QLatin1Char('(') + code + QLatin1String(") ") + description;
}

}
