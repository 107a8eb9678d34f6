#include "controls/PanelFx.h"

#include "controls/ColorMath.h"
#include "controls/PanelFxLayout.h"
#include "controls/StoredProperties.h"
#include "os/WindowMessages.h"
#include "os/WindowRegion.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Keys.h"
#include "runtime/Screen.h"

#include <QMouseEvent>


// The icon's sizes and position are 16-bit in the design.
using StoredProperties::fitsInt16;

PanelFx::PanelFx(QWidget *container, const QString &name, int index) : runtime::UserControl(container, name, index)
{
    setScaleMode(runtime::vbPixels);
    setAutoRedraw(true);
    setControlContainer(true);
    m_look.titleCaption = QStringLiteral("Panel");
    m_look.font = Surface::Font().toQFont();
}

PanelFx::~PanelFx() = default;

template <class T>
void PanelFx::setAndRepaint(T &field, const T &value, const char *key)
{
    setStored(field, value, key, [this] { drawPanel(); });
}

void PanelFx::setAllowDraging(bool value) { setAndRepaint(m_allowDraging, value, "AllowDraging"); }
void PanelFx::setAllowParentDraging(bool value) { setAndRepaint(m_allowParentDraging, value, "AllowParentDraging"); }
void PanelFx::setBackGroundStyle(int value) { setAndRepaint(m_look.backGroundStyle, value, "BackGroundStyle"); }

void PanelFx::setCanCollapse(bool value)
{
    setStored(m_canCollapse, value, "CanCollapse", [] {});
}

void PanelFx::setFont(const runtime::StdFont &font)
{
    Surface::setFont(font);
    m_look.font = font.toQFont();
    PropertyChanged(QStringLiteral("Font"));
    drawPanel();
}

void PanelFx::setgCPanelDir(int value) { setAndRepaint(m_look.gCPanelDir, value, "gCPanelDir"); }
void PanelFx::setgCPanelEnd(quint32 value) { setAndRepaint(m_look.gCPanelEnd, value, "gCPanelEnd"); }
void PanelFx::setgCPanelStart(quint32 value) { setAndRepaint(m_look.gCPanelStart, value, "gCPanelStart"); }
void PanelFx::setgCTitleDir(int value) { setAndRepaint(m_look.gCTitleDir, value, "gCTitleDir"); }
void PanelFx::setgCTitleEnd(quint32 value) { setAndRepaint(m_look.gCTitleEnd, value, "gCTitleEnd"); }
void PanelFx::setgCTitleStart(quint32 value) { setAndRepaint(m_look.gCTitleStart, value, "gCTitleStart"); }
void PanelFx::setHideTitleIcon(bool value) { setAndRepaint(m_look.hideTitleIcon, value, "HideTitleIcon"); }
void PanelFx::setPanelBackColor(quint32 value) { setAndRepaint(m_look.panelBackColor, value, "PanelBackColor"); }
void PanelFx::setPanelBitmap(const runtime::StdPicture &value) { setAndRepaint(m_look.panelBitmap, value, "PanelBitmap"); }
void PanelFx::setPanelBorderColor(quint32 value) { setAndRepaint(m_look.panelBorderColor, value, "PanelBorderColor"); }
void PanelFx::setRoundEdge(int value) { setAndRepaint(m_look.roundEdge, value, "RoundEdge"); }
void PanelFx::setTileBackColor(quint32 value) { setAndRepaint(m_look.tileBackColor, value, "TileBackColor"); }
void PanelFx::setTileHeight(int value) { setAndRepaint(m_look.tileHeight, value, "TileHeight"); }
void PanelFx::setTitleAlignment(int value) { setAndRepaint(m_look.titleAlignment, value, "TitleAlignment"); }
void PanelFx::setTitleBitmap(const runtime::StdPicture &value) { setAndRepaint(m_look.titleBitmap, value, "TitleBitmap"); }
void PanelFx::setTitleCaption(const QString &value) { setAndRepaint(m_look.titleCaption, value, "TitleCaption"); }
void PanelFx::setTitleForeColor(quint32 value) { setAndRepaint(m_look.titleForeColor, value, "TitleForeColor"); }
void PanelFx::setTitleIcon(const runtime::StdPicture &value) { setAndRepaint(m_look.titleIcon, value, "TitleIcon"); }

void PanelFx::setTitleIconHeight(int value)
{
    if (fitsInt16(value))
        setAndRepaint(m_look.titleIconHeight, value, "TitleIconHeight");
}

void PanelFx::setTitleIconWidth(int value)
{
    if (fitsInt16(value))
        setAndRepaint(m_look.titleIconWidth, value, "TitleIconWidth");
}

void PanelFx::setTitleIconXPos(int value)
{
    if (fitsInt16(value))
        setAndRepaint(m_look.titleIconXPos, value, "TitleIconXPos");
}

void PanelFx::setTitleIconYPos(int value)
{
    if (fitsInt16(value))
        setAndRepaint(m_look.titleIconYPos, value, "TitleIconYPos");
}

void PanelFx::UserControl_InitProperties()
{
    const runtime::AmbientProperties ambient = Ambient();
    m_look.titleCaption = ambient.DisplayName;
    Surface::setFont(ambient.Font);
    m_look.font = ambient.Font.toQFont();
}

template <class Io>
void PanelFx::storedKeys(const Io &io, runtime::StdFont &font, const runtime::StdFont &ambientFont)
{
    const runtime::StdPicture none;
    io("TileHeight", m_look.tileHeight, 20);
    io("PanelBorderColor", m_look.panelBorderColor, 0x400000u);
    io("TitleCaption", m_look.titleCaption, QStringLiteral("Panel"));
    io("TitleForeColor", m_look.titleForeColor, 0xFFFFFFu);
    io("Font", font, ambientFont);
    io("TitleAlignment", m_look.titleAlignment, 0);
    io("TileBackColor", m_look.tileBackColor, 0x8000000Du);
    io("PanelBackColor", m_look.panelBackColor, 0x80000005u);
    io("RoundEdge", m_look.roundEdge, 0);
    io("CanCollapse", m_canCollapse, false);
    io("AllowDraging", m_allowDraging, false);
    io("BackGroundStyle", m_look.backGroundStyle, 0);
    io("gCTitleStart", m_look.gCTitleStart, 0xDE9A39u);
    io("gCTitleEnd", m_look.gCTitleEnd, 0xFFFFFFu);
    io("gCTitleDir", m_look.gCTitleDir, 1);
    io("gCPanelStart", m_look.gCPanelStart, 0xDE9A39u);
    io("gCPanelEnd", m_look.gCPanelEnd, 0xFFFFFFu);
    io("gCPanelDir", m_look.gCPanelDir, 1);
    io("TitleIcon", m_look.titleIcon, none);
    io("TitleIconWidth", m_look.titleIconWidth, 32);
    io("TitleIconHeight", m_look.titleIconHeight, 32);
    io("TitleIconXPos", m_look.titleIconXPos, 8);
    io("TitleIconYPos", m_look.titleIconYPos, 6);
    io("HideTitleIcon", m_look.hideTitleIcon, false);
    io("AllowParentDraging", m_allowParentDraging, false);
    io("TitleBitmap", m_look.titleBitmap, none);
    io("PanelBitmap", m_look.panelBitmap, none);
}

void PanelFx::UserControl_ReadProperties(const runtime::PropertyBag &bag)
{
    // Straight into the fields: the panel paints when it is shown or resized.
    runtime::StdFont font = Surface::Font();
    storedKeys(StoredProperties::Reader{bag}, font, Ambient().Font);
    Surface::setFont(font);
    m_look.font = font.toQFont();
}

void PanelFx::UserControl_WriteProperties(runtime::PropertyBag &bag)
{
    runtime::StdFont font = Surface::Font();
    storedKeys(StoredProperties::Writer{bag}, font, Ambient().Font);
}

void PanelFx::UserControl_Resize()
{
    drawPanel();
}

void PanelFx::UserControl_Show()
{
    drawPanel();
}

void PanelFx::Refresh()
{
    drawPanel();
}

PanelFxPaint::Result PanelFx::draw(gdi::Dc &dc) const
{
    const int w = ColorMath::roundHalfEven(ScaleWidth());
    const int h = ColorMath::roundHalfEven(ScaleHeight());
    return PanelFxPaint::paint(dc, w, h, m_look);
}

void PanelFx::drawPanel()
{
    if (redrawAfterHold([this] { drawPanel(); }))
        return;
    const PanelFxPaint::Result result = draw(*hdc());
    os::SetWindowRgn(this, result.windowRegion, true);
    m_iconDrawn = result.iconDrawn;
    Surface::Refresh();
}

int PanelFx::PanelOrTitle(float Y) const
{
    return PanelFxLayout::panelOrTitle(Y, m_look.tileHeight);
}

double PanelFx::extentTwipsX() const
{
    return runtime::ToTwips(width(), runtime::Axis::Horizontal);
}

double PanelFx::extentTwipsY() const
{
    return runtime::ToTwips(height(), runtime::Axis::Vertical);
}

void PanelFx::setExtentTwips(double widthTwips, double heightTwips)
{
    // Through the container's view of the control, so that the host sees its Width and Height change.
    setWidth(runtime::ToPixelsUnrounded(widthTwips, runtime::Axis::Horizontal) * unitsPerPixelX());
    setHeight(runtime::ToPixelsUnrounded(heightTwips, runtime::Axis::Vertical) * unitsPerPixelY());
}

void PanelFx::Collapse()
{
    m_collapsed = !m_collapsed;
    if (!m_canCollapse)
        return;
    if (m_collapsed) {
        // By the horizontal scale, as the design measures it.
        const float collapsedHeight = float(runtime::ToTwips(m_look.tileHeight, runtime::Axis::Horizontal));
        if (extentTwipsY() != collapsedHeight) {
            m_savedHeight = ColorMath::roundHalfEven(extentTwipsY());
            m_savedWidth = ColorMath::roundHalfEven(extentTwipsX());
            setExtentTwips(extentTwipsX(), collapsedHeight);
        }
    } else {
        setExtentTwips(extentTwipsX(), m_savedHeight);
        setExtentTwips(m_savedWidth, extentTwipsY());
    }
}

void PanelFx::mousePressEvent(QMouseEvent *event)
{
    const int button = runtime::MouseButtonOf(event->button());
    const int shift = runtime::ShiftOf(event->modifiers());
    const QPointF pos = event->position();
    const runtime::StillLoaded alive(this);
    emit MouseDown(button, shift, float(pos.x()), float(pos.y()), PanelOrTitle(float(pos.y())));
    if (alive && button == runtime::vbLeftButton) {
        if (PanelOrTitle(float(pos.y())) == 0)
            emit TileClick();
        else
            emit PanelClick();
    }
}

void PanelFx::mouseMoveEvent(QMouseEvent *event)
{
    const int button = runtime::MouseButtonsOf(event->buttons());
    const int shift = runtime::ShiftOf(event->modifiers());
    const QPointF pos = event->position();
    if (m_dragOffset) {
        // Our own window follows the mouse until the button is released.
        move(mapToParent(pos.toPoint()) - *m_dragOffset);
        return;
    }
    const int part = PanelOrTitle(float(pos.y()));
    // The host's handler may yield and unload the window: no drag starts for a window gone.
    const runtime::StillLoaded alive(this);
    emit MouseMove(button, shift, float(pos.x()), float(pos.y()), part);
    if (alive && button == runtime::vbLeftButton && part == 0 && m_allowDraging)
        beginDrag(event->globalPosition().toPoint());
}

void PanelFx::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasDragging = m_dragOffset.has_value();
    m_dragOffset.reset();
    if (wasDragging)
        return;
    const QPointF pos = event->position();
    emit MouseUp(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()), float(pos.x()),
                 float(pos.y()), PanelOrTitle(float(pos.y())));
}

void PanelFx::beginDrag(QPoint globalPos)
{
    if (m_allowParentDraging) {
        // The parent window moves in the window system's move loop, which returns on release.
        if (QWidget *parent = Parent())
            os::BeginCaptionDrag(parent, globalPos);
        return;
    }
    m_dragOffset = mapFromGlobal(globalPos);
}
