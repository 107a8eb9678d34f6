#include "update/VersionCheck.h"

#include "core/ModMain.h"

#include <QStringList>

namespace VersionCheck {

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Splitting an empty text gives no fields at all, so an unreadable local version has none.
QStringList Fields(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(u'.');
}

} // namespace

QString LocalDatabaseVersion(const QString &caption)
{
    const QStringList pieces = caption.split(u':');
    if (pieces.size() < 2)
        return {};
    return ModMain::TrimSpaces(pieces.at(1));
}

bool IsValidOnlineVersion(const QString &online, int limit)
{
    return !online.isEmpty() && online.size() < limit;
}

QString PaddedField(const QString &field)
{
    // Blanks around a number (the page's closing line break among them) do not stop it being a
    // number; otherwise "1.2.3\r\n" would read as newer than "1.2.3".
    qsizetype first = 0;
    qsizetype last = field.size();
    while (first < last && IsBlank(field.at(first)))
        ++first;
    while (last > first && IsBlank(field.at(last - 1)))
        --last;
    if (first == last)
        return field;
    for (qsizetype i = first; i < last; ++i) {
        if (field.at(i) < u'0' || field.at(i) > u'9')
            return field;
    }
    while (first < last - 1 && field.at(first) == u'0')
        ++first;
    const QString digits = field.mid(first, last - first);
    return digits.size() >= 5 ? digits : QString(5 - digits.size(), u'0') + digits;
}

bool IsUpToDate(const QString &online, const QString &local)
{
    const QStringList o = Fields(online);
    const QStringList v = Fields(local);
    for (qsizetype i = 0; i < 3; ++i) {
        if (i >= o.size() || i >= v.size())
            return true;
        const QString po = PaddedField(o.at(i));
        const QString pv = PaddedField(v.at(i));
        const int order = QString::compare(po, pv, Qt::CaseSensitive);
        if (order > 0)
            return false;
        if (order != 0)
            return true;
    }
    return true;
}

} // namespace VersionCheck
