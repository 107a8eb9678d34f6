// The colour window's design: its controls, where they sit (twips) and their stored data.
#include "skin/FrmColors.h"

#include "chrome/SkinnedWindow.h"
#include "chrome/TitelBar.h"
#include "chrome/WindowDesign.h"
#include "components/AlphaImgCtl.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/SuiteGroupBox.h"
#include "components/SuiteLabel.h"
#include "components/SuitePushButton.h"
#include "controls/QuordanePB.h"
#include "gdi/Picture.h"
#include "runtime/ComboBox.h"
#include "runtime/HScrollBar.h"
#include "runtime/PictureBox.h"
#include "runtime/PropertyBag.h"
#include "skin/SchemeTable.h"

static void initSkinResources() { Q_INIT_RESOURCE(skin); }

namespace {

constexpr double kSwatchLeft = 60;
constexpr double kSwatchTop = 240;
constexpr double kSwatchPitch = 390;
constexpr double kSwatchWidth = 1980;
constexpr double kSwatchHeight = 360;

// A group box of the window with the swatches the scheme places in it, one below the other in
// swatch order.
SuiteGroupBox *group(QWidget *form, int index, const char *caption, const WindowDesign::Place &twips)
{
    auto *box = new SuiteGroupBox(form, QStringLiteral("FrameNormal"), index);
    box->setCaption(QString::fromLatin1(caption));
    WindowDesign::Move(box, twips);
    double top = kSwatchTop;
    for (const SchemeTable::SchemeColor &row : SchemeTable::Colors()) {
        if (qstrcmp(row.group, caption) != 0)
            continue;
        auto *picker = new SuiteColorPicker(box, QStringLiteral("ColorPicker"), row.swatch);
        picker->setCaption(QString::fromLatin1(row.caption));
        picker->setColor(row.initial);
        WindowDesign::Move(picker, {kSwatchLeft, top, kSwatchWidth, kSwatchHeight});
        top += kSwatchPitch;
    }
    return box;
}

SuiteCheckBox *checkBox(QWidget *container, const QString &name, const char *caption, const WindowDesign::Place &twips, int value)
{
    auto *box = new SuiteCheckBox(container, name);
    box->setCaption(QString::fromLatin1(caption));
    WindowDesign::Move(box, twips);
    box->setValue(value);
    return box;
}

QuordanePB *exampleBar(QWidget *container, const QString &name, const WindowDesign::Place &twips, runtime::OleColor barColor)
{
    auto *bar = new QuordanePB(container, name);
    WindowDesign::Move(bar, twips);
    bar->ReadProperties(runtime::PropertyBag{
        {"Value", 50},
        {"ShowText", true},
        {"Text", QStringLiteral("Example")},
        {"BarColor", barColor},
        {"ForeColor", 0u},
        {"Font", QVariant::fromValue(runtime::StdFont(QStringLiteral("Segoe UI"), 8.25))},
    });
    return bar;
}

runtime::HScrollBar *exampleScroll(QWidget *container, const QString &name, QuordanePB *bar)
{
    auto *scroll = new runtime::HScrollBar(container, name);
    WindowDesign::Move(scroll, {60, 2340, 1975, 225});
    // The scroll bar covers the example bar's own range.
    scroll->setMin(bar->Min());
    scroll->setMax(bar->Max());
    scroll->setLargeChange(10);
    scroll->setValue(bar->Value());
    return scroll;
}

}

void FrmColors::createControls()
{
    m_titelBar = new TitelBar(this);
    WindowDesign::Move(m_titelBar, {0, 0, DesignSize.width, 540});
    // The skinned windows' title bar, with the colour window's own cover, caption place and font.
    runtime::PropertyBag bar = SkinnedWindow::TitleBarBag(QStringLiteral("Edit Program Colors"), SkinnedWindow::MaximizeButton::Absent);
    bar.WriteProperty(QStringLiteral("BackColorCover"), 1500);
    bar.WriteProperty(QStringLiteral("ShowMaximizedEnabled"), true);
    bar.WriteProperty(QStringLiteral("CaptionPosY"), 2);
    bar.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(runtime::StdFont(QStringLiteral("Segoe UI"), 9.75)));
    m_titelBar->ReadProperties(bar);

    group(this, 0, "Title Bar && Border", {75, 600, 2100, 3795});
    group(this, 4, "Text Boxes && Lists", {2512, 600, 2100, 1065});
    group(this, 2, "Buttons && Tabs", {2512, 1800, 2100, 1065});
    group(this, 1, "Program", {4945, 600, 2100, 2235});

    m_checkDisableShadow = checkBox(this, QStringLiteral("CheckDisableShadow"), "Disable Border Shadow",
                                    {2512, 3000, 2685, 225}, 0);

    auto *logo = new runtime::PictureBox(this, QStringLiteral("LogoPictureBox"));
    logo->setBackColor(0x808080);
    WindowDesign::Move(logo, {6480, 3120, 375, 315});

    auto *frame = new runtime::PictureBox(this, QStringLiteral("Picture1"));
    frame->setBackColor(0x404040);
    WindowDesign::Move(frame, {5400, 3780, 855, 810});
    auto *emblem = new AlphaImg::AlphaImgCtl(frame, QStringLiteral("aicAlphaImage1"));
    WindowDesign::Move(emblem, {30, 30, 720, 720});
    initSkinResources();
    // The size a 96-dpi screen shows comes ready; other screens scale the full picture.
    QImage artwork = gdi::ReadPicture(QStringLiteral(":/resources/skin/emblem-48"));
    if (artwork.size() != emblem->size())
        artwork = gdi::ReadPicture(QStringLiteral(":/resources/skin/emblem"));
    emblem->setPicture(AlphaImg::AlphaImage(
        artwork.scaled(emblem->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));

    WindowDesign::Move(new runtime::Control(this, QStringLiteral("ImageMouseIcon")), {6360, 3600, 435, 375});
    WindowDesign::Move(new runtime::Control(this, QStringLiteral("ImageProgramColorsIcon")), {6360, 4065, 435, 375});

    auto *label = new SuiteLabel(this, QStringLiteral("Label1"));
    label->setCaption(QStringLiteral("Color Presets:"));
    // Wider than the design's 1050 twips: the stand-in for Segoe UI runs wider.
    WindowDesign::Move(label, {75, 4560, 1500, 195});

    m_combo2 = new runtime::ComboBox(this, QStringLiteral("Combo2"));
    m_combo2->setBackColor(0xC8C8C8);
    WindowDesign::Move(m_combo2, {75, 4800, 4275, 315});

    m_command2 = new SuitePushButton(this, QStringLiteral("Command2"));
    m_command2->setCaption(QStringLiteral("Save Current Colors As Preset"));
    WindowDesign::Move(m_command2, {4500, 4770, 2535, 375});

    createHiddenGroups();
}

// The groups the user does not see: they lie beyond the right edge and stay hidden, yet their
// swatches and boxes hold scheme values and settings like the others.
void FrmColors::createHiddenGroups()
{
    group(this, 3, "Important Buttons", {8400, 1080, 2100, 1065})->setVisible(false);

    SuiteGroupBox *progress = group(this, 5, "Progress Bars", {8430, 2220, 2100, 2940});
    m_pbarExample = exampleBar(progress, QStringLiteral("PBarExample"), {60, 1995, 1980, 210}, 0xFF9933);
    m_scrollPB = exampleScroll(progress, QStringLiteral("HScrollPBExample"), m_pbarExample);
    // Segmented bars are the skin's look until a stored setting says otherwise.
    m_checkPBarSmooth = checkBox(progress, QStringLiteral("CheckPBarSmooth"), "Use Bar Segments", {60, 2610, 1935, 290}, 1);
    progress->setVisible(false);

    SuiteGroupBox *monitor = group(this, 6, "System Monitor Bars", {10560, 2010, 2100, 2940});
    m_mbarExample = exampleBar(monitor, QStringLiteral("MBarExample"), {60, 2000, 1975, 210}, 0xC8FD);
    m_scrollMB = exampleScroll(monitor, QStringLiteral("HScrollMBExample"), m_mbarExample);
    m_checkMBarSmooth = checkBox(monitor, QStringLiteral("CheckMBarSmooth"), "Use Bar Segments", {60, 2610, 1935, 290}, 1);
    monitor->setVisible(false);

    m_pbarExample->setSegments(m_checkPBarSmooth->Value() != 0);
    m_mbarExample->setSegments(m_checkMBarSmooth->Value() != 0);
}
