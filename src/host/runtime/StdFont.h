#pragma once

#include <QFont>
#include <QMetaType>
#include <QString>

namespace runtime {

// A font as the windows and controls store and hand it on: face name, size in points and the
// style switches. It is a value; compare with ==. toQFont maps the face names the design uses
// onto the fonts shipped here (Verdana and Segoe UI onto DejaVu Sans, and so on).
class StdFont {
public:
    StdFont() = default;
    StdFont(const QString &name, double size, bool bold = false, bool italic = false);

    QString Name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    double Size() const { return m_size; }
    void setSize(double points) { m_size = points; }
    bool Bold() const { return m_weight >= 700; }
    void setBold(bool bold) { m_weight = bold ? 700 : 400; }
    int Weight() const { return m_weight; }
    void setWeight(int weight) { m_weight = weight; }
    bool Italic() const { return m_italic; }
    void setItalic(bool italic) { m_italic = italic; }
    bool Underline() const { return m_underline; }
    void setUnderline(bool underline) { m_underline = underline; }
    bool Strikethrough() const { return m_strikethrough; }
    void setStrikethrough(bool strike) { m_strikethrough = strike; }
    int Charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset; }

    // The Qt font to draw with, the face name replaced by its substitute.
    QFont toQFont() const;

    // The font a form starts with: MS Sans Serif, 8.25 points.
    static StdFont defaultFont();
    // The face that stands in for a face name of the design ("Verdana" -> "DejaVu Sans");
    // an unknown name stands for itself.
    static QString substituteFace(const QString &name);

    friend bool operator==(const StdFont &, const StdFont &) = default;

private:
    QString m_name = QStringLiteral("MS Sans Serif");
    double m_size = 8.25;
    int m_weight = 400;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikethrough = false;
    int m_charset = 0;
};

} // namespace runtime

Q_DECLARE_METATYPE(runtime::StdFont)
