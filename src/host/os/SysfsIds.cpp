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

// White space as the lists' names may carry it at their ends (a CR LF file's CR among it).
bool isBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

// The four hex digits after a line's tabs, -1 without them: enough to pass over a line that
// cannot be the one sought without reading it in full.
int leadingId(QByteArrayView line, int depth)
{
    int id = 0;
    return hexRun(line.sliced(depth), 4, id) == 4 ? id : -1;
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

std::optional<IdListLine> ReadIdListLine(QByteArrayView text)
{
    // Read char by char: a scan's lookups walk a big vendor's block line by line.
    const char *p = text.data();
    const char *const end = p + text.size();
    IdListLine line;
    while (p < end && *p == '\t')
        ++p;
    line.depth = int(p - text.data());
    auto spaceAt = [end](const char *at) { return at < end && *at == ' '; };
    int value = 0;
    const int digits = hexRun(QByteArrayView(p, end), 4, value);
    // Four digits, or exactly two; three, or two not followed by a space, are no ID.
    if (digits < 4 && !(digits >= 2 && spaceAt(p + 2)))
        return std::nullopt;
    line.digits = digits < 4 ? 2 : 4;
    if (line.digits == 2)
        hexRun(QByteArrayView(p, end), 2, value);
    line.id = std::uint16_t(value);
    p += line.digits;
    if (!(spaceAt(p) && spaceAt(p + 1))) {
        int second = 0;
        if (!spaceAt(p) || hexRun(QByteArrayView(p + 1, end), 4, second) < 4 || !spaceAt(p + 5) || !spaceAt(p + 6))
            return std::nullopt;
        line.second = std::uint16_t(second);
        p += 5;
    }
    p += 2;
    const char *nameEnd = end;
    while (p < nameEnd && isBlank(*p))
        ++p;
    while (nameEnd > p && isBlank(nameEnd[-1]))
        --nameEnd;
    line.name = QByteArrayView(p, nameEnd);
    // Vendors, devices and products have four digits; only interfaces have two.
    if (line.name.isEmpty() || (line.digits == 4) != (line.depth < 2 || line.second))
        return std::nullopt;
    return line;
}

bool EndsVendorBlock(QByteArrayView line)
{
    return !line.isEmpty() && !line.startsWith('\t') && !line.startsWith('#');
}

SysfsIds::SysfsIds(const QString &path) : m_file(path)
{
    if (m_file.open(QIODevice::ReadOnly)) {
        if (const uchar *mapped = m_file.size() > 0 ? m_file.map(0, m_file.size()) : nullptr) {
            m_text = QByteArrayView(mapped, m_file.size());
        } else {
            m_read = m_file.readAll();
            m_text = m_read;
        }
    }
    const char *begin = m_text.constData();
    const char *end = begin + m_text.size();
    for (const char *p = begin, *eol = p; p < end; p = eol < end ? eol + 1 : end) {
        eol = lineEnd(p, end);
        // Indented lines and comments are never vendors: most lines are passed over unread.
        if (*p == '\t' || *p == '#')
            continue;
        const std::optional<IdListLine> line = ReadIdListLine(QByteArrayView(p, eol));
        if (line && line->depth == 0 && !line->second)
            m_vendors.emplace(line->id, p - begin);
    }
}

template<typename Visit>
void SysfsIds::forEachInVendorBlock(std::uint16_t vendor, int deepest, Visit &&visit) const
{
    const auto it = m_vendors.find(vendor);
    if (it == m_vendors.end())
        return;
    const char *end = m_text.constData() + m_text.size();
    for (const char *p = nextLine(m_text.constData() + it->second, end), *eol = p; p < end; p = eol < end ? eol + 1 : end) {
        eol = lineEnd(p, end);
        const QByteArrayView text(p, eol);
        if (EndsVendorBlock(text))
            return;
        // Lines deeper than the lookup needs (a big vendor's many subsystems) are passed over.
        int depth = 0;
        while (depth <= deepest && depth < text.size() && text[depth] == '\t')
            ++depth;
        if (depth <= deepest && visit(depth, text))
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
    forEachInVendorBlock(vendor, 1, [&](int depth, QByteArrayView text) {
        if (depth != 1 || leadingId(text, depth) != device)
            return false;
        const std::optional<IdListLine> line = ReadIdListLine(text);
        if (line)
            name = QString::fromUtf8(line->name);
        return bool(line);
    });
    return name;
}

QString SysfsIds::subsystem(std::uint16_t vendor, std::uint16_t device, std::uint16_t subVendor,
                            std::uint16_t subDevice) const
{
    QString name;
    bool inDevice = false;
    // Only a line that could be the one asked for, or end the device's lines, is read in full.
    forEachInVendorBlock(vendor, 2, [&](int depth, QByteArrayView text) {
        if (depth == 1 && (inDevice || leadingId(text, depth) == device)) {
            if (const std::optional<IdListLine> line = ReadIdListLine(text))
                inDevice = line->id == device;
        } else if (depth == 2 && inDevice && leadingId(text, depth) == subVendor) {
            if (const std::optional<IdListLine> line = ReadIdListLine(text); line && line->second == subDevice)
                name = QString::fromUtf8(line->name);
        }
        return !name.isEmpty();
    });
    return name;
}

} // namespace os
