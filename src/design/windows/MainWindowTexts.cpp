#include "windows/MainWindowTexts.h"

#include <QLocale>

namespace MainWindowTexts {

QString FormatDeviceCount(qint64 count)
{
    if (count == 0)
        return {};
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale.toString(count);
}

QString TabCaption(const QString &tag, int count)
{
    return tag + QStringLiteral(" (") + QString::number(count) + QLatin1Char(')');
}

bool SettingAsBoolean(const QString &value, bool previous)
{
    const QString text = value.trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = text.toDouble(&isNumber);
    return isNumber ? number != 0 : previous;
}

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

} // namespace MainWindowTexts
