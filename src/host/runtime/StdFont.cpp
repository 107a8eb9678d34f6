#include "runtime/StdFont.h"

#include <QHash>

namespace runtime {

StdFont::StdFont(const QString &name, double size, bool bold, bool italic)
    : m_name(name), m_size(size), m_weight(bold ? 700 : 400), m_italic(italic)
{
}

StdFont StdFont::defaultFont() { return StdFont(QStringLiteral("MS Sans Serif"), 8.25); }

QString StdFont::substituteFace(const QString &name)
{
    // The design's faces and the shipped fonts closest to them in width and feel.
    static const QHash<QString, QString> substitutes = {
        {QStringLiteral("verdana"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("segoe ui"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("tahoma"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("microsoft sans serif"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("arial"), QStringLiteral("Nimbus Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Nimbus Roman")},
        {QStringLiteral("lucida console"), QStringLiteral("DejaVu Sans Mono")},
        {QStringLiteral("courier new"), QStringLiteral("Nimbus Mono PS")},
    };
    return substitutes.value(name.toLower(), name);
}

QFont StdFont::toQFont() const
{
    QFont font(substituteFace(m_name));
    if (m_size > 0)
        font.setPointSizeF(m_size);
    font.setWeight(QFont::Weight(qBound(1, m_weight, 1000)));
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikethrough);
    return font;
}

} // namespace runtime
