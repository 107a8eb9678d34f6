#include "os/RegFile.h"

#include "os/SnapshotText.h"

#include <QStringList>

#include <optional>

namespace os {

namespace {

struct ParsedValue
{
    std::uint32_t type = REG_NONE;
    QByteArray data;
};

// Joins the physical lines of the file into logical ones: a line that ends in "\" goes on in the
// next line, whose leading blanks are dropped (regedit wraps long hex data so).
QStringList logicalLines(const QString &text)
{
    QStringList lines;
    QString pending;
    bool continuing = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        QStringView piece = continuing ? line.trimmed() : line;
        while (!piece.isEmpty() && piece.back().isSpace())
            piece.chop(1);
        continuing = piece.endsWith(QLatin1Char('\\'));
        if (continuing)
            piece.chop(1);
        pending += piece;
        if (!continuing) {
            lines.append(pending);
            pending.clear();
        }
    }
    if (!pending.isEmpty())
        lines.append(pending);
    return lines;
}

// A quoted string with regedit's escapes (\\ and \"), from pos; pos ends after the closing quote.
std::optional<QString> readQuoted(const QString &line, qsizetype &pos)
{
    if (pos >= line.size() || line[pos] != QLatin1Char('"'))
        return std::nullopt;
    ++pos;
    QString text;
    while (pos < line.size()) {
        const QChar ch = line[pos++];
        if (ch == QLatin1Char('\\') && pos < line.size()) {
            text.append(line[pos++]);
        } else if (ch == QLatin1Char('"')) {
            return text;
        } else {
            text.append(ch);
        }
    }
    return std::nullopt;
}

// "hex:" data, bytes of one or two hex digits between commas (blanks around them allowed, empty
// places skipped). A saved machine holds tens of thousands of them, so they are read here
// directly rather than as numbers of the locale.
std::optional<QByteArray> readHexBytes(QStringView text)
{
    const auto digit = [](QChar ch) {
        const char16_t c = ch.unicode();
        return c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
    };
    QByteArray bytes;
    bytes.reserve(text.size() / 3 + 1);
    qsizetype i = 0;
    while (i <= text.size()) {
        const qsizetype comma = text.indexOf(QLatin1Char(','), i);
        const QStringView part = text.sliced(i, (comma < 0 ? text.size() : comma) - i).trimmed();
        i = comma < 0 ? text.size() + 1 : comma + 1;
        if (part.isEmpty())
            continue;
        int byte = 0;
        for (const QChar ch : part) {
            const int value = digit(ch);
            if (value < 0 || part.size() > 2)
                return std::nullopt;
            byte = byte * 16 + value;
        }
        bytes.append(char(byte));
    }
    return bytes;
}

// 8-bit string data of a REGEDIT4 file (Windows-1252), as the UTF-16 the registry keeps.
QByteArray widen(const QByteArray &narrow)
{
    return regStringData(decodeWindows1252(narrow)).chopped(2); // the data brings its own NULs
}

std::optional<ParsedValue> readData(QStringView data, bool unicode)
{
    data = data.trimmed();
    if (data.startsWith(QLatin1Char('"'))) {
        const QString line = data.toString();
        qsizetype pos = 0;
        const std::optional<QString> text = readQuoted(line, pos);
        if (!text || !QStringView(line).mid(pos).trimmed().isEmpty())
            return std::nullopt;
        return ParsedValue{REG_SZ, regStringData(*text)};
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QStringView digits = data.mid(6).trimmed();
        bool ok = false;
        const uint value = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char((value >> (8 * i)) & 0xFF);
        return ParsedValue{REG_DWORD, bytes};
    }
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        QStringView rest = data.mid(3);
        std::uint32_t type = REG_BINARY;
        if (rest.startsWith(QLatin1Char('('))) {
            const qsizetype close = rest.indexOf(QLatin1Char(')'));
            if (close < 0)
                return std::nullopt;
            bool ok = false;
            type = rest.mid(1, close - 1).toUInt(&ok, 16);
            if (!ok)
                return std::nullopt;
            rest = rest.mid(close + 1);
        }
        if (!rest.startsWith(QLatin1Char(':')))
            return std::nullopt;
        std::optional<QByteArray> bytes = readHexBytes(rest.mid(1));
        if (!bytes)
            return std::nullopt;
        if (!unicode && (type == REG_EXPAND_SZ || type == REG_MULTI_SZ))
            bytes = widen(*bytes);
        return ParsedValue{type, *bytes};
    }
    return std::nullopt;
}

} // namespace

HKEY regRootByName(const QString &name)
{
    const QString upper = name.toUpper();
    if (upper == QLatin1String("HKEY_LOCAL_MACHINE") || upper == QLatin1String("HKLM"))
        return HKEY_LOCAL_MACHINE;
    if (upper == QLatin1String("HKEY_CURRENT_USER") || upper == QLatin1String("HKCU"))
        return HKEY_CURRENT_USER;
    if (upper == QLatin1String("HKEY_CLASSES_ROOT") || upper == QLatin1String("HKCR"))
        return HKEY_CLASSES_ROOT;
    if (upper == QLatin1String("HKEY_USERS") || upper == QLatin1String("HKU"))
        return HKEY_USERS;
    if (upper == QLatin1String("HKEY_CURRENT_CONFIG") || upper == QLatin1String("HKCC"))
        return HKEY_CURRENT_CONFIG;
    return 0;
}

RegFileReport readRegFile(const QByteArray &bytes, RegistryTree &tree)
{
    return readRegText(decodeSavedText(bytes), tree);
}

RegFileReport readRegText(const QString &text, RegistryTree &tree)
{
    RegFileReport report;
    bool unicode = true;
    std::shared_ptr<RegistryKey> current;
    bool first = true;
    for (const QString &line : logicalLines(text)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
            continue;
        if (first) {
            first = false;
            if (trimmed == QLatin1String("REGEDIT4")) {
                unicode = false;
                continue;
            }
            if (trimmed.startsWith(QLatin1String("Windows Registry Editor Version")))
                continue;
        }
        if (trimmed.startsWith(QLatin1Char('['))) {
            current.reset();
            if (!trimmed.endsWith(QLatin1Char(']')) || trimmed.startsWith(QLatin1String("[-"))) {
                ++report.skipped;
                continue;
            }
            const QString path = trimmed.mid(1, trimmed.size() - 2);
            const qsizetype slash = path.indexOf(QLatin1Char('\\'));
            const HKEY root = regRootByName(slash < 0 ? path : path.left(slash));
            if (!root) {
                ++report.skipped;
                continue;
            }
            current = tree.create(root, slash < 0 ? QString() : path.mid(slash + 1));
            ++report.keys;
            continue;
        }
        if (!current) {
            ++report.skipped;
            continue;
        }
        QString name;
        qsizetype pos = 0;
        if (trimmed.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else {
            const std::optional<QString> quoted = readQuoted(trimmed, pos);
            if (!quoted) {
                ++report.skipped;
                continue;
            }
            name = *quoted;
        }
        while (pos < trimmed.size() && trimmed[pos].isSpace())
            ++pos;
        if (pos >= trimmed.size() || trimmed[pos] != QLatin1Char('=')) {
            ++report.skipped;
            continue;
        }
        const std::optional<ParsedValue> value = readData(QStringView(trimmed).mid(pos + 1), unicode);
        if (!value) {
            ++report.skipped;
            continue;
        }
        current->setValue(name, value->type, value->data);
        ++report.values;
    }
    return report;
}

} // namespace os
