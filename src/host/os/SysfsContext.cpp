#include "os/SysfsContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace os {

SysfsContext::SysfsContext(LiveMachineRoots roots) : m_roots(std::move(roots)) {}

QString SysfsContext::sysPath(const QString &relative) const
{
    return m_roots.sys + QLatin1Char('/') + relative;
}

QString SysfsContext::procPath(const QString &relative) const
{
    return m_roots.proc + QLatin1Char('/') + relative;
}

QByteArray SysfsContext::binaryAttribute(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return file.read(maxBytes);
}

QString SysfsContext::attribute(const QString &path)
{
    QString text = QString::fromUtf8(binaryAttribute(path));
    while (!text.isEmpty() && (text.back().isSpace() || text.back() == QChar(0)))
        text.chop(1);
    return text;
}

long SysfsContext::hexAttribute(const QString &path)
{
    QString text = attribute(path).trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text = text.mid(2);
    bool ok = false;
    const long value = text.toLong(&ok, 16);
    return ok && value >= 0 ? value : -1;
}

QStringList SysfsContext::entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString SysfsContext::linkTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return {};
    return info.canonicalFilePath();
}

QString SysfsContext::devicePath(const QString &folder) const
{
    const QString root = QFileInfo(m_roots.sys).canonicalFilePath();
    const QString target = QFileInfo(folder).canonicalFilePath();
    return target.startsWith(root) ? target.mid(root.size() + 1) : target;
}

// The name a link points at; the target itself need not be readable.
static QString linkName(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? QFileInfo(info.symLinkTarget()).fileName() : QString();
}

QString SysfsContext::boundDriver(const QString &deviceFolder)
{
    return linkName(deviceFolder + QStringLiteral("/driver"));
}

QString SysfsContext::driverModule(const QString &deviceFolder)
{
    const QString module = linkName(deviceFolder + QStringLiteral("/driver/module"));
    if (!module.isEmpty())
        return module;
    // A built-in driver has no module link; its name stands for it.
    return boundDriver(deviceFolder);
}

const SysfsIds &SysfsContext::pciIds() const
{
    if (!m_pciIds)
        m_pciIds = std::make_unique<SysfsIds>(m_roots.ids + QStringLiteral("/pci.ids"));
    return *m_pciIds;
}

const SysfsIds &SysfsContext::usbIds() const
{
    if (!m_usbIds)
        m_usbIds = std::make_unique<SysfsIds>(m_roots.ids + QStringLiteral("/usb.ids"));
    return *m_usbIds;
}

QString SysfsContext::instancePrefix(int level, const QString &parent)
{
    // Windows derives the middle part from the parent's ID; any stable 32-bit digest serves.
    std::uint32_t hash = 2166136261u;
    for (const QChar ch : parent) {
        hash ^= ch.unicode();
        hash *= 16777619u;
    }
    return QStringLiteral("%1&%2&0").arg(level).arg(hash, 8, 16, QLatin1Char('0'));
}

QString hex4(unsigned value)
{
    return QStringLiteral("%1").arg(value & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

QString hex2(unsigned value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace os
