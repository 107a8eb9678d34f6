#include "os/SysfsIds.h"

#include <QFile>

#include <cstring>

namespace os {

namespace {

int hexDigit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// Four hex digits at p (bounded by end); -1 when they are not there.
int hex4(const char *p, const char *end)
{
    if (end - p < 4)
        return -1;
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigit(p[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

QString nameAfter(const char *p, const char *lineEnd)
{
    while (p < lineEnd && (*p == ' ' || *p == '\t'))
        ++p;
    const char *end = lineEnd;
    while (end > p && (end[-1] == ' ' || end[-1] == '\r'))
        --end;
    return QString::fromUtf8(p, end - p);
}

const char *lineEnd(const char *p, const char *end)
{
    const void *nl = std::memchr(p, '\n', size_t(end - p));
    return nl ? static_cast<const char *>(nl) : end;
}

const char *nextLine(const char *p, const char *end)
{
    const char *eol = lineEnd(p, end);
    return eol < end ? eol + 1 : end;
}

} // namespace

SysfsIds::SysfsIds(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        m_text = file.readAll();
    const char *begin = m_text.constData();
    const char *end = begin + m_text.size();
    for (const char *p = begin; p < end;) {
        const char *eol = lineEnd(p, end);
        if (*p != '\t' && *p != '#') {
            const int id = hex4(p, eol);
            if (id >= 0 && eol - p > 5 && p[4] == ' ')
                m_vendors.emplace(std::uint16_t(id), p - begin);
        }
        p = eol < end ? eol + 1 : end;
    }
}

QString SysfsIds::vendor(std::uint16_t vendor) const
{
    const auto it = m_vendors.find(vendor);
    if (it == m_vendors.end())
        return {};
    const char *p = m_text.constData() + it->second;
    const char *end = m_text.constData() + m_text.size();
    return nameAfter(p + 4, lineEnd(p, end));
}

QString SysfsIds::device(std::uint16_t vendor, std::uint16_t device) const
{
    const auto it = m_vendors.find(vendor);
    if (it == m_vendors.end())
        return {};
    const char *end = m_text.constData() + m_text.size();
    const char *p = nextLine(m_text.constData() + it->second, end);
    while (p < end && (*p == '\t' || *p == '#')) {
        const char *eol = lineEnd(p, end);
        if (*p == '\t' && p + 1 < eol && p[1] != '\t' && hex4(p + 1, eol) == device)
            return nameAfter(p + 5, eol);
        p = eol < end ? eol + 1 : end;
    }
    return {};
}

QString SysfsIds::subsystem(std::uint16_t vendor, std::uint16_t device, std::uint16_t subVendor,
                            std::uint16_t subDevice) const
{
    const auto it = m_vendors.find(vendor);
    if (it == m_vendors.end())
        return {};
    const char *end = m_text.constData() + m_text.size();
    const char *p = nextLine(m_text.constData() + it->second, end);
    bool inDevice = false;
    while (p < end && (*p == '\t' || *p == '#')) {
        const char *eol = lineEnd(p, end);
        if (*p == '\t' && p + 1 < eol && p[1] != '\t') {
            inDevice = hex4(p + 1, eol) == device;
        } else if (inDevice && p + 2 < eol && p[0] == '\t' && p[1] == '\t') {
            if (hex4(p + 2, eol) == subVendor && eol - p > 11 && hex4(p + 7, eol) == subDevice)
                return nameAfter(p + 11, eol);
        }
        p = eol < end ? eol + 1 : end;
    }
    return {};
}

} // namespace os
