#pragma once

#include "runtime/UserControl.h"

#include <QPointer>
#include <QStringList>

namespace runtime {
class Form;
}

// The anchoring control: one per resizable window. At the window's load it gives the window its
// start size and records its minimum; on every resize it holds the window within its limits and
// moves or stretches the window's other controls by the change in size, as the anchor flags at the
// start of each control's Tag say. Sizes and positions are twips. Not visible at run time.
class Anchor : public runtime::UserControl {
    Q_OBJECT
    Q_PROPERTY(int InitWidth MEMBER InitWidth)
    Q_PROPERTY(int InitHeight MEMBER InitHeight)
    Q_PROPERTY(int MinHeight MEMBER MinHeight)
    Q_PROPERTY(int MinWidth MEMBER MinWidth)
    Q_PROPERTY(int MaxHeight MEMBER MaxHeight)
    Q_PROPERTY(int MaxWidth MEMBER MaxWidth)

public:
    Anchor(QWidget *container, const QString &name, int index = -1);
    ~Anchor() override;

    // The design's public variables: start size, and the limits (a maximum of 0 or less: none).
    int InitWidth = 0;
    int InitHeight = 0;
    int MinHeight = 0;
    int MinWidth = 0;
    int MaxHeight = 0;
    int MaxWidth = 0;

    // Run by the control itself on the window's load and resize notifications.
    Q_INVOKABLE void DoInit();
    Q_INVOKABLE void DoResize();
    // Hands the limits to the window system as the window's size hints, so that its own sizing
    // (a frame drag, the grip) stops at them instead of being set back; run at the end of DoInit
    // and on each activation of the window, and by a host that changes the limits later.
    Q_INVOKABLE void SetFormMinMax();
    // Hold back and let go the window's repainting around a layout pass.
    Q_INVOKABLE void Freeze(QWidget *ohWnd);
    Q_INVOKABLE void UnFreeze(QWidget *ohWnd, bool ForceUpdate);

    // The flags taken from each control's Tag at DoInit, by the control's place in the collection.
    QStringList flagList() const { return m_flags; }

signals:
    void Resized(int HeightChanged, int WidthChanged);
    void Resizing();

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const runtime::PropertyBag &PropBag) override;
    void UserControl_WriteProperties(runtime::PropertyBag &PropBag) override;

private:
    // The six stored values with their defaults, run by a StoredProperties::Reader or Writer.
    template <class Io>
    void storedKeys(const Io &io);
    void bindParent();
    void recordSize();

    QPointer<runtime::Form> m_frm;
    int m_lastHeight = 0;
    int m_lastWidth = 0;
    QStringList m_flags;
};
