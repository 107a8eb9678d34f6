#pragma once

#include <QStyledItemDelegate>

// Paints a list cell exactly as the style's own item painting does, laying its text out once.
// The style lays a cell's text out for its size, again to decide the elision and again to draw
// it; a cell whose text is one line that fits needs only the last. Cells that need more of the
// style (elided or multi-line text, the focus frame, an editor) are painted by the style itself.
class SuiteListItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
