#include "windows/LookupQuery.h"

#include "core/ModMain.h"

namespace LookupQuery {

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString Quoted(QString id) { return QLatin1Char('\'') + id.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\''); }

}

QStringList IdsOf(const QString &idText)
{
    if (idText.isEmpty())
        return {};
    if (!idText.contains(CrLf))
        return {idText};
    QStringList ids;
    for (const QString &line : idText.split(CrLf)) {
        const QString id = ModMain::TrimSpaces(line);
        if (!id.isEmpty())
            ids.append(id);
    }
    return ids;
}

QString Sql(const QStringList &ids)
{
    if (ids.isEmpty())
        return {};
    QString sql = QStringLiteral("SELECT * FROM hwids Where [hwids].[hwid] = ") + Quoted(ids.first());
    for (qsizetype i = 1; i < ids.size(); ++i)
        sql += QStringLiteral(" OR [hwids].[hwid] = ") + Quoted(ids.at(i));
    return sql;
}

QString LengthKey(const QString &hardwareId) { return QStringLiteral("%1").arg(hardwareId.size(), 3, 10, QLatin1Char('0')); }

} // namespace LookupQuery
