#pragma once

#include "runtime/Control.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"

namespace runtime {

// Label alignment.
enum AlignmentConstants { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };
// Label back style.
enum BackStyleConstants { vbTransparent = 0, vbOpaque = 1 };

// A label: Caption drawn in ForeColor and Font ("&&" shows one "&", "&x" underlines the access
// key unless UseMnemonic is off), on BackColor when BackStyle is opaque. With the font Marlett
// the caption is the platform's glyph font: "o" is the resize grip, drawn here rather than taken
// from a font.
class Label : public Control {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle)
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool UseMnemonic READ UseMnemonic WRITE setUseMnemonic)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)

public:
    Label(QWidget *container, const QString &name, int index = -1);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    int BackStyle() const { return m_backStyle; }
    void setBackStyle(int style);
    int Alignment() const { return m_alignment; }
    void setAlignment(int alignment);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wordWrap);
    bool UseMnemonic() const { return m_useMnemonic; }
    void setUseMnemonic(bool useMnemonic);
    StdFont Font() const { return m_font; }
    void setFont(const StdFont &font);

    // Draws the label as it shows, into any painter, at the origin, over width x height.
    void draw(QPainter &painter, int width, int height) const;
    // The caption as the label shows it: whole, or cut after its last whole line.
    QString ShownCaption() const;

signals:
    void Click();
    void DblClick();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void fitCaption();
    int textFlags() const;
    QString shownCaption(int width, int height) const;

    QString m_caption;
    OleColor m_backColor = 0x8000000Fu;
    OleColor m_foreColor = 0x80000012u;
    int m_backStyle = vbOpaque;
    int m_alignment = vbLeftJustify;
    bool m_autoSize = false;
    bool m_wordWrap = false;
    bool m_useMnemonic = true;
    StdFont m_font = StdFont::defaultFont();
};

} // namespace runtime
