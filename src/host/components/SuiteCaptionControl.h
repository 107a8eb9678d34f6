#pragma once

#include "runtime/Control.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"

#include <QColor>

// What the suite's captioned controls (label, group box, push button, check box, colour swatch)
// share: a caption, back and fore colours and a font, drawn in the colours last assigned.
class SuiteCaptionControl : public runtime::Control {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)

public:
    SuiteCaptionControl(QWidget *container, const QString &name, int index = -1);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    runtime::OleColor BackColor() const { return m_backColor; }
    void setBackColor(runtime::OleColor color);
    runtime::OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(runtime::OleColor color);
    runtime::StdFont Font() const { return m_font; }
    void setFont(const runtime::StdFont &font);

    // The control as it paints now, for a caller without a screen.
    QImage Render();
    // Where the caption is drawn, in pixels of the control.
    virtual QRect CaptionRect() const { return rect(); }

protected:
    QColor backQColor() const { return runtime::toQColor(runtime::TranslateOrBlack(m_backColor)); }
    QColor foreQColor() const { return runtime::toQColor(runtime::TranslateOrBlack(m_foreColor)); }
    // Paints the whole control; the subclass's picture of itself.
    virtual void draw(QPainter &painter) = 0;
    // What a click on the control does; the space bar does it too, on a control that takes the focus.
    virtual void click() {}
    void paintEvent(QPaintEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QString m_caption;
    runtime::OleColor m_backColor = 0x8000000F;
    runtime::OleColor m_foreColor = 0x80000012;
    runtime::StdFont m_font{QStringLiteral("Segoe UI"), 8.25};
};
