#include "components/SuiteGroupBox.h"

#include <QFontMetrics>
#include <QPainter>

SuiteGroupBox::SuiteGroupBox(QWidget *container, const QString &name, int index)
    : SuiteCaptionControl(container, name, index)
{
}

void SuiteGroupBox::setAppearance(int appearance)
{
    m_appearance = appearance;
    update();
}

void SuiteGroupBox::draw(QPainter &painter)
{
    painter.fillRect(rect(), backQColor());
    const QFontMetrics metrics(painter.font());
    const int top = metrics.height() / 2;
    const QRect frame = rect().adjusted(0, top, -1, -1);
    if (m_appearance == 2) {
        QColor line = foreQColor();
        line.setAlpha(110);
        painter.setPen(line);
        painter.drawRect(frame);
    } else {
        painter.setPen(backQColor().darker(150));
        painter.drawRect(frame);
        painter.setPen(backQColor().lighter(150));
        painter.drawRect(frame.translated(1, 1));
    }
    const QString text = Caption();
    if (text.isEmpty())
        return;
    const QRect textRect(8, 0, metrics.horizontalAdvance(QString(text).replace(QLatin1String("&&"), QLatin1String("&"))) + 4,
                         metrics.height());
    painter.fillRect(textRect, backQColor());
    painter.setPen(foreQColor());
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text);
}
