#pragma once

// Stand-in for the uxtheme calls the progress bar makes on class "Progress": the theme's parts are
// drawn by the application's QStyle as a progress bar groove, its contents and its label.

#include "gdi/Dc.h"

#include <QString>

#include <cstdint>
#include <memory>

class QStyle;
class QWidget;

namespace os {

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
inline constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
inline constexpr HRESULT E_NOTFOUND = HRESULT(0x80070490u);   // HRESULT of ERROR_NOT_FOUND

// Parts of class "Progress".
inline constexpr int PP_BAR = 1;
inline constexpr int PP_BARVERT = 2;
inline constexpr int PP_CHUNK = 3;
inline constexpr int PP_CHUNKVERT = 4;

// Integer properties.
inline constexpr int TMT_PROGRESSCHUNKSIZE = 2411;
inline constexpr int TMT_PROGRESSSPACESIZE = 2412;

// Open theme data: the style a window draws with. Destroying it is CloseThemeData.
class ThemeData {
public:
    explicit ThemeData(const QWidget *window);
    const QWidget *window() const { return m_window; }
    QStyle *style() const;

private:
    const QWidget *m_window;
};
using HTHEME = std::unique_ptr<ThemeData>;

// Whether visual styles are on, as the user's display settings say (on by default). With them off
// openThemeData fails, as it does on the platform.
bool isThemeActive();
void setThemeActive(bool active);

// Null unless styles are active and the semicolon-separated class list names "Progress" (in any
// letter case). The window may be null.
HTHEME openThemeData(const QWidget *window, const QString &classList);
HRESULT closeThemeData(HTHEME &theme);

// TMT_PROGRESSCHUNKSIZE is the style's chunk width; TMT_PROGRESSSPACESIZE its gap between chunks.
HRESULT getThemeInt(const ThemeData *theme, int part, int state, int propId, int &value);

// PP_BAR / PP_BARVERT: the groove; PP_CHUNK / PP_CHUNKVERT: a filled chunk over the whole rectangle.
// clip (optional) limits the drawing further than the context's own clip region.
HRESULT drawThemeBackground(const ThemeData *theme, gdi::Dc &dc, int part, int state, const gdi::Rect &rect,
                            const gdi::Rect *clip);
HRESULT getThemeBackgroundContentRect(const ThemeData *theme, const gdi::Dc &dc, int part, int state,
                                      const gdi::Rect &bounding, gdi::Rect &content);
// The text in the context's font, in the style's text colour, placed by the DrawText flags
// (DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM, DT_SINGLELINE); count -1 takes the whole text.
HRESULT drawThemeText(const ThemeData *theme, gdi::Dc &dc, int part, int state, const QString &text, int count,
                      quint32 textFlags, quint32 textFlags2, const gdi::Rect &rect);

}
