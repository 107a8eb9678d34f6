#include "components/SuiteListItemDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QtMath>

#include <memory>

namespace {

// The width a text is laid out in: wider than any cell. It moves nothing, since only texts
// aligned to the left are kept laid out.
constexpr qreal kUnboundedWidth = 1 << 20;

QStyle *StyleOf(const QStyleOptionViewItem &cell)
{
    return cell.widget ? cell.widget->style() : QApplication::style();
}

// The pen the style's item painting gives a cell's text.
QColor TextColour(const QStyleOptionViewItem &cell)
{
    QPalette::ColorGroup group = cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    return cell.palette.color(group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
}

QStyleOptionViewItem WithoutText(const QStyleOptionViewItem &cell)
{
    QStyleOptionViewItem bare = cell;
    bare.text.clear();
    return bare;
}

}

const SuiteListItemDelegate::TextLine *SuiteListItemDelegate::lineOf(const QStyleOptionViewItem &cell) const
{
    if (cell.text.isEmpty() || (cell.features & QStyleOptionViewItem::WrapText))
        return nullptr;
    const Qt::Alignment alignment = QStyle::visualAlignment(cell.direction, cell.displayAlignment);
    if ((alignment & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify)) != Qt::AlignLeft)
        return nullptr;
    const TextLine *kept = m_lines.object(cell.text);
    if (!kept || kept->font != cell.font || kept->direction != cell.direction) {
        auto line = std::make_unique<TextLine>();
        line->font = cell.font;
        line->direction = cell.direction;
        line->layout.setText(cell.text);
        line->layout.setFont(cell.font);
        QTextOption option;
        option.setWrapMode(QTextOption::ManualWrap);
        option.setTextDirection(cell.direction);
        option.setAlignment(alignment);
        line->layout.setTextOption(option);
        line->layout.beginLayout();
        QTextLine first = line->layout.createLine();
        if (first.isValid()) {
            first.setLineWidth(kUnboundedWidth);
            first.setPosition(QPointF(0, 0));
            line->oneLine = first.textLength() == cell.text.size() && !line->layout.createLine().isValid();
        }
        line->layout.endLayout();
        if (first.isValid()) {
            line->naturalWidth = first.naturalTextWidth();
            line->height = first.height();
        }
        kept = line.get();
        m_lines.insert(cell.text, line.release());
    }
    return kept->oneLine ? kept : nullptr;
}

qreal SuiteListItemDelegate::emptyHeight(const QFont &font) const
{
    if (!m_emptyHeight || m_emptyHeight->first != font) {
        QTextLayout empty(QString(), font);
        empty.beginLayout();
        QTextLine line = empty.createLine();
        if (line.isValid())
            line.setLineWidth(kUnboundedWidth);
        empty.endLayout();
        m_emptyHeight.emplace(font, line.isValid() ? line.height() : 0);
    }
    return m_emptyHeight->second;
}

void SuiteListItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    QStyle *style = StyleOf(cell);
    const QStyle::State ownPainting = QStyle::State_HasFocus | QStyle::State_Editing;
    const TextLine *line = cell.state & ownPainting ? nullptr : lineOf(cell);
    if (!line) {
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        return;
    }
    // The cell without its text: its background, check box and icon, and the room the style
    // leaves the text, which does not depend on the text.
    const QStyleOptionViewItem bare = WithoutText(cell);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &bare, cell.widget).adjusted(margin, 0, -margin, 0);
    // A text wider than its room the style elides.
    if (room.height() <= 0 || line->naturalWidth > room.width()) {
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        return;
    }
    style->drawControl(QStyle::CE_ItemViewItem, &bare, painter, cell.widget);
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment,
                                             line->layout.boundingRect().size().toSize(), room);
    painter->save();
    painter->setClipRect(cell.rect);
    painter->setPen(TextColour(cell));
    line->layout.draw(painter, QPointF(room.x(), placed.top()));
    painter->restore();
}

QSize SuiteListItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (const QVariant size = index.data(Qt::SizeHintRole); size.isValid())
        return size.toSize();
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    QStyle *style = StyleOf(cell);
    // The style's size is that of the cell without its text, widened by the text's width, when
    // the text's line is as tall as an empty one (text from a fallback font may be taller).
    const TextLine *line = lineOf(cell);
    if (!line || qCeil(line->height) != qCeil(emptyHeight(cell.font)))
        return style->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), cell.widget);
    const QStyleOptionViewItem bare = WithoutText(cell);
    return style->sizeFromContents(QStyle::CT_ItemViewItem, &bare, QSize(), cell.widget) + QSize(qCeil(line->naturalWidth), 0);
}
