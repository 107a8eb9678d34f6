#pragma once

#include "runtime/Control.h"
#include "runtime/Surface.h"

namespace runtime {

// A picture box: a control with a drawing surface (hdc, persistent image with AutoRedraw), a
// background Picture and AutoSize (the box takes its picture's size). Drawn without a border.
class PictureBox : public Control, public Surface {
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 FillColor READ FillColor WRITE setFillColor)
    Q_PROPERTY(int FillStyle READ FillStyle WRITE setFillStyle)
    Q_PROPERTY(int DrawWidth READ DrawWidth WRITE setDrawWidth)
    Q_PROPERTY(int DrawStyle READ DrawStyle WRITE setDrawStyle)
    Q_PROPERTY(bool AutoRedraw READ AutoRedraw WRITE setAutoRedraw)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool FontTransparent READ FontTransparent WRITE setFontTransparent)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)
    Q_PROPERTY(runtime::StdPicture Picture READ Picture WRITE setPicture)
    Q_PROPERTY(int ScaleMode READ ScaleMode WRITE setScaleMode)
    Q_PROPERTY(double ScaleWidth READ ScaleWidth)
    Q_PROPERTY(double ScaleHeight READ ScaleHeight)

public:
    PictureBox(QWidget *container, const QString &name, int index = -1);

    // Both Qt's font and the surface's font are reachable; they differ in type.
    using QWidget::setFont;
    using Surface::setFont;

    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    void setPicture(const StdPicture &picture);

signals:
    void Click();
    void DblClick();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void Paint();
    void Resize();

protected:
    void sizeChanged() override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void surfacePaint() override { emit Paint(); }

private:
    void fitPicture();
    bool m_autoSize = false;
};

} // namespace runtime
