#include "skin/ModColors.h"

#include "core/Modini.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "skin/SchemeTable.h"

#include <QDir>
#include <QMetaObject>
#include <QPointer>

namespace ModColors {

namespace {

const QString kColors = QStringLiteral("colors");

void createPresetFolder() { QDir().mkpath(PresetFolder()); }

// The scheme's keys in file order, each swatch's colour as signed decimal text. A key that
// already holds its text is not written again: every write rewrites the whole file safely to
// disk, and a pass after one swatch change would otherwise pay for 28 of them.
void writeScheme(const QString &file)
{
    const Modini::IniSection stored(kColors, file);
    for (int swatch : SchemeTable::kFileOrder) {
        const QString key = QString::fromLatin1(SchemeTable::BySwatch(swatch)->key);
        const QString text = QString::number(qint32(SchemeColor(swatch)));
        if (stored.Value(key) != text)
            Modini::WriteIni(kColors, key, text, file);
    }
}

// A preset name is a file name: any folder part would write outside the preset folder, or into
// a sub-folder that the list never shows.
bool staysInPresetFolder(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

}

QString PresetFolder() { return runtime::App::FilePath(QStringLiteral("color_presets/")); }

QString PresetFile(const QString &name) { return PresetFolder() + name + QStringLiteral(".ini"); }

void SaveColorSettings()
{
    writeScheme(QString());
    runtime::DoEvents();
}

void SaveColorPreset(const QString &name)
{
    createPresetFolder();
    if (staysInPresetFolder(name))
        writeScheme(PresetFile(name));
    runtime::DoEvents();
}

void FillPresetList(QObject *list)
{
    const QPointer<QObject> guard(list);
    auto add = [&](const QString &item) {
        if (guard)
            QMetaObject::invokeMethod(guard, "AddItem", Q_ARG(QString, item));
    };
    if (guard)
        QMetaObject::invokeMethod(guard, "Clear");
    runtime::DoEvents();
    add(QString());
    add(kWindowsDefaultPreset);
    runtime::DoEvents();
    createPresetFolder();
    // Names come in the order of a Windows folder listing (by name, any letter case).
    const QStringList names = QDir(PresetFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System,
                                                             QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        if (!guard)
            return;
        if (name.right(4).toLower() == QLatin1String(".ini")) {
            add(name.left(name.size() - 4));
            runtime::DoEvents();
        }
        runtime::DoEvents();
    }
}

runtime::OleColor TranslateOleColor(runtime::OleColor color)
{
    gdi::ColorRef rgb = 0;
    if (runtime::OleTranslateColor(color, 0, &rgb) != runtime::S_OK)
        return 0;
    return runtime::OleColor(rgb);
}

}
