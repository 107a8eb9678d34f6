#pragma once

#include "runtime/Control.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"

class QListWidget;

namespace runtime {

// A plain list box: one column of text entries in ForeColor and Font on BackColor. Positions
// are 0-based, as the design's list boxes count; a position out of range changes nothing.
class ListBox : public Control {
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(int ListCount READ ListCount)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)

public:
    ListBox(QWidget *container, const QString &name, int index = -1);

    void AddItem(const QString &item);
    void RemoveItem(int position);
    void Clear();
    int ListCount() const;
    // The entry at the position; empty past the end.
    QString List(int position) const;
    // Every entry, first to last.
    QStringList Items() const;

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    StdFont Font() const { return m_font; }
    void setFont(const StdFont &font);

private:
    void applyColors();

    QListWidget *m_list;
    OleColor m_backColor = vbWindowBackground;
    OleColor m_foreColor = vbWindowText;
    StdFont m_font = StdFont::defaultFont();
};

} // namespace runtime
