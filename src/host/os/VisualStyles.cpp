#include "os/VisualStyles.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <QWidget>

namespace os {

namespace {

bool themeActive = true;

// The theme's gap between chunks. QStyle has a chunk width but no spacing metric; its common
// drawing leaves two pixels between chunks, so that is what this theme reports.
constexpr int ChunkSpace = 2;

bool validPart(int part)
{
    return part >= PP_BAR && part <= PP_CHUNKVERT;
}

QStyleOptionProgressBar progressOption(const ThemeData &theme, int part, const gdi::Rect &rect)
{
    QStyleOptionProgressBar option;
    if (theme.window())
        option.initFrom(theme.window());
    else
        option.palette = theme.style()->standardPalette();
    option.rect = rect.toQRect();
    option.state |= QStyle::State_Enabled;
    if (part == PP_BAR || part == PP_CHUNK || part == 0)
        option.state |= QStyle::State_Horizontal;
    else
        option.state &= ~QStyle::State_Horizontal;
    option.minimum = 0;
    option.maximum = 1;
    option.progress = part == PP_CHUNK || part == PP_CHUNKVERT ? 1 : 0;
    option.textVisible = false;
    return option;
}

// A painter on the context's surface, clipped as the context clips, and further by clip.
bool beginPainter(QPainter &painter, gdi::Dc &dc, const gdi::Rect *clip)
{
    QImage *image = dc.image();
    if (!image || !painter.begin(image))
        return false;
    QRegion region(0, 0, image->width(), image->height());
    if (const auto dcClip = dc.clipRegion())
        region &= *dcClip;
    if (clip)
        region &= clip->toQRect();
    painter.setClipRegion(region);
    return true;
}

}

ThemeData::ThemeData(const QWidget *window) : m_window(window) {}

QStyle *ThemeData::style() const
{
    return m_window ? m_window->style() : QApplication::style();
}

bool isThemeActive()
{
    return themeActive;
}

void setThemeActive(bool active)
{
    themeActive = active;
}

HTHEME openThemeData(const QWidget *window, const QString &classList)
{
    if (!themeActive || !QApplication::style())
        return nullptr;
    const QStringList classes = classList.split(QLatin1Char(';'));
    for (const QString &name : classes) {
        if (name.trimmed().compare(QLatin1String("Progress"), Qt::CaseInsensitive) == 0)
            return std::make_unique<ThemeData>(window);
    }
    return nullptr;
}

HRESULT closeThemeData(HTHEME &theme)
{
    if (!theme)
        return E_INVALIDARG;
    theme.reset();
    return S_OK;
}

HRESULT getThemeInt(const ThemeData *theme, int part, int state, int propId, int &value)
{
    Q_UNUSED(state);
    if (!theme || part < 0 || part > PP_CHUNKVERT)
        return E_INVALIDARG;
    switch (propId) {
    case TMT_PROGRESSCHUNKSIZE: {
        const QStyleOptionProgressBar option = progressOption(*theme, PP_CHUNK, {});
        value = theme->style()->pixelMetric(QStyle::PM_ProgressBarChunkWidth, &option, theme->window());
        return S_OK;
    }
    case TMT_PROGRESSSPACESIZE:
        value = ChunkSpace;
        return S_OK;
    default:
        return E_NOTFOUND;
    }
}

HRESULT drawThemeBackground(const ThemeData *theme, gdi::Dc &dc, int part, int state, const gdi::Rect &rect,
                            const gdi::Rect *clip)
{
    Q_UNUSED(state);
    if (!theme || !validPart(part))
        return E_INVALIDARG;
    QPainter painter;
    if (!beginPainter(painter, dc, clip))
        return E_FAIL;
    const QStyleOptionProgressBar option = progressOption(*theme, part, rect);
    const bool chunk = part == PP_CHUNK || part == PP_CHUNKVERT;
    theme->style()->drawControl(chunk ? QStyle::CE_ProgressBarContents : QStyle::CE_ProgressBarGroove, &option,
                                &painter, theme->window());
    return S_OK;
}

HRESULT getThemeBackgroundContentRect(const ThemeData *theme, const gdi::Dc &dc, int part, int state,
                                      const gdi::Rect &bounding, gdi::Rect &content)
{
    Q_UNUSED(dc);
    Q_UNUSED(state);
    if (!theme || part < 0 || part > PP_CHUNKVERT)
        return E_INVALIDARG;
    const QStyleOptionProgressBar option = progressOption(*theme, part == 0 ? PP_BAR : part, bounding);
    const QRect inner = theme->style()->subElementRect(QStyle::SE_ProgressBarContents, &option, theme->window());
    content = inner.isValid() ? gdi::Rect::fromQRect(inner & bounding.toQRect()) : bounding;
    return S_OK;
}

HRESULT drawThemeText(const ThemeData *theme, gdi::Dc &dc, int part, int state, const QString &text, int count,
                      quint32 textFlags, quint32 textFlags2, const gdi::Rect &rect)
{
    Q_UNUSED(part);
    Q_UNUSED(state);
    Q_UNUSED(textFlags2);
    if (!theme)
        return E_INVALIDARG;
    QPainter painter;
    if (!beginPainter(painter, dc, nullptr))
        return E_FAIL;
    int alignment = Qt::AlignLeft | Qt::AlignTop;
    if (textFlags & gdi::DT_CENTER)
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignHCenter;
    else if (textFlags & gdi::DT_RIGHT)
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignRight;
    if (textFlags & gdi::DT_SINGLELINE) {
        alignment |= Qt::TextSingleLine;
        if (textFlags & gdi::DT_VCENTER)
            alignment = (alignment & ~Qt::AlignVertical_Mask) | Qt::AlignVCenter;
        else if (textFlags & gdi::DT_BOTTOM)
            alignment = (alignment & ~Qt::AlignVertical_Mask) | Qt::AlignBottom;
    }
    painter.setFont(dc.font());
    const QStyleOptionProgressBar option = progressOption(*theme, PP_BAR, rect);
    const QString shown = count < 0 ? text : text.left(count);
    theme->style()->drawItemText(&painter, rect.toQRect(), alignment, option.palette, true, shown, QPalette::Text);
    return S_OK;
}

}
