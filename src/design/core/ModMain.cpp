#include "core/ModMain.h"

#include "core/ByteSize.h"
#include "os/FileName.h"
#include "runtime/DoEvents.h"

#include <QFile>
#include <QLocale>

namespace ModMain {

namespace {

void yield()
{
    runtime::DoEvents();
}

// The "0.00" pattern: two decimals with the system's decimal separator and no grouping.
QString twoDecimals(double value)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

}

QString TrimNull(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

QString TrimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString NormalizeSpaces(const QString &value)
{
    QString text = value;
    yield();
    text.replace(QChar(u'\t'), QChar(u' '));
    yield();
    text.replace(QChar(0x00A0), QChar(u' '));
    yield();
    while (text.contains(QLatin1String("  "))) {
        text.replace(QLatin1String("  "), QLatin1String(" "));
        yield();
    }
    text = TrimSpaces(text);
    yield();
    return text;
}

void DeleteFilePath(const QString &path)
{
    // Callers name the file as the program folder's files are named everywhere ("\" separators,
    // any letter case).
    QFile::remove(os::resolveFileName(path));
    yield();
}

QString FormatByteSize(double n)
{
    QString text;
    switch (ByteSize::UnitOf(n)) {
    case ByteSize::Unit::Bytes: {
        QLocale locale = QLocale::system();
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        text = locale.toString(n, 'g', 15) + QLatin1String(" Bytes");
        break;
    }
    case ByteSize::Unit::KB:
        text = twoDecimals(n / ByteSize::kBytesPerKB) + QLatin1String(" KB");
        break;
    case ByteSize::Unit::MB:
        text = twoDecimals(n / ByteSize::kBytesPerMB) + QLatin1String(" MB");
        break;
    }
    yield();
    return text;
}

void SetMenuTarget(QWidget *window)
{
    MenuTargetForm = window;
}

}
