#pragma once

// For tests of windows that take the scheme: a shipped preset chosen in the colour window as the
// user chooses it, which recolours every loaded window. Header only: it needs the skin library,
// which only the tests of windows link.
#include "runtime/App.h"
#include "runtime/ComboBox.h"
#include "runtime/Forms.h"
#include "skin/FrmColors.h"
#include "skin/ModColors.h"

#include <QDir>
#include <QFile>

namespace testsupport {

// Copies data/program/color_presets/<name>.ini into the program folder and picks it in Combo2.
// Answers false when the preset is not in the list.
inline bool ChooseShippedPreset(const QString &name)
{
    const QString folder = runtime::App::Path() + QStringLiteral("/color_presets");
    QDir().mkpath(folder);
    const QString target = folder + QLatin1Char('/') + name + QStringLiteral(".ini");
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(KESTROVA_FIXTURES "/../../data/program/color_presets/") + name + QStringLiteral(".ini"), target))
        return false;
    FrmColors *colors = runtime::Forms::Get<FrmColors>();
    runtime::ComboBox *list = colors->Combo2();
    ModColors::FillPresetList(list);
    for (int i = 0; i < list->ListCount(); ++i) {
        if (list->List(i) == name) {
            list->setListIndex(i);
            colors->Combo2_Click();
            return true;
        }
    }
    return false;
}

}
