#include "support/GeneratedMachine.h"

#include <QFile>

namespace benchsupport {

namespace {

const char *const kClasses[][2] = {
    {"{4d36e97d-e325-11ce-bfc1-08002be10318}", "System devices"},
    {"{4d36e972-e325-11ce-bfc1-08002be10318}", "Network adapters"},
    {"{36fc9e60-c465-11cf-8056-444553540000}", "Universal Serial Bus controllers"},
    {"{745a17a0-74d3-11d0-b6fe-00a0c90f57da}", "Human Interface Devices"},
    {"{4d36e968-e325-11ce-bfc1-08002be10318}", "Display adapters"},
};

QString hex(const QString &text)
{
    QString out;
    for (const QChar ch : text)
        out += QStringLiteral("%1,%2,").arg(ch.unicode() & 0xFF, 2, 16, QLatin1Char('0')).arg(ch.unicode() >> 8, 2, 16, QLatin1Char('0'));
    return out;
}

}

QString MakeSavedMachine(const QTemporaryDir &dir, int devices)
{
    QString csv = QStringLiteral("#TYPE Microsoft.Management.Infrastructure.CimInstance#root/cimv2/Win32_PnPEntity\r\n"
                                 "\"Name\",\"ConfigManagerErrorCode\",\"DeviceID\",\"ClassGuid\",\"Manufacturer\"\r\n");
    QString reg = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    for (const auto &cls : kClasses) {
        reg += QStringLiteral("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\%1]\r\n@=\"%2\"\r\n\"Icon\"=\"-27\"\r\n\r\n")
                   .arg(QLatin1String(cls[0]), QLatin1String(cls[1]));
    }
    for (int i = 0; i < devices; ++i) {
        const QString id = QStringLiteral("PCI\\VEN_8086&DEV_%1&SUBSYS_00000000&REV_01\\3&11583659&0&%2")
                               .arg(i, 4, 16, QLatin1Char('0')).arg(i % 256, 2, 16, QLatin1Char('0')).toUpper();
        const bool broken = i % 10 == 0;
        const QString guid = QLatin1String(kClasses[i % 5][0]);
        const QString maker = i % 7 == 0 ? QStringLiteral("(Standard system devices)") : QStringLiteral("Intel");
        csv += QStringLiteral("\"Device %1\",\"%2\",\"%3\",\"%4\",%5\r\n")
                   .arg(i)
                   .arg(broken ? 28 : 0)
                   .arg(id, broken ? QString() : guid, broken ? QString() : QStringLiteral("\"") + maker + '"');
        const QString ids = hex(id.section('\\', 0, 1)) + QStringLiteral("00,00,")
                            + hex(id.section('\\', 0, 1).section('&', 0, 1)) + QStringLiteral("00,00,00,00");
        reg += QStringLiteral("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\%1]\r\n\"HardwareID\"=hex(7):%2\r\n").arg(id, ids);
        if (!broken) {
            const QString driver = guid + QStringLiteral("\\%1").arg(i, 4, 10, QLatin1Char('0'));
            reg += QStringLiteral("\"Driver\"=\"%1\"\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\%2]\r\n"
                                  "\"DriverVersion\"=\"10.0.19041.%3\"\r\n")
                       .arg(QString(driver).replace("\\", "\\\\"), driver)
                       .arg(i);
        }
        reg += QStringLiteral("\r\n");
    }
    QFile csvFile(dir.filePath("pnpentity.csv"));
    csvFile.open(QIODevice::WriteOnly);
    csvFile.write(csv.toUtf8());
    QFile regFile(dir.filePath("registry.reg"));
    regFile.open(QIODevice::WriteOnly);
    regFile.write(reg.toUtf8());
    return dir.path();
}

} // namespace benchsupport
