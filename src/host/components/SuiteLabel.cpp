#include "components/SuiteLabel.h"

#include <QPainter>

SuiteLabel::SuiteLabel(QWidget *container, const QString &name, int index)
    : SuiteCaptionControl(container, name, index)
{
}

void SuiteLabel::draw(QPainter &painter)
{
    painter.fillRect(rect(), backQColor());
    painter.setPen(foreQColor());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextWordWrap, Caption());
}
