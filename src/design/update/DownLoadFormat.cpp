#include "update/DownLoadFormat.h"

#include "core/ByteSize.h"

#include <cmath>

namespace DownLoadFormat {

namespace {

// The format "0": a whole number, halves away from zero.
QString wholeNumber(double value)
{
    return QString::number(std::round(value), 'f', 0);
}

// A whole number of any size as text (a time left can be far beyond any integer type).
QString integerText(double value)
{
    return QString::number(value == 0 ? 0.0 : value, 'f', 0);
}

// "Rounded" (to a whole number, halves to even) modulo 60, the remainder taking the sign of
// the dividend.
double roundedModulo60(double value)
{
    return std::fmod(std::nearbyint(value), 60.0);
}

// Position (from 1) of the first "." at or after character length - 5; 0 when there is none
// or the text is too short to have that start.
qsizetype extensionDot(const QString &text)
{
    const qsizetype start = text.size() - 5;
    if (start < 1)
        return 0;
    return text.indexOf(QLatin1Char('.'), start - 1) + 1;
}

} // namespace

QString FormatRate(double rate)
{
    switch (ByteSize::UnitOf(rate)) {
    case ByteSize::Unit::Bytes:
        return wholeNumber(rate) + QStringLiteral(" Bytes/s");
    case ByteSize::Unit::KB:
        return QString::number(rate / ByteSize::kBytesPerKB, 'f', 2) + QStringLiteral(" KB/s");
    case ByteSize::Unit::MB:
        break;
    }
    return QString::number(rate / ByteSize::kBytesPerMB, 'f', 2) + QStringLiteral(" MB/s");
}

QString FormatTimeLeft(float seconds)
{
    const double t = seconds;
    if (t >= 0 && t <= 59)
        return wholeNumber(t) + QStringLiteral(" sec");
    if (t >= 60 && t <= 3599)
        return integerText(std::floor(t / 60)) + QStringLiteral(" min ") + integerText(roundedModulo60(t))
               + QStringLiteral(" sec");
    return integerText(std::floor(t / 3600)) + QStringLiteral(" hr ") + integerText(roundedModulo60(t / 60))
           + QStringLiteral(" min");
}

QString ApplyUrlExtension(const QString &url, const QString &saveLocation)
{
    return saveLocation.left(extensionDot(saveLocation)) + url.mid(extensionDot(url));
}

} // namespace DownLoadFormat
