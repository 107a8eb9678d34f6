#include "os/ProfileFile.h"

#include "os/FileName.h"

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

struct Document {
    Encoding encoding = Encoding::Utf8;
    QString text;
};

struct Line {
    QString text;
    QString end;   // "\r\n", "\n" or nothing for a last line without an end
};

const char *legacyCodec()
{
    return "windows-1252";
}

// 8-bit files are read as UTF-8, this system's code page, unless they are not valid UTF-8;
// then as Windows-1252, which the files of the original platform are written in.
Document decode(const QByteArray &bytes)
{
    Document document;
    if (bytes.startsWith("\xFF\xFE")) {
        document.encoding = Encoding::Utf16LE;
        document.text = QStringDecoder(QStringConverter::Utf16LE).decode(bytes.mid(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        document.encoding = Encoding::Utf16BE;
        document.text = QStringDecoder(QStringConverter::Utf16BE).decode(bytes.mid(2));
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        document.encoding = Encoding::Utf8Bom;
        document.text = QString::fromUtf8(bytes.mid(3));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        document.text = utf8.decode(bytes);
        if (utf8.hasError()) {
            document.encoding = Encoding::Windows1252;
            QStringDecoder legacy(legacyCodec());
            document.text = legacy.isValid() ? QString(legacy.decode(bytes)) : QString::fromLatin1(bytes);
        }
    }
    return document;
}

QByteArray encode(const Document &document)
{
    switch (document.encoding) {
    case Encoding::Utf16LE:
        return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(document.text);
    case Encoding::Utf16BE:
        return QByteArray("\xFE\xFF") + QStringEncoder(QStringConverter::Utf16BE).encode(document.text);
    case Encoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + document.text.toUtf8();
    case Encoding::Utf8:
        return document.text.toUtf8();
    case Encoding::Windows1252: {
        QStringEncoder legacy(legacyCodec());
        return legacy.isValid() ? QByteArray(legacy.encode(document.text)) : document.text.toLatin1();
    }
    }
    return {};
}

std::vector<Line> splitLines(const QString &text)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf(QLatin1Char('\n'), start);
        if (newline < 0) {
            lines.push_back({text.mid(start), QString()});
            break;
        }
        const bool crlf = newline > start && text.at(newline - 1) == u'\r';
        lines.push_back({text.mid(start, newline - start - (crlf ? 1 : 0)), crlf ? QStringLiteral("\r\n") : QStringLiteral("\n")});
        start = newline + 1;
    }
    return lines;
}

QString joinLines(const std::vector<Line> &lines)
{
    QString text;
    for (const Line &line : lines)
        text += line.text + line.end;
    return text;
}

std::optional<QString> sectionName(const QString &line)
{
    const QString text = line.trimmed();
    if (!text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    return (close < 0 ? text.mid(1) : text.mid(1, close - 1)).trimmed();
}

bool keyLine(const QString &line, QString &key, QString &value)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || sectionName(line))
        return false;
    key = line.left(equals).trimmed();
    value = line.mid(equals + 1).trimmed();
    return true;
}

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

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

bool readDocument(const QString &path, Document &document)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    document = decode(file.readAll());
    return true;
}

}

unsigned GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                 QString &returned, unsigned size, const QString &fileName)
{
    QString value = defaultValue;
    Document document;
    if (readDocument(resolveFileName(fileName), document)) {
        const std::vector<Line> lines = splitLines(document.text);
        if (const auto range = findSection(lines, section)) {
            QString lineKey;
            QString lineValue;
            for (size_t i = range->first + 1; i < range->second; ++i) {
                if (keyLine(lines[i].text, lineKey, lineValue) && sameName(lineKey, key)) {
                    value = lineValue;
                    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
                        value = value.mid(1, value.size() - 2);
                    break;
                }
            }
        }
    }
    returned = size == 0 ? QString() : value.left(qsizetype(size) - 1);
    return unsigned(returned.size());
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

    std::vector<Line> lines = splitLines(document.text);
    const QString end = !lines.empty() && !lines.front().end.isEmpty() ? lines.front().end : QStringLiteral("\r\n");
    const QString entry = key + QLatin1Char('=') + value;
    const auto endLine = [&](size_t index) {
        if (lines[index].end.isEmpty())
            lines[index].end = end;
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
                lines[i].text = lineKey + QLatin1Char('=') + value;
                replaced = true;
            }
            lastKey = i;
        }
        if (!replaced) {
            endLine(lastKey);
            lines.insert(lines.begin() + qsizetype(lastKey) + 1, Line{entry, end});
        }
    } else {
        if (!lines.empty())
            endLine(lines.size() - 1);
        lines.push_back({QLatin1Char('[') + section + QLatin1Char(']'), end});
        lines.push_back({entry, end});
    }
    document.text = joinLines(lines);

    QSaveFile file(path);
    // A writable file in a folder that is not still gets written, in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encode(document);
    return file.write(bytes) == bytes.size() && file.commit();
}

}
