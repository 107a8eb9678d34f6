#include "components/SuiteColorPicker.h"
#include "core/Modini.h"
#include "runtime/ComboBox.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"

#include "support_skin.h"

#include <QDir>
#include <QWidget>

using skintest::ProgramFolderTest;

namespace {

QStringList entries(const runtime::ComboBox &combo)
{
    QStringList list;
    for (int i = 0; i < combo.ListCount(); ++i)
        list << combo.List(i);
    return list;
}

void touch(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

}

TEST(SchemeTable, TwentyEightSwatchesWithoutElevenAndFifteen)
{
    EXPECT_EQ(SchemeTable::Colors().size(), 28u);
    for (int index = 0; index < 30; ++index)
        EXPECT_EQ(SchemeTable::BySwatch(index) == nullptr, index == 11 || index == 15) << index;
    EXPECT_EQ(SchemeTable::BySwatch(30), nullptr);
    EXPECT_EQ(SchemeTable::BySwatch(-1), nullptr);
    // Each order names every colour once.
    for (auto order : {std::vector<int>(SchemeTable::kFileOrder.begin(), SchemeTable::kFileOrder.end()),
                       std::vector<int>(SchemeTable::kWindowsDefaultOrder.begin(), SchemeTable::kWindowsDefaultOrder.end())}) {
        std::sort(order.begin(), order.end());
        std::vector<int> all;
        for (const SchemeTable::SchemeColor &row : SchemeTable::Colors())
            all.push_back(row.swatch);
        EXPECT_EQ(order, all);
    }
}

class PresetList : public ProgramFolderTest {
protected:
    QWidget host;
    runtime::ComboBox combo{&host, QStringLiteral("Combo2")};
};

TEST_F(PresetList, MissingFolderIsCreatedAndOnlyTheTwoFixedEntriesShow)
{
    ModColors::FillPresetList(&combo);
    EXPECT_EQ(entries(combo), (QStringList{QString(), QStringLiteral("Current Windows Default")}));
    EXPECT_TRUE(QDir(folder.path() + QStringLiteral("/color_presets")).exists());
}

TEST_F(PresetList, IniFilesInAnyCaseAreListedWithoutTheirExtension)
{
    QDir().mkpath(folder.path() + QStringLiteral("/color_presets/Folder.ini"));
    for (const char *name : {"Blue.INI", "Blue.ini.bak", ".ini", " Night .ini", ".Hidden.ini", "notes.txt"})
        touch(folder.path() + QStringLiteral("/color_presets/") + QString::fromLatin1(name));
    ModColors::FillPresetList(&combo);
    const QStringList list = entries(combo);
    EXPECT_EQ(list.mid(0, 2), (QStringList{QString(), QStringLiteral("Current Windows Default")}));
    QStringList presets = list.mid(2);
    presets.sort();
    // ".ini" gives a second empty entry; the folder and the other extensions are not listed.
    EXPECT_EQ(presets, (QStringList{QString(), QStringLiteral(" Night "), QStringLiteral(".Hidden"), QStringLiteral("Blue")}));
    // Filling again starts from a cleared list.
    ModColors::FillPresetList(&combo);
    EXPECT_EQ(combo.ListCount(), list.size());
}

// The folder listing of the platform the files come from: by name, in any letter case.
TEST_F(PresetList, PresetsComeByNameWhateverTheirLetterCase)
{
    QDir().mkpath(folder.path() + QStringLiteral("/color_presets"));
    for (const char *name : {"b.ini", "Carbon.ini", "a2.INI", "A1.ini"})
        touch(folder.path() + QStringLiteral("/color_presets/") + QString::fromLatin1(name));
    ModColors::FillPresetList(&combo);
    EXPECT_EQ(entries(combo).mid(2), (QStringList{QStringLiteral("A1"), QStringLiteral("a2"), QStringLiteral("b"), QStringLiteral("Carbon")}));
}

TEST_F(ProgramFolderTest, SavedFilesHoldTheKeysInFileOrderAsSignedDecimalText)
{
    FrmColors *colors = loadColors();
    colors->ColorPicker(SchemeTable::programback)->setColor(0xFFFFFF);
    colors->ColorPicker(SchemeTable::programtext)->setColor(255);
    colors->ColorPicker(SchemeTable::titlebuttonxfore)->setColor(0x80000012); // kept as its bits
    ModColors::SaveColorPreset(QStringLiteral(" Night "));
    const QString preset = fileText(presetPath(QStringLiteral(" Night ")));
    QStringList keys;
    for (const QString &line : preset.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1Char('[')))
            keys << line.section(QLatin1Char('='), 0, 0);
    }
    QStringList expected;
    for (int swatch : SchemeTable::kFileOrder)
        expected << QString::fromLatin1(SchemeTable::BySwatch(swatch)->key);
    EXPECT_EQ(keys, expected);
    EXPECT_TRUE(preset.startsWith(QStringLiteral("[colors]")));
    const QString file = presetPath(QStringLiteral(" Night "));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("programback"), file), QStringLiteral("16777215"));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("programtext"), file), QStringLiteral("255"));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("titlebuttonxfore"), file), QStringLiteral("-2147483630"));
    EXPECT_FALSE(preset.contains(QStringLiteral("Segments")));
}

TEST_F(ProgramFolderTest, SettingsKeepUtf16TheirOtherSectionAndTheSegmentKeys)
{
    Modini::WriteIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), QStringLiteral("1"));
    Modini::WriteIni(QStringLiteral("colors"), QStringLiteral("PBarSegments"), QStringLiteral("0"));
    loadColors()->ColorPicker(SchemeTable::texttext)->setColor(0x123456);
    ModColors::SaveColorSettings();
    QFile file(settingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("\xFF\xFE"));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates")), QStringLiteral("1"));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("PBarSegments")), QStringLiteral("0"));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("texttext")), QString::number(0x123456));
}

// A preset name is a file name in the preset folder: a name that reaches elsewhere writes nothing
// and adds no entry.
class PresetNameOutsideTheFolder : public ProgramFolderTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(PresetNameOutsideTheFolder, WritesNothing)
{
    loadColors();
    QDir().mkpath(folder.path() + QStringLiteral("/color_presets/sub"));
    const QString name = QString::fromUtf8(GetParam()).replace(QStringLiteral("@"), folder.path());
    ModColors::SaveColorPreset(name);
    QStringList written;
    for (const QString &entry : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
        if (entry != QLatin1String("settings.ini"))
            written << entry;
    EXPECT_TRUE(written.isEmpty()) << written.join(u',').toStdString();
    EXPECT_TRUE(QDir(folder.path() + QStringLiteral("/color_presets/sub")).isEmpty());
    EXPECT_FALSE(QFile::exists(folder.path() + QStringLiteral("/escaped.ini")));
    EXPECT_EQ(QDir(folder.path() + QStringLiteral("/color_presets")).entryList(QDir::Files).size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Names, PresetNameOutsideTheFolder,
                         ::testing::Values("../escaped", "..\\escaped", "@/escaped", "sub/inside", "sub\\inside", "/tmp/x"));

TEST_F(ProgramFolderTest, SystemColoursTranslateAndUnknownOnesGiveBlack)
{
    EXPECT_EQ(ModColors::TranslateOleColor(0x123456), 0x123456u);
    EXPECT_EQ(ModColors::TranslateOleColor(0x8000000F), runtime::GetSysColor(runtime::COLOR_BTNFACE));
    EXPECT_EQ(ModColors::TranslateOleColor(0x800000FF), 0u);
    EXPECT_EQ(ModColors::TranslateOleColor(0x01000000), 0u);
}
