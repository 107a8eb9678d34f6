#include "core/ModHardware.h"

#include "components/SuiteControlsGlobalSettings.h"
#include "components/SuiteListView.h"
#include "core/ModErrorCodes.h"
#include "core/ModInformation.h"
#include "core/ModMain.h"
#include "os/Wmi.h"
#include "platform/ModFileIcons.h"
#include "runtime/DoEvents.h"
#include "runtime/Label.h"

#include <QPointer>

#include <array>
#include <optional>

namespace ModHardware {

using ModMain::TrimSpaces;

namespace {

// The shared image list keys a class icon by its icon index (0 or negative) plus this; the row
// names the same key as its icon.
constexpr std::int32_t ClassIconKeyOffset = 5000;

struct Device
{
    QString deviceId;
    QString name;
    QString manufacturer;
    QString errorText;
    QString classGuid;
    std::int32_t errorCode = 0;
    std::int32_t iconIndex = 0;
};

// A property as text cut at its first NUL; empty when it is absent or null.
QString textOf(const os::WmiObject &object, const QString &name)
{
    const std::optional<QVariant> value = object.get(name);
    if (!value || value->isNull() || !value->canConvert<QString>())
        return {};
    return ModMain::TrimNull(value->toString());
}

std::int32_t numberOf(const os::WmiObject &object, const QString &name)
{
    const std::optional<QVariant> value = object.get(name);
    if (!value || value->isNull())
        return 0;
    bool ok = false;
    const qlonglong number = value->toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX)
        return 0;
    return std::int32_t(number);
}

bool isBlankOrDefault(const QString &classGuid)
{
    return ModMain::NormalizeSpaces(TrimSpaces(classGuid)).isEmpty() || classGuid == DefaultClassGuid;
}

void addRow(SuiteListView *list, const Device &device)
{
    // Each cell is made at this moment, so the reads run again for every list the device enters.
    // The registry reads yield, so they all run before the row exists: a list cleared meanwhile
    // cannot leave this code holding a row that is gone, and a list whose window was unloaded
    // meanwhile gets none.
    const runtime::StillLoaded listAlive(list);
    const QString cells[] = {
        TrimSpaces(ModMain::NormalizeSpaces(device.manufacturer)),
        TrimSpaces(ModErrorCodes::DescribeErrorCode(device.errorText)),
        ModMain::NormalizeSpaces(TrimSpaces(ModInformation::GetDeviceClassName(device.classGuid))),
        TrimSpaces(ModInformation::GetDriverVersion(device.deviceId)),
        TrimSpaces(ModInformation::GetHardwareIDs(device.deviceId)),
    };
    if (!listAlive)
        return;
    SuiteListItem *item =
        list->ListItems().Add(QString(), TrimSpaces(ModMain::NormalizeSpaces(device.name)), device.iconIndex);
    if (!item)
        return;
    for (int column = 1; const QString &cell : cells)
        item->setSubItems(column++, cell);
    runtime::DoEvents();
}

} // namespace

bool IsSkippedDeviceId(const QString &deviceId)
{
    const QString lower = deviceId.toLower();
    for (const char *prefix : {"root\\", "storage\\volume", "usb\\root_hub", "swd\\", "wpdbusenumroot\\"}) {
        if (lower.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

bool BelongsToProblems(std::int32_t errorCode, const QString &classGuid)
{
    return errorCode != 0 || isBlankOrDefault(classGuid);
}

bool BelongsToNoDrivers(const QString &name, std::int32_t errorCode, const QString &classGuid)
{
    const QString lower = name.toLower();
    return lower == QLatin1String("microsoft basic display adapter") || errorCode == std::int32_t(os::CM_PROB_FAILED_INSTALL)
           || lower == QLatin1String("standard vga graphics adapter") || isBlankOrDefault(classGuid);
}

bool BelongsToNoSystemDevices(const QString &manufacturer)
{
    return manufacturer.toLower() != QLatin1String("(standard system devices)");
}

namespace {

// The four lists and the status line of one scan, each guarded: a list cleared or unloaded
// meanwhile is left alone.
struct InventoryScan {
    QPointer<SuiteListView> hardware;
    QPointer<SuiteListView> noDrivers;
    QPointer<SuiteListView> problems;
    QPointer<SuiteListView> noSystem;
    QPointer<runtime::Label> status;

    void setStatus(const QString &caption) const
    {
        if (status)
            status->setCaption(caption);
    }
    // The lists' window may be unloaded at any yield (it lives on until its deferred delete):
    // the scan then ends instead of filling lists nobody will see.
    bool yield() const { return runtime::DoEventsStillLoaded(hardware); }
};

std::vector<os::WmiObject> allDevices()
{
    if (const auto services = os::GetObject(QStringLiteral("winmgmts:\\\\.\\root\\CIMV2")))
        return services->ExecQuery(os::kQueryAllDevices, os::wbemFlagReturnImmediately | os::wbemFlagForwardOnly);
    return {};
}

// The working values of one device, with the replacements of missing ones the list rules expect.
Device deviceOf(const os::WmiObject &object)
{
    Device device;
    device.deviceId = textOf(object, QStringLiteral("DeviceID"));
    device.name = textOf(object, QStringLiteral("Name"));
    device.manufacturer = textOf(object, QStringLiteral("Manufacturer"));
    device.errorText = textOf(object, QStringLiteral("ConfigManagerErrorCode"));
    device.classGuid = textOf(object, QStringLiteral("ClassGuid"));
    device.errorCode = numberOf(object, QStringLiteral("ConfigManagerErrorCode"));
    if (device.name.isEmpty())
        device.name = QStringLiteral("Unknown");
    if (device.manufacturer.isEmpty())
        device.manufacturer = QStringLiteral("Unknown");
    if (device.classGuid.isEmpty())
        device.classGuid = DefaultClassGuid;
    return device;
}

// Puts the device's class icon into the shared image list and gives the device its key; a class
// that names no icon file leaves the icon index as the registry read left it. False once the
// window is gone.
bool addClassIcon(const InventoryScan &scan, SuiteImageManagerIcons *icons, Device &device)
{
    const QString iconSource = ModInformation::GetClassIconSource(device.classGuid, device.iconIndex);
    if (!scan.yield())
        return false;
    if (iconSource.isEmpty())
        return true;
    ModFileIcons::AddFileIcon(device.iconIndex + ClassIconKeyOffset, iconSource, device.iconIndex);
    if (!scan.yield())
        return false;
    for (const QPointer<SuiteListView> &list : {scan.hardware, scan.problems, scan.noDrivers, scan.noSystem}) {
        if (list)
            list->setIcons(icons);
    }
    device.iconIndex += ClassIconKeyOffset;
    return scan.yield();
}

void addToLists(const InventoryScan &scan, const Device &device)
{
    if (IsSkippedDeviceId(device.deviceId))
        return;
    if (scan.hardware)
        addRow(scan.hardware, device);
    if (scan.problems && BelongsToProblems(device.errorCode, device.classGuid))
        addRow(scan.problems, device);
    if (scan.noDrivers && BelongsToNoDrivers(device.name, device.errorCode, device.classGuid))
        addRow(scan.noDrivers, device);
    if (scan.noSystem && BelongsToNoSystemDevices(device.manufacturer))
        addRow(scan.noSystem, device);
}

// One device from its reading to its rows. False once the window is gone.
bool scanDevice(const InventoryScan &scan, SuiteImageManagerIcons *icons, const os::WmiObject &object)
{
    if (!scan.yield())
        return false;
    Device device = deviceOf(object);
    if (!scan.yield())
        return false;
    scan.setStatus(QStringLiteral("Status: Getting ") + device.name);
    if (!scan.yield() || !addClassIcon(scan, icons, device))
        return false;
    addToLists(scan, device);
    return scan.yield();
}

} // namespace

void GetHardware(SuiteListView *ListViewHardware, SuiteListView *ListViewNoDrivers, SuiteListView *ListViewProblems,
                 SuiteListView *ListViewNoSystemDevices, runtime::Label *LabelStatus)
{
    const InventoryScan scan{ListViewHardware, ListViewNoDrivers, ListViewProblems, ListViewNoSystemDevices, LabelStatus};
    const std::vector<os::WmiObject> devices = allDevices();
    if (!scan.yield() || ModMain::ClosingProgram)
        return;
    SuiteImageManagerIcons *icons = SuiteControlsGlobalSettings::Global().Icons();
    icons->RemoveAll();
    ModFileIcons::ForgetReadIcons();
    if (!scan.yield())
        return;
    for (const os::WmiObject &object : devices) {
        if (ModMain::ClosingProgram || !scanDevice(scan, icons, object))
            return;
    }
    if (!ModMain::ClosingProgram) {
        scan.setStatus(QStringLiteral("Status: Done"));
        scan.yield();
    }
}

} // namespace ModHardware
