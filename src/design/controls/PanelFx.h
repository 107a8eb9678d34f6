#pragma once

#include "controls/PanelFxPaint.h"
#include "runtime/UserControl.h"

#include <QPoint>

#include <optional>

// The skinned panel: a title band over a body, filled solid, as a gradient or with a tiled bitmap,
// with a rounded outline, an optional icon and a caption. A container: the host places controls in
// it. Every property set but CanCollapse repaints the whole panel at once (while its window
// holds paints, once at the last release).
class PanelFx : public runtime::UserControl {
    Q_OBJECT
    Q_PROPERTY(bool AllowDraging READ AllowDraging WRITE setAllowDraging)
    Q_PROPERTY(bool AllowParentDraging READ AllowParentDraging WRITE setAllowParentDraging)
    Q_PROPERTY(int BackGroundStyle READ BackGroundStyle WRITE setBackGroundStyle)
    Q_PROPERTY(bool CanCollapse READ CanCollapse WRITE setCanCollapse)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)
    Q_PROPERTY(int gCPanelDir READ gCPanelDir WRITE setgCPanelDir)
    Q_PROPERTY(quint32 gCPanelEnd READ gCPanelEnd WRITE setgCPanelEnd)
    Q_PROPERTY(quint32 gCPanelStart READ gCPanelStart WRITE setgCPanelStart)
    Q_PROPERTY(int gCTitleDir READ gCTitleDir WRITE setgCTitleDir)
    Q_PROPERTY(quint32 gCTitleEnd READ gCTitleEnd WRITE setgCTitleEnd)
    Q_PROPERTY(quint32 gCTitleStart READ gCTitleStart WRITE setgCTitleStart)
    Q_PROPERTY(bool HideTitleIcon READ HideTitleIcon WRITE setHideTitleIcon)
    Q_PROPERTY(quint32 PanelBackColor READ PanelBackColor WRITE setPanelBackColor)
    Q_PROPERTY(runtime::StdPicture PanelBitmap READ PanelBitmap WRITE setPanelBitmap)
    Q_PROPERTY(quint32 PanelBorderColor READ PanelBorderColor WRITE setPanelBorderColor)
    Q_PROPERTY(int RoundEdge READ RoundEdge WRITE setRoundEdge)
    Q_PROPERTY(quint32 TileBackColor READ TileBackColor WRITE setTileBackColor)
    Q_PROPERTY(int TileHeight READ TileHeight WRITE setTileHeight)
    Q_PROPERTY(int TitleAlignment READ TitleAlignment WRITE setTitleAlignment)
    Q_PROPERTY(runtime::StdPicture TitleBitmap READ TitleBitmap WRITE setTitleBitmap)
    Q_PROPERTY(QString TitleCaption READ TitleCaption WRITE setTitleCaption)
    Q_PROPERTY(quint32 TitleForeColor READ TitleForeColor WRITE setTitleForeColor)
    Q_PROPERTY(runtime::StdPicture TitleIcon READ TitleIcon WRITE setTitleIcon)
    Q_PROPERTY(int TitleIconHeight READ TitleIconHeight WRITE setTitleIconHeight)
    Q_PROPERTY(int TitleIconWidth READ TitleIconWidth WRITE setTitleIconWidth)
    Q_PROPERTY(int TitleIconXPos READ TitleIconXPos WRITE setTitleIconXPos)
    Q_PROPERTY(int TitleIconYPos READ TitleIconYPos WRITE setTitleIconYPos)

public:
    PanelFx(QWidget *container, const QString &name, int index = -1);
    ~PanelFx() override;

    bool AllowDraging() const { return m_allowDraging; }
    void setAllowDraging(bool value);
    bool AllowParentDraging() const { return m_allowParentDraging; }
    void setAllowParentDraging(bool value);
    int BackGroundStyle() const { return m_look.backGroundStyle; }
    void setBackGroundStyle(int value);
    bool CanCollapse() const { return m_canCollapse; }
    void setCanCollapse(bool value);
    runtime::StdFont Font() const { return Surface::Font(); }
    void setFont(const runtime::StdFont &font);
    int gCPanelDir() const { return m_look.gCPanelDir; }
    void setgCPanelDir(int value);
    quint32 gCPanelEnd() const { return m_look.gCPanelEnd; }
    void setgCPanelEnd(quint32 value);
    quint32 gCPanelStart() const { return m_look.gCPanelStart; }
    void setgCPanelStart(quint32 value);
    int gCTitleDir() const { return m_look.gCTitleDir; }
    void setgCTitleDir(int value);
    quint32 gCTitleEnd() const { return m_look.gCTitleEnd; }
    void setgCTitleEnd(quint32 value);
    quint32 gCTitleStart() const { return m_look.gCTitleStart; }
    void setgCTitleStart(quint32 value);
    bool HideTitleIcon() const { return m_look.hideTitleIcon; }
    void setHideTitleIcon(bool value);
    quint32 PanelBackColor() const { return m_look.panelBackColor; }
    void setPanelBackColor(quint32 value);
    runtime::StdPicture PanelBitmap() const { return m_look.panelBitmap; }
    void setPanelBitmap(const runtime::StdPicture &value);
    quint32 PanelBorderColor() const { return m_look.panelBorderColor; }
    void setPanelBorderColor(quint32 value);
    int RoundEdge() const { return m_look.roundEdge; }
    void setRoundEdge(int value);
    quint32 TileBackColor() const { return m_look.tileBackColor; }
    void setTileBackColor(quint32 value);
    int TileHeight() const { return m_look.tileHeight; }
    void setTileHeight(int value);
    int TitleAlignment() const { return m_look.titleAlignment; }
    void setTitleAlignment(int value);
    runtime::StdPicture TitleBitmap() const { return m_look.titleBitmap; }
    void setTitleBitmap(const runtime::StdPicture &value);
    QString TitleCaption() const { return m_look.titleCaption; }
    void setTitleCaption(const QString &value);
    quint32 TitleForeColor() const { return m_look.titleForeColor; }
    void setTitleForeColor(quint32 value);
    runtime::StdPicture TitleIcon() const { return m_look.titleIcon; }
    void setTitleIcon(const runtime::StdPicture &value);
    int TitleIconHeight() const { return m_look.titleIconHeight; }
    void setTitleIconHeight(int value);
    int TitleIconWidth() const { return m_look.titleIconWidth; }
    void setTitleIconWidth(int value);
    int TitleIconXPos() const { return m_look.titleIconXPos; }
    void setTitleIconXPos(int value);
    int TitleIconYPos() const { return m_look.titleIconYPos; }
    void setTitleIconYPos(int value);

    // Shrinks the panel to its band, or gives it back the size it had.
    Q_INVOKABLE void Collapse();
    // 1 for a Y (pixels) in the body, 0 for the band.
    Q_INVOKABLE int PanelOrTitle(float Y) const;
    // The whole-panel paint.
    Q_INVOKABLE void Refresh();

    bool isCollapsed() const { return m_collapsed; }
    const PanelFxPaint::Look &look() const { return m_look; }
    // The look painted at the panel's size onto any device context; the repaint shows this.
    PanelFxPaint::Result draw(gdi::Dc &dc) const;

signals:
    void TileClick();
    void PanelClick();
    void MouseDown(int Button, int Shift, float X, float Y, int PanelOrTitle);
    void MouseMove(int Button, int Shift, float X, float Y, int PanelOrTitle);
    void MouseUp(int Button, int Shift, float X, float Y, int PanelOrTitle);

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const runtime::PropertyBag &PropBag) override;
    void UserControl_WriteProperties(runtime::PropertyBag &PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Show() override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    template <class T>
    void setAndRepaint(T &field, const T &value, const char *key);
    // The stored keys in their order with their missing-key defaults, run by a
    // StoredProperties::Reader or Writer.
    template <class Io>
    void storedKeys(const Io &io, runtime::StdFont &font, const runtime::StdFont &ambientFont);
    void drawPanel();
    void beginDrag(QPoint globalPos);
    double extentTwipsX() const;
    double extentTwipsY() const;
    void setExtentTwips(double width, double height);

    PanelFxPaint::Look m_look;
    bool m_allowDraging = false;
    bool m_allowParentDraging = false;
    bool m_canCollapse = false;
    bool m_collapsed = false;
    bool m_iconDrawn = false;
    qint32 m_savedHeight = 0;
    qint32 m_savedWidth = 0;
    // While the panel drags its own window: where the press was, in the panel.
    std::optional<QPoint> m_dragOffset;
};
