#include "runtime/ListBox.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace runtime {

ListBox::ListBox(QWidget *container, const QString &name, int index)
    : Control(container, name, index), m_list(new QListWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    m_list->setFont(m_font.toQFont());
    applyColors();
}

void ListBox::AddItem(const QString &item) { m_list->addItem(item); }

void ListBox::RemoveItem(int position)
{
    if (position >= 0 && position < m_list->count())
        delete m_list->takeItem(position);
}

void ListBox::Clear() { m_list->clear(); }

int ListBox::ListCount() const { return m_list->count(); }

QString ListBox::List(int position) const
{
    const QListWidgetItem *item = m_list->item(position);
    return item ? item->text() : QString();
}

QStringList ListBox::Items() const
{
    QStringList items;
    items.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        items.append(m_list->item(i)->text());
    return items;
}

void ListBox::setBackColor(OleColor color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    applyColors();
}

void ListBox::setForeColor(OleColor color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    applyColors();
}

void ListBox::setFont(const StdFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    m_list->setFont(font.toQFont());
}

void ListBox::applyColors()
{
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, toQColor(TranslateOrBlack(m_backColor)));
    palette.setColor(QPalette::Text, toQColor(TranslateOrBlack(m_foreColor)));
    m_list->setPalette(palette);
}

} // namespace runtime
