#pragma once

#include <QCache>
#include <QFont>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <optional>
#include <utility>

// Paints and measures a list cell exactly as the style's own item painting does, laying each
// text out once. The style lays a cell's text out for its size, again to decide the elision and
// again to draw it, at every paint; here a text of one line is laid out once, for its size and
// every paint after it, and kept while it is among the recently used. Cells that need more of
// the style (elided or multi-line text, the focus frame, an editor, other alignments) are
// painted and measured by the style itself.
class SuiteListItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // One text laid out on one line, as the style lays a cell's text out.
    struct TextLine {
        QFont font;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        QTextLayout layout;
        bool oneLine = false;
        qreal naturalWidth = 0;
        qreal height = 0;
    };
    // Enough for the cells a list shows and sizes at a time.
    static constexpr int kKeptTexts = 256;

    // The cell's text laid out, or null when it is not one line of left-aligned text.
    const TextLine *lineOf(const QStyleOptionViewItem &cell) const;
    // How tall the style lays out a cell without text in that font.
    qreal emptyHeight(const QFont &font) const;

    mutable QCache<QString, TextLine> m_lines{kKeptTexts};
    mutable std::optional<std::pair<QFont, qreal>> m_emptyHeight;
};
