#include "components/SuiteListItemDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

namespace {

// The pen the style's item painting gives a cell's text.
QColor TextColour(const QStyleOptionViewItem &cell)
{
    QPalette::ColorGroup group = cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    return cell.palette.color(group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
}

// Lays the text out as the style draws it in that room; false when it takes more than one line
// or is wider than the room, which the style elides.
bool LayOutOneLineThatFits(QTextLayout &layout, const QStyleOptionViewItem &cell, const QRect &room)
{
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(cell.direction);
    option.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    bool oneLine = line.isValid();
    if (oneLine) {
        line.setLineWidth(room.width());
        line.setPosition(QPointF(0, 0));
        oneLine = line.textLength() == layout.text().size() && !layout.createLine().isValid();
    }
    layout.endLayout();
    return oneLine && line.naturalTextWidth() <= room.width();
}

}

void SuiteListItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    QStyle *style = cell.widget ? cell.widget->style() : QApplication::style();
    const QStyle::State ownPainting = QStyle::State_HasFocus | QStyle::State_Editing;
    if (cell.text.isEmpty() || (cell.state & ownPainting) || (cell.features & QStyleOptionViewItem::WrapText)) {
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        return;
    }
    // The cell without its text: its background, check box and icon, and the room the style
    // leaves the text, which does not depend on the text.
    QStyleOptionViewItem bare = cell;
    bare.text.clear();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &bare, cell.widget).adjusted(margin, 0, -margin, 0);
    QTextLayout layout(cell.text, cell.font);
    if (room.height() <= 0 || !LayOutOneLineThatFits(layout, cell, room)) {
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        return;
    }
    style->drawControl(QStyle::CE_ItemViewItem, &bare, painter, cell.widget);
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment,
                                             layout.boundingRect().size().toSize(), room);
    painter->save();
    painter->setClipRect(cell.rect);
    painter->setPen(TextColour(cell));
    layout.draw(painter, QPointF(room.x(), placed.top()));
    painter->restore();
}
