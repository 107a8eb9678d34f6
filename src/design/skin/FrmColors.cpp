#include "skin/FrmColors.h"

#include "chrome/ModShadow.h"
#include "chrome/TitelBar.h"
#include "chrome/WindowDesign.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/SuitePushButton.h"
#include "controls/QuordanePB.h"
#include "core/ModMain.h"
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
#include "runtime/ResPicture.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"

#include <cmath>

namespace {

const QString kColors = QStringLiteral("colors");

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
    connectHandlers();
}

void FrmColors::connectHandlers()
{
    connect(m_combo2, &runtime::ComboBox::Click, this, &FrmColors::Combo2_Click);
    connect(m_command2, &SuitePushButton::Click, this, &FrmColors::Command2_Click);
    for (runtime::Control *control : Controls()) {
        if (auto *picker = qobject_cast<SuiteColorPicker *>(control))
            connect(picker, &SuiteColorPicker::Change, this, &FrmColors::ColorPicker_Change);
    }
    connect(m_checkDisableShadow, &SuiteCheckBox::MouseUp, this, &FrmColors::CheckDisableShadow_MouseUp);
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
    WindowDesign::StartAt(this, DesignSize);
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
    const int top = WindowDesign::ToPixels(m_titelBar->Height(), WindowDesign::Axis::Vertical) - FrameRect::ColorWindowRiseOverTitleBar;
    WindowDesign::DrawFrame(*this, Width(), Height(), top, FrameRect::Rounding::Quotient);
    if (!yield())
        return;
    Refresh();
    yield();
}
