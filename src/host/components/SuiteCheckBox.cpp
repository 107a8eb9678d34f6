#include "components/SuiteCheckBox.h"

#include <QMouseEvent>
#include <QPainter>

SuiteCheckBox::SuiteCheckBox(QWidget *container, const QString &name, int index)
    : SuiteCaptionControl(container, name, index)
{
    setFocusPolicy(Qt::StrongFocus);
}

bool SuiteCheckBox::setValue(int value)
{
    if (value != 0 && value != 1)
        return false;
    m_value = value;
    update();
    return true;
}

bool SuiteCheckBox::SetValueFromText(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && setValue(value);
}

namespace {

constexpr int BoxSide = 13;

}

QRect SuiteCheckBox::CaptionRect() const { return rect().adjusted(BoxSide + 5, 0, 0, 0); }

void SuiteCheckBox::draw(QPainter &painter)
{
    painter.fillRect(rect(), backQColor());
    const int side = BoxSide;
    const QRect box(0, (height() - side) / 2, side, side);
    // The box stays white with a dark mark, readable on any scheme.
    const QColor mark(0x20, 0x20, 0x20);
    painter.fillRect(box, Qt::white);
    painter.setPen(mark);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (m_value == 1) {
        painter.setPen(QPen(mark, 2));
        painter.drawLine(box.left() + 3, box.center().y(), box.left() + 5, box.bottom() - 3);
        painter.drawLine(box.left() + 5, box.bottom() - 3, box.right() - 2, box.top() + 3);
    }
    painter.setPen(foreQColor());
    painter.drawText(CaptionRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, Caption());
}

void SuiteCheckBox::click()
{
    setValue(m_value == 1 ? 0 : 1);
    emit Click();
}

void SuiteCheckBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    if (event->button() == Qt::LeftButton && rect().contains(p.toPoint()))
        click();
    emit MouseUp(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()), float(p.x()),
                 float(p.y()));
}
