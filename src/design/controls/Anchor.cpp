#include "controls/Anchor.h"

#include "controls/AnchorLayout.h"
#include "controls/ColorMath.h"
#include "controls/StoredProperties.h"
#include "runtime/Form.h"
#include "runtime/Screen.h"

#include <algorithm>

namespace {

constexpr double OwnWidthTwips = 480;
constexpr double OwnHeightTwips = 465;

// A control's geometry property by name; empty for a control that has none.
std::optional<double> readLength(const runtime::Control *control, const char *name)
{
    const QVariant value = runtime::getPropertyByName(control, name);
    bool ok = false;
    const double length = value.toDouble(&ok);
    return value.isValid() && ok ? std::optional<double>(length) : std::nullopt;
}

}

Anchor::Anchor(QWidget *container, const QString &name, int index) : runtime::UserControl(container, name, index)
{
    // A fixed extent, whatever the host asks for.
    setFixedSize(runtime::ToPixels(OwnWidthTwips, runtime::Axis::Horizontal, runtime::Rounding::HalfEven),
                 runtime::ToPixels(OwnHeightTwips, runtime::Axis::Vertical, runtime::Rounding::HalfEven));
}

Anchor::~Anchor() = default;

void Anchor::UserControl_InitProperties()
{
    if (Ambient().UserMode)
        bindParent();
}

template <class Io>
void Anchor::storedKeys(const Io &io)
{
    io("MinWidth", MinWidth, 0);
    io("MinHeight", MinHeight, 0);
    io("MaxWidth", MaxWidth, 0);
    io("MaxHeight", MaxHeight, 0);
    io("InitWidth", InitWidth, 0);
    io("InitHeight", InitHeight, 0);
}

void Anchor::UserControl_ReadProperties(const runtime::PropertyBag &bag)
{
    bindParent();
    storedKeys(StoredProperties::Reader{bag});
}

void Anchor::UserControl_WriteProperties(runtime::PropertyBag &bag)
{
    storedKeys(StoredProperties::Writer{bag});
}

void Anchor::bindParent()
{
    if (m_frm)
        return;
    m_frm = Parent();
    if (!m_frm)
        return;   // not on a form window: the control stays inert
    // The form runs its own handlers before it emits, so the host's load handler precedes DoInit.
    connect(m_frm, &runtime::Form::Load, this, [this] {
        if (Ambient().UserMode)
            DoInit();
    });
    connect(m_frm, &runtime::Form::Resize, this, [this] {
        if (Ambient().UserMode)
            DoResize();
    });
    connect(m_frm, &runtime::Form::Activate, this, [this] {
        if (Ambient().UserMode)
            SetFormMinMax();
    });
    if (Ambient().UserMode)
        setVisible(false);
}

void Anchor::recordSize()
{
    m_lastHeight = ColorMath::roundHalfEven(m_frm->Height());
    m_lastWidth = ColorMath::roundHalfEven(m_frm->Width());
}

void Anchor::DoInit()
{
    if (!m_frm)
        return;
    if (InitWidth > 0)
        m_frm->setWidth(InitWidth);
    if (InitHeight > 0)
        m_frm->setHeight(InitHeight);
    if (MinHeight < 1)
        MinHeight = ColorMath::roundHalfEven(m_frm->Height());
    if (MinWidth < 1)
        MinWidth = ColorMath::roundHalfEven(m_frm->Width());

    const QList<runtime::Control *> controls = m_frm->Controls();
    m_flags = QStringList();
    for (int i = 0; i <= controls.size(); ++i)
        m_flags.append(QString());
    for (int i = 0; i < controls.size(); ++i) {
        runtime::Control *control = controls.at(i);
        const AnchorLayout::TagFlags split = AnchorLayout::splitTag(control->Tag());
        if (split.flags.isEmpty())
            continue;
        m_flags[i] = split.flags;
        control->setTag(split.tag);
    }
    recordSize();
    SetFormMinMax();
}

void Anchor::DoResize()
{
    if (!m_frm || m_frm->WindowState() == runtime::vbMinimized)
        return;
    // The window may go away while a handler of ours runs; hold it for the pass.
    const QPointer<runtime::Form> frm = m_frm;
    const runtime::PaintHold hold(frm);
    // Each set raises the window's resize notification at once, so a nested pass applies the
    // change and records the new size; this pass then finds nothing left to apply.
    const QSize before = frm->size();
    if (frm && frm->Height() < MinHeight)
        frm->setHeight(MinHeight);
    if (frm && frm->Width() < MinWidth)
        frm->setWidth(MinWidth);
    if (frm && MaxHeight > 0 && frm->Height() > MaxHeight)
        frm->setHeight(MaxHeight);
    if (frm && MaxWidth > 0 && frm->Width() > MaxWidth)
        frm->setWidth(MaxWidth);
    if (!frm)
        return;

    const int dH = ColorMath::roundHalfEven(frm->Height() - m_lastHeight);
    const int dW = ColorMath::roundHalfEven(frm->Width() - m_lastWidth);
    // Recorded before the host hears of the pass: its handlers yield, and a resize meanwhile (the
    // window manager's next size, or its answer to the clamp above) runs a pass of its own, which
    // must apply only what this one does not.
    recordSize();
    if (dH != 0 || dW != 0) {
        emit Resizing();
        const QList<runtime::Control *> controls = frm ? frm->Controls() : QList<runtime::Control *>();
        for (int i = 0; i < controls.size() && i < m_flags.size(); ++i) {
            runtime::Control *control = controls.at(i);
            if (m_flags.at(i).isEmpty())
                continue;
            const auto left = readLength(control, "Left");
            const auto top = readLength(control, "Top");
            const auto width = readLength(control, "Width");
            const auto height = readLength(control, "Height");
            const AnchorLayout::Move move = AnchorLayout::moveFor(
                m_flags.at(i), {left.value_or(0), top.value_or(0), width.value_or(0), height.value_or(0)}, dH, dW);
            // A control without a position (a timer) simply keeps what it lacks.
            if (move.top && top)
                runtime::setPropertyByName(control, "Top", *move.top);
            if (move.height && height)
                runtime::setPropertyByName(control, "Height", *move.height);
            if (move.left && left)
                runtime::setPropertyByName(control, "Left", *move.left);
            if (move.width && width)
                runtime::setPropertyByName(control, "Width", *move.width);
        }
        emit Resized(dH, dW);
    } else if (frm->size() != before) {
        // Set back to a size already laid out: nothing moves, but the window's drawing was cut to
        // the smaller size meanwhile, and the host draws it (its frame) again.
        emit Resized(0, 0);
    }
    // The hold's release repaints the whole window.
}

void Anchor::SetFormMinMax()
{
    if (!m_frm)
        return;
    using runtime::Axis;
    const auto pixels = [](int twips, Axis axis, int none) {
        return twips > 0 ? std::max(1, runtime::ToPixels(twips, axis)) : none;
    };
    m_frm->setMinimumSize(pixels(MinWidth, Axis::Horizontal, 0), pixels(MinHeight, Axis::Vertical, 0));
    m_frm->setMaximumSize(pixels(MaxWidth, Axis::Horizontal, QWIDGETSIZE_MAX),
                          pixels(MaxHeight, Axis::Vertical, QWIDGETSIZE_MAX));
}

void Anchor::Freeze(QWidget *ohWnd)
{
    if (auto *form = qobject_cast<runtime::Form *>(ohWnd))
        form->HoldPaints();
}

void Anchor::UnFreeze(QWidget *ohWnd, bool ForceUpdate)
{
    auto *form = qobject_cast<runtime::Form *>(ohWnd);
    if (!form)
        return;
    form->ReleasePaints();
    if (ForceUpdate)
        form->update();
}
