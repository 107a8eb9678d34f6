#include "components/SuiteColorPicker.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <limits>

namespace {

std::optional<runtime::OleColor> askWithDialog(runtime::OleColor current, QWidget *parent)
{
    const QColor chosen = QColorDialog::getColor(runtime::toQColor(runtime::TranslateOrBlack(current)), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return runtime::fromQColor(chosen);
}

SuiteColorPicker::Chooser &chooser()
{
    static SuiteColorPicker::Chooser current = askWithDialog;
    return current;
}

}

SuiteColorPicker::SuiteColorPicker(QWidget *container, const QString &name, int index)
    : SuiteCaptionControl(container, name, index)
{
    setFocusPolicy(Qt::StrongFocus);
}

void SuiteColorPicker::setChooser(Chooser c)
{
    chooser() = c ? std::move(c) : Chooser(askWithDialog);
}

void SuiteColorPicker::setColor(runtime::OleColor color)
{
    m_color = color;
    update();
}

bool SuiteColorPicker::SetColorFromText(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<quint32>::max())
        return false;
    setColor(runtime::OleColor(quint32(value)));
    return true;
}

void SuiteColorPicker::setAppearance(int appearance)
{
    m_appearance = appearance;
    update();
}

namespace {

// The colour patch at the left, 4 pixels in from the edges and half as wide again as high: the
// rest of a swatch's design width holds its caption ("Logo Background") in the stand-in font.
QRect patchRect(const QSize &size)
{
    const int side = std::max(0, size.height() - 8);
    return QRect(4, 4, side * 3 / 2, side);
}

}

QRect SuiteColorPicker::CaptionRect() const { return rect().adjusted(patchRect(size()).right() + 6, 0, 0, 0); }

void SuiteColorPicker::draw(QPainter &painter)
{
    const QColor back = backQColor();
    painter.fillRect(rect(), back);
    if (m_appearance != 2) {
        painter.setPen(back.darker(160));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QRect patch = patchRect(size());
    painter.fillRect(patch, runtime::toQColor(runtime::TranslateOrBlack(m_color)));
    painter.setPen(Qt::black);
    painter.drawRect(patch.adjusted(0, 0, -1, -1));
    // Flat swatches (Appearance 2) stand on the program's back colour, which the scheme may make
    // dark or light: their caption takes black or white, whichever reads on it.
    painter.setPen(m_appearance == 2 ? (back.lightnessF() < 0.5 ? QColor(Qt::white) : QColor(Qt::black)) : foreQColor());
    painter.drawText(CaptionRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, Caption());
}

void SuiteColorPicker::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

void SuiteColorPicker::click()
{
    QPointer<SuiteColorPicker> self(this);
    const std::optional<runtime::OleColor> picked = chooser()(m_color, this);
    if (!self || !picked)
        return;
    setColor(*picked);
    emit Change();
}
