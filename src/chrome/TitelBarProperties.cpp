#include "chrome/TitelBarProperties.h"

#include <algorithm>

namespace {

// The missing-key defaults that differ from a fresh control's values.
constexpr runtime::OleColor kMissingBackColor = 0xE6E6E6;
constexpr runtime::OleColor kMissingForeColor = 0x80000012;
constexpr qint32 kMissingCover = 0;
constexpr bool kMissingMaxEnabled = false;
constexpr bool kMissingHelpEnabled = false;

template <class T>
void readKey(const runtime::PropertyBag &bag, const char *key, T &field, const T &missing)
{
    bag.ReadInto(QString::fromLatin1(key), field, missing);
}

template <class T>
void writeKey(runtime::PropertyBag &bag, const char *key, const T &value, const T &missing)
{
    bag.WriteProperty(QString::fromLatin1(key), QVariant::fromValue(value), QVariant::fromValue(missing));
}

}

void TitelBarProperties::Read(const runtime::PropertyBag &bag, SurfaceValues &surface,
                              const runtime::StdFont &ambientFont)
{
    const TitelBarProperties d;
    readKey(bag, "BackColor", surface.BackColor, kMissingBackColor);
    readKey(bag, "AutoRedraw", AutoRedraw, d.AutoRedraw);
    readKey(bag, "DashBack", DashBack, d.DashBack);
    readKey(bag, "Style", Style, d.Style);
    readKey(bag, "BackColorCover", BackColorCover, kMissingCover);
    readKey(bag, "BackColorV2Begin", BackColorV2Begin, d.BackColorV2Begin);
    readKey(bag, "BackColorV2End", BackColorV2End, d.BackColorV2End);
    readKey(bag, "BackColorV1Begin", BackColorV1Begin, d.BackColorV1Begin);
    readKey(bag, "BackColorV1End", BackColorV1End, d.BackColorV1End);
    readKey(bag, "ForeColor", surface.ForeColor, kMissingForeColor);
    readKey(bag, "CaptionColorBack", CaptionColorBack, d.CaptionColorBack);
    readKey(bag, "CaptionColor", CaptionColor, d.CaptionColor);
    readKey(bag, "ButtonBackColor", ButtonBackColor, d.ButtonBackColor);
    readKey(bag, "ButtonForeColor", ButtonForeColor, d.ButtonForeColor);
    readKey(bag, "ButtonXBackColor", ButtonXBackColor, d.ButtonXBackColor);
    readKey(bag, "ButtonXForeColor", ButtonXForeColor, d.ButtonXForeColor);
    readKey(bag, "ShowClose", ShowClose, d.ShowClose);
    readKey(bag, "ShowMinimized", ShowMinimized, d.ShowMinimized);
    readKey(bag, "ShowMaximized", ShowMaximized, d.ShowMaximized);
    readKey(bag, "ShowHelp", ShowHelp, d.ShowHelp);
    readKey(bag, "ShowCloseEnabled", ShowCloseEnabled, d.ShowCloseEnabled);
    readKey(bag, "ShowMinimizedEnabled", ShowMinimizedEnabled, d.ShowMinimizedEnabled);
    readKey(bag, "ShowMaximizedEnabled", ShowMaximizedEnabled, kMissingMaxEnabled);
    readKey(bag, "ShowHelpEnabled", ShowHelpEnabled, kMissingHelpEnabled);
    readKey(bag, "Font", surface.Font, ambientFont);
    readKey(bag, "Picture", surface.Picture, runtime::StdPicture());
    readKey(bag, "AutoRedraw", surface.AutoRedraw, d.AutoRedraw);
    readKey(bag, "ToolTipText", TooltipText, d.TooltipText);
    readKey(bag, "Caption", Caption, d.Caption);
    readKey(bag, "PicturePosMode", PicturePosMode, d.PicturePosMode);
    readKey(bag, "PicturePosX", PicturePosX, d.PicturePosX);
    readKey(bag, "PicturePosY", PicturePosY, d.PicturePosY);
    readKey(bag, "CaptionPosX", CaptionPosX, d.CaptionPosX);
    readKey(bag, "CaptionPosY", CaptionPosY, d.CaptionPosY);
    readKey(bag, "BorderNormal", BorderNormal, d.BorderNormal);
    readKey(bag, "IconStyle", IconStyle, d.IconStyle);
    readKey(bag, "BorderColorHighLight", BorderColorHighLight, d.BorderColorHighLight);
    readKey(bag, "BorderColorDarkLight", BorderColorDarkLight, d.BorderColorDarkLight);
    readKey(bag, "PictureButton", PictureButton, runtime::StdPicture());
    IconStyle = std::clamp(IconStyle, 0, 2);
    BorderNormal = std::clamp(BorderNormal, 0, 255);
}

void TitelBarProperties::Write(runtime::PropertyBag &bag, const SurfaceValues &surface,
                               const runtime::StdFont &ambientFont) const
{
    const TitelBarProperties d;
    writeKey(bag, "BackColor", surface.BackColor, kMissingBackColor);
    writeKey(bag, "AutoRedraw", AutoRedraw, d.AutoRedraw);
    writeKey(bag, "DashBack", DashBack, d.DashBack);
    writeKey(bag, "Style", Style, d.Style);
    writeKey(bag, "BackColorCover", BackColorCover, kMissingCover);
    writeKey(bag, "BackColorV2Begin", BackColorV2Begin, d.BackColorV2Begin);
    writeKey(bag, "BackColorV2End", BackColorV2End, d.BackColorV2End);
    writeKey(bag, "BackColorV1Begin", BackColorV1Begin, d.BackColorV1Begin);
    writeKey(bag, "BackColorV1End", BackColorV1End, d.BackColorV1End);
    writeKey(bag, "ForeColor", surface.ForeColor, kMissingForeColor);
    writeKey(bag, "CaptionColorBack", CaptionColorBack, d.CaptionColorBack);
    writeKey(bag, "CaptionColor", CaptionColor, d.CaptionColor);
    writeKey(bag, "ButtonBackColor", ButtonBackColor, d.ButtonBackColor);
    writeKey(bag, "ButtonForeColor", ButtonForeColor, d.ButtonForeColor);
    writeKey(bag, "ButtonXBackColor", ButtonXBackColor, d.ButtonXBackColor);
    writeKey(bag, "ButtonXForeColor", ButtonXForeColor, d.ButtonXForeColor);
    writeKey(bag, "ShowClose", ShowClose, d.ShowClose);
    writeKey(bag, "ShowMinimized", ShowMinimized, d.ShowMinimized);
    writeKey(bag, "ShowMaximized", ShowMaximized, d.ShowMaximized);
    writeKey(bag, "ShowHelp", ShowHelp, d.ShowHelp);
    writeKey(bag, "ShowCloseEnabled", ShowCloseEnabled, d.ShowCloseEnabled);
    writeKey(bag, "ShowMinimizedEnabled", ShowMinimizedEnabled, d.ShowMinimizedEnabled);
    writeKey(bag, "ShowMaximizedEnabled", ShowMaximizedEnabled, kMissingMaxEnabled);
    writeKey(bag, "ShowHelpEnabled", ShowHelpEnabled, kMissingHelpEnabled);
    writeKey(bag, "Font", surface.Font, ambientFont);
    writeKey(bag, "Picture", surface.Picture, runtime::StdPicture());
    // "AutoRedraw" serves the property and the surface's own flag. It is written once, with the
    // property: a second write of the surface's flag, which every repaint leaves off, would drop
    // the key and lose the property.
    writeKey(bag, "ToolTipText", TooltipText, d.TooltipText);
    writeKey(bag, "Caption", Caption, d.Caption);
    writeKey(bag, "PicturePosMode", PicturePosMode, d.PicturePosMode);
    writeKey(bag, "PicturePosX", PicturePosX, d.PicturePosX);
    writeKey(bag, "PicturePosY", PicturePosY, d.PicturePosY);
    writeKey(bag, "CaptionPosX", CaptionPosX, d.CaptionPosX);
    writeKey(bag, "CaptionPosY", CaptionPosY, d.CaptionPosY);
    writeKey(bag, "PictureButton", PictureButton, runtime::StdPicture());
    writeKey(bag, "BorderNormal", BorderNormal, d.BorderNormal);
    writeKey(bag, "IconStyle", IconStyle, d.IconStyle);
    writeKey(bag, "BorderColorHighLight", BorderColorHighLight, d.BorderColorHighLight);
    writeKey(bag, "BorderColorDarkLight", BorderColorDarkLight, d.BorderColorDarkLight);
}
