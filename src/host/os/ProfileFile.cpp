#include "os/ProfileFile.h"

#include "os/FileName.h"
#include "os/SnapshotText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>
#include <vector>

namespace os {

namespace {

// How a file's text is stored, so that a write keeps it stored the same way.
enum class Encoding { Utf16LE, Utf16BE, Utf8Bom, Utf8, Windows1252 };

struct Line {
    QString text;
    QString end;   // "\r\n", "\n"; for a last line without a line feed "\r" or nothing
    // The text's bytes as the file holds them; nothing once the text is changed. A line that is
    // not written is stored again byte for byte, bytes that do not decode included.
    std::optional<QByteArray> stored;
};

// A file as it lies on disk: its byte-order mark, its lines, and the byte a UTF-16 file of odd
// length has left over at its end (kept there).
struct Document {
    Encoding encoding = Encoding::Utf8;
    std::vector<Line> lines;
    QByteArray tail;
};

const QChar kByteOrderMark(0xFEFF);

QByteArray markOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf16LE:
        return QByteArray("\xFF\xFE");
    case Encoding::Utf16BE:
        return QByteArray("\xFE\xFF");
    case Encoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF");
    case Encoding::Utf8:
    case Encoding::Windows1252:
        break;
    }
    return {};
}

int unitSize(Encoding encoding)
{
    return encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE ? 2 : 1;
}

// 8-bit files are read as UTF-8, this system's code page, unless they are not valid UTF-8;
// then as Windows-1252, which the files of the original platform are written in.
Encoding encodingOf(const QByteArray &bytes)
{
    for (const Encoding marked : {Encoding::Utf16LE, Encoding::Utf16BE, Encoding::Utf8Bom}) {
        if (bytes.startsWith(markOf(marked)))
            return marked;
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);   // decoded only when made a string
    return utf8.hasError() ? Encoding::Windows1252 : Encoding::Utf8;
}

// A further byte-order mark inside the text is a character of the text, not dropped.
QString decodeText(Encoding encoding, QByteArrayView bytes)
{
    const auto flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    switch (encoding) {
    case Encoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, flags).decode(bytes);
    case Encoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, flags).decode(bytes);
    case Encoding::Utf8Bom:
    case Encoding::Utf8:
        return QStringDecoder(QStringConverter::Utf8, flags).decode(bytes);
    case Encoding::Windows1252:
        return decodeWindows1252(bytes);
    }
    return {};
}

// Nothing when the encoding cannot hold the text.
std::optional<QByteArray> encodeText(Encoding encoding, QStringView text)
{
    if (encoding == Encoding::Windows1252)
        return encodeWindows1252(text);
    const QStringConverter::Encoding unicode = encoding == Encoding::Utf16LE   ? QStringConverter::Utf16LE
                                               : encoding == Encoding::Utf16BE ? QStringConverter::Utf16BE
                                                                               : QStringConverter::Utf8;
    QStringEncoder encoder(unicode, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

// Splits the text part of a file (after its mark) at its line feeds, code unit by code unit.
Document parse(const QByteArray &bytes)
{
    Document document;
    document.encoding = encodingOf(bytes);
    const int unit = unitSize(document.encoding);
    QByteArrayView body = QByteArrayView(bytes).sliced(markOf(document.encoding).size());
    if (body.size() % unit != 0) {
        document.tail = body.last(1).toByteArray();
        body.chop(1);
    }
    const QByteArray lineFeed = *encodeText(document.encoding, u"\n");
    const QByteArray carriageReturn = *encodeText(document.encoding, u"\r");
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype newline = start;
        while (newline < body.size() && body.sliced(newline, unit) != QByteArrayView(lineFeed))
            newline += unit;
        Line line;
        QByteArrayView text = body.sliced(start, newline - start);
        const bool carriageReturnEnd = text.endsWith(carriageReturn);
        if (carriageReturnEnd)
            text.chop(unit);
        if (newline < body.size())
            line.end = carriageReturnEnd ? QStringLiteral("\r\n") : QStringLiteral("\n");
        else if (carriageReturnEnd)
            line.end = QStringLiteral("\r");
        line.text = decodeText(document.encoding, text);
        line.stored = text.toByteArray();
        document.lines.push_back(std::move(line));
        start = newline + unit;
    }
    return document;
}

// Nothing when the encoding cannot hold a changed line.
std::optional<QByteArray> encode(const Document &document)
{
    QByteArray bytes = markOf(document.encoding);
    for (const Line &line : document.lines) {
        if (line.stored) {
            bytes += *line.stored;
        } else if (const std::optional<QByteArray> text = encodeText(document.encoding, line.text)) {
            bytes += *text;
        } else {
            return std::nullopt;
        }
        bytes += *encodeText(document.encoding, line.end);
    }
    return bytes + document.tail;
}

// Whether the bytes read back as exactly the document's lines, so that a write changes nothing
// but what it meant to (the guess of an 8-bit file's encoding may change with the bytes).
bool readsBackAs(const QByteArray &bytes, const Document &document)
{
    const Document read = parse(bytes);
    if (read.lines.size() != document.lines.size())
        return false;
    for (std::size_t i = 0; i < read.lines.size(); ++i) {
        if (read.lines[i].text != document.lines[i].text || read.lines[i].end != document.lines[i].end)
            return false;
    }
    return true;
}

// The bytes that store the document. A Windows-1252 file that cannot take the change as it is
// (a character the code page lacks, or text that would then read as UTF-8) becomes UTF-16LE
// with its mark, the form this system creates: every line keeps its text. Nothing when even
// that cannot hold the text.
std::optional<QByteArray> store(Document document)
{
    if (const std::optional<QByteArray> bytes = encode(document); bytes && readsBackAs(*bytes, document))
        return bytes;
    if (document.encoding != Encoding::Windows1252)
        return std::nullopt;
    document.encoding = Encoding::Utf16LE;
    for (Line &line : document.lines)
        line.stored.reset();
    const std::optional<QByteArray> bytes = encode(document);
    if (bytes && readsBackAs(*bytes, document))
        return bytes;
    return std::nullopt;
}

// A line as it is compared: without a byte-order mark that a file may carry twice at its start.
QString visible(const QString &line)
{
    const QString text = line.trimmed();
    return text.startsWith(kByteOrderMark) ? text.mid(1).trimmed() : text;
}

std::optional<QString> sectionName(const QString &line)
{
    const QString text = visible(line);
    if (!text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    return (close < 0 ? text.mid(1) : text.mid(1, close - 1)).trimmed();
}

bool keyLine(const QString &line, QString &key, QString &value)
{
    const QString text = visible(line);
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0 || sectionName(text))
        return false;
    key = text.left(equals).trimmed();
    value = text.mid(equals + 1).trimmed();
    return true;
}

// Sections and keys match without regard to letter case or surrounding blanks.
QString lookupName(const QString &name) { return name.trimmed().toCaseFolded(); }

bool sameName(const QString &a, const QString &b) { return lookupName(a) == lookupName(b); }

// The first line of the section and the line after its last, or nothing.
std::optional<std::pair<size_t, size_t>> findSection(const std::vector<Line> &lines, const QString &section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::optional<QString> name = sectionName(lines[i].text);
        if (!name || !sameName(*name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end].text))
            ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

bool withinSizeBound(qsizetype bytes) { return bytes <= kMaxProfileFileBytes; }

bool readDocument(const QString &path, Document &document)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    // One byte past the bound tells a file that is too large, however large it is.
    const QByteArray bytes = file.read(kMaxProfileFileBytes + 1);
    if (!withinSizeBound(bytes.size()))
        return false;
    document = parse(bytes);
    return true;
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

}

ProfileSection::ProfileSection(const QString &section, const QString &fileName)
{
    Document document;
    if (!readDocument(resolveFileName(fileName), document))
        return;
    const std::vector<Line> &lines = document.lines;
    const auto range = findSection(lines, section);
    if (!range)
        return;
    QString lineKey;
    QString lineValue;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        if (!keyLine(lines[i].text, lineKey, lineValue))
            continue;
        const QString name = lookupName(lineKey);
        if (!m_values.contains(name))
            m_values.insert(name, unquoted(lineValue));
    }
}

unsigned ProfileSection::GetString(const QString &key, const QString &defaultValue, QString &returned, unsigned size) const
{
    const QString value = m_values.value(lookupName(key), defaultValue);
    returned = size == 0 ? QString() : value.left(qsizetype(size) - 1);
    return unsigned(returned.size());
}

unsigned GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                 QString &returned, unsigned size, const QString &fileName)
{
    return ProfileSection(section, fileName).GetString(key, defaultValue, returned, size);
}

bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName)
{
    const QString path = resolveFileName(fileName);
    if (path.isEmpty())
        return false;
    Document document;
    const QFileInfo info(path);
    if (info.exists()) {
        if (!info.isWritable() || !readDocument(path, document))
            return false;
    }

    std::vector<Line> &lines = document.lines;
    // The file's line end is its first line's; a lone carriage return ends no line in between.
    const QString end = !lines.empty() && lines.front().end.endsWith(u'\n') ? lines.front().end : QStringLiteral("\r\n");
    const QString entry = key + QLatin1Char('=') + value;
    // A lone carriage return at the end of the file becomes CR LF, whether a line is added after
    // that last line or the last line is the key rewritten: a kept line keeps its bytes.
    const auto completeLoneCarriageReturn = [&](size_t index) {
        if (lines[index].end == u"\r")
            lines[index].end = QStringLiteral("\r\n");
    };
    const auto endLine = [&](size_t index) {
        if (lines[index].end.isEmpty())
            lines[index].end = end;
        else
            completeLoneCarriageReturn(index);
    };
    if (const auto range = findSection(lines, section)) {
        size_t lastKey = range->first;
        bool replaced = false;
        QString lineKey;
        QString lineValue;
        for (size_t i = range->first + 1; i < range->second && !replaced; ++i) {
            if (!keyLine(lines[i].text, lineKey, lineValue))
                continue;
            if (sameName(lineKey, key)) {
                lines[i] = Line{lineKey + QLatin1Char('=') + value, lines[i].end, std::nullopt};
                completeLoneCarriageReturn(i);
                replaced = true;
            }
            lastKey = i;
        }
        if (!replaced) {
            endLine(lastKey);
            lines.insert(lines.begin() + qsizetype(lastKey) + 1, Line{entry, end, std::nullopt});
        }
    } else {
        if (!lines.empty())
            endLine(lines.size() - 1);
        lines.push_back({QLatin1Char('[') + section + QLatin1Char(']'), end, std::nullopt});
        lines.push_back({entry, end, std::nullopt});
    }
    const std::optional<QByteArray> bytes = store(std::move(document));
    if (!bytes || !withinSizeBound(bytes->size()))
        return false;

    QSaveFile file(path);
    // A writable file in a folder that is not still gets written, in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(*bytes) == bytes->size() && file.commit();
}

}
