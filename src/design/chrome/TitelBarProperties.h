#pragma once

#include "runtime/OleColor.h"
#include "runtime/PropertyBag.h"
#include "runtime/StdFont.h"
#include "runtime/StdPicture.h"

#include <QString>

// The stored properties of the title bar, with the values of a freshly placed control, the values
// taken for missing keys, and their reading and writing under the stored keys.
struct TitelBarProperties {
    int Style = 13;
    qint32 BackColorCover = 2000;
    runtime::OleColor BackColorV1Begin = 0xE6E6E6;
    runtime::OleColor BackColorV1End = 0x8C6E5A;
    runtime::OleColor BackColorV2Begin = 0x8C6E5A;
    runtime::OleColor BackColorV2End = 0x4F3026;
    runtime::OleColor CaptionColor = 0xFFFFFF;
    runtime::OleColor CaptionColorBack = 0x3C3C3C;
    runtime::OleColor ButtonBackColor = 0xBB6511;
    runtime::OleColor ButtonForeColor = 0xFFFFFF;
    runtime::OleColor ButtonXBackColor = 0x0023D9;
    runtime::OleColor ButtonXForeColor = 0xFFFFFF;
    int BorderNormal = 0;
    runtime::OleColor BorderColorHighLight = 0;
    runtime::OleColor BorderColorDarkLight = 0;
    QString Caption = QStringLiteral("TitelBar");
    int CaptionPosX = 0;
    int CaptionPosY = 0;
    runtime::StdPicture PictureButton;
    int PicturePosMode = 0;
    int PicturePosX = 6;
    int PicturePosY = 4;
    bool DashBack = false;
    int IconStyle = 0;
    bool AutoRedraw = false;
    QString TooltipText;
    bool ShowClose = true;
    bool ShowMinimized = true;
    bool ShowMaximized = false;
    bool ShowHelp = false;
    bool ShowCloseEnabled = true;
    bool ShowMinimizedEnabled = true;
    bool ShowMaximizedEnabled = true;
    bool ShowHelpEnabled = true;

    // What lives on the control's drawing surface but is stored with the rest.
    struct SurfaceValues {
        runtime::OleColor BackColor = 0x4F3026;
        runtime::OleColor ForeColor = 0xFFFFFF;
        runtime::StdFont Font{QStringLiteral("Segoe UI"), 9.75};
        runtime::StdPicture Picture;
        bool AutoRedraw = false;
    };

    // A freshly placed control.
    static TitelBarProperties Fresh() { return {}; }
    static SurfaceValues FreshSurface() { return {}; }

    // Every key with its missing-key default; a stored value that does not convert leaves the
    // field at its previous value, as a failing read is skipped.
    void Read(const runtime::PropertyBag &bag, SurfaceValues &surface, const runtime::StdFont &ambientFont);
    // Every key whose value differs from its missing-key default.
    void Write(runtime::PropertyBag &bag, const SurfaceValues &surface, const runtime::StdFont &ambientFont) const;
};
