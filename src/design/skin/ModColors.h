#pragma once

#include "runtime/OleColor.h"

#include <QString>

class QObject;

namespace runtime {
class Form;
}

// The colour engine: applies the live scheme (the colour window's swatches) to windows by the
// name prefixes of their controls, and the scheme's files: the `colors` section of settings.ini
// and the presets in the program folder's color_presets.
//
// The rule table (ModColorsRules) is the contract with every window: a control whose lower-cased
// name begins with a rule's prefix gets that rule's properties, set by name, in table order; a
// property the control lacks is skipped. Beyond plain properties a control may offer:
//   - dotted paths ("PaintManager.ColorSet.ButtonSelected", "FormatControl.BorderColor"): each
//     part before the last is a QObject* property;
//   - "tabcontrol": SuiteTabControl's items, whose first caption is changed and restored;
//   - "lynx" grids: Redraw, Rows, Cols and the invokables setCellForeColor / setCellBackColor
//     (row, column, colour);
//   - "picturebase": a picture box (its surface gets the frame);
//   - the invokable Refresh (otherwise its surface's, otherwise a plain repaint).
namespace ModColors {

// Steps 1 to 24 on one window. Every window's load ends its set-up with it.
void ApplyColorsToForm(runtime::Form *form);
// Steps 1 to 24 on every loaded window in load order, then SaveColorSettings.
void ApplyColorsToAllForms();
// Step 24: Refresh on every control of the window, yielding after each.
void RefreshFormControls(runtime::Form *form);

// Swatch i of the live scheme now; loads the colour window when it is not loaded yet.
runtime::OleColor SchemeColor(int swatch);

// The scheme's 28 keys into settings.ini, in file order.
void SaveColorSettings();
// The scheme's 28 keys into color_presets/<name>.ini, the name as given. A name that would
// leave the preset folder (an absolute path, a folder part, "..") writes nothing.
void SaveColorPreset(const QString &name);
// Rebuilds a preset list (anything with the invokables Clear and AddItem): "", "Current Windows
// Default", then every *.ini of the preset folder (any letter case) without its extension.
void FillPresetList(QObject *list);
// A colour, system colours included, as RGB; 0 when it cannot be translated.
runtime::OleColor TranslateOleColor(runtime::OleColor color);

// The preset folder with its closing separator, and a preset's file.
QString PresetFolder();
QString PresetFile(const QString &name);
// The preset list's built-in entry.
inline const QString kWindowsDefaultPreset = QStringLiteral("Current Windows Default");

}
