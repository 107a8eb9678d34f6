#pragma once

#include "runtime/Control.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"

class QPlainTextEdit;

namespace runtime {

// A text box: Text in ForeColor and Font on BackColor; MultiLine wraps at the width, Locked
// keeps the user from editing (the text can still be selected and copied).
class TextBox : public Control {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE setMultiLine)
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)

public:
    TextBox(QWidget *container, const QString &name, int index = -1);

    QString Text() const;
    void setText(const QString &text);
    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    bool MultiLine() const { return m_multiLine; }
    void setMultiLine(bool multiLine);
    bool Locked() const;
    void setLocked(bool locked);
    StdFont Font() const { return m_font; }
    void setFont(const StdFont &font);

    // The editor inside, for input in tests.
    QPlainTextEdit *editor() const { return m_editor; }

signals:
    void Change();

private:
    void applyColors();

    QPlainTextEdit *m_editor;
    OleColor m_backColor = vbWindowBackground;
    OleColor m_foreColor = vbWindowText;
    bool m_multiLine = false;
    StdFont m_font = StdFont::defaultFont();
};

} // namespace runtime
