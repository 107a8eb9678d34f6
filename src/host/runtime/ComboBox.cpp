#include "runtime/ComboBox.h"

#include <QComboBox>
#include <QVBoxLayout>

namespace runtime {

ComboBox::ComboBox(QWidget *container, const QString &name, int index)
    : Control(container, name, index), m_combo(new QComboBox(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_combo);
    m_combo->setEditable(false);
    m_combo->setFont(m_font.toQFont());
    setFocusProxy(m_combo);
    applyColors();
    connect(m_combo, &QComboBox::activated, this, &ComboBox::Click);
}

QString ComboBox::Text() const { return m_combo->currentIndex() < 0 ? QString() : m_combo->currentText(); }

int ComboBox::ListIndex() const { return m_combo->currentIndex(); }

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= m_combo->count() || index == m_combo->currentIndex())
        return;
    m_combo->setCurrentIndex(index);
    emit Click();
}

int ComboBox::ListCount() const { return m_combo->count(); }

QString ComboBox::List(int index) const { return m_combo->itemText(index); }

void ComboBox::AddItem(const QString &item)
{
    const bool wasEmpty = m_combo->count() == 0;
    m_combo->addItem(item);
    // A list box of the platform starts with nothing chosen; Qt would choose its first entry.
    if (wasEmpty)
        m_combo->setCurrentIndex(-1);
}

void ComboBox::Clear() { m_combo->clear(); }

void ComboBox::setBackColor(OleColor color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    applyColors();
}

void ComboBox::setForeColor(OleColor color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    applyColors();
}

void ComboBox::setFont(const StdFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    m_combo->setFont(font.toQFont());
}

void ComboBox::applyColors()
{
    const QColor back = toQColor(TranslateOrBlack(m_backColor));
    const QColor fore = toQColor(TranslateOrBlack(m_foreColor));
    QPalette palette = m_combo->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        palette.setColor(role, back);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(role, fore);
    m_combo->setPalette(palette);
}

} // namespace runtime
