#include "skin/ModColors.h"

#include "chrome/ModShadow.h"
#include "chrome/WindowDesign.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/SuiteTabControl.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "skin/FrmColors.h"
#include "skin/ModColorsRules.h"

#include <QHash>
#include <QPointer>

namespace ModColors {

namespace {

using ModColorsRules::After;
using ModColorsRules::Assignment;
using ModColorsRules::Rule;
using ModColorsRules::Step;
using ModColorsRules::Value;

// One pass over one window; every put goes through it, so a window unloaded during a yield ends
// the pass (its further puts would fail and be skipped).
class Pass {
public:
    explicit Pass(runtime::Form *form) : m_form(form) {}

    bool alive() const { return m_form && m_form->IsLoaded(); }

    bool yield()
    {
        runtime::DoEvents();
        return alive();
    }

    void run(const Step &step)
    {
        if (!alive())
            return;
        readColours(step);
        if (!step.titleBar.empty())
            setTitleBar(step);
        if (step.windowForeFirst && alive()) {
            runtime::setPropertyByName(m_form, step.windowForeFirst, m_colours[0]);
            if (!yield())
                return;
            ModShadow::UpdateShadow(m_form, runtime::OleColor(m_colours[0]));
        }
        const bool pictureBase = walkControls(step);
        if (!alive())
            return;
        if (step.windowAfter) {
            runtime::setPropertyByName(m_form, step.windowAfter, m_colours[0]);
            yield();
            yield();
        }
        if (step.windowFrame && !pictureBase)
            windowFrame();
        for (int i = 0; i < step.yieldsAfterPass && alive(); ++i)
            yield();
    }

private:
    void readColours(const Step &step)
    {
        for (size_t i = 0; i < step.swatches.size(); ++i)
            m_colours[i] = qint32(SchemeColor(step.swatches[i]));
        m_segments = 0;
        if (step.segmentsBox) {
            FrmColors *colors = runtime::Forms::Get<FrmColors>();
            if (auto *box = qobject_cast<SuiteCheckBox *>(colors->findControl(QString::fromLatin1(step.segmentsBox))))
                m_segments = box->Value();
        }
    }

    void setTitleBar(const Step &step)
    {
        for (const char *property : step.titleBar) {
            if (!alive())
                return;
            if (runtime::Control *bar = m_form->findControl(QStringLiteral("TitelBar1")))
                runtime::setPropertyByName(bar, property, m_colours[0]);
            yield();
        }
    }

    // Answers whether a control matched "picturebase".
    bool walkControls(const Step &step)
    {
        bool pictureBase = false;
        QList<QPointer<runtime::Control>> controls;
        for (runtime::Control *control : m_form->Controls())
            controls.append(control);
        for (const QPointer<runtime::Control> &control : controls) {
            const QString name = control ? lowerName(control) : QString();
            for (const Rule &rule : step.rules) {
                if (!alive())
                    return pictureBase;
                if (!control || !matches(name, rule))
                    continue;
                // A grid stops drawing before its properties and cells change.
                if (rule.after == After::GridFore || rule.after == After::GridBack)
                    runtime::setPropertyByName(control, "Redraw", false);
                for (const Assignment &set : rule.sets)
                    putPath(control, set.property, value(set.value));
                if (rule.after == After::PictureBaseFrame)
                    pictureBase = true;
                finish(control, rule.after);
            }
            if (step.yieldPerControl && alive())
                yield();
        }
        return pictureBase;
    }

    // A pass walks the window's controls once per step: each name is lower-cased once a pass
    // (a control deleted meanwhile and another made at its address is named again).
    const QString &lowerName(runtime::Control *control)
    {
        auto known = m_lowerNames.find(control);
        if (known == m_lowerNames.end() || known->first != control)
            known = m_lowerNames.insert(control, {control, control->Name().toLower()});
        return known->second;
    }

    static bool matches(const QString &lowerName, const Rule &rule)
    {
        for (const char *prefix : rule.prefixes) {
            if (lowerName.startsWith(QLatin1String(prefix)))
                return true;
        }
        return false;
    }

    QVariant value(Value kind) const
    {
        switch (kind) {
        case Value::Colour:
            return m_colours[0];
        case Value::BarText:
            return m_colours[1];
        case Value::BarFill:
            return m_colours[2];
        case Value::BarFillText:
            return m_colours[3];
        case Value::Appearance:
            return 2;
        case Value::Segments:
            return m_segments;
        }
        return {};
    }

    // Sets a property, or the last part of a dotted path whose other parts are QObject*
    // properties; anything missing on the way skips the set.
    static void putPath(QObject *object, const char *path, const QVariant &value)
    {
        const QList<QByteArray> parts = QByteArray(path).split('.');
        for (qsizetype i = 0; object && i + 1 < parts.size(); ++i)
            object = runtime::getPropertyByName(object, parts[i].constData()).value<QObject *>();
        if (object)
            runtime::setPropertyByName(object, parts.last().constData(), value);
    }

    void finish(QPointer<runtime::Control> control, After after)
    {
        switch (after) {
        case After::Nothing:
            return;
        case After::Yield:
            break;
        case After::YieldTabRedraw:
            if (!yield())
                return;
            tabRedraw(control);
            break;
        case After::TabRedraw:
            tabRedraw(control);
            break;
        case After::ApplyBackGroundColor:
            if (control)
                QMetaObject::invokeMethod(control, "ApplyBackGroundColor");
            break;
        case After::GridFore:
        case After::GridBack:
            gridCells(control, after == After::GridFore ? "setCellForeColor" : "setCellBackColor");
            break;
        case After::PictureBaseFrame:
            pictureBaseFrame(control);
            return;
        }
        if (alive())
            yield();
    }

    // A short-lived change of the first tab's caption makes the tab control lay out and repaint
    // its strip with the colours just set.
    void tabRedraw(QPointer<runtime::Control> control)
    {
        auto tabs = [&]() { return qobject_cast<SuiteTabControl *>(control.data()); };
        if (!tabs() || !tabs()->Item(0))
            return;
        const QString caption = tabs()->Item(0)->Caption();
        if (!yield() || !tabs() || !tabs()->Item(0))
            return;
        tabs()->Item(0)->setCaption(QStringLiteral("* ") + caption + QStringLiteral(" *"));
        if (!yield() || !tabs() || !tabs()->Item(0))
            return;
        tabs()->Item(0)->setCaption(caption);
        if (yield())
            yield();
    }

    void gridCells(QPointer<runtime::Control> control, const char *method)
    {
        if (!control)
            return;
        const int rows = runtime::getPropertyByName(control, "Rows").toInt();
        const int cols = runtime::getPropertyByName(control, "Cols").toInt();
        const quint32 colour = quint32(m_colours[0]);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c)
                QMetaObject::invokeMethod(control, method, Q_ARG(int, r), Q_ARG(int, c), Q_ARG(quint32, colour));
        }
        runtime::setPropertyByName(control, "Redraw", true);
    }

    void pictureBaseFrame(QPointer<runtime::Control> control)
    {
        auto surface = [&]() { return control ? dynamic_cast<runtime::Surface *>(control.data()) : nullptr; };
        if (!surface() || !yield() || !surface())
            return;
        surface()->Cls();
        if (!yield() || !surface())
            return;
        WindowDesign::DrawFrame(*surface(), control->Width(), control->Height(), FrameRect::TopAboveSurface);
        if (!yield() || !surface())
            return;
        surface()->Refresh();
        yield();
    }

    // The border of a borderless window: its top edge lies above the surface, so only the left,
    // right and bottom edges show.
    void windowFrame()
    {
        m_form->Cls();
        if (!yield())
            return;
        if (runtime::Control *bar = m_form->findControl(QStringLiteral("TitelBar1"))) {
            const int top = WindowDesign::ToPixels(bar->Height(), WindowDesign::Axis::Vertical) - FrameRect::ColorEngineRiseOverTitleBar;
            WindowDesign::DrawFrame(*m_form, m_form->Width(), m_form->Height(), top);
        }
        if (!yield())
            return;
        m_form->Refresh();
        yield();
    }

    QPointer<runtime::Form> m_form;
    QHash<const runtime::Control *, std::pair<QPointer<runtime::Control>, QString>> m_lowerNames;
    qint32 m_colours[4] = {};
    int m_segments = 0;
};

void refreshControl(runtime::Control *control)
{
    const QMetaObject *meta = control->metaObject();
    if (meta->indexOfMethod("Refresh()") >= 0)
        QMetaObject::invokeMethod(control, "Refresh");
    else if (auto *surface = dynamic_cast<runtime::Surface *>(control))
        surface->Refresh();
    else
        control->repaint();
}

void applyToForm(runtime::Form *form)
{
    const QPointer<runtime::Form> guard(form);
    // Paints and the controls' redraws wait for the end of the pass: each control draws once.
    const runtime::PaintHold hold(form);
    Pass pass(form);
    for (const Step &step : ModColorsRules::Steps()) {
        pass.run(step);
        if (!pass.alive())
            return;
    }
    if (!pass.yield())
        return;
    RefreshFormControls(form);
    if (guard)
        runtime::DoEvents();
}

}

void ApplyColorsToForm(runtime::Form *form)
{
    if (form)
        applyToForm(form);
}

void ApplyColorsToAllForms()
{
    QList<QPointer<runtime::Form>> forms;
    for (runtime::Form *form : runtime::Forms::All())
        forms.append(form);
    for (const QPointer<runtime::Form> &form : forms) {
        if (form && form->IsLoaded())
            applyToForm(form);
    }
    SaveColorSettings();
    runtime::DoEvents();
}

void RefreshFormControls(runtime::Form *form)
{
    const QPointer<runtime::Form> guard(form);
    if (!guard)
        return;
    QList<QPointer<runtime::Control>> controls;
    for (runtime::Control *control : form->Controls())
        controls.append(control);
    for (const QPointer<runtime::Control> &control : controls) {
        if (!guard || !guard->IsLoaded())
            return;
        if (control)
            refreshControl(control);
        runtime::DoEvents();
    }
}

runtime::OleColor SchemeColor(int swatch)
{
    SuiteColorPicker *picker = runtime::Forms::Get<FrmColors>()->ColorPicker(swatch);
    return picker ? picker->Color() : 0;
}

}
