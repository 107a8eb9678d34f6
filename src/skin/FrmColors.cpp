#include "skin/FrmColors.h"

#include "chrome/FrameRect.h"
#include "chrome/ModShadow.h"
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
#include "core/ModMain.h"
#include "gdi/Picture.h"
#include "core/Modini.h"
#include "platform/Mod32Icon.h"
#include "platform/ModDPI.h"
#include "platform/ModLoadIconFromRes.h"
#include "platform/ModSkin.h"
#include "runtime/ComboBox.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/HScrollBar.h"
#include "runtime/InputBox.h"
#include "runtime/PictureBox.h"
#include "runtime/ResPicture.h"
#include "runtime/Screen.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"

#include <cmath>

static void initSkinResources() { Q_INIT_RESOURCE(skin); }

namespace {

constexpr WindowDesign::Size DesignSize{7125, 5235};
constexpr double kSwatchLeft = 60;
constexpr double kSwatchTop = 240;
constexpr double kSwatchPitch = 390;
constexpr double kSwatchWidth = 1980;
constexpr double kSwatchHeight = 360;

const QString kColors = QStringLiteral("colors");

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

int roundHalfEven(double value) { return int(std::nearbyint(value)); }

}

FrmColors::FrmColors() : runtime::Form(QStringLiteral("FrmColors"))
{
    setCaption(QStringLiteral("Edit Program Colors"));
    // The window holds the live scheme: its close button only hides it.
    setHideOnClose(true);
    setBackColor(0x404040);
    setForeColor(0x0);
    WindowDesign::SetDesignSize(this, DesignSize);
    const runtime::PaintHold hold(this);
    createControls();
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
    connect(m_combo2, &runtime::ComboBox::Click, this, &FrmColors::Combo2_Click);

    auto *save = new SuitePushButton(this, QStringLiteral("Command2"));
    save->setCaption(QStringLiteral("Save Current Colors As Preset"));
    WindowDesign::Move(save, {4500, 4770, 2535, 375});
    connect(save, &SuitePushButton::Click, this, &FrmColors::Command2_Click);

    createHiddenGroups();

    for (runtime::Control *control : Controls()) {
        if (auto *picker = qobject_cast<SuiteColorPicker *>(control))
            connect(picker, &SuiteColorPicker::Change, this, &FrmColors::ColorPicker_Change);
    }
    connect(m_checkDisableShadow, &SuiteCheckBox::MouseUp, this, &FrmColors::CheckDisableShadow_MouseUp);
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
    connect(m_checkPBarSmooth, &SuiteCheckBox::Click, this, &FrmColors::CheckPBarSmooth_Click);
    connect(m_checkMBarSmooth, &SuiteCheckBox::Click, this, &FrmColors::CheckMBarSmooth_Click);
    for (auto [scroll, bar] : {std::pair{m_scrollPB, m_pbarExample}, std::pair{m_scrollMB, m_mbarExample}}) {
        const QPointer<QuordanePB> target(bar);
        auto follow = [this, scroll, target] {
            if (target)
                target->setValue(scroll->Value());
            yield();
        };
        connect(scroll, &runtime::HScrollBar::Change, this, follow);
        connect(scroll, &runtime::HScrollBar::Scroll, this, follow);
    }
}

SuiteColorPicker *FrmColors::ColorPicker(int index) const
{
    return qobject_cast<SuiteColorPicker *>(findControl(QStringLiteral("ColorPicker"), index));
}

runtime::Control *FrmColors::ImageMouseIcon() const { return findControl(QStringLiteral("ImageMouseIcon")); }

SuiteCheckBox *FrmColors::CheckDisableShadow() const { return m_checkDisableShadow; }

bool FrmColors::yield() { return runtime::DoEventsStillLoaded(this); }

void FrmColors::Form_Load()
{
    Mod32Icon::SetIcon(this, QStringLiteral("AAA"), false);
    setHeight(DesignSize.height);
    setWidth(DesignSize.width);
    bDidActivate = false;
    m_titelBar->setCaption(Caption());
    if (!yield())
        return;
    m_titelBar->setWidth(Width());
    if (!yield())
        return;
    setAutoRedraw(true);
    setDrawWidth(3);
    if (!yield())
        return;
    if (runtime::Control *mouseIcon = ImageMouseIcon()) {
        mouseIcon->setMouseIcon(runtime::LoadResPicture(QStringLiteral("APPHAND"), runtime::vbResCursor));
        mouseIcon->setMousePointer(runtime::vbCustom);
    }
    const int iconSize = roundHalfEven(24 * ModDPI::DPIScale);
    m_titelBar->setPictureButton(ModLoadIconFromRes::LoadIconFromResource(QStringLiteral("AAA"), iconSize, iconSize, 0, false));
    if (!yield())
        return;
    ModColors::FillPresetList(m_combo2);
    if (!yield())
        return;
    m_checkDisableShadow->setValue(ModMain::DisableShadow ? 1 : 0);
    if (!yield())
        return;
    readSegmentOptions();
    if (!yield())
        return;
    readScheme(QString());
    if (!yield())
        return;
    ModColors::ApplyColorsToForm(this);
    if (!yield())
        return;
    ModSkin::SetTransparentColor(this, m_titelBar->BackColor());
}

void FrmColors::readSegmentOptions()
{
    m_checkMBarSmooth->SetValueFromText(Modini::ReadIni(kColors, QStringLiteral("MBarSegments")));
    m_checkPBarSmooth->SetValueFromText(Modini::ReadIni(kColors, QStringLiteral("PBarSegments")));
}

void FrmColors::readScheme(const QString &file)
{
    const Modini::IniSection stored(kColors, file);
    auto read = [&](int swatch) {
        const QString key = QString::fromLatin1(SchemeTable::BySwatch(swatch)->key);
        if (SuiteColorPicker *picker = ColorPicker(swatch))
            picker->SetColorFromText(stored.Value(key));
    };
    for (int swatch : SchemeTable::kReadOrderBeforeImportant)
        read(swatch);
    // The important buttons follow the title bar unless the file says otherwise.
    ColorPicker(SchemeTable::importantbuttontopback)->setColor(ColorPicker(SchemeTable::titletopback)->Color());
    ColorPicker(SchemeTable::importantbuttontext)->setColor(ColorPicker(SchemeTable::titletext)->Color());
    for (int swatch : SchemeTable::kReadOrderAfterImportant)
        read(swatch);
    for (int swatch : {SchemeTable::importantbuttontopback, SchemeTable::importantbuttontext}) {
        const QString text = stored.Value(QString::fromLatin1(SchemeTable::BySwatch(swatch)->key));
        if (!yield())
            return;
        if (!text.isEmpty())
            ColorPicker(swatch)->SetColorFromText(text);
    }
}

void FrmColors::setWindowsDefaults()
{
    for (int swatch : SchemeTable::kWindowsDefaultOrder) {
        const runtime::OleColor value = SchemeTable::BySwatch(swatch)->windowsDefault;
        ColorPicker(swatch)->setColor(value & runtime::SystemColorFlag ? ModColors::TranslateOleColor(value) : value);
    }
}

void FrmColors::Combo2_Click()
{
    m_combo2->setEnabled(false);
    if (!yield())
        return;
    const QString text = m_combo2->Text();
    if (text == ModColors::kWindowsDefaultPreset) {
        setWindowsDefaults();
    } else if (!text.isEmpty()) {
        readSegmentOptions();
        readScheme(ModColors::PresetFile(text));
    }
    if (!text.isEmpty()) {
        if (!yield())
            return;
        ModColors::ApplyColorsToAllForms();
        if (!yield())
            return;
    }
    m_combo2->setEnabled(true);
    yield();
}

void FrmColors::Command2_Click()
{
    const QString answer = runtime::InputBox(QStringLiteral("Preset Name:"), QStringLiteral("Save Colors As Preset"), m_combo2->Text());
    if (!yield() || answer.trimmed().isEmpty())
        return;
    ModColors::SaveColorPreset(answer);
    if (!yield() || !yield())
        return;
    ModColors::FillPresetList(m_combo2);
    yield();
}

void FrmColors::ColorPicker_Change()
{
    if (!yield())
        return;
    ModColors::ApplyColorsToAllForms();
    yield();
}

void FrmColors::CheckDisableShadow_MouseUp()
{
    const int value = m_checkDisableShadow->Value();
    // The settings file of every other key (the design's "Settings.ini" names the same file on a
    // case-blind file system).
    Modini::WriteIni(QStringLiteral("main"), QStringLiteral("CheckDisableShadow"), QString::number(value));
    ModMain::DisableShadow = value != 0;
    if (!yield())
        return;
    ModShadow::ShadowEnabled = !ModMain::DisableShadow;
    if (!yield())
        return;
    QList<QPointer<runtime::Form>> forms;
    for (runtime::Form *form : runtime::Forms::All())
        forms.append(form);
    for (const QPointer<runtime::Form> &form : forms) {
        if (form && form->IsLoaded())
            ModShadow::UpdateShadow(form, ModColors::SchemeColor(SchemeTable::titlebottomback));
        runtime::DoEvents();
    }
}

void FrmColors::CheckPBarSmooth_Click()
{
    const int value = m_checkPBarSmooth->Value();
    Modini::WriteIni(kColors, QStringLiteral("PBarSegments"), QString::number(value));
    if (yield())
        m_pbarExample->setSegments(value != 0);
}

void FrmColors::CheckMBarSmooth_Click()
{
    const int value = m_checkMBarSmooth->Value();
    Modini::WriteIni(kColors, QStringLiteral("MBarSegments"), QString::number(value));
    if (yield())
        m_mbarExample->setSegments(value != 0);
}

void FrmColors::Form_Activate()
{
    if (bDidActivate)
        return;
    bDidActivate = true;
    const QPointer<TitelBar> bar(m_titelBar);
    if (bar && bar->ShowHelp())
        bar->TimerButtonHelpAnimation_Timer();
    if (bar && bar->ShowMinimized())
        bar->TimerButtonMinAnimation_Timer();
    if (bar && bar->ShowMaximized())
        bar->TimerButtonMaxAnimation_Timer();
    if (bar && bar->ShowClose())
        bar->TimerButtonXAnimation_Timer();
}

// The window's border: its top edge lies 50 pixels above the bottom of the title bar, so only
// the left, right and bottom edges show, in the scheme's border colour.
void FrmColors::Form_Resize()
{
    m_titelBar->setWidth(Width());
    if (!yield())
        return;
    Cls();
    if (!yield())
        return;
    const double tx = runtime::Screen::TwipsPerPixelX();
    const double ty = runtime::Screen::TwipsPerPixelY();
    const gdi::Rect frame = FrameRect::Of(Width(), Height(), roundHalfEven(m_titelBar->Height() / ty - 50), tx, ty,
                                          FrameRect::Rounding::Quotient);
    hdc()->rectangle(frame.left, frame.top, frame.right, frame.bottom);
    if (!yield())
        return;
    Refresh();
    yield();
}
