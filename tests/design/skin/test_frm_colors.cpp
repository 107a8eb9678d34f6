#include "chrome/ModShadow.h"
#include "chrome/TitelBar.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "controls/QuordanePB.h"
#include "core/ModMain.h"
#include "core/Modini.h"
#include "runtime/ComboBox.h"
#include "runtime/InputBox.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"

#include "support/TestOutput.h"
#include "support_skin.h"

#include <QComboBox>
#include <QDir>
#include <QTest>

#include <vector>

using skintest::ProgramFolderTest;

namespace {

const QString kColors = QStringLiteral("colors");

void choose(runtime::ComboBox *combo, const QString &entry)
{
    const int index = combo->view()->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_GE(index, 0) << entry.toStdString();
    combo->view()->setCurrentIndex(index);
    emit combo->view()->activated(index);
}

QStringList entries(const runtime::ComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->ListCount(); ++i)
        list << combo->List(i);
    return list;
}

// Answers the input box while it lives.
struct InputAnswer {
    explicit InputAnswer(std::optional<QString> answer)
    {
        runtime::SetInputBoxHook([answer, this](const QString &prompt, const QString &title, const QString &defaultText) {
            asked << prompt << title << defaultText;
            return answer;
        });
    }
    ~InputAnswer() { runtime::SetInputBoxHook(nullptr); }
    QStringList asked;
};

// The user's pick in a swatch, as the colour dialog would give it.
void pick(SuiteColorPicker *swatch, runtime::OleColor colour)
{
    SuiteColorPicker::setChooser([colour](runtime::OleColor, QWidget *) { return std::optional<runtime::OleColor>(colour); });
    QTest::mouseClick(swatch, Qt::LeftButton, {}, QPoint(5, 5));
    SuiteColorPicker::setChooser(nullptr);
}

class ColourWindow : public ProgramFolderTest {
protected:
    void TearDown() override
    {
        ModMain::DisableShadow = false;
        ModShadow::ShadowEnabled = false;
        ProgramFolderTest::TearDown();
    }
    void writeColor(const char *key, const QString &value, const QString &file = {})
    {
        Modini::WriteIni(kColors, QString::fromLatin1(key), value, file.isEmpty() ? settingsPath() : file);
    }
    FrmColors *reload()
    {
        for (runtime::Form *form : runtime::Forms::All())
            runtime::Unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return loadColors();
    }
};

}

TEST_F(ColourWindow, WithoutASettingsFileEverySwatchHoldsItsInitialColour)
{
    {
        FrmColors unloaded;
        for (const SchemeTable::SchemeColor &row : SchemeTable::Colors())
            EXPECT_EQ(unloaded.ColorPicker(row.swatch)->Color(), row.initial) << row.key;
    }
    ModMain::DisableShadow = true;
    FrmColors *colors = loadColors();
    // The load's copy rule holds without a file too: the important buttons follow the title bar.
    for (const SchemeTable::SchemeColor &row : SchemeTable::Colors()) {
        const runtime::OleColor expected = row.swatch == SchemeTable::importantbuttontopback ? 0xFF9933u : row.initial;
        EXPECT_EQ(colors->ColorPicker(row.swatch)->Color(), expected) << row.key;
    }
    EXPECT_EQ(colors->CheckPBarSmooth()->Value(), 1);
    EXPECT_EQ(colors->CheckMBarSmooth()->Value(), 1);
    EXPECT_EQ(colors->CheckDisableShadow()->Value(), 1);
    EXPECT_FALSE(colors->isVisible()); // loaded hidden
    EXPECT_EQ(colors->ImageMouseIcon()->MousePointer(), runtime::vbCustom);
    EXPECT_FALSE(colors->ImageMouseIcon()->MouseIcon().isNothing());
    EXPECT_EQ(entries(colors->Combo2()), (QStringList{QString(), ModColors::kWindowsDefaultPreset}));
    // The window skins itself: group boxes and labels in the program colours.
    EXPECT_EQ(colors->BackColor(), 0x404040u);
    EXPECT_EQ(colors->ForeColor(), 0x0u);
    EXPECT_EQ(colors->TitelBar1()->BackColorV1Begin(), 0xFF9933u);
}

struct ImportantCase {
    const char *name;
    std::optional<const char *> storedTop; // nullopt: key missing
    runtime::OleColor expectedTop;
};

class ImportantButtons : public ColourWindow, public ::testing::WithParamInterface<ImportantCase> {};

TEST_P(ImportantButtons, FollowTheTitleBarUnlessTheFileSaysOtherwise)
{
    writeColor("titletopback", QStringLiteral("1193046")); // 0x123456
    writeColor("titletext", QStringLiteral("255"));
    if (GetParam().storedTop)
        writeColor("importantbuttontopback", QString::fromLatin1(*GetParam().storedTop));
    FrmColors *colors = loadColors();
    EXPECT_EQ(colors->ColorPicker(SchemeTable::titletopback)->Color(), 0x123456u);
    EXPECT_EQ(colors->ColorPicker(SchemeTable::importantbuttontopback)->Color(), GetParam().expectedTop);
    EXPECT_EQ(colors->ColorPicker(SchemeTable::importantbuttontext)->Color(), 255u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportantButtons,
                         ::testing::Values(ImportantCase{"missing", std::nullopt, 0x123456},
                                           ImportantCase{"empty", "", 0x123456},
                                           ImportantCase{"notANumber", "blue", 0x123456},
                                           ImportantCase{"stored", "65280", 0x00FF00}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ColourWindow, StoredTextsSetTheSwatchOrLeaveIt)
{
    writeColor("programback", QStringLiteral("255"));
    writeColor("programtext", QStringLiteral("white"));
    writeColor("MBarSegments", QStringLiteral("0"));
    writeColor("PBarSegments", QStringLiteral("yes"));
    FrmColors *colors = loadColors();
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programback)->Color(), 255u); // pure red
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programtext)->Color(), 0xFFFFFFu);
    EXPECT_EQ(colors->CheckMBarSmooth()->Value(), 0);
    EXPECT_EQ(colors->CheckPBarSmooth()->Value(), 1);
    EXPECT_EQ(colors->BackColor(), 255u);
}

namespace {

// "Current Windows Default" by swatch, as the design's table writes it: a system colour (the high
// bit and the colour's index) or a fixed colour. Written out here, apart from the program's table,
// so that a wrong entry there shows.
struct WindowsDefault {
    int swatch;
    const char *key;
    runtime::OleColor value;
};
const WindowsDefault kWindowsDefaults[] = {
    {0, "programback", 0x8000000F},       {1, "programtext", 0x80000012},
    {2, "buttontopback", 0x80000002},     {3, "buttontext", 0x80000012},
    {4, "textback", 0x80000005},          {5, "texttext", 0x80000008},
    {6, "titletopback", 0x80000002},      {7, "titlebottomback", 0x80000002},
    {8, "titletopback2", 0x80000002},     {9, "titlebottomback2", 0x80000002},
    {10, "titletext", 0x80000009},        {12, "importanttext", 0xC38500},
    {13, "infotext", 0xC000},             {14, "logoback", 0x80000010},
    {16, "importantbuttontopback", 0x80000002}, {17, "importantbuttontext", 0x80000009},
    {18, "pbback", 0x80000005},           {19, "pbtext", 0x80000008},
    {20, "pbbar", 0x8000000D},            {21, "pbfilltext", 0x8000000E},
    {22, "mbback", 0x80000005},           {23, "mbtext", 0x80000008},
    {24, "mbbar", 0x8000000D},            {25, "mbfilltext", 0x8000000E},
    {26, "titlebuttonback", 0xBB6511},    {27, "titlebuttonfore", 0xFFFFFF},
    {28, "titlebuttonxback", 0x23D9},     {29, "titlebuttonxfore", 0xFFFFFF},
};

}

TEST_F(ColourWindow, WindowsDefaultGivesTheTablesColoursAndTouchesNoSwitch)
{
    FrmColors *colors = loadColors();
    colors->CheckPBarSmooth()->setValue(0);
    choose(colors->Combo2(), ModColors::kWindowsDefaultPreset);
    for (const WindowsDefault &row : kWindowsDefaults) {
        // Some system colours share a value here; the program's table must still name the right one.
        EXPECT_EQ(SchemeTable::BySwatch(row.swatch)->windowsDefault, row.value) << row.key;
        const runtime::OleColor expected =
            row.value & runtime::SystemColorFlag ? runtime::GetSysColor(int(row.value & ~runtime::SystemColorFlag)) : row.value;
        EXPECT_EQ(colors->ColorPicker(row.swatch)->Color(), expected) << row.key;
        const QString stored = Modini::ReadIni(kColors, QString::fromLatin1(row.key));
        EXPECT_EQ(stored, QString::number(expected)) << row.key; // RGB, never a system colour
    }
    EXPECT_EQ(colors->ColorPicker(26)->Color(), 0xBB6511u);
    EXPECT_EQ(colors->ColorPicker(12)->Color(), 0xC38500u);
    EXPECT_EQ(colors->ColorPicker(13)->Color(), 0xC000u);
    EXPECT_EQ(colors->CheckPBarSmooth()->Value(), 0);
    EXPECT_EQ(colors->CheckMBarSmooth()->Value(), 1);
    EXPECT_TRUE(colors->Combo2()->isEnabled());
    EXPECT_EQ(colors->BackColor(), runtime::GetSysColor(runtime::COLOR_BTNFACE));
    colors->show();
    testsupport::writeTestPng(QStringLiteral("skin"), QStringLiteral("colors-windows-default"), colors->grab().toImage());
}

// A preset larger than any real one (12 MB of short lines, say) holds no keys, however many of its
// lines are keys: choosing it leaves the scheme as it was.
TEST_F(ColourWindow, APresetBeyondTheSizeBoundLeavesTheSchemeAsItWas)
{
    QDir().mkpath(folder.path() + QStringLiteral("/color_presets"));
    QByteArray text("[colors]\r\nprogramback=255\r\ntitletopback=255\r\n");
    while (text.size() < 12'000'000)
        text += "k=1\r\n";
    {
        QFile file(presetPath(QStringLiteral("Huge")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    FrmColors *colors = reload();
    std::vector<runtime::OleColor> before;
    for (const SchemeTable::SchemeColor &row : SchemeTable::Colors())
        before.push_back(colors->ColorPicker(row.swatch)->Color());
    choose(colors->Combo2(), QStringLiteral("Huge"));
    std::vector<runtime::OleColor> after;
    for (const SchemeTable::SchemeColor &row : SchemeTable::Colors())
        after.push_back(colors->ColorPicker(row.swatch)->Color());
    EXPECT_EQ(after, before);
    EXPECT_EQ(Modini::ReadIni(kColors, QStringLiteral("programback")), QString::number(0x404040));
    EXPECT_TRUE(colors->Combo2()->isEnabled());
}

TEST_F(ColourWindow, TheShippedSchemeScreenshot)
{
    FrmColors *colors = loadColors();
    colors->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(testsupport::writeTestPng(QStringLiteral("skin"), QStringLiteral("colors-shipped"), colors->grab().toImage()).isEmpty());
}

TEST_F(ColourWindow, TheEmptyEntryChangesNothing)
{
    FrmColors *colors = loadColors();
    choose(colors->Combo2(), ModColors::kWindowsDefaultPreset);
    choose(colors->Combo2(), QString());
    EXPECT_EQ(colors->ColorPicker(0)->Color(), runtime::GetSysColor(runtime::COLOR_BTNFACE));
    EXPECT_TRUE(colors->Combo2()->isEnabled());
}

TEST_F(ColourWindow, ASavedPresetIsListedAndBringsItsColoursBackInAFreshWindow)
{
    FrmColors *colors = loadColors();
    colors->ColorPicker(SchemeTable::programback)->setColor(0x102030);
    colors->ColorPicker(SchemeTable::titletopback)->setColor(0x405060);
    {
        InputAnswer answer(QStringLiteral("Night"));
        colors->Command2_Click();
        EXPECT_EQ(answer.asked, (QStringList{QStringLiteral("Preset Name:"), QStringLiteral("Save Colors As Preset"), QString()}));
    }
    EXPECT_TRUE(entries(colors->Combo2()).contains(QStringLiteral("Night")));

    writeColor("PBarSegments", QStringLiteral("0"));
    colors = reload();
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programback)->Color(), 0x404040u);
    colors->CheckPBarSmooth()->setValue(1);
    choose(colors->Combo2(), QStringLiteral("Night"));
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programback)->Color(), 0x102030u);
    EXPECT_EQ(colors->ColorPicker(SchemeTable::titletopback)->Color(), 0x405060u);
    EXPECT_EQ(colors->ColorPicker(SchemeTable::importantbuttontopback)->Color(), 0xFF9933u); // as it was saved
    EXPECT_EQ(colors->CheckPBarSmooth()->Value(), 0); // from the settings file, not the preset
    EXPECT_EQ(colors->BackColor(), 0x102030u);
    EXPECT_EQ(Modini::ReadIni(kColors, QStringLiteral("programback")), QString::number(0x102030)); // now the stored scheme
}

TEST_F(ColourWindow, BlankOrCancelledNamesSaveNothing)
{
    FrmColors *colors = loadColors();
    for (std::optional<QString> name : {std::optional<QString>(QStringLiteral("   ")), std::optional<QString>()}) {
        InputAnswer answer(name);
        colors->Command2_Click();
    }
    EXPECT_TRUE(QDir(folder.path() + QStringLiteral("/color_presets")).entryList(QDir::Files).isEmpty());
    InputAnswer answer(QStringLiteral(" Dawn "));
    colors->Command2_Click();
    EXPECT_TRUE(QFile::exists(presetPath(QStringLiteral(" Dawn "))));
    EXPECT_TRUE(entries(colors->Combo2()).contains(QStringLiteral(" Dawn ")));
}

TEST_F(ColourWindow, OnlyTheExactBuiltInTextLoadsTheWindowsColours)
{
    QDir().mkpath(folder.path() + QStringLiteral("/color_presets"));
    writeColor("programback", QStringLiteral("4660"), presetPath(QStringLiteral("current windows default")));
    FrmColors *colors = reload();
    choose(colors->Combo2(), QStringLiteral("current windows default"));
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programback)->Color(), 4660u);

    ASSERT_TRUE(QFile::remove(presetPath(QStringLiteral("current windows default"))));
    writeColor("programback", QStringLiteral("4660"), presetPath(ModColors::kWindowsDefaultPreset));
    colors = reload();
    EXPECT_EQ(entries(colors->Combo2()).count(ModColors::kWindowsDefaultPreset), 2);
    const int fileEntry = int(entries(colors->Combo2()).lastIndexOf(ModColors::kWindowsDefaultPreset));
    ASSERT_GT(fileEntry, 1);
    colors->Combo2()->view()->setCurrentIndex(fileEntry);
    emit colors->Combo2()->view()->activated(fileEntry);
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programback)->Color(), runtime::GetSysColor(runtime::COLOR_BTNFACE));
}

TEST_F(ColourWindow, APickedColourIsSavedAtOnceAndSurvivesARestart)
{
    FrmColors *colors = loadColors();
    colors->show();
    pick(colors->ColorPicker(SchemeTable::programback), 0x336699);
    EXPECT_EQ(colors->BackColor(), 0x336699u);
    EXPECT_EQ(Modini::ReadIni(kColors, QStringLiteral("programback")), QString::number(0x336699));
    colors = reload();
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programback)->Color(), 0x336699u);
}

TEST_F(ColourWindow, ASettingsFileThatCannotBeWrittenLeavesTheSwatchChanged)
{
    FrmColors *colors = loadColors();
    colors->show();
    ASSERT_TRUE(QDir().mkpath(settingsPath())); // a folder where the file should be
    pick(colors->ColorPicker(SchemeTable::programtext), 0x00FF00);
    EXPECT_EQ(colors->ColorPicker(SchemeTable::programtext)->Color(), 0x00FF00u);
    EXPECT_TRUE(colors->IsLoaded());
}

TEST_F(ColourWindow, TheShadowSwitchStoresOneOrZeroAndFlipsEveryWindow)
{
    ModShadow::ShadowEnabled = true;
    FrmColors *colors = loadColors();
    colors->show();
    QTest::mouseClick(colors->CheckDisableShadow(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckDisableShadow")), QStringLiteral("1"));
    EXPECT_TRUE(ModMain::DisableShadow);
    EXPECT_FALSE(ModShadow::ShadowEnabled);
    QTest::mouseClick(colors->CheckDisableShadow(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckDisableShadow")), QStringLiteral("0"));
    EXPECT_TRUE(ModShadow::ShadowEnabled);
}

TEST_F(ColourWindow, TheSegmentBoxesStoreTheirValueAndSetTheExampleBar)
{
    FrmColors *colors = loadColors();
    colors->CheckPBarSmooth()->setVisible(true);
    colors->CheckPBarSmooth()->parentWidget()->setVisible(true);
    colors->show();
    QTest::mouseClick(colors->CheckPBarSmooth(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Modini::ReadIni(kColors, QStringLiteral("PBarSegments")), QStringLiteral("0"));
    EXPECT_FALSE(colors->PBarExample()->Segments());
    EXPECT_TRUE(Modini::ReadIni(kColors, QStringLiteral("MBarSegments")).isEmpty());
}

TEST_F(ColourWindow, HidingAndShowingKeepsEverySwatch)
{
    FrmColors *colors = loadColors();
    colors->ColorPicker(5)->setColor(0xABCDEF);
    colors->show();
    colors->Hide();
    colors->show();
    EXPECT_EQ(runtime::Forms::Get<FrmColors>(), colors);
    EXPECT_EQ(colors->ColorPicker(5)->Color(), 0xABCDEFu);
}

namespace {

struct Placed {
    const char *name;
    int index;
    double left, top, width, height; // twips, in the container
    const char *caption;             // nullptr: the control has none
    bool visible;
};

// The colour window's controls where the design puts them (swatches: the first of each group).
const Placed kPlaced[] = {
    {"TitelBar1", -1, 0, 0, 7125, 540, nullptr, true},
    {"FrameNormal", 0, 75, 600, 2100, 3795, "Title Bar && Border", true},
    {"FrameNormal", 4, 2512, 600, 2100, 1065, "Text Boxes && Lists", true},
    {"FrameNormal", 2, 2512, 1800, 2100, 1065, "Buttons && Tabs", true},
    {"FrameNormal", 1, 4945, 600, 2100, 2235, "Program", true},
    {"FrameNormal", 3, 8400, 1080, 2100, 1065, "Important Buttons", false},
    {"FrameNormal", 5, 8430, 2220, 2100, 2940, "Progress Bars", false},
    {"FrameNormal", 6, 10560, 2010, 2100, 2940, "System Monitor Bars", false},
    {"ColorPicker", 6, 60, 240, 1980, 360, "Top", true},
    {"ColorPicker", 29, 60, 240 + 8 * 390, 1980, 360, "Button X Top", true},
    {"ColorPicker", 14, 60, 240 + 4 * 390, 1980, 360, "Logo Background", true},
    {"CheckDisableShadow", -1, 2512, 3000, 2685, 225, "Disable Border Shadow", true},
    {"LogoPictureBox", -1, 6480, 3120, 375, 315, nullptr, true},
    {"Picture1", -1, 5400, 3780, 855, 810, nullptr, true},
    {"aicAlphaImage1", -1, 30, 30, 720, 720, nullptr, true},
    {"ImageMouseIcon", -1, 6360, 3600, 435, 375, nullptr, true},
    {"ImageProgramColorsIcon", -1, 6360, 4065, 435, 375, nullptr, true},
    {"Combo2", -1, 75, 4800, 4275, 315, nullptr, true},
    {"Command2", -1, 4500, 4770, 2535, 375, "Save Current Colors As Preset", true},
    {"PBarExample", -1, 60, 1995, 1980, 210, nullptr, true},
    {"MBarExample", -1, 60, 2000, 1975, 210, nullptr, true},
    {"HScrollPBExample", -1, 60, 2340, 1975, 225, nullptr, true},
    {"CheckMBarSmooth", -1, 60, 2610, 1935, 290, "Use Bar Segments", true},
};

}

TEST_F(ColourWindow, EveryControlStandsWhereTheDesignPutsIt)
{
    FrmColors *colors = loadColors();
    EXPECT_NEAR(colors->Width(), 7125, 15);
    EXPECT_NEAR(colors->Height(), 5235, 15);
    EXPECT_EQ(colors->Caption(), QStringLiteral("Edit Program Colors"));
    for (const Placed &row : kPlaced) {
        runtime::Control *control = colors->findControl(QString::fromLatin1(row.name), row.index);
        ASSERT_TRUE(control) << row.name << row.index;
        EXPECT_NEAR(control->Left(), row.left, 15) << row.name << row.index;
        EXPECT_NEAR(control->Top(), row.top, 15) << row.name << row.index;
        EXPECT_NEAR(control->Width(), row.width, 15) << row.name << row.index;
        EXPECT_NEAR(control->Height(), row.height, 15) << row.name << row.index;
        if (row.caption) {
            EXPECT_EQ(runtime::getPropertyByName(control, "Caption").toString(), QString::fromLatin1(row.caption)) << row.name;
        }
        EXPECT_EQ(control->Visible(), row.visible) << row.name << row.index;
    }
    int swatches = 0;
    for (int index = 0; index < 30; ++index)
        swatches += colors->ColorPicker(index) ? 1 : 0;
    EXPECT_EQ(swatches, 28);
    EXPECT_EQ(colors->TitelBar1()->Caption(), QStringLiteral("Edit Program Colors"));
    EXPECT_TRUE(colors->TitelBar1()->ShowMinimized());
    EXPECT_TRUE(colors->TitelBar1()->ShowClose());
    EXPECT_FALSE(colors->TitelBar1()->ShowMaximized());
    EXPECT_EQ(colors->TitelBar1()->BackColor(), 0xF7B8F8u);
}
