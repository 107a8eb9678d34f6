#include "core/ModSubmission.h"

#include "components/AdoRecordset.h"
#include "components/SuiteListView.h"
#include "core/ModInformation.h"
#include "core/ModMain.h"
#include "os/Wmi.h"
#include "runtime/DoEvents.h"
#include "runtime/Label.h"

#include <QPointer>

namespace ModSubmission {

const QString TextChars = QString::fromUtf16(u"\u201E\u2018\u2019\u201C\u201D\u2022\u0022\u2122\u00AE\u00A9\u2013\u00A1\u00B2")
                          + QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890 ~`"
                                           "!@#$%^&*()_+-=[]{}\\|;:',<.>/?");

namespace {

using ModMain::TrimSpaces;

bool startsWithAny(const QString &lower, std::initializer_list<const char *> prefixes)
{
    for (const char *prefix : prefixes) {
        if (lower.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

bool equalsAny(const QString &lower, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (lower == QLatin1String(name))
            return true;
    }
    return false;
}

bool isCandidate(const QString &deviceId, const QString &name, const QString &manufacturer)
{
    const QString id = deviceId.toLower();
    const QString lowerName = name.toLower();
    const QString maker = manufacturer.toLower();
    if (startsWithAny(id, {"root\\", "storage\\volume", "usb\\root_hub", "swd\\", "uuid", "umb\\", "wpdbusenumroot\\"}))
        return false;
    if (startsWithAny(lowerName, {"standard", "ata channel"}))
        return false;
    if (equalsAny(lowerName, {"usb composite device", "usb mass storage device", "usb printing support",
                              "generic pnp monitor", "hid keyboard device", "hid-compliant mouse", "generic usb hub",
                              "primary ide channel", "secondary ide channel"}))
        return false;
    if (name.isEmpty() || manufacturer.isEmpty())
        return false;
    if (maker == QLatin1String("(standard system devices)") || maker.startsWith(QLatin1String("unknown")))
        return false;
    return IsPlainText(name) && IsPlainText(manufacturer);
}

bool isSkippedPart(const QString &part)
{
    return startsWithAny(TrimSpaces(part).toLower(), {"usbstor\\gencdrom", "gencdrom", "gendisk", "umb\\", "uuid",
                                                      "internal_ide_channel", "hid_device"});
}

QString propertyText(const os::WmiObject &object, const char *name)
{
    const std::optional<QVariant> value = object.get(QString::fromLatin1(name));
    return value && !value->isNull() ? value->toString() : QString();
}

void addRow(SuiteListView *list, const QString &name, const QString &manufacturer, const QString &part)
{
    SuiteListItem *item = list->ListItems().Add(SubmissionKey(name, manufacturer, part), TrimSpaces(name));
    if (item) {
        item->setSubItems(1, TrimSpaces(manufacturer));
        item->setSubItems(2, TrimSpaces(part));
        runtime::DoEvents();
    }
}

// What every step of the scan shares: the list it fills and the label it reports on, either of
// which may go away meanwhile.
struct SubmissionScan {
    QPointer<SuiteListView> target;
    QPointer<runtime::Label> label;

    void setStatus(const QString &caption) const
    {
        if (label)
            label->setCaption(caption);
    }
    // The list's window may be unloaded at any yield (it lives on until its deferred delete):
    // the scan then ends instead of filling a list nobody will see.
    bool yield() const { return runtime::DoEventsStillLoaded(target); }
};

// The hardware-ID text of a device with many IDs (a processor lists eight) is longer than 255
// characters, and a name or maker may be too; a field of that size would refuse the value and
// leave the record without it (a row with an empty name), so every field is sized for long texts.
void openCandidateRecords(ado::Recordset &records)
{
    constexpr int kFieldSize = 65535;
    records.appendField(QStringLiteral("Manufacturer"), ado::DataType::VarChar, kFieldSize);
    records.appendField(QStringLiteral("Name"), ado::DataType::VarChar, kFieldSize);
    records.appendField(QStringLiteral("PNPDeviceID"), ado::DataType::VarChar, kFieldSize);
    records.open();
}

std::vector<os::WmiObject> workingDevices()
{
    if (const auto services = os::GetObject(QStringLiteral("winmgmts:\\\\.\\root\\CIMV2")))
        return services->ExecQuery(os::kQueryWorkingDevices, os::wbemFlagReturnImmediately | os::wbemFlagForwardOnly);
    return {};
}

// A device that is a candidate becomes a record with its hardware IDs. False once the window is
// gone.
bool recordIfCandidate(const SubmissionScan &scan, ado::Recordset &records, const os::WmiObject &object)
{
    const QString deviceId = ModMain::NormalizeSpaces(propertyText(object, "DeviceID"));
    const QString name = ModMain::NormalizeSpaces(propertyText(object, "Name"));
    const QString manufacturer = ModMain::NormalizeSpaces(propertyText(object, "Manufacturer"));
    if (!scan.yield())
        return false;
    if (isCandidate(deviceId, name, manufacturer)) {
        records.addNew();
        records.field(QStringLiteral("Manufacturer")).setValue(manufacturer);
        records.field(QStringLiteral("Name")).setValue(name);
        scan.setStatus(QStringLiteral("Status: Getting ") + propertyText(object, "Name"));
        if (!scan.yield())
            return false;
        records.field(QStringLiteral("PNPDeviceID")).setValue(ModInformation::GetHardwareIDs(propertyText(object, "DeviceID")));
        records.update();
    }
    return scan.yield();
}

// False when the scan ends here: the window gone, or the program closing.
bool recordCandidates(const SubmissionScan &scan, ado::Recordset &records, const std::vector<os::WmiObject> &devices)
{
    for (const os::WmiObject &object : devices) {
        if (ModMain::ClosingProgram)
            break;
        if (!scan.yield() || !recordIfCandidate(scan, records, object))
            return false;
    }
    return !ModMain::ClosingProgram;
}

// A row for each of the record's hardware IDs but the generic ones. False once the window is gone.
bool addRows(const SubmissionScan &scan, const QString &name, const QString &manufacturer, const QString &ids)
{
    if (ids.contains(QLatin1Char('|'))) {
        for (const QString &part : ids.split(QLatin1Char('|'))) {
            if (!TrimSpaces(part).isEmpty() && !isSkippedPart(part) && scan.target)
                addRow(scan.target, name, manufacturer, part);
            if (!scan.yield())
                return false;
        }
    } else if (!ids.isEmpty() && !isSkippedPart(ids) && scan.target) {
        // One ID without a separator: only the prefixes skip it.
        addRow(scan.target, name, manufacturer, ids);
    }
    return true;
}

void listCandidates(const SubmissionScan &scan, ado::Recordset &records)
{
    records.moveFirst();
    while (!records.eof() && !ModMain::ClosingProgram) {
        const QString ids = records.field(QStringLiteral("PNPDeviceID")).value().toString();
        const QString name = records.field(QStringLiteral("Name")).value().toString();
        const QString manufacturer = records.field(QStringLiteral("Manufacturer")).value().toString();
        if (!addRows(scan, name, manufacturer, ids) || !scan.yield())
            return;
        records.moveNext();
    }
    records.close();
}

} // namespace

QString SubmissionKey(const QString &name, const QString &manufacturer, const QString &hardwareId)
{
    return (TrimSpaces(name).toLower() + QLatin1Char('|') + TrimSpaces(manufacturer).toLower() + QLatin1Char('|')
            + TrimSpaces(hardwareId).toLower())
        .toLower();
}

bool IsPlainText(const QString &text)
{
    const QString allowed = TextChars + QChar(0x0009) + QChar(0x00A0);
    QString rest = text;
    runtime::DoEvents();
    for (const QChar ch : allowed) {
        rest.remove(ch);
        runtime::DoEvents();
    }
    const bool plain = TrimSpaces(rest).isEmpty();
    runtime::DoEvents();
    return plain;
}

bool ContainsSkipKeyword(const QString &text, const QStringList &entries)
{
    const QString lower = text.toLower();
    for (const QString &entry : entries) {
        const bool found = lower.contains(entry.toLower());
        runtime::DoEvents();
        if (found)
            return true;
    }
    runtime::DoEvents();
    return false;
}

void GetHardwareForSubmission(SuiteListView *list, runtime::Label *status)
{
    const SubmissionScan scan{list, status};
    ado::Recordset records;
    openCandidateRecords(records);
    const std::vector<os::WmiObject> devices = workingDevices();
    if (!scan.yield() || ModMain::ClosingProgram)
        return;
    if (!recordCandidates(scan, records, devices))
        return;
    scan.setStatus(QStringLiteral("Status: Updating List..."));
    if (!scan.yield())
        return;
    listCandidates(scan, records);
}

} // namespace ModSubmission
