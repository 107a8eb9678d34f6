#pragma once

#include "runtime/Control.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"

class QComboBox;

namespace runtime {

// A combo box in the drop-down list style: the user chooses one of the entries and cannot type.
// Text is the chosen entry ("" while none is chosen). Click is raised when the user chooses an
// entry, also the one already chosen, and when ListIndex is set to another entry.
class ComboBox : public Control {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text)
    Q_PROPERTY(int ListIndex READ ListIndex WRITE setListIndex)
    Q_PROPERTY(int ListCount READ ListCount)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)

public:
    ComboBox(QWidget *container, const QString &name, int index = -1);

    QString Text() const;
    // The chosen entry's 0-based position, -1 for none; other values are refused.
    int ListIndex() const;
    void setListIndex(int index);
    int ListCount() const;
    // The entry at a 0-based position; "" past the end.
    QString List(int index) const;

    Q_INVOKABLE void AddItem(const QString &item);
    Q_INVOKABLE void Clear();

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    StdFont Font() const { return m_font; }
    void setFont(const StdFont &font);

    QComboBox *view() const { return m_combo; }

signals:
    void Click();

private:
    void applyColors();

    QComboBox *m_combo;
    OleColor m_backColor = 0x80000005u;
    OleColor m_foreColor = 0x80000008u;
    StdFont m_font = StdFont::defaultFont();
};

} // namespace runtime
