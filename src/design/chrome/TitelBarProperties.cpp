#include "chrome/TitelBarProperties.h"

#include "controls/StoredProperties.h"

#include <algorithm>

namespace {

// The missing-key defaults that differ from a fresh control's values.
constexpr runtime::OleColor kMissingBackColor = 0xE6E6E6;
constexpr runtime::OleColor kMissingForeColor = 0x80000012;
constexpr qint32 kMissingCover = 0;
constexpr bool kMissingMaxEnabled = false;
constexpr bool kMissingHelpEnabled = false;

enum class Direction { Restore, Save };

// Every stored key with its field and missing-key default, in the order of the stored data.
// Restoring and saving walk the same list; they differ in two places only: "AutoRedraw" is read a
// second time into the surface's own flag but written once, and "PictureButton" is read last but
// written before "BorderNormal".
template <class Props, class Surface, class Visit>
void visitKeys(Props &p, Surface &surface, const runtime::StdFont &ambientFont, Direction direction, Visit visit)
{
    const TitelBarProperties d;
    const bool restoring = direction == Direction::Restore;
    visit("BackColor", surface.BackColor, kMissingBackColor);
    visit("AutoRedraw", p.AutoRedraw, d.AutoRedraw);
    visit("DashBack", p.DashBack, d.DashBack);
    visit("Style", p.Style, d.Style);
    visit("BackColorCover", p.BackColorCover, kMissingCover);
    visit("BackColorV2Begin", p.BackColorV2Begin, d.BackColorV2Begin);
    visit("BackColorV2End", p.BackColorV2End, d.BackColorV2End);
    visit("BackColorV1Begin", p.BackColorV1Begin, d.BackColorV1Begin);
    visit("BackColorV1End", p.BackColorV1End, d.BackColorV1End);
    visit("ForeColor", surface.ForeColor, kMissingForeColor);
    visit("CaptionColorBack", p.CaptionColorBack, d.CaptionColorBack);
    visit("CaptionColor", p.CaptionColor, d.CaptionColor);
    visit("ButtonBackColor", p.ButtonBackColor, d.ButtonBackColor);
    visit("ButtonForeColor", p.ButtonForeColor, d.ButtonForeColor);
    visit("ButtonXBackColor", p.ButtonXBackColor, d.ButtonXBackColor);
    visit("ButtonXForeColor", p.ButtonXForeColor, d.ButtonXForeColor);
    visit("ShowClose", p.ShowClose, d.ShowClose);
    visit("ShowMinimized", p.ShowMinimized, d.ShowMinimized);
    visit("ShowMaximized", p.ShowMaximized, d.ShowMaximized);
    visit("ShowHelp", p.ShowHelp, d.ShowHelp);
    visit("ShowCloseEnabled", p.ShowCloseEnabled, d.ShowCloseEnabled);
    visit("ShowMinimizedEnabled", p.ShowMinimizedEnabled, d.ShowMinimizedEnabled);
    visit("ShowMaximizedEnabled", p.ShowMaximizedEnabled, kMissingMaxEnabled);
    visit("ShowHelpEnabled", p.ShowHelpEnabled, kMissingHelpEnabled);
    visit("Font", surface.Font, ambientFont);
    visit("Picture", surface.Picture, runtime::StdPicture());
    // Written once, with the property: a second write of the surface's flag, which every repaint
    // leaves off, would drop the key and lose the property.
    if (restoring)
        visit("AutoRedraw", surface.AutoRedraw, d.AutoRedraw);
    visit("ToolTipText", p.TooltipText, d.TooltipText);
    visit("Caption", p.Caption, d.Caption);
    visit("PicturePosMode", p.PicturePosMode, d.PicturePosMode);
    visit("PicturePosX", p.PicturePosX, d.PicturePosX);
    visit("PicturePosY", p.PicturePosY, d.PicturePosY);
    visit("CaptionPosX", p.CaptionPosX, d.CaptionPosX);
    visit("CaptionPosY", p.CaptionPosY, d.CaptionPosY);
    if (!restoring)
        visit("PictureButton", p.PictureButton, runtime::StdPicture());
    visit("BorderNormal", p.BorderNormal, d.BorderNormal);
    visit("IconStyle", p.IconStyle, d.IconStyle);
    visit("BorderColorHighLight", p.BorderColorHighLight, d.BorderColorHighLight);
    visit("BorderColorDarkLight", p.BorderColorDarkLight, d.BorderColorDarkLight);
    if (restoring)
        visit("PictureButton", p.PictureButton, runtime::StdPicture());
}

}

void TitelBarProperties::Read(const runtime::PropertyBag &bag, SurfaceValues &surface,
                              const runtime::StdFont &ambientFont)
{
    visitKeys(*this, surface, ambientFont, Direction::Restore, StoredProperties::Reader{bag});
    IconStyle = std::clamp(IconStyle, 0, 2);
    BorderNormal = std::clamp(BorderNormal, 0, 255);
}

void TitelBarProperties::Write(runtime::PropertyBag &bag, const SurfaceValues &surface,
                               const runtime::StdFont &ambientFont) const
{
    visitKeys(*this, surface, ambientFont, Direction::Save, StoredProperties::Writer{bag});
}
