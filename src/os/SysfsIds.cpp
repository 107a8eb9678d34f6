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

// How many hex digits the text starts with, at most `most`, and their value.
int hexRun(QByteArrayView text, int most, int &value)
{
    value = 0;
    int count = 0;
    for (; count < most && count < text.size(); ++count) {
        const int digit = hexDigit(text[count]);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return count;
}

constexpr QByteArrayView kNameGap("  ");

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

std::optional<IdListLine> ReadIdListLine(QByteArrayView text)
{
    IdListLine line;
    while (line.depth < text.size() && text[line.depth] == '\t')
        ++line.depth;
    QByteArrayView rest = text.sliced(line.depth);
    int value = 0;
    const int digits = hexRun(rest, 4, value);
    // Four digits, or exactly two; three or a two-digit ID not followed by its gap is no ID.
    if (digits < 4 && !(digits >= 2 && rest.sliced(2).startsWith(' ')))
        return std::nullopt;
    line.digits = digits < 4 ? 2 : 4;
    if (line.digits == 2)
        hexRun(rest, 2, value);
    line.id = std::uint16_t(value);
    rest = rest.sliced(line.digits);
    if (!rest.startsWith(kNameGap)) {
        int second = 0;
        if (!rest.startsWith(' ') || hexRun(rest.sliced(1), 4, second) < 4 || !rest.sliced(5).startsWith(kNameGap))
            return std::nullopt;
        line.second = std::uint16_t(second);
        rest = rest.sliced(5);
    }
    line.name = rest.sliced(kNameGap.size()).trimmed();
    // Vendors, devices and products have four digits; only interfaces have two.
    if (line.name.isEmpty() || (line.digits == 4) != (line.depth < 2 || line.second))
        return std::nullopt;
    return line;
}

bool EndsVendorBlock(QByteArrayView line)
{
    return !line.isEmpty() && !line.startsWith('\t') && !line.startsWith('#');
}

SysfsIds::SysfsIds(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        m_text = file.readAll();
    const char *begin = m_text.constData();
    const char *end = begin + m_text.size();
    for (const char *p = begin; p < end; p = nextLine(p, end)) {
        // Indented lines and comments are never vendors: most lines are passed over unread.
        if (*p == '\t' || *p == '#')
            continue;
        const std::optional<IdListLine> line = ReadIdListLine(QByteArrayView(p, lineEnd(p, end)));
        if (line && line->depth == 0 && !line->second)
            m_vendors.emplace(line->id, p - begin);
    }
}

template<typename Visit>
void SysfsIds::forEachInVendorBlock(std::uint16_t vendor, Visit &&visit) const
{
    const auto it = m_vendors.find(vendor);
    if (it == m_vendors.end())
        return;
    const char *end = m_text.constData() + m_text.size();
    for (const char *p = nextLine(m_text.constData() + it->second, end); p < end; p = nextLine(p, end)) {
        const QByteArrayView text(p, lineEnd(p, end));
        if (EndsVendorBlock(text))
            return;
        if (const std::optional<IdListLine> line = ReadIdListLine(text); line && visit(*line))
            return;
    }
}

QString SysfsIds::vendor(std::uint16_t vendor) const
{
    const auto it = m_vendors.find(vendor);
    if (it == m_vendors.end())
        return {};
    const char *p = m_text.constData() + it->second;
    return QString::fromUtf8(ReadIdListLine(QByteArrayView(p, lineEnd(p, m_text.constData() + m_text.size())))->name);
}

QString SysfsIds::device(std::uint16_t vendor, std::uint16_t device) const
{
    QString name;
    forEachInVendorBlock(vendor, [&](const IdListLine &line) {
        if (line.depth != 1 || line.id != device)
            return false;
        name = QString::fromUtf8(line.name);
        return true;
    });
    return name;
}

QString SysfsIds::subsystem(std::uint16_t vendor, std::uint16_t device, std::uint16_t subVendor,
                            std::uint16_t subDevice) const
{
    QString name;
    bool inDevice = false;
    forEachInVendorBlock(vendor, [&](const IdListLine &line) {
        if (line.depth == 1)
            inDevice = line.id == device;
        else if (inDevice && line.depth == 2 && line.id == subVendor && line.second == subDevice)
            name = QString::fromUtf8(line.name);
        return !name.isEmpty();
    });
    return name;
}

} // namespace os
